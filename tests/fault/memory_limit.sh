#!/bin/bash
# The body is read into one buffer of N bytes. Under a real address-space limit
# (RLIMIT_AS, what ulimit -v sets) a source too large for it must be refused as
# unreadable with nothing written, and one that fits must convert: the tool needs no
# second copy of the file. Sources are sparse, so they cost no disk.
source "$(dirname "$0")/lib.sh"

limit=$((64 * 1024 * 1024))
dest=$work/out
mkdir "$dest"

src=$work/too-large.bin
make_sparse_source "$src" $((256 * 1024 * 1024))
cp --sparse=always "$src" "$src.pristine"
run_tool --address-space $limit --check "$src"
[[ $status == 0 && $stdoutText == "$src: valid settings-file" ]] &&
    pass "check of 256 MiB under a 64 MiB limit" ||
    fail "check of 256 MiB under a 64 MiB limit" "status $status: $stdoutText $stderrText"
run_tool --address-space $limit --output-dir "$dest" "$src"
expect_failure "convert of 256 MiB under a 64 MiB limit" 1 \
    "$src: cannot read the settings-file: there is not enough memory to read it" "$dest" \
    "$src" "$src.pristine"
rm -f "$src" "$src.pristine"

src=$work/fits.bin
make_sparse_source "$src" $((40 * 1024 * 1024))
run_tool --address-space $limit --output-dir "$dest" "$src"
expect_converted "convert of 40 MiB under a 64 MiB limit" "$src" "$dest"

finish
