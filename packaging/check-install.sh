#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build (check-install.sh BUILD ROOT) or unpacks the Debian package
# (check-install.sh --deb PACKAGE ROOT) into a scratch root, checks that everything a desktop
# installation needs is there and that the installed q905ctl works, runs the distribution's
# validators on the desktop entry and the AppStream metadata, and tries the bash completion.
# Exit 77 (skipped) when the validators are not installed.
set -u
fail() { echo "FAIL: $*"; exit 1; }
source_dir=$(cd "$(dirname "$0")/.." && pwd)

if [ "$1" = --deb ]; then
    root=$3
    rm -rf "$root"
    dpkg-deb -x "$2" "$root" || fail "dpkg-deb -x $2"
else
    root=$2
    rm -rf "$root"
    # The udev rule goes to an absolute folder, which DESTDIR keeps inside the root.
    DESTDIR="$root" cmake --install "$1" --prefix /usr >/dev/null || fail "cmake --install"
fi
prefix=$root/usr

# Manual pages may be compressed, as packages ship them.
for file in bin/q905 bin/q905ctl share/applications/io.github.q905.q905.desktop \
            share/metainfo/io.github.q905.q905.metainfo.xml \
            share/dbus-1/services/io.github.q905.q905.service \
            share/dbus-1/interfaces/io.github.q905.Keyboard1.xml \
            share/icons/hicolor/scalable/apps/q905.svg share/man/man1/q905ctl.1 \
            share/man/man1/q905.1 share/bash-completion/completions/q905ctl \
            lib/udev/rules.d/70-q905.rules share/q905/VER.bin share/q905/png; do
    [ -e "$prefix/$file" ] || [ -e "$prefix/$file.gz" ] || fail "$file is not installed"
done
if [ "$1" = --deb ]; then
    [ -e "$prefix/share/doc/q905/copyright" ] || fail "the copyright file is not installed"
fi
[ "$(find "$prefix" -name q905.svg | wc -l)" -eq 1 ] || fail "the icon is installed more than once"
"$prefix/bin/q905ctl" --version | grep -qx "q905ctl [0-9]*\.[0-9]*" || fail "q905ctl --version"
# The installed program reads the emulated keyboard, keeping its files inside the root.
mkdir -p "$root/home"
HOME=$root/home XDG_DATA_HOME=$root/home/data XDG_RUNTIME_DIR=$root/home \
    "$prefix/bin/q905ctl" --simulate --simulate-latency 0 read | grep -q "^firmware: " || fail "q905ctl --simulate read"

# The completion: commands, set fields, and key labels with a blank escaped for the shell.
completion=$prefix/share/bash-completion/completions/q905ctl
complete_line() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _q905ctl
             printf "%s\n" "${COMPREPLY[@]}"' - "$completion" "$@"
}
[ "$(complete_line q905ctl --simulate dis)" = "disable" ] || fail "completion of a command"
complete_line q905ctl set bright | grep -qx "brightness=" || fail "completion of a set field"
complete_line q905ctl assign caps | grep -qx 'Caps\\ Lock' || fail "completion of a key label"
complete_line q905ctl disable "" | grep -qx "Esc" || fail "completion of every key label"
# Only words assign takes for the key they name: no labels two keys share, no bare digits (key
# indexes); digit keys as DigitN.
keys=$(complete_line q905ctl assign "")
for refused in Shift Ctrl Alt Ent - . / 0 7 RCtrl Fn; do
    grep -qxF -- "$refused" <<<"$keys" && fail "completion offers the key $refused"
done
for wanted in Digit7 LShift 7-num; do
    grep -qxF -- "$wanted" <<<"$keys" || fail "completion lacks the key $wanted"
done
# Both Ctrl keys, Win and Fn keep their function: offered where they are taken.
complete_line q905ctl disable "" | grep -qxF RCtrl || fail "completion lacks RCtrl for disable"
codes=$(complete_line q905ctl assign F1 single "")
grep -qxF 7 <<<"$codes" && fail "completion offers the code name 7, read as code 7"
grep -qxF Digit7 <<<"$codes" || fail "completion lacks the code name Digit7"
[ "$(complete_line q905ctl --simulate-fault sil)" = "silent" ] || fail "completion of a fault"
[ "$(complete_line q905ctl --simulate-fault silent dis)" = "disable" ] ||
    fail "a fault taken for the command"

validators=0
if command -v desktop-file-validate >/dev/null; then
    output=$(desktop-file-validate "$prefix/share/applications/io.github.q905.q905.desktop" 2>&1)
    [ -z "$output" ] || fail "desktop-file-validate: $output"
    validators=$((validators + 1))
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic \
        "$prefix/share/metainfo/io.github.q905.q905.metainfo.xml" ||
        fail "appstreamcli validate"
    validators=$((validators + 1))
fi
if [ $validators -lt 2 ]; then
    echo "SKIP: desktop-file-validate or appstreamcli is not installed"
    exit 77
fi
echo "install tree complete, desktop entry and metainfo valid"
