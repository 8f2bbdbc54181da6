#!/bin/sh
# Installs what the Windows build and its tests need: the 32-bit MinGW-w64
# cross compiler and Wine with its 32-bit half. Safe to run again: it adds the
# i386 architecture and refreshes the package lists only when needed, and
# installs only what is missing. Runs as root, or through sudo otherwise.
set -eu

if [ "$(id -u)" -eq 0 ]; then
    as_root() { "$@"; }
else
    as_root() { sudo "$@"; }
fi

packages="g++-mingw-w64-i686 wine wine32:i386 dpkg-dev"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    as_root apt-get update
elif ! apt-cache show wine32:i386 >/dev/null 2>&1; then
    as_root apt-get update
fi
# shellcheck disable=SC2086
as_root apt-get install -y --no-install-recommends $missing
