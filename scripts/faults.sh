#!/usr/bin/env bash
# Counts how many of the deliberate faults in scripts/faults.txt the test suite catches.
#
#   scripts/faults.sh [build-dir] [--only ID[,ID...]]
#
# For each fault: check that its text occurs exactly once in its file, put the fault in, build, run the
# suite, and put the file back exactly as it was. The file is found by its base name anywhere in
# `git ls-files`, so the list keeps working when files move to other folders. Results go to the screen
# and to <build-dir>/faults-result.txt, a caught fault with the first test that failed. The source tree
# is never left with a fault in it: a trap puts the file back on Ctrl-C or on any error.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
LIST="$ROOT/scripts/faults.txt"
BUILD=""
ONLY=""
while [[ $# -gt 0 ]]; do
    case "$1" in
    --only)
        ONLY="${2:?--only needs a list of ids}"
        shift 2
        ;;
    --only=*)
        ONLY="${1#--only=}"
        shift
        ;;
    -h | --help)
        sed -n '2,10p' "$0"
        exit 0
        ;;
    -*)
        echo "faults.sh: unknown option $1" >&2
        exit 2
        ;;
    *)
        BUILD="$1"
        shift
        ;;
    esac
done
BUILD="${BUILD:-$ROOT/build-faults}"
[[ "$BUILD" = /* ]] || BUILD="$PWD/$BUILD"

BACKUP="$BUILD/faults-backup"
LOGS="$BUILD/faults-logs"
RESULT="$BUILD/faults-result.txt"

# ---- putting a file back ----
APPLIED="" # the source file that holds a fault right now
restore() {
    if [[ -n "$APPLIED" ]]; then
        # Same bytes as before, with a new time, so the next build compiles the sound file again.
        cat "$BACKUP/original" >"$APPLIED"
        touch "$APPLIED"
        APPLIED=""
    fi
}
# A build or suite runs in the background and is waited for: make and ctest catch Ctrl-C themselves
# and end normally, and bash would then let the run go on as if the step had failed. Waiting lets the
# trap run at once; it ends the step with everything it started.
STEP=""
step() {
    "$@" &
    STEP=$!
    local rc=0
    wait "$STEP" || rc=$?
    STEP=""
    return "$rc"
}
end_tree() {
    local child
    for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do
        end_tree "$child"
    done
    kill -TERM "$1" 2>/dev/null || true
}
exec 4>&2 # the terminal's stderr, for the trap's word while a step's output goes to a log
trap 'restore' EXIT
trap 'if [[ -n "$STEP" ]]; then end_tree "$STEP"; fi; restore; echo "faults.sh: interrupted, source restored" >&4; exit 130' INT TERM

# ---- the fault list (python does the exact text work) ----
# Prints, for every fault line: id, path (or "-" with the reason), what; tab-separated.
resolve_faults() {
    python3 - "$ROOT" "$LIST" "$ONLY" <<'PY'
import subprocess, sys
root, listfile, only = sys.argv[1], sys.argv[2], sys.argv[3]
files = subprocess.run(["git", "-C", root, "ls-files"], capture_output=True, text=True, check=True).stdout.split("\n")
wanted = [w for w in only.split(",") if w] if only else None
seen = set()
for n, line in enumerate(open(listfile, encoding="utf-8"), 1):
    line = line.rstrip("\n")
    if not line.strip() or line.lstrip().startswith("#"):
        continue
    parts = line.split("\t")
    if len(parts) != 5:
        sys.exit(f"faults.txt:{n}: needs 5 tab-separated fields, has {len(parts)}")
    fid, base, find, replace, what = parts
    if fid in seen:
        sys.exit(f"faults.txt:{n}: id {fid} twice")
    seen.add(fid)
    if wanted is not None and fid not in wanted:
        continue
    matches = [f for f in files if f and f.rsplit("/", 1)[-1] == base]
    if len(matches) != 1:
        print(f"{fid}\t-\t{base}: {len(matches)} files of that name\t{what}")
        continue
    count = open(f"{root}/{matches[0]}", encoding="utf-8").read().count(find)
    if count != 1:
        print(f"{fid}\t-\t{matches[0]}: text found {count} times\t{what}")
        continue
    print(f"{fid}\t{matches[0]}\tok\t{what}")
if wanted is not None:
    for w in wanted:
        if w not in seen:
            sys.exit(f"faults.sh: no fault with id {w}")
PY
}

# Puts fault <id> into <path>: the one occurrence of its find text becomes its replace text.
apply_fault() {
    python3 - "$LIST" "$1" "$2" <<'PY'
import sys
listfile, fid, path = sys.argv[1:]
for line in open(listfile, encoding="utf-8"):
    parts = line.rstrip("\n").split("\t")
    if len(parts) == 5 and parts[0] == fid:
        _, _, find, replace, _ = parts
        break
else:
    sys.exit(f"no fault {fid}")
with open(path, encoding="utf-8", newline="") as f:
    text = f.read()
if text.count(find) != 1:
    sys.exit(f"{fid}: text no longer found exactly once in {path}")
with open(path, "w", encoding="utf-8", newline="") as f:
    f.write(text.replace(find, replace, 1))
PY
}

build() {
    step nice -n 10 cmake --build "$BUILD" -j2
}

suite() {
    step bash -c 'cd "$1" && QT_QPA_PLATFORM=offscreen exec nice -n 10 ctest --stop-on-failure -j2 --timeout 300' \
        _ "$BUILD"
}

# ---- the build dir ----
if [[ ! -f "$BUILD/CMakeCache.txt" ]]; then
    launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 \
        -DKELVRA_BUILD_GUI=ON -DKELVRA_BUILD_TESTS=ON -DKELVRA_BUILD_BENCH=OFF "${launcher[@]}"
fi
mkdir -p "$BACKUP" "$LOGS"

FAULTS="$(resolve_faults)"

# ---- a red suite counts nothing ----
echo "faults.sh: building and running the sound suite first"
if ! build >"$LOGS/clean-build.log" 2>&1; then
    echo "faults.sh: the sound tree does not build; see $LOGS/clean-build.log" >&2
    exit 1
fi
if ! suite >"$LOGS/clean-suite.log" 2>&1; then
    echo "faults.sh: the suite fails without any fault; see $LOGS/clean-suite.log" >&2
    exit 1
fi

# ---- the faults ----
: >"$RESULT"
caught=0
total=0
while IFS=$'\t' read -r -u 3 id path reason what; do
    total=$((total + 1))
    start=$SECONDS
    if [[ "$path" = "-" ]]; then
        result="does-not-apply"
        what="$reason"
    else
        cp "$ROOT/$path" "$BACKUP/original"
        APPLIED="$ROOT/$path"
        apply_fault "$id" "$ROOT/$path"
        if ! build >"$LOGS/$id.build.log" 2>&1; then
            result="does-not-build"
        elif suite >"$LOGS/$id.suite.log" 2>&1; then
            result="missed"
        else
            result="caught"
            caught=$((caught + 1))
            # The first test that failed, so a new suite can be compared test by test.
            by="$(grep -m1 -E '\*\*\*(Failed|Exception|Timeout)|Not Run' "$LOGS/$id.suite.log" |
                sed -E 's/.*Test +#[0-9]+: ([^ ]+).*/\1/' || true)"
            what="$what  [by ${by:-?}]"
        fi
        restore
    fi
    line="$(printf '%-28s %-15s %4ss  %s' "$id" "$result" "$((SECONDS - start))" "$what")"
    echo "$line"
    echo "$line" >>"$RESULT"
done 3<<<"$FAULTS"

# The build dir ends up sound again, ready for the next run.
build >"$LOGS/final-build.log" 2>&1 || echo "faults.sh: the final rebuild failed; see $LOGS/final-build.log" >&2

echo "caught $caught of $total" | tee -a "$RESULT"
