#!/bin/bash
# The source changes under the tool: removed, truncated or replaced between a check and
# the conversion, and cut short and grown again while it is being read. The conversion
# must judge the file as it is when it converts, and a file that changes while it is
# read must give either a complete, consistent output or a failure that leaves nothing.
source "$(dirname "$0")/lib.sh"

dest=$work/out
mkdir "$dest"
src=$work/source.bin
valid="$src: valid settings-file"

# CASE CHANGE MESSAGE: check, change the source, convert.
between_check_and_convert() {
    local name=$1 change=$2 message=$3
    make_source "$src" 20000
    run_tool --check "$src"
    if [[ $status != 0 || $stdoutText != "$valid" ]]; then
        fail "$name" "the check before the change failed: $stdoutText $stderrText"
        return
    fi
    eval "$change"
    cp "$src" "$src.pristine" 2>/dev/null || rm -f "$src.pristine"
    run_tool --output-dir "$dest" "$src"
    if [[ -e $src.pristine ]]; then
        expect_failure "$name" 1 "$message" "$dest" "$src" "$src.pristine"
    else
        expect_failure "$name" 1 "$message" "$dest"
    fi
}

between_check_and_convert "removed after the check" 'rm "$src"' \
    "$src: cannot read the settings-file: No such file or directory"
between_check_and_convert "truncated to 8025 bytes after the check" 'truncate -s 8025 "$src"' \
    "$src: not a valid settings-file: it has 8025 bytes, fewer than the 8026 of a settings-file"
between_check_and_convert "emptied after the check" ': >"$src"' \
    "$src: not a valid settings-file: it has 0 bytes, fewer than the 8026 of a settings-file"
between_check_and_convert "replaced by a converted file after the check" \
    'make_source "$work/other" 9000 2C 05 00 00; mv "$work/other" "$src"' \
    "$src: not a valid settings-file: it is already converted (signature 2C 05 00 00)"

# Cut short and grown again while being read. Whatever the size at any moment, the file
# is the same 8100 bytes followed by zeros, so each complete output has one right content.
small=8100
large=$((8 * 1024 * 1024))
make_source "$src" $small
expected_output "$src" >"$work/expected-small"
truncate -s $large "$src"
expected_output "$src" >"$work/expected-large"
(
    while :; do
        truncate -s $small "$src"
        truncate -s $large "$src"
    done
) &
helpers+=($!)

name="cut short and grown again while being read"
shorter="$src: cannot read the settings-file: it became shorter while it was being read"
longer="$src: cannot read the settings-file: it became longer while it was being read"
declare -A outcomes=()
broken=""
for ((round = 0; round < 40; round++)); do
    run_tool --output-dir "$dest" "$src"
    files=$(listing "$dest")
    if [[ $status == 0 ]]; then
        if [[ $(wc -l <<<"$files") != 1 || $stdoutText != "$dest/$files" ]]; then
            broken="round $round: converted, but the directory holds: $(echo $files)"
        elif cmp -s "$dest/$files" "$work/expected-small"; then
            outcomes[converted at $small bytes]=$((${outcomes[converted at $small bytes]-0} + 1))
        elif cmp -s "$dest/$files" "$work/expected-large"; then
            outcomes[converted at $large bytes]=$((${outcomes[converted at $large bytes]-0} + 1))
        else
            broken="round $round: the output ($(stat -c %s "$dest/$files") bytes) matches neither size"
        fi
        rm -f "$dest/$files"
    elif [[ $status == 1 && ($stderrText == "$shorter" || $stderrText == "$longer") ]]; then
        [[ -z $files ]] || broken="round $round: failed but left $(echo $files)"
        outcomes[${stderrText##*: }]=$((${outcomes[${stderrText##*: }]-0} + 1))
    else
        broken="round $round: status $status, stderr '$stderrText'"
    fi
    [[ -z $broken ]] || break
done
kill "${helpers[-1]}" && wait "${helpers[-1]}" 2>/dev/null
summary=$(for outcome in "${!outcomes[@]}"; do echo -n "${outcomes[$outcome]}x $outcome; "; done)
[[ -z $broken ]] && pass "$name ($summary)" || fail "$name" "$broken"

finish
