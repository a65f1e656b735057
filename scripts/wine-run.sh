#!/bin/sh
# Runs Windows programs under Wine for the build, the tests and the demo. It is
# the CMAKE_CROSSCOMPILING_EMULATOR of the toolchain files, so CTest starts
# every test program through it.
#
#   wine-run.sh PROGRAM [ARGS...]  run PROGRAM; exit with its exit code (70
#                                  when it died of an unhandled exception that
#                                  Wine ended with exit code 0)
#   wine-run.sh --start [PATH]     get the prefix, the display and the wine
#                                  server ready; print the X display in use
#   wine-run.sh --stop [PATH]      stop the wine server of the prefix and the
#                                  Xvfb display this script started for it
#   wine-run.sh --prefix [PATH]    print the Wine prefix that would be used
#
# Wine prefix: $KORVEL_WINEPREFIX when set; otherwise "wineprefix" in the
# nearest directory above PROGRAM (or PATH, then the current directory) that
# holds a CMakeCache.txt, i.e. the build directory; otherwise build/wineprefix
# in the repository. It is created on first use (wineboot, no Mono or Gecko),
# with Wine drawing its own window frames (windows not managed: under Xvfb
# there is no window manager) and without the crash dialog, which would
# otherwise wait for a click.
#
# Display: $DISPLAY when it answers; otherwise an Xvfb server (1280x1024x24)
# started on the first free display from :99 on and kept for the prefix.
#
# Wine server: one persistent server per prefix (wineserver -p), so that the
# programs run one after another do not each start and stop Wine.
#
# Set-up runs under a lock, so concurrent calls (ctest -j) are safe.
#
# The program's standard output and error are relayed through files, not
# handed to Wine directly: processes that Wine starts on the program's behalf
# (the desktop process, services) inherit its handles and outlive it, and a
# caller such as CTest would wait for them to close the pipe. The relay ends
# with the program.
#
# Environment: KORVEL_WINEPREFIX (above), KORVEL_XVFB_SCREEN (default
# 1280x1024x24), WINEDEBUG (default -all,err+module).

set -u

die() {
    echo "wine-run: $*" >&2
    exit 125
}

script_dir=$(CDPATH='' cd -- "$(dirname -- "$0")" && pwd) || die "cannot find my directory"

mode=run
case "${1:-}" in
    --start) mode=start; shift ;;
    --stop) mode=stop; shift ;;
    --prefix) mode=prefix; shift ;;
    -h|--help|"")
        sed -n '2,/^$/s/^# \{0,1\}//p' "$0" >&2
        exit 2 ;;
esac

# --- the prefix ---------------------------------------------------------------

# Prints the nearest directory at or above $1 holding a CMakeCache.txt.
build_dir_above() {
    d=$1
    [ -d "$d" ] || d=$(dirname -- "$d")
    d=$(CDPATH='' cd -- "$d" 2>/dev/null && pwd) || return 1
    while :; do
        if [ -f "$d/CMakeCache.txt" ]; then
            echo "$d"
            return 0
        fi
        [ "$d" = / ] && return 1
        d=$(dirname -- "$d")
    done
}

if [ -n "${KORVEL_WINEPREFIX:-}" ]; then
    prefix=$KORVEL_WINEPREFIX
else
    prefix=
    for p in ${1:+"$1"} "$PWD"; do
        if b=$(build_dir_above "$p"); then
            prefix=$b/wineprefix
            break
        fi
    done
    [ -n "$prefix" ] || prefix=$(dirname -- "$script_dir")/build/wineprefix
fi
mkdir -p -- "$(dirname -- "$prefix")" || die "cannot create the directory of $prefix"
prefix=$(CDPATH='' cd -- "$(dirname -- "$prefix")" && pwd)/$(basename -- "$prefix")
if [ "$mode" = prefix ]; then
    echo "$prefix"
    exit 0
fi

lock=$prefix.lock        # serialises the set-up of this prefix
state=$prefix.xvfb       # "DISPLAY PID" of the Xvfb started for this prefix
log=$prefix.log          # output of Wine's own start-up processes

export WINEPREFIX="$prefix"
# Quiet, except for DLLs that fail to load (a missing DLL otherwise shows only
# as exit code 53).
export WINEDEBUG="${WINEDEBUG:--all,err+module}"
# No Mono or Gecko installation prompts, no desktop menu entries.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
[ -n "${HOME:-}" ] || export HOME="$(dirname -- "$prefix")"

