#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test layer:
# host unit tests, in-process tests under Wine, end-to-end tests under Wine,
# and the release zips. The Wine layers run twice: with the 64-bit build and
# with the 32-bit one (the release target), under Wine's 32-bit loader.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

./scripts/deps.sh || exit 1
./scripts/build.sh all || { echo "build failed"; exit 1; }

WINEPREFIX_OVERRIDE="${PENRIK_BUILD:-$root/build}/wine-test" PENRIK_UNMANAGED=1
. scripts/wine-env.sh
. scripts/printer.sh
log="$build/test-logs"
mkdir -p "$log"
small_disk="$build/small-disk"
no_new_files="$build/no-new-files"
unmount() { for m in "$small_disk" "$no_new_files"; do mountpoint -q "$m" && umount "$m"; done; }
trap 'stop_all; stop_printer; unmount' EXIT
trap 'exit 143' TERM INT

status=0
passed=0
failed=0
notrun=0
summary=()  # one "name passed failed not-run" entry per layer, in order

# One layer: runs its CTest tests and counts them from CTest's JUnit report.
layer() {  # name, build tree, ctest regex, environment assignments...
    local name=$1 tree=$2 regex=$3 out="$log/$1.log" junit="$log/$1.xml"
    shift 3
    echo "== $name"
    rm -f "$junit"
    # Each test is a Wine process of its own; one that fails is run once
    # more, so that a Wine start that goes wrong is told apart from a fault,
    # and both runs are reported.
    env "$@" ctest --test-dir "$tree" -R "$regex" --no-tests=error --output-on-failure --output-junit "$junit" \
        --repeat until-pass:2 >"$out" 2>&1
    local rc=$?
    local p=0 f=0 s=0
    if [ -f "$junit" ]; then
        p=$(grep -c '<testcase[^>]*status="run"' "$junit")
        f=$(grep -c '<testcase[^>]*status="fail"' "$junit")
        s=$(grep -c '<testcase[^>]*status="\(notrun\|disabled\)"' "$junit")
        grep -o '<testcase name="[^"]*"[^>]*status="fail"' "$junit" | sed -E 's/<testcase name="([^"]*)".*/FAILED: \1/'
    fi
    echo "$name: $p passed, $f failed, $s not run (log in $out)"
    grep -a -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*\*\*\*(Failed|Exception|Timeout)' "$out" |
        sed -E 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+).*/failed once, run again: \1/' || true
    if [ "$rc" -ne 0 ]; then
        [ "$f" -eq 0 ] && f=1
        echo "$name: FAILED (ctest exit $rc)"
        grep -E '(Failure|error:)' "$out" | head -n 30
        status=1
    elif [ "$p" -eq 0 ]; then
        echo "$name: ran no test"
        status=1
    fi
    passed=$((passed + p)); failed=$((failed + f)); notrun=$((notrun + s))
    summary+=("$name $p $f $s")
}

# A layer that cannot run here: one line saying why, one test not run.
not_run() {  # name, why
    echo "== $1: not run: $2"
    summary+=("$1 0 0 1")
    notrun=$((notrun + 1))
}

layer unit "$build/host" '^unit\.'

# A few seconds of each fuzz target on its seed corpus, as a smoke check.
echo "== fuzz (smoke)"
fuzz_p=$passed fuzz_f=$failed
for target in "$build"/fuzz/tests/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target"); name=${name#fuzz_}
    scratch=$(mktemp -d)
    if "$target" -max_total_time=3 -artifact_prefix="$scratch/" "$scratch" "tests/fuzz/corpus/$name" >"$log/fuzz-$name.log" 2>&1; then
        echo "fuzz $name: $(grep -o 'Done [0-9]* runs' "$log/fuzz-$name.log")"
        passed=$((passed + 1))
    else
        echo "fuzz $name: FAILED (log in $log/fuzz-$name.log)"
        grep -E 'ERROR|SUMMARY' "$log/fuzz-$name.log" | head -n 5
        failed=$((failed + 1)); status=1
    fi
    rm -rf "$scratch"
