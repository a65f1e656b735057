#!/bin/sh
# Prints the demo's table to the PDF printer and saves the first printed page
# as a PNG.
#
#   demo-print.sh DEMO.exe OUT.png
#
# The demo, started with KORVEL_DEMO_PRINT set, prints its table report to the
# default printer without a dialog and closes. cups-pdf writes the PDF some
# time after the job ends, so the folder is polled for it.
set -u
if [ $# -ne 2 ]; then
    sed -n '2,/^set/s/^# \{0,1\}//p' "$0" | sed '$d' >&2
    exit 2
fi
exe=$1
out=$2
here=$(CDPATH='' cd -- "$(dirname -- "$0")" && pwd)
job=Korvel_Demo_Table

sh "$here/cups.sh" start || exit 1
dir=$(sh "$here/cups.sh" dir)
rm -f "$dir/$job"*.pdf

KORVEL_DEMO_PRINT=1 timeout 300 "$here/wine-run.sh" "$exe" || {
    echo "demo-print: the demo failed" >&2
    exit 1
}

pdf=""
i=0
while [ $i -lt 300 ] && [ -z "$pdf" ]; do
    pdf=$(ls "$dir/$job"*.pdf 2>/dev/null | head -n 1)
    # cups-pdf writes the file in place: wait until pdfinfo can read it whole.
    if [ -n "$pdf" ] && ! pdfinfo "$pdf" >/dev/null 2>&1; then
        pdf=""
    fi
    [ -n "$pdf" ] || sleep 0.2
    i=$((i + 1))
done
[ -n "$pdf" ] || { echo "demo-print: no PDF $dir/$job*.pdf appeared" >&2; exit 1; }

pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
echo "demo-print: $pdf, $pages pages"
mkdir -p -- "$(dirname -- "$out")"
pdftoppm -f 1 -l 1 -r 80 -png -singlefile "$pdf" "${out%.png}" || exit 1
echo "demo-print: page 1 saved as $out"
