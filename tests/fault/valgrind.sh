#!/bin/bash
# The tool under valgrind's memcheck on a conversion, a check and every failure path it
# has: each run must give its usual exit status and message, with no memory error and
# no leak of any kind.
source "$(dirname "$0")/lib.sh"

command -v valgrind >/dev/null || skip "valgrind is not installed"
# No gdb server: its shared-memory file would itself meet the file-size limit.
prefix=(valgrind --quiet --vgdb=no --leak-check=full --show-leak-kinds=all --errors-for-leak-kinds=all
        --error-exitcode=99 --suppressions="$(dirname "$0")/valgrind.supp")
timeoutSeconds=120

# NAME: the last run was clean under memcheck (its status and stderr are checked apart).
expect_clean() {
    if [[ $status == 99 || -n $valgrindLog ]]; then
        fail "$1, memcheck" "$(printf '%s\n' "$valgrindLog" | head -n 30)"
    else
        pass "$1, memcheck"
    fi
}

dest=$work/out
mkdir "$dest"
src=$work/source.bin
make_source "$src" 40000
cp "$src" "$src.pristine"
cannotRead="cannot read the settings-file"
cannotWrite="cannot write the converted settings-file"

run_tool --output-dir "$dest" "$src"
expect_converted "conversion" "$src" "$dest"
expect_clean "conversion"
rm -f "$dest"/*

run_tool --check "$src"
[[ $status == 0 && $stdoutText == "$src: valid settings-file" ]] && pass "check" ||
    fail "check" "status $status: $stdoutText $stderrText"
expect_clean "check"

make_source "$work/short.bin" 8025
run_tool --output-dir "$dest" "$work/short.bin"
expect_failure "not valid" 1 "$work/short.bin: not a valid settings-file: it has 8025 bytes, fewer than the 8026 of a settings-file" "$dest"
expect_clean "not valid"

run_tool --check "$work/short.bin"
expect_failure "check, not valid" 1 "$work/short.bin: not a valid settings-file: it has 8025 bytes, fewer than the 8026 of a settings-file" "$dest"
expect_clean "check, not valid"

run_tool --output-dir "$dest" "$work/missing.bin"
expect_failure "missing source" 1 "$work/missing.bin: $cannotRead: No such file or directory" "$dest"
expect_clean "missing source"

mkfifo "$work/fifo"
run_tool --output-dir "$dest" "$work" "$work/fifo"
expect_failure "directory and FIFO" 1 "$work: $cannotRead: it is a directory
$work/fifo: $cannotRead: it is not a regular file" "$dest"
expect_clean "directory and FIFO"

run_tool --output-dir "$work/missing" "$src"
expect_failure "output directory missing" 1 \
    "$src: $cannotWrite: No such file or directory" "$dest" "$src" "$src.pristine"
expect_clean "output directory missing"

run_tool --file-size 16 --output-dir "$dest" "$src"
expect_failure "write stopped by a file-size limit" 1 "$src: $cannotWrite: File too large" \
    "$dest" "$src" "$src.pristine"
expect_clean "write stopped by a file-size limit"

if can_mount; then
    mount_tmpfs "$work/small" size=32k
    run_tool --output-dir "$work/small" "$src"
    expect_failure "full tmpfs" 1 "$src: $cannotWrite: No space left on device" \
        "$work/small" "$src" "$src.pristine"
    expect_clean "full tmpfs"
else
    echo "skipped: full tmpfs (mounting is not permitted here)"
fi

# memcheck's allocator cannot give 1 TiB, so the buffer allocation fails for real.
if make_sparse_source "$work/huge.bin" 1T 2>/dev/null; then
    run_tool --output-dir "$dest" "$work/huge.bin"
    expect_failure "buffer allocation fails" 1 \
        "$work/huge.bin: $cannotRead: there is not enough memory to read it" "$dest"
    expect_clean "buffer allocation fails"
else
    echo "skipped: buffer allocation fails (no 1 TiB sparse file on this file system)"
fi

run_tool --output-dir "$dest" "$work/short.bin" "$src" "$work/missing.bin"
[[ $status == 1 && $(listing "$dest" | wc -l) == 1 ]] && pass "three files, one converted" ||
    fail "three files, one converted" "status $status: $stderrText"
expect_clean "three files, one converted"

run_tool --no-such-option
[[ $status == 2 ]] && pass "usage error" || fail "usage error" "status $status"
expect_clean "usage error"

finish
