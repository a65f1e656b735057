#!/bin/sh
# Runs the tests of the configured and built trees build/x86_64 and build/i686
# (see the Makefile), under Wine.
#
# The i686 tests run only when the installed Wine runs 32-bit programs (it
# needs the 32-bit Wine, wine32). That is checked by running the i686
# wine-probe.exe, which must return the exit code it is asked for: a Wine
# without 32-bit support fails to start it and still exits with 0.
#
# The x86_64 tests run last, so CTest's summary of them closes the output.
# Exits non-zero when a test failed in either tree.
set -u
cd "$(dirname -- "$0")/.." || exit 1
root=$PWD
run=$root/scripts/wine-run.sh
status=0

# The PDF printer the printing tests print to; Wine asks CUPS for printers
# when a program starts, so the scheduler comes first.
sh "$root/scripts/cups.sh" start || exit 1
trap 'sh "$root/scripts/cups.sh" stop' EXIT

# Prefix, display and wine server of the x86_64 tree, before the first test.
"$run" --start "$root/build/x86_64" >/dev/null || exit 1

probe=$root/build/i686/bin/wine-probe.exe
i686=no
if [ -f "$probe" ]; then
    KORVEL_WINEPREFIX=$root/build/x86_64/wineprefix "$run" "$probe" 7 >/dev/null 2>&1
    [ $? -eq 7 ] && i686=yes
fi

if [ $i686 = yes ]; then
    echo "== i686 tests (build/i686)"
    "$run" --start "$root/build/i686" >/dev/null || exit 1
    (cd build/i686 && ctest --output-on-failure) || status=1
    "$run" --stop "$root/build/i686"
else
    echo "== i686 tests skipped: this Wine does not run 32-bit programs (wine32 is not installed); build/i686 was built only"
fi

echo "== x86_64 tests (build/x86_64)"
(cd build/x86_64 && ctest --output-on-failure) || status=1
"$run" --stop "$root/build/x86_64"
exit $status
