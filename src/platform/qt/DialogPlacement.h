// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Frameless dialogs place themselves before they are shown: centred over the window that opens
// them (else on the screen), kept on the screen. Qt then asks the window manager for that place
// as a chosen one, which it keeps, so the dialog knows where it sits from its first frame. Left
// to place a frameless window on its own, openbox does not always say where it put it: the
// first dialog of a run believed it sat at (0, 0), and its menus, drags and message boxes went
// astray.

class QWidget;

namespace q905 {

void placeOverParent(QWidget& dialog);

} // namespace q905
