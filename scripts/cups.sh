#!/usr/bin/env bash
# Starts a CUPS server on this machine with a cups-pdf printer as the default printer, so that the print
# tests print for real. Safe to run again: a running scheduler and an existing queue are kept. Works as
# root in a container without systemd. Prints the folder where the printed PDF files land.
set -euo pipefail

queue=${KELVRA_PDF_QUEUE:-KelvraPDF}
out=${KELVRA_PDF_DIR:-/var/spool/cups-pdf/kelvra}
conf=/etc/cups/cups-pdf.conf
sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"

for tool in cupsd lpadmin lpstat; do
    if ! command -v "$tool" >/dev/null 2>&1 && [[ ! -x /usr/sbin/$tool ]]; then
        echo "cups.sh: $tool is missing; install cups and printer-driver-cups-pdf (scripts/deps.sh)" >&2
        exit 1
    fi
done
if [[ ! -x /usr/lib/cups/backend/cups-pdf ]]; then
    echo "cups.sh: the cups-pdf backend is missing; install printer-driver-cups-pdf" >&2
    exit 1
fi

# Every job lands in one folder, whoever prints, instead of each user's ~/PDF.
$sudo mkdir -p "$out"
$sudo chmod 1777 "$out"
if [[ -f $conf ]] && ! grep -qx "Out $out" "$conf"; then
    $sudo sed -i -e '/^Out /d' "$conf"
    echo "Out $out" | $sudo tee -a "$conf" >/dev/null
fi

scheduler_up() { lpstat -r 2>/dev/null | grep -q "is running"; }

if ! scheduler_up; then
    $sudo mkdir -p /run/cups /var/spool/cups /var/cache/cups /var/log/cups
    # Without systemd nothing starts the scheduler on demand; it runs as its own daemon.
    $sudo /usr/sbin/cupsd
    for _ in $(seq 1 50); do
        scheduler_up && break
        sleep 0.2
    done
    if ! scheduler_up; then
        echo "cups.sh: the CUPS scheduler did not start; see /var/log/cups/error_log" >&2
        exit 1
    fi
fi

if ! lpstat -p "$queue" >/dev/null 2>&1; then
    ppd=$(ls /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd /usr/share/ppd/cups-pdf/*.ppd 2>/dev/null | head -n 1)
    $sudo lpadmin -p "$queue" -v cups-pdf:/ -P "$ppd" -E -D "Kelvra PDF printer"
fi
$sudo cupsenable "$queue" >/dev/null 2>&1 || true
$sudo cupsaccept "$queue" >/dev/null 2>&1 || true
$sudo lpadmin -d "$queue"

# A second queue that refuses every job, for the tests of a failed print.
refusing=${queue}Refuses
if ! lpstat -p "$refusing" >/dev/null 2>&1; then
    ppd=$(ls /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd /usr/share/ppd/cups-pdf/*.ppd 2>/dev/null | head -n 1)
    $sudo lpadmin -p "$refusing" -v cups-pdf:/ -P "$ppd" -E -D "Kelvra PDF printer that refuses jobs"
fi
$sudo cupsreject "$refusing" >/dev/null 2>&1 || true

echo "$out"
