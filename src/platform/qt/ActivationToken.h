// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a launcher hands a program it starts so the program may come to the front: a Wayland
// activation token, an X11 startup id. A second start passes its own on to the running one.

#include <QByteArray>

namespace q905 {

struct ActivationToken {
    QByteArray xdgActivationToken; // XDG_ACTIVATION_TOKEN
    QByteArray startupId;          // DESKTOP_STARTUP_ID

    bool empty() const { return xdgActivationToken.isEmpty() && startupId.isEmpty(); }
    bool operator==(const ActivationToken&) const = default;

    // Read before the application object exists: the platform plugins take them out of the
    // environment once they have used them.
    static ActivationToken fromEnvironment();
};

// Tokens are short printable words without quotes or backslashes (which would need quoting in
// X11 startup messages); anything else is dropped rather than passed to the display.
bool isAcceptableToken(const QByteArray& token);

} // namespace q905
