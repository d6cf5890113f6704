#!/usr/bin/env bash
# A CUPS scheduler of the print tests' own, in a folder of its own; nothing of the machine's CUPS is used
# or changed (its scheduler, queues, default printer and settings stay as they are).
#
#   scripts/cups.sh start DIR   starts the scheduler in DIR (made anew) and prints the environment lines
#   scripts/cups.sh stop DIR    stops it and leaves DIR for a look at the logs
#
# DIR holds the configuration, spool, state, cache, logs and temporary files, and the scheduler listens
# only on the unix socket DIR/cups.sock (no network port). It has two queues: "KelvraPDF", the default,
# which writes every job unchanged as DIR/pdf/job-<id>-<title>.pdf, and "KelvraPDFRefuses", which
# refuses every job. The tests reach it through CUPS_SERVER=DIR/cups.sock; ctest starts and stops it as
# a fixture of the print tests. Works as root in a container without systemd, and as a plain user.
set -euo pipefail

usage() {
    echo "usage: cups.sh start|stop DIR" >&2
    exit 2
}
[[ $# -eq 2 ]] || usage
action=$1
[[ $action == stop && ! -d $2 ]] && exit 0
mkdir -p "$2"
dir=$(cd "$2" && pwd)
queue=KelvraPDF
refusing=KelvraPDFRefuses
marker=$dir/.kelvra-cups # only a folder with this mark is ever emptied
pidfile=$dir/cupsd.pid
socket=$dir/cups.sock
export CUPS_SERVER=$socket

tool() {
    local found
    found=$(command -v "$1" 2>/dev/null || true)
    [[ -z $found && -x /usr/sbin/$1 ]] && found=/usr/sbin/$1
    if [[ -z $found ]]; then
        echo "cups.sh: $1 is missing; install cups (scripts/deps.sh)" >&2
        exit 1
    fi
    echo "$found"
}

# The scheduler this folder started, if it still runs: the process must be a cupsd with this folder's
# configuration, so that a process id taken over by another program is never touched.
running_pid() {
    [[ -f $pidfile ]] || return 1
    local pid
    pid=$(cat "$pidfile")
    [[ $pid =~ ^[0-9]+$ ]] || return 1
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF -- "-c $dir/etc/cupsd.conf" || return 1
    echo "$pid"
}

stop() {
    local pid
    if pid=$(running_pid); then
        kill -TERM "$pid" 2>/dev/null || true
        for _ in $(seq 1 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        if kill -0 "$pid" 2>/dev/null; then
            kill -KILL "$pid" 2>/dev/null || true
        fi
    fi
    rm -f "$pidfile"
}

scheduler_up() { "$lpstat" -r 2>/dev/null | grep -q "is running"; }

start() {
    local cupsd lpadmin cupsreject lpstat
    cupsd=$(tool cupsd)
    lpadmin=$(tool lpadmin)
    cupsreject=$(tool cupsreject)
    lpstat=$(tool lpstat)
    # A unix socket path is limited to 108 bytes.
    if ((${#socket} > 100)); then
        echo "cups.sh: the folder's path is too long for a socket: $socket" >&2
        exit 1
    fi
    # A scheduler left by an interrupted run goes first; then every run starts from a clean folder.
    stop
    if [[ -n $(ls -A "$dir") && ! -f $marker ]]; then
        echo "cups.sh: $dir is not empty and not one of ours; not touching it" >&2
        exit 1
    fi
    find "$dir" -mindepth 1 -delete
    touch "$marker"
    mkdir -p "$dir"/{etc/ppd,spool,state,cache,log,tmp,bin/backend,ssl,pdf}
    chmod 755 "$dir" "$dir/bin" "$dir/bin/backend"
    # Filters and helpers come from the installed CUPS; the one backend is ours.
    for part in /usr/lib/cups/*; do
        [[ $(basename "$part") == backend ]] || ln -s "$part" "$dir/bin/$(basename "$part")"
    done
    # Each job lands as its own file, written aside first so that a reader never sees half a file. A
    # backend that others may not run is run as the scheduler's own user instead of "lp", who could not
    # write to a folder of the build tree.
    cat >"$dir/bin/backend/kelvra-pdf" <<'EOF'
#!/bin/sh
# kelvra-pdf:/folder -- each job as job-<id>-<title>.pdf in the folder, unchanged.
if [ $# -eq 0 ]; then
    echo 'file kelvra-pdf "Unknown" "Kelvra test PDF folder"'
    exit 0
fi
umask 022
folder=${DEVICE_URI#kelvra-pdf:}
title=$(printf '%s' "$3" | tr -c 'A-Za-z0-9._-' '_' | cut -c1-80)
part="$folder/.job-$1.part"
if [ -n "$6" ]; then cat "$6" >"$part" || exit 1; else cat >"$part" || exit 1; fi
mv "$part" "$folder/job-$1-$title.pdf" || exit 1
EOF
    chmod 700 "$dir/bin/backend/kelvra-pdf"

    cat >"$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
RequestRoot $dir/spool
StateDir $dir/state
CacheDir $dir/cache
TempDir $dir/tmp
ServerBin $dir/bin
ServerKeychain $dir/ssl
CreateSelfSignedCerts no
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
Printcap $dir/printcap
SystemGroup root
FileDevice No
EOF
    cat >"$dir/etc/cupsd.conf" <<EOF
LogLevel info
Listen $socket
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
PreserveJobHistory No
PreserveJobFiles No
DefaultAuthType None
# Only whoever can reach the socket in this folder talks to it, so every operation is open.
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF

    "$cupsd" -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" </dev/null >"$dir/log/cupsd.out" 2>&1 &
    echo $! >"$pidfile"
    for _ in $(seq 1 100); do
        scheduler_up && break
        running_pid >/dev/null || break
        sleep 0.1
    done
    if ! scheduler_up; then
        echo "cups.sh: the scheduler did not start; see $dir/log/" >&2
        cat "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null | tail -n 20 >&2
        stop
        exit 1
    fi

    # No driver: the PDF the program sends is what lands in the folder.
    "$lpadmin" -p "$queue" -v "kelvra-pdf:$dir/pdf" -E -D "Kelvra PDF printer"
    "$lpadmin" -d "$queue"
    "$lpadmin" -p "$refusing" -v "kelvra-pdf:$dir/pdf" -E -D "Kelvra PDF printer that refuses jobs"
    "$cupsreject" "$refusing"

    echo "CUPS_SERVER=$socket"
    echo "KELVRA_PDF_DIR=$dir/pdf"
}

case $action in
start) start ;;
stop) stop ;;
*) usage ;;
esac
