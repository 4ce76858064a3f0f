# Sourced: a CUPS queue "PDF" that prints to PDF files, as the default
# printer, for the printing tests. cups-pdf writes each job to $HOME/PDF.
# Wine reads the printers when a process starts, so start the printer
# before the Wine programs that are to see it.
PENRIK_STARTED_CUPSD=""
# cups-pdf goes by the submitting user's home in the password file.
PENRIK_PDF_DIR="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
export PENRIK_PDF_DIR

cupsd_running() {
    lpstat -r 2>/dev/null | grep -q "is running"
}

# Starts cupsd unless one runs, then makes the PDF queue the default.
# Returns non-zero when no scheduler or queue could be had.
start_printer() {
    if ! command -v lpadmin >/dev/null 2>&1 || [ ! -x /usr/sbin/cupsd ]; then
        echo "CUPS is not installed: printing tests will find no printer"
        return 1
    fi
    if ! cupsd_running; then
        /usr/sbin/cupsd -f >/dev/null 2>&1 &
        PENRIK_STARTED_CUPSD=$!
        local i
        for i in $(seq 100); do
            cupsd_running && break
            sleep 0.1
        done
        if ! cupsd_running; then
            echo "cupsd did not start"
            stop_printer
            return 1
        fi
    fi
    lpadmin -p PDF -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -E >/dev/null 2>&1 || return 1
    lpoptions -d PDF >/dev/null 2>&1 || return 1
    mkdir -p "$PENRIK_PDF_DIR"
}

# Waits (bounded) until the queue is empty, then prints the newest PDF's path.
newest_pdf() {
    local i
    for i in $(seq 150); do
        [ -z "$(lpstat -o PDF 2>/dev/null)" ] && break
        sleep 0.2
    done
    ls -t "$PENRIK_PDF_DIR"/*.pdf 2>/dev/null | head -n 1
}

# Stops the cupsd that start_printer started, and no other.
stop_printer() {
    if [ -n "$PENRIK_STARTED_CUPSD" ]; then
        kill "$PENRIK_STARTED_CUPSD" 2>/dev/null || true
        wait "$PENRIK_STARTED_CUPSD" 2>/dev/null || true
        PENRIK_STARTED_CUPSD=""
    fi
}
