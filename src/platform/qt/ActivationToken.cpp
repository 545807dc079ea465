// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/ActivationToken.h"

#include <QtGlobal>

#include <algorithm>

namespace q905 {

namespace {
// Compositors and launchers use a few dozen characters; room to spare, not for a flood.
constexpr qsizetype kMaxTokenBytes = 512;
} // namespace

bool isAcceptableToken(const QByteArray& token) {
    return !token.isEmpty() && token.size() <= kMaxTokenBytes &&
           std::ranges::all_of(token,
                               [](char c) { return c > ' ' && c < 0x7F && c != '"' && c != '\\'; });
}

ActivationToken ActivationToken::fromEnvironment() {
    ActivationToken token;
    if (const QByteArray value = qgetenv("XDG_ACTIVATION_TOKEN"); isAcceptableToken(value))
        token.xdgActivationToken = value;
    if (const QByteArray value = qgetenv("DESKTOP_STARTUP_ID"); isAcceptableToken(value))
        token.startupId = value;
    return token;
}

} // namespace q905