command -v wine >/dev/null 2>&1 || die "wine is not installed (run scripts/setup.sh)"

# Runs a set-up command in a session of its own (a time-out that kills a test's
# process group must not take the shared processes with it), its output in the
# log and without the lock descriptor (a long-lived child holding it would
# keep the lock taken).
quiet() {
    setsid -w "$@" </dev/null >>"$log" 2>&1 9>&-
}

# --- the display --------------------------------------------------------------

display_ok() {
    if command -v xdpyinfo >/dev/null 2>&1; then
        xdpyinfo -display "$1" >/dev/null 2>&1
    else
        n=${1#*:}
        n=${n%%.*}
        [ -S "/tmp/.X11-unix/X$n" ]
    fi
}

xvfb_alive() {
    [ -f "$state" ] || return 1
    read -r xdisp xpid <"$state" || return 1
    [ -n "${xpid:-}" ] && kill -0 "$xpid" 2>/dev/null && display_ok "$xdisp"
}

stop_server() {
    quiet wineserver -k
    quiet wineserver -w
}

start_xvfb() {
    command -v Xvfb >/dev/null 2>&1 || die "no X display and no Xvfb (run scripts/setup.sh)"
    # One display number at a time across all prefixes on this machine.
    exec 8>>/tmp/korvel-xvfb.lock
    flock -w 120 8 || die "timed out waiting for /tmp/korvel-xvfb.lock"
    n=99
    while [ $n -lt 300 ]; do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            setsid -f Xvfb ":$n" -screen 0 "${KORVEL_XVFB_SCREEN:-1280x1024x24}" -dpi 96 \
                -nolisten tcp -noreset </dev/null >"$prefix.xvfb.log" 2>&1 8>&- 9>&-
            i=0
            while [ $i -lt 100 ]; do
                if display_ok ":$n"; then
                    read -r xpid <"/tmp/.X$n-lock" || xpid=
                    echo ":$n $xpid" >"$state"
                    exec 8>&-
                    DISPLAY=:$n
                    export DISPLAY
                    return 0
                fi
                sleep 0.1
                i=$((i + 1))
            done
            # No answer: another server took this number, or Xvfb failed.
        fi
        n=$((n + 1))
    done
    exec 8>&-
    die "could not start Xvfb (see $prefix.xvfb.log)"
}

ensure_display() {
    if [ -n "${DISPLAY:-}" ] && display_ok "$DISPLAY"; then
        return 0
    fi
    if xvfb_alive; then
        DISPLAY=$xdisp
        export DISPLAY
        return 0
    fi
    if [ -f "$state" ]; then
        # The display this prefix's Wine worked with is gone; its desktop
        # process would still draw there, so Wine starts afresh.
        stop_server
        rm -f "$state"
    fi
    start_xvfb
}

stop_xvfb() {
    if xvfb_alive && [ "$(cat "/proc/$xpid/comm" 2>/dev/null)" = Xvfb ]; then
        kill "$xpid" 2>/dev/null
    fi
    rm -f "$state"
}

# --- the prefix and the server ------------------------------------------------

write_settings() {
    # REGEDIT4 text for "reg import", on drive C: of the prefix.
    cat >"$prefix/drive_c/korvel-settings.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
EOF
}

# Starts the persistent server unless one runs; true when it started one.
start_server() {
    quiet wineserver -p
}

# Version of the set-up below: a prefix made by another version, or before
# Wine's fonts were installed, is made again.
prefix_version=1

prefix_ready() {
    [ "$(cat "$prefix/.korvel-ready" 2>/dev/null)" = "$prefix_version" ] || return 1
    [ ! -f /usr/share/wine/fonts/tahoma.ttf ] || [ -f "$prefix/drive_c/windows/Fonts/tahoma.ttf" ]
}

ensure_prefix() {
    if prefix_ready; then
        # A server that is new starts Wine's system processes with the first
        # program; start them here, with their output in the log.
        if start_server; then
            quiet wine cmd /c exit 0
        fi
        return 0
    fi
    echo "wine-run: creating the Wine prefix $prefix" >&2
    [ -d "$prefix" ] && stop_server
    rm -rf -- "$prefix"
    mkdir -p -- "$prefix" || die "cannot create $prefix"
    start_server
    quiet wine wineboot -i || die "wineboot failed (see $log)"
    # Wine's own fonts (Tahoma, MS Sans Serif, Marlett for the caption
    # buttons ...), which Debian's Wine does not find in its data directory
    # by itself, go where Windows keeps its fonts.
    if [ -d /usr/share/wine/fonts ] && [ -d "$prefix/drive_c/windows/Fonts" ]; then
        cp -p /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null
    fi
    write_settings
    quiet wine reg import 'C:\korvel-settings.reg' ||
        die "could not import the Wine settings (see $log)"
    rm -f "$prefix/drive_c/korvel-settings.reg"
    # Restart so that no process started before the settings keeps running.
    stop_server
    start_server
    quiet wine cmd /c exit 0 || die "Wine does not start programs (see $log)"
    echo "$prefix_version" >"$prefix/.korvel-ready"
    echo "wine-run: Wine prefix ready" >&2
}

# --- 32-bit programs -------------------------------------------------------------

# Prints the machine field of the PE file $1 (014c for i386, 8664 for x86-64),
# nothing when $1 is not a PE file.
pe_machine() {
    [ -f "$1" ] || return 0
    off=$(od -An -tu4 -j60 -N4 -- "$1" 2>/dev/null | tr -d ' ')
    case "$off" in ''|*[!0-9]*) return 0 ;; esac
    [ "$(od -An -tx4 -j"$off" -N4 -- "$1" 2>/dev/null | tr -d ' ')" = 00004550 ] || return 0
    od -An -tx2 -j$((off + 4)) -N2 -- "$1" 2>/dev/null | tr -d ' '
}