done
summary+=("fuzz $((passed - fuzz_p)) $((failed - fuzz_f)) 0")
start_display
start_printer  # before Wine, which reads the printers as each process starts
start_wine
# A tiny file system, reached through Wine's Z: drive, for the full-disk test.
mkdir -p "$small_disk"
if mountpoint -q "$small_disk" || mount -t tmpfs -o size=64k tmpfs "$small_disk" 2>/dev/null; then
    export PENRIK_SMALL_DISK="$small_disk"
else
    echo "small disk: cannot mount a tmpfs (needs root); the full-disk test is skipped"
fi
# And a folder that takes no new file: its file system has room for its
# root and the one file in it.
mkdir -p "$no_new_files"
if mountpoint -q "$no_new_files" || { mount -t tmpfs -o size=64k,nr_inodes=2 tmpfs "$no_new_files" 2>/dev/null &&
    touch "$no_new_files/doc.txt"; }; then
    export PENRIK_NO_NEW_FILES="$no_new_files"
else
    echo "no-new-files folder: cannot mount a tmpfs (needs root); the in-place save test there is skipped"
fi
layer in-process "$build/win64" '^win\.'
# Files in a double-byte code page: Wine takes code page 932 from the
# name in LC_ALL alone (no Unix locale needs generating).
layer code-page-932 "$build/win64" '^win\.CodePage\.' LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8
layer end-to-end "$build/win64" '^e2e\.'

# The same tests built for 32-bit Windows. Where the i386 emulator runs
# them the tests are told, for the one thing it cannot show.
emulated=()
if [ "$(head -n 1 /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null)" = enabled ]; then
    echo "32-bit programs run under the i386 emulator (qemu-i386)"
    emulated=(PENRIK_I386_EMULATED=1)
fi
if i386_why=$(scripts/i386-ready.sh); then
    layer in-process-i686 "$build/win32" '^win\.' "${emulated[@]}"
    layer code-page-932-i686 "$build/win32" '^win\.CodePage\.' LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8 "${emulated[@]}"
    layer end-to-end-i686 "$build/win32" '^e2e\.' "${emulated[@]}"
else
    for name in in-process-i686 code-page-932-i686 end-to-end-i686; do
        not_run "$name" "$i386_why"
    done
fi

# The release zips as a user gets them, while Wine and the display are up;
# each check is one result.
echo "== release"
PENRIK_WINE_UP=1 tests/release/release_test.sh 2>&1 | tee "$log/release.log"
release_rc=${PIPESTATUS[0]}
p=$(grep -c '^ok ' "$log/release.log")
f=$(grep -c '^FAIL ' "$log/release.log")
s=$(grep -c '^not run ' "$log/release.log")
if [ "$release_rc" -ne 0 ]; then
    status=1
    [ "$f" -eq 0 ] && f=1
fi
passed=$((passed + p)); failed=$((failed + f)); notrun=$((notrun + s))
summary+=("release $p $f $s")
stop_printer
if cupsd_running; then
    echo "== no-printer: skipped (a CUPS scheduler the tests did not start is running)"
else
    layer no-printer "$build/win64" '^noprinter\.'
    if [ -z "$i386_why" ]; then
        layer no-printer-i686 "$build/win32" '^noprinter\.' "${emulated[@]}"
    else
        not_run no-printer-i686 "$i386_why"
    fi
fi

# Each layer's counts, the 64-bit and the 32-bit build side by side
# (passed / failed / not run).
echo
declare -A counts
layers=()
for entry in "${summary[@]}"; do
    read -r name p f s <<<"$entry"
    base=${name%-i686}
    [ -n "${counts[$base]+x}${counts[$base-i686]+x}" ] || layers+=("$base")
    counts[$name]="$p / $f / $s"
done
echo "passed / failed / not run (unit and fuzz run on Linux; release checks both zips)"
printf '%-16s %-22s %s\n' layer x86_64 i686
for base in "${layers[@]}"; do
    printf '%-16s %-22s %s\n' "$base" "${counts[$base]:--}" "${counts[$base-i686]:--}"
done
echo "$passed passed, $failed failed, $notrun not run"
exit $status
