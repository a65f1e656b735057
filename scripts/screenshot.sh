#!/bin/sh
# Starts a Windows program under Wine, waits until its window with the given
# title is on the screen, saves a PNG of that window and closes the program.
#
#   screenshot.sh PROGRAM.exe "WINDOW TITLE" OUT.png [SECONDS]
#
# SECONDS (default 120) bounds the wait for the window. The program runs in
# the Wine prefix of its build directory (see wine-run.sh), on $DISPLAY or on
# the Xvfb display wine-run.sh starts for it. It is asked to close (WM_CLOSE
# through taskkill); whatever is still running of it after 15 seconds, a modal
# box for instance, ends with the prefix's wine server.
set -u

if [ $# -lt 3 ]; then
    sed -n '2,/^set/s/^# \{0,1\}//p' "$0" | sed '$d' >&2
    exit 2
fi
exe=$1
title=$2
out=$3
limit=${4:-120}

here=$(CDPATH='' cd -- "$(dirname -- "$0")" && pwd)
run=$here/wine-run.sh
[ -f "$exe" ] || { echo "screenshot: no program $exe" >&2; exit 1; }
for tool in xwininfo import; do
    command -v $tool >/dev/null 2>&1 || { echo "screenshot: $tool is missing (run scripts/setup.sh)" >&2; exit 1; }
done

# Every Wine call below, taskkill too, goes to the prefix of the program.
KORVEL_WINEPREFIX=$("$run" --prefix "$exe") || exit 1
export KORVEL_WINEPREFIX
display=$("$run" --start "$exe") || { echo "screenshot: Wine could not be prepared" >&2; exit 1; }
DISPLAY=$display
export DISPLAY

mkdir -p -- "$(dirname -- "$out")"
progress=$out.log
"$run" "$exe" >"$progress" 2>&1 &
pid=$!

# Prints the id of the first viewable X window named exactly $title.
find_window() {
    xwininfo -root -tree 2>/dev/null | grep -F "\"$title\":" | awk '{print $1}' |
    while read -r id; do
        if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
            echo "$id"
            break
        fi
    done
}

status=1
window=
waited=0
while [ $waited -lt $((limit * 2)) ]; do
    window=$(find_window)
    [ -n "$window" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "screenshot: $exe ended before its window \"$title\" appeared; its output:" >&2
        cat "$progress" >&2
        break
    fi
    sleep 0.5
    waited=$((waited + 1))
done

if [ -n "$window" ]; then
    # Let the first paint finish.
    sleep 2
    # The window's area of the screen, not the window's own picture, so that
    # pop-ups over it (an open drop-down list) are in the shot.
    geometry=$(xwininfo -id "$window" | awk '
        /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF}
        END {printf "%dx%d+%d+%d", w, h, x, y}')
    if import -window root -crop "$geometry" +repage "$out"; then
        echo "screenshot: window \"$title\" ($window) saved to $out"
        status=0
    else
        echo "screenshot: import failed" >&2
    fi
elif kill -0 "$pid" 2>/dev/null; then
    echo "screenshot: no window \"$title\" within $limit s" >&2
fi

# Ask the program to close, then give it 15 seconds.
if kill -0 "$pid" 2>/dev/null; then
    "$run" taskkill /im "$(basename -- "$exe")" >/dev/null 2>&1
    i=0
    while kill -0 "$pid" 2>/dev/null && [ $i -lt 30 ]; do
        sleep 0.5
        i=$((i + 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "screenshot: $exe did not close; stopping Wine" >&2
    else
        wait "$pid"
        echo "screenshot: $exe closed with exit code $?"
    fi
fi
"$run" --stop "$exe"
wait 2>/dev/null
exit $status
