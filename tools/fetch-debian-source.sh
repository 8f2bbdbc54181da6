#!/bin/sh
# fetch-debian-source.sh PACKAGE DEST
#
# Downloads the Debian source package PACKAGE for this machine's Debian suite
# into DEST, using an apt configuration of its own inside DEST: the machine's
# sources list and package lists are neither read for sources nor changed.
# apt checks the suite's signature with the Debian archive keyring and the
# files' checksums against the signed index. The archive is the one the
# machine already installs its packages from.
set -eu

package=$1
dest=$2
keyring=/usr/share/keyrings/debian-archive-keyring.gpg

# shellcheck disable=SC1091
. /etc/os-release
suite=${VERSION_CODENAME:?no Debian codename in /etc/os-release}
uri=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 2>/dev/null |
      awk -v suite="$suite" '$2 == suite { print $1; exit }')
if [ -z "$uri" ]; then
    echo "fetch-debian-source: no package archive for suite $suite in the apt sources" >&2
    exit 1
fi

apt_dir=$dest/apt
mkdir -p "$apt_dir/sources" "$apt_dir/lists/partial" "$dest/download"
echo "deb-src [signed-by=$keyring] $uri $suite main" >"$apt_dir/sources/source.list"

set -- \
    -o Dir::Etc::SourceList=/dev/null \
    -o Dir::Etc::SourceParts="$apt_dir/sources" \
    -o Dir::State::Lists="$apt_dir/lists" \
    -o Dir::Cache::pkgcache= \
    -o Dir::Cache::srcpkgcache= \
    -o APT::Sandbox::User=root \
    -q

apt-get "$@" update
cd "$dest/download"
apt-get "$@" source --download-only "$package"
