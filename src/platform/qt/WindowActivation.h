// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Coming to the front when a later start asks: the desktop lets a window take the focus only
// with the token its launcher issued for that start.

#include "platform/qt/ActivationToken.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

namespace q905 {

// show makes the window visible and asks for the focus (show, raise, activate); around it the
// token is handed to the display the way the platform takes it.
void showWithToken(QWidget& window, const ActivationToken& token,
                   const std::function<void()>& show);

// The X server time a startup id carries ("…_TIME123456"), which the window manager compares
// with the user's last input before it lets a window take the focus.
std::optional<std::uint32_t> startupIdTime(const QByteArray& startupId);

} // namespace q905
