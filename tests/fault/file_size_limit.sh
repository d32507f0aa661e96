#!/bin/bash
# The output stops for real at exact byte counts (RLIMIT_FSIZE, SIGXFSZ ignored): at the
# start, after the header, after the leading block, after the inserted block, and one
# byte short of the end. Each must fail with "File too large" and leave no file, whether
# SIGXFSZ was ignored or not; a limit of exactly the whole output must convert.
source "$(dirname "$0")/lib.sh"

size=40000
whole=$((size + kInserted))
src=$work/source.bin
make_source "$src" $size
cp "$src" "$src.pristine"
dest=$work/out
mkdir "$dest"

# --file-size-signalled is a user's own ulimit -f: SIGXFSZ at its default action, which
# would end the tool in the middle of the file.
for option in --file-size --file-size-signalled; do
    for limit in 0 16 8026 32786 $((whole - 1)); do
        run_tool $option $limit --output-dir "$dest" "$src"
        expect_failure "output stopped at $limit of $whole bytes ($option)" 1 \
            "$src: cannot write the converted settings-file: File too large" "$dest" \
            "$src" "$src.pristine"
    done
done

run_tool --file-size $whole --output-dir "$dest" "$src"
expect_converted "output limited to exactly its $whole bytes" "$src" "$dest"

finish
