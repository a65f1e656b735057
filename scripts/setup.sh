#!/bin/sh
# Installs the Debian packages the build, the tests and the demo need.
# Runs apt-get only when something is missing, so repeated runs cost nothing.
set -e

PACKAGES="cmake make g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools \
  wine wine64 xvfb x11-apps x11-utils imagemagick googletest"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" != 0 ]; then
    echo "setup: missing packages:$missing (run as root to install them)" >&2
    exit 1
fi
echo "setup: installing$missing"
export DEBIAN_FRONTEND=noninteractive
# Only the native architecture: the i386 index is not needed for 64-bit Wine.
apt-get update -q
apt-get install -y -q --no-install-recommends $missing