# True when this Wine runs 32-bit programs. A Wine without its 32-bit part
# fails to start them and still exits with 0, which would make every 32-bit
# test pass; so it is checked once per prefix with Wine's own 32-bit cmd.exe.
runs_32bit() {
    f=$prefix/.korvel-32bit
    if [ ! -f "$f" ]; then
        quiet wine 'C:\windows\syswow64\cmd.exe' /c exit 7
        if [ $? -eq 7 ]; then echo yes >"$f"; else echo no >"$f"; fi
    fi
    [ "$(cat "$f")" = yes ]
}

# --- main -----------------------------------------------------------------------

exec 9>>"$lock" || die "cannot open $lock"
flock -w 900 9 || die "timed out waiting for $lock"

if [ "$mode" = stop ]; then
    stop_server
    stop_xvfb
    exit 0
fi

ensure_display
ensure_prefix
if [ "$mode" = run ] && [ "$(pe_machine "$1")" = 014c ] && ! runs_32bit; then
    die "$1 is a 32-bit program and this Wine runs 64-bit programs only (the 32-bit Wine, wine32, is not installed)"
fi
exec 9>&-

if [ "$mode" = start ]; then
    echo "$DISPLAY"
    exit 0
fi

# Relay files live beside the prefix; those of runs that were killed (a test
# time-out) are removed a day later.
relay=$prefix.relay
mkdir -p -- "$relay" || die "cannot create $relay"
find "$relay" -type f -mtime +0 -delete 2>/dev/null
out=$(mktemp "$relay/out.XXXXXX") || die "mktemp failed"
err=$(mktemp "$relay/err.XXXXXX") || die "mktemp failed"
trap 'rm -f "$out" "$err"' EXIT

# The program keeps the caller's standard input (when there is one).
if (exec 3<&0) 2>/dev/null; then exec 3<&0; else exec 3</dev/null; fi
wine "$@" <&3 >"$out" 2>"$err" 3<&- &
pid=$!
exec 3<&-
trap 'kill "$pid" 2>/dev/null' HUP INT TERM
tail -n +1 -s 0.1 -f --pid="$pid" "$out" &
tail_out=$!
tail -n +1 -s 0.1 -f --pid="$pid" "$err" >&2 &
tail_err=$!

# wait returns early when a trapped signal arrives; wait again until the
# program has really ended.
while :; do
    wait "$pid"
    rc=$?
    kill -0 "$pid" 2>/dev/null || break
done
wait "$tail_out" "$tail_err"
# A program that dies of an unhandled exception after it has opened windows
# may end with exit code 0 under Wine (its debugger stops halfway through the
# crash report), which would pass a crashed test. Wine's report on the
# program's standard error tells.
if [ "$rc" -eq 0 ] && grep -q '^wine: Unhandled .*starting debugger' "$err" 2>/dev/null; then
    echo "wine-run: $1 died of an unhandled exception (Wine reported exit code 0)" >&2
    rc=70
fi
exit "$rc"
