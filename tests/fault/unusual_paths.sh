#!/bin/bash
# Paths are passed through unchanged: spaces, non-ASCII and non-UTF-8 bytes, a newline,
# a leading dash, names of the longest length a directory entry allows, and a path
# longer than the system's path limit, reached through relative names.
source "$(dirname "$0")/lib.sh"

# NAME SOURCE-DIR FILE OUTPUT-DIR: check and convert SOURCE-DIR/FILE into OUTPUT-DIR.
convert_at() {
    local name=$1 sourceDir=$2 file=$3 dest=$4
    mkdir -p "$sourceDir" "$dest"
    local src=$sourceDir/$file
    make_source "$src" 12345
    cp "$src" "$work/pristine"
    run_tool --check -- "$src"
    if [[ $status != 0 || $stdoutText != "$src: valid settings-file" ]]; then
        fail "check, $name" "status $status: $stdoutText $stderrText"
    else
        pass "check, $name"
    fi
    run_tool --output-dir "$dest" -- "$src"
    expect_converted "convert, $name" "$src" "$dest"
    cmp -s "$src" "$work/pristine" || fail "convert, $name" "the source changed"
}

longName=$(printf 'n%.0s' {1..251})  # with ".bin", 255 bytes: the longest entry name
convert_at "spaces" "$work/dir with  spaces" " settings file .bin" "$work/out with spaces"
convert_at "non-ASCII UTF-8" "$work/Einstellungen Küche 設定" "Kanal ☃ Ü.bin" "$work/Ausgabe ü"
convert_at "bytes that are not UTF-8" "$work/caf"$'\xe9' $'r\xe9glage\xff.bin' "$work/out"$'\xe9'
convert_at "a newline in the name" "$work/line"$'\n'"break" $'a\nb.bin' "$work/out-newline"
convert_at "a leading dash" "$work/-dash" "-settings.bin" "$work/-out"
convert_at "255-byte names (path of $((${#work} + 3 * 256)) bytes)" "$work/${longName}.dir" \
    "${longName}.bin" "$work/${longName}.out"

# A path longer than PATH_MAX (4096): made and used one directory at a time.
deepName=$(printf 'd%.0s' {1..200})
cd "$work"
deepPath=$work
for ((level = 0; level < 22; level++)); do
    mkdir "$deepName" && cd "$deepName" || exit 1
    deepPath+=/$deepName
done
make_source source.bin 12345
cp source.bin "$work/pristine"
mkdir out
name="path of ${#deepPath} bytes"
run_tool --check "$deepPath/source.bin"
expect_failure "check, absolute $name" 1 \
    "$deepPath/source.bin: cannot read the settings-file: File name too long" out
run_tool "$deepPath/source.bin"
expect_failure "convert, absolute $name" 1 \
    "$deepPath/source.bin: cannot read the settings-file: File name too long" out
run_tool --output-dir "$deepPath/out" source.bin
expect_failure "output into an absolute $name" 1 \
    "source.bin: cannot write the converted settings-file: File name too long" out \
    source.bin "$work/pristine"
mkdir here && cd here
run_tool ../source.bin
expect_converted "convert, relative in a $name" ../source.bin .
cd "$work"

finish
