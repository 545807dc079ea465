#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the StatusNotifier tray tests on a session bus and an X server of their own: Qt offers a
# StatusNotifier icon only with a desktop platform, never offscreen. Skips (77) without them.
# Usage: run-with-status-notifier.sh UI_TEST_BINARY
command -v dbus-run-session >/dev/null && command -v Xvfb >/dev/null || exit 77
exec 3>&1
fifo=$(mktemp -u) && mkfifo "$fifo" || exit 1
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$fifo" >/dev/null 2>&1 &
xvfb=$!
read -r display <"$fifo"
rm -f "$fifo"
trap 'kill $xvfb' EXIT
DISPLAY=:$display QT_QPA_PLATFORM=xcb XDG_CURRENT_DESKTOP= Q905_STATUS_NOTIFIER_TEST=1 \
    dbus-run-session -- "$1" --gtest_filter='StatusNotifierTray.*'
