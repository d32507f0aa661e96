#!/bin/bash
# A signal that ends the tool from outside (Ctrl-C, kill, a closed terminal) while it
# writes a file must not leave that file half-written under a converted file's name:
# the tool finishes the file it is writing, reports it, and then ends by the signal,
# before the next FILE. Each signal is sent once the output has its first bytes.
source "$(dirname "$0")/lib.sh"

set -m  # background jobs keep SIGINT and SIGQUIT, as in an interactive shell
ulimit -c 0  # SIGQUIT would otherwise leave a core file
size=$((256 * 1024 * 1024))
whole=$((size + kInserted))
src=$work/large.bin
make_sparse_source "$src" $size
make_source "$work/next.bin" 9000

for signal in INT TERM HUP QUIT; do
    name="SIG$signal during the write"
    dest=$work/out-$signal
    mkdir "$dest"
    "$tool" --output-dir "$dest" "$src" "$work/next.bin" >"$work/.run/out" 2>"$work/.run/err" &
    pid=$!
    sizeAtSignal=""
    for ((poll = 0; poll < 20000; poll++)); do
        file=$(listing "$dest")
        if [[ -n $file ]]; then
            sizeAtSignal=$(stat -c %s "$dest/$file" 2>/dev/null)
            ((sizeAtSignal > 0)) && break
        fi
    done
    kill -s "$signal" $pid
    wait $pid
    status=$?
    files=$(listing "$dest")
    stdoutText=$(<"$work/.run/out")
    if [[ -z $sizeAtSignal ]] || ((sizeAtSignal >= whole)); then
        fail "$name" "the signal did not come during the write (output had ${sizeAtSignal:-no} bytes)"
    elif [[ $status != $((128 + $(kill -l "$signal"))) ]]; then
        fail "$name" "exit status $status, expected the signal's (stderr: $(<"$work/.run/err"))"
    elif [[ -n $files && $(wc -l <<<"$files") != 1 ]]; then
        fail "$name" "more than the interrupted file was written: $(echo $files)"
    elif [[ -n $files && $(stat -c %s "$dest/$files") != "$whole" ]]; then
        fail "$name" "left a cut-off file of $(stat -c %s "$dest/$files") of $whole bytes"
    elif [[ -n $files ]] && ! cmp -s <(expected_output "$src") "$dest/$files"; then
        fail "$name" "the finished file differs from the target layout"
    elif [[ -n $files && $stdoutText != "$dest/$files" ]]; then
        fail "$name" "the finished file was not reported: '$stdoutText'"
    else
        pass "$name (signalled at $sizeAtSignal bytes)"
    fi
    rm -rf "$dest"
done

finish
