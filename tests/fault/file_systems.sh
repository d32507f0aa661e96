#!/bin/bash
# Output onto real file systems that refuse it: a tmpfs too small for the output, one
# already full, one without a free inode, and a read-only one. Each must fail with the
# system's reason and leave the file system as it was. A source on a read-only file
# system must still convert, and a tmpfs just large enough must take the output.
source "$(dirname "$0")/lib.sh"

can_mount || skip "mounting a tmpfs needs root and a system that permits it"

size=40000
src=$work/source.bin
make_source "$src" $size
cp "$src" "$src.pristine"
noSpace="$src: cannot write the converted settings-file: No space left on device"

mount_tmpfs "$work/small" size=32k
run_tool --output-dir "$work/small" "$src"
expect_failure "tmpfs fills up during the write" 1 "$noSpace" "$work/small" "$src" "$src.pristine"

mount_tmpfs "$work/full" size=64k
head -c 1M /dev/zero >"$work/full/filler" 2>/dev/null
cp "$work/full/filler" "$work/filler.before"
keep=filler
run_tool --output-dir "$work/full" "$src"
expect_failure "tmpfs already full" 1 "$noSpace" "$work/full" "$src" "$src.pristine"
unset keep
cmp -s "$work/full/filler" "$work/filler.before" && pass "a full tmpfs keeps its other file" ||
    fail "a full tmpfs keeps its other file" "the filler changed"

mount_tmpfs "$work/no-inode" size=1m,nr_inodes=1
run_tool --output-dir "$work/no-inode" "$src"
expect_failure "tmpfs without a free inode" 1 "$noSpace" "$work/no-inode" "$src" "$src.pristine"

mount_tmpfs "$work/read-only" size=1m
mount -o remount,ro "$work/read-only"
run_tool --output-dir "$work/read-only" "$src"
expect_failure "read-only tmpfs" 1 \
    "$src: cannot write the converted settings-file: Read-only file system" "$work/read-only" \
    "$src" "$src.pristine"

mount_tmpfs "$work/read-only-source" size=1m
cp "$src" "$work/read-only-source/source.bin"
mount -o remount,ro "$work/read-only-source"
mkdir "$work/out"
run_tool --check "$work/read-only-source/source.bin"
[[ $status == 0 && $stdoutText == "$work/read-only-source/source.bin: valid settings-file" ]] &&
    pass "check of a source on a read-only tmpfs" ||
    fail "check of a source on a read-only tmpfs" "status $status: $stdoutText $stderrText"
run_tool --output-dir "$work/out" "$work/read-only-source/source.bin"
expect_converted "source on a read-only tmpfs" "$work/read-only-source/source.bin" "$work/out"

mount_tmpfs "$work/roomy" size=68k
run_tool --output-dir "$work/roomy" "$src"
expect_converted "tmpfs with just enough room" "$src" "$work/roomy"

finish
