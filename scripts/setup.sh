# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by scripts/run and scripts/test: install what the build needs, then configure and build.
# Sourced, not run.

Q905_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
Q905_BUILD="${Q905_BUILD_DIR:-$Q905_ROOT/build}"
Q905_PACKAGES=(cmake g++ make pkg-config libgtest-dev libgmock-dev libudev-dev libpng-dev
               libxkbcommon-dev libxkbcommon-x11-dev libwayland-dev xkb-data qt6-base-dev
               libxcb1-dev qt6-wayland fonts-liberation2 desktop-file-utils appstream umockdev
               xvfb dbus-daemon libglib2.0-bin systemd)
# dbus-daemon, gdbus (libglib2.0-bin) and busctl (systemd): the window tests start a session bus
# of their own and drive the window with clients nobody here wrote; xvfb: the tray test's X server.

q905_install_packages() {
    local missing=()
    for package in "${Q905_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

q905_build() {
    cmake -S "$Q905_ROOT" -B "$Q905_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$Q905_BUILD" -j"$(nproc)"
}
