#!/bin/sh
# Starts or stops the CUPS scheduler that the printing tests and the demo
# print to, with a PDF printer as the default queue.
#
#   scripts/cups.sh start   start cupsd (unless one answers already), make the
#                           queue KorvelPDF the default, wait until it accepts
#   scripts/cups.sh stop    stop the cupsd this script started
#   scripts/cups.sh dir     print the folder where the printed PDFs appear
#
# Wine asks CUPS for its printers when a program starts, so the scheduler
# must answer before the first Wine program of a run. cups-pdf writes each
# job as a PDF, asynchronously after the job ends, into the folder below
# (Debian's AppArmor profile allows only /var/spool/cups-pdf/ or home).
# No systemd is needed: cupsd runs in the background of this script's caller.
set -u
QUEUE=KorvelPDF
OUT=/var/spool/cups-pdf/korvel
PIDFILE=/tmp/korvel-cupsd.pid
PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
# The scheduler's local socket: the first place libcups (and so Wine) looks.
SOCK=/run/cups/cups.sock

running() { [ -S "$SOCK" ] && lpstat -h "$SOCK" -r 2>/dev/null | grep -q 'is running'; }

wait_until() {
    i=0
    while [ $i -lt 100 ]; do
        "$@" && return 0
        sleep 0.1
        i=$((i + 1))
    done
    return 1
}

queue_ready() { lpstat -h "$SOCK" -d 2>/dev/null | grep -q "$QUEUE"; }

start() {
    if ! command -v cupsd >/dev/null 2>&1; then
        echo "cups: cupsd is not installed (run scripts/setup.sh as root)" >&2
        return 1
    fi
    mkdir -p "$OUT" /run/cups && chmod 1777 "$OUT"
    # Only the local socket, no TCP port: a scheduler of another root on this
    # machine (a chroot, a container sharing the network) cannot answer for
    # this one, and clients find it at the socket libcups tries first.
    sed -i -e 's/^Listen localhost:631/#&/' -e 's/^Port /#&/' /etc/cups/cupsd.conf
    # Every user's PDFs land in one folder the tests can poll.
    if ! grep -q "^Out $OUT\$" /etc/cups/cups-pdf.conf 2>/dev/null; then
        sed -i '/^Out /d' /etc/cups/cups-pdf.conf
        echo "Out $OUT" >> /etc/cups/cups-pdf.conf
    fi
    if ! running; then
        # In a session of its own: it outlives the shell that started it.
        setsid cupsd -f >/tmp/korvel-cupsd.log 2>&1 &
        echo $! > "$PIDFILE"
        wait_until running || { echo "cups: the scheduler did not start" >&2; return 1; }
    fi
    if ! queue_ready; then
        lpadmin -h "$SOCK" -p "$QUEUE" -E -v cups-pdf:/ -P "$PPD" -o printer-is-shared=false || return 1
        lpadmin -h "$SOCK" -d "$QUEUE" || return 1
        wait_until queue_ready || { echo "cups: the queue $QUEUE is not the default" >&2; return 1; }
    fi
    cupsenable -h "$SOCK" "$QUEUE" 2>/dev/null
    cupsaccept -h "$SOCK" "$QUEUE" 2>/dev/null
    return 0
}

stop() {
    [ -f "$PIDFILE" ] || return 0
    pid=$(cat "$PIDFILE")
    rm -f "$PIDFILE"
    kill "$pid" 2>/dev/null
    wait_until sh -c "! kill -0 $pid 2>/dev/null"
    return 0
}

case "${1:-}" in
start) start ;;
stop) stop ;;
dir) echo "$OUT" ;;
*) echo "usage: $0 start|stop|dir" >&2; exit 2 ;;
esac
