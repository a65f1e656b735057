#!/bin/sh
# Installs the Debian packages the build, the tests and the demo need.
# Runs apt-get only when something is missing, so repeated runs cost nothing.
set -e

PACKAGES="cmake make g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools \
  wine wine64 xvfb x11-apps x11-utils imagemagick googletest"

# Wine's own fonts (its Tahoma and the MS Sans Serif family behind the default
# GUI fonts) and the X extension libraries its X11 driver loads (XRender for
# anti-aliased text and alpha blending, XRandR, XInput2, Xinerama, cursors).
# Wine only recommends them, and recommendations are not installed below, so
# they are named here: every machine then draws with the same fonts.
PACKAGES="$PACKAGES fonts-wine libxrender1 libxrandr2 libxi6 libxinerama1 \
  libxcomposite1 libxcursor1 libxfixes3 libxxf86vm1"

# Printing: a CUPS scheduler with a PDF printer (scripts/cups.sh), libcups
# that Wine loads at run time (only a recommendation of Wine's package), and
# poppler's tools that turn the printed PDFs into pictures for the tests.
PACKAGES="$PACKAGES cups-daemon cups-client printer-driver-cups-pdf libcups2 poppler-utils"

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
