#!/bin/bash
# Writes the hand-made seed inputs of the fuzz corpus: valid sources at the size
# boundaries, short files around the signature, and wrong or converted signatures.
# Usage: fuzz/make_seeds.sh [DIR]   (default: fuzz/corpus beside this script)
set -eu
dir=${1:-$(dirname "$0")/corpus}
mkdir -p "$dir"

# A 16-byte header whose bytes 6..9 are the given four hex bytes.
header() {
    printf "\\x00\\x11\\x22\\x33\\x44\\x55\\x$1\\x$2\\x$3\\x$4\\xAA\\xBB\\xCC\\xDD\\xEE\\xFF"
}

# A deterministic, non-zero body so that misplaced bytes show.
body() {
    seq 1 100000 | head -c "$1"
}

# NAME SIZE SIGNATURE...: a file of SIZE bytes (at least 16) with that signature.
seed() {
    local name=$1 size=$2
    shift 2
    { header "$@"; body $((size - 16)); } >"$dir/$name"
}

seed valid-8026 8026 2C 01 00 00
seed valid-8027 8027 2C 01 00 00
seed valid-12000 12000 2C 01 00 00
seed short-8025 8025 2C 01 00 00
seed short-16 16 2C 01 00 00
seed converted-8026 8026 2C 05 00 00
seed wrong-last-byte-8026 8026 2C 01 00 01
seed wrong-second-byte-8026 8026 2C 02 00 00
seed swapped-8026 8026 01 2C 00 00
: >"$dir/empty"
header 2C 01 00 00 | head -c 7 >"$dir/short-7"
header 2C 01 00 00 | head -c 8 >"$dir/short-8"
header 2C 01 00 00 | head -c 15 >"$dir/short-15"
