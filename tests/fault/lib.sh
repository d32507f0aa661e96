# Common ground of the fault-injection tests, sourced by each of them. A test runs as
#   bash TEST.sh SETTINGS_CONVERT RUN_LIMITED
# Every case makes the failure happen for real (limits, mounts, files changing under the
# tool) and then checks what a user would find: the exit status, the one reason on
# stderr, no partial file left behind, and the source byte for byte as it was.
# A test exits 0 when all its cases pass, 1 when any fails, 77 when it cannot run here.

set -u

tool=$(realpath "$1")
runLimited=$(realpath "$2")
readonly kSkip=77
readonly kInserted=24760

work=$(mktemp -d "$PWD/fault-work.XXXXXX")
mkdir "$work/.run"
mounts=()
helpers=()
passed=0
failed=0

cleanup() {
    local pid mount i
    for pid in "${helpers[@]+"${helpers[@]}"}"; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        mount=${mounts[i]}
        umount "$mount" 2>/dev/null || umount -l "$mount" 2>/dev/null ||
            echo "warning: could not unmount $mount" >&2
    done
    rm -rf "$work"
}
trap cleanup EXIT

pass() {
    passed=$((passed + 1))
    echo "ok   $1"
}

fail() {
    failed=$((failed + 1))
    echo "FAIL $1: $2"
}

finish() {
    echo "$passed passed, $failed failed"
    ((failed == 0))
    exit $?
}

skip() {
    echo "SKIPPED: $1"
    exit "$kSkip"
}

# Mounts a tmpfs of SIZE on DIR (made if missing) for this test; unmounted on exit.
# Returns non-zero when mounting is not permitted here.
mount_tmpfs() {
    local dir=$1 options=$2
    mkdir -p "$dir"
    mount -t tmpfs -o "$options" settings-fault "$dir" 2>/dev/null || return 1
    mounts+=("$dir")
}

can_mount() {
    [[ $(id -u) == 0 ]] || return 1
    mount_tmpfs "$work/.probe" size=4k || return 1
    umount "$work/.probe" && unset 'mounts[-1]'
}

# PATH SIZE [B6 B7 B8 B9]: a source of SIZE bytes whose bytes 6..9 are the given hex
# bytes (2C 01 00 00 unless told), with a random body so that misplaced bytes show.
make_source() {
    local path=$1 size=$2
    local b6=${3:-2C} b7=${4:-01} b8=${5:-00} b9=${6:-00}
    {
        printf "\\x00\\x11\\x22\\x33\\x44\\x55\\x$b6\\x$b7\\x$b8\\x$b9\\xAA\\xBB\\xCC\\xDD\\xEE\\xFF"
        head -c $((size - 16)) /dev/urandom
    } | head -c "$size" >"$path"
}

# PATH SIZE: a valid source of SIZE bytes that takes no disk space (a sparse file).
make_sparse_source() {
    printf '\x00\x11\x22\x33\x44\x55\x2C\x01\x00\x00\xAA\xBB\xCC\xDD\xEE\xFF' >"$1"
    truncate -s "$2" "$1"
}

# SOURCE: the converted file, made by plain tools, on stdout.
expected_output() {
    head -c 7 "$1"
    printf '\x05'
    tail -c +9 "$1" | head -c 8018
    head -c $kInserted /dev/zero
    tail -c +8027 "$1"
}

# Runs the tool; stdout and stderr reach their files through pipes, so a file-size
# limit applies only to the files the tool itself writes. Leading --file-size BYTES,
# --file-size-signalled BYTES or --address-space BYTES are limits (see run_limited.cpp);
# the rest are the tool's arguments. The tool runs
# under "${prefix[@]}" when a test sets it (valgrind). Sets status, stdoutText,
# stderrText and, under valgrind, valgrindLog; a run that hangs is stopped after
# $timeoutSeconds (default 60) s, with status 124.
prefix=()
run_tool() {
    local limits=()
    while [[ ${1-} == --file-size || ${1-} == --file-size-signalled ||
             ${1-} == --address-space ]]; do
        limits+=("$1" "$2")
        shift 2
    done
    local run=$work/.run
    { timeout "${timeoutSeconds:-60}" "$runLimited" "${limits[@]+"${limits[@]}"}" -- \
        "${prefix[@]+"${prefix[@]}"}" "$tool" "$@" 2>&1 1>&3 3>&- | cat >"$run/err"
      echo "${PIPESTATUS[0]}" >"$run/status"; } 3>&1 | cat >"$run/out"
    status=$(<"$run/status")
    stdoutText=$(<"$run/out")
    stderrText=$(grep -v -E '^==[0-9]+==' "$run/err")
    valgrindLog=$(grep -E '^==[0-9]+==' "$run/err")
}

listing() {
    ls -A "$1" 2>/dev/null
}

# CASE EXIT STDERR DIR [SOURCE PRISTINE]: the last run failed as expected. STDERR is the
# whole expected message; DIR, where the output would have gone, must hold nothing new
# (only what it held before, given as $keep, one name a line); SOURCE must still equal
# PRISTINE.
expect_failure() {
    local name=$1 exit=$2 message=$3 dir=$4 source=${5-} pristine=${6-}
    local left
    left=$(listing "$dir")
    if [[ -z $dir ]]; then
        fail "$name" "the test names no output directory"
    elif [[ $status != "$exit" ]]; then
        fail "$name" "exit status $status, expected $exit (stderr: $stderrText)"
    elif [[ -n $stdoutText ]]; then
        fail "$name" "stdout should be empty: $stdoutText"
    elif [[ $stderrText != "$message" ]]; then
        fail "$name" "stderr is '$stderrText', expected '$message'"
    elif [[ $left != "${keep-}" ]]; then
        fail "$name" "left behind in $dir: $(echo $left)"
    elif [[ -n $source ]] && ! cmp -s "$source" "$pristine"; then
        fail "$name" "the source changed"
    else
        pass "$name"
    fi
}

# CASE SOURCE DIR: the last run converted SOURCE into DIR ("." for the working
# directory, given as no --output-dir), which held nothing before:
# exactly one new file, named on stdout, with the target layout; SOURCE unchanged
# against "$SOURCE.pristine" when that exists.
expect_converted() {
    local name=$1 source=$2 dir=$3
    local files
    files=$(listing "$dir")
    if [[ $status != 0 ]]; then
        fail "$name" "exit status $status (stderr: $stderrText)"
    elif [[ -n $stderrText ]]; then
        fail "$name" "stderr should be empty: $stderrText"
    elif [[ $(wc -l <<<"$files") != 1 || ! $files =~ ^Settings_2C050000_[0-9_.-]+\.BIN$ ]]; then
        fail "$name" "expected one converted file in $dir, found: $(echo $files)"
    elif [[ $stdoutText != "$dir/$files" && $stdoutText != "$dir$files" &&
            ! ($dir == . && $stdoutText == "$files") ]]; then
        fail "$name" "stdout is '$stdoutText', expected the path of $dir/$files"
    elif ! cmp -s <(expected_output "$source") "$dir/$files"; then
        fail "$name" "the converted file differs from the target layout"
    elif [[ -e $source.pristine ]] && ! cmp -s "$source" "$source.pristine"; then
        fail "$name" "the source changed"
    else
        pass "$name"
    fi
}
