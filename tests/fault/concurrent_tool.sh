#!/bin/bash
# Two settings-convert processes started together into the same directory, a hundred
# times in a row, on the real clock: both must succeed, under different names, each
# file complete. (same_millisecond forces the very same millisecond through the
# library; here the tool races as users would run it.)
source "$(dirname "$0")/lib.sh"

src=$work/source.bin
make_source "$src" 100000
cp "$src" "$src.pristine"
expected_output "$src" >"$work/expected"
dest=$work/out
mkdir "$dest"

name="two tools at once, 100 rounds"
broken=""
adjacent=0
for ((round = 1; round <= 100; round++)); do
    "$tool" --output-dir "$dest" "$src" >"$work/.run/a" 2>&1 &
    first=$!
    "$tool" --output-dir "$dest" "$src" >"$work/.run/b" 2>&1 &
    second=$!
    wait $first && wait $second || { broken="round $round: a conversion failed: $(cat "$work/.run/a" "$work/.run/b")"; break; }
    mapfile -t files < <(listing "$dest")
    if ((${#files[@]} != 2)); then
        broken="round $round: expected two files, found: ${files[*]}"
        break
    fi
    for file in "${files[@]}"; do
        cmp -s "$dest/$file" "$work/expected" || broken="round $round: $file is not complete"
    done
    [[ -z $broken ]] || break
    # Names one millisecond apart: the two most likely met at the same millisecond.
    stamps=("${files[@]//[^0-9]/}")
    ((10#${stamps[1]} - 10#${stamps[0]} == 1)) && adjacent=$((adjacent + 1))
    rm -f "$dest"/*
done
if [[ -z $broken ]] && cmp -s "$src" "$src.pristine"; then
    pass "$name ($adjacent rounds with names one millisecond apart)"
else
    fail "$name" "${broken:-the source changed}"
fi

finish
