#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# apt-get build-dep installs what scripts/setup.sh installs: the package's Build-Depends name
# the same packages, less those every Debian build has (build-essential) and the window's
# Wayland plugin, which the package recommends.
set -u
source_dir=$(cd "$(dirname "$0")/.." && pwd)
source "$source_dir/scripts/setup.sh"
build_essential=" g++ make "
# What scripts/run needs to start the window on Wayland, not the build: the package recommends it.
runtime_only=" qt6-wayland "
declared=$(sed -n '/^Build-Depends:/,/^[A-Z]/p' "$source_dir/debian/control" |
           sed 's/^Build-Depends://; /^[A-Z]/d' | tr ',' '\n' |
           sed 's/[(<\[].*//; s/^[[:space:]]*//; s/[[:space:]]*$//' | grep -v '^$' |
           grep -v '^debhelper-compat$' | sort)
wanted=$(for package in "${Q905_PACKAGES[@]}"; do
             [[ $build_essential$runtime_only == *" $package "* ]] || echo "$package"
         done | sort)
if [ "$declared" != "$wanted" ]; then
    echo "FAIL: debian/control's Build-Depends and scripts/setup.sh differ:"
    diff <(echo "$wanted") <(echo "$declared")
    exit 1
fi
echo "Build-Depends match scripts/setup.sh"
