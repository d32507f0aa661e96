#!/bin/bash
# Sources that are not regular files (a directory, FIFOs with and without a writer,
# devices, a dangling link) must be refused at once, by check and by convert, without
# blocking and without creating anything; an output directory that is missing, a file
# or a device must fail with the system's reason.
source "$(dirname "$0")/lib.sh"

timeoutSeconds=10
dest=$work/out
mkdir "$dest"

mkdir "$work/a directory.bin"
mkfifo "$work/idle fifo.bin"
mkfifo "$work/open fifo.bin"
exec 7<>"$work/open fifo.bin"  # a writer that never writes
ln -s "$work/missing.bin" "$work/dangling link.bin"
deviceCases=("/dev/null|it is not a regular file" "/dev/zero|it is not a regular file")
if mknod "$work/zero device.bin" c 1 5 2>/dev/null; then
    deviceCases+=("$work/zero device.bin|it is not a regular file")
fi

cases=(
    "$work/a directory.bin|it is a directory"
    "$work/idle fifo.bin|it is not a regular file"
    "$work/open fifo.bin|it is not a regular file"
    "$work/dangling link.bin|No such file or directory"
    "${deviceCases[@]}"
)
for entry in "${cases[@]}"; do
    path=${entry%%|*}
    reason=${entry#*|}
    run_tool --check "$path"
    expect_failure "check of ${path##*/}" 1 "$path: cannot read the settings-file: $reason" "$dest"
    run_tool --output-dir "$dest" "$path"
    expect_failure "convert of ${path##*/}" 1 "$path: cannot read the settings-file: $reason" "$dest"
done
exec 7>&-

src=$work/source.bin
make_source "$src" 9000
cp "$src" "$src.pristine"
touch "$work/a file"
outputCases=(
    "$work/missing directory|No such file or directory"
    "$work/a file|Not a directory"
    "/dev/null|Not a directory"
)
for entry in "${outputCases[@]}"; do
    dir=${entry%%|*}
    reason=${entry#*|}
    run_tool --output-dir "$dir" "$src"
    [[ -d $dir ]] && probe=$dir || probe=$dest
    expect_failure "output into ${dir##*/}" 1 \
        "$src: cannot write the converted settings-file: $reason" "$probe" "$src" "$src.pristine"
done
[[ -s "$work/a file" ]] && fail "output into a file" "the file was written" ||
    pass "the file named as output directory is untouched"

finish
