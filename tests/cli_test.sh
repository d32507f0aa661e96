#!/usr/bin/env bash
# Runs settings-convert as a user would and checks its output, messages, files and exit codes.
#   cli_test.sh [EMULATOR] PROGRAM
set -u
tool=("$@")
work=$(mktemp -d "${TMPDIR:-/tmp}/settings-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Runs the tool; leaves its exit status in $rc and its outputs, without the CRs a
# Windows console program writes, in out.txt and err.txt.
run() {
  "${tool[@]}" "$@" >out.raw 2>err.raw
  rc=$?
  tr -d '\r' <out.raw >out.txt
  tr -d '\r' <err.raw >err.txt
}

expect_rc() {
  [ "$rc" -eq "$1" ] || fail "$2: exit status $rc, expected $1 (stderr: $(cat err.txt))"
}

make_source() {  # make_source FILE SIZE
  { printf '\x01\x02\x03\x04\x05\x06\x2c\x01\x00\x00\x0b\x0c\x0d\x0e\x0f\x10'
    head -c $(($2 - 16)) /dev/urandom; } >"$1"
}

expected_of() {  # the converted bytes of a source, made with plain tools
  { head -c 7 "$1"; printf '\x05'; tail -c +9 "$1" | head -c 8018
    head -c 24760 /dev/zero; tail -c +8027 "$1"; }
}

mkdir in out
make_source in/a.bin 8026
make_source "in/with space.bin" 50000
make_source in/short.bin 8025
cp in/a.bin in/wrong.bin && printf '\x05' | dd of=in/wrong.bin bs=1 seek=7 conv=notrunc 2>/dev/null
cp -r in pristine

# --- usage, help and version
run --version;          expect_rc 0 "--version"
[ "$(cat out.txt)" = "settings-convert 1.00" ] || fail "--version printed '$(cat out.txt)'"
run --help;             expect_rc 0 "--help"
grep -q '^Usage: settings-convert' out.txt || fail "--help shows no usage"
for args in "" "--bogus in/a.bin" "--output-dir" "--check"; do
  run $args;            expect_rc 2 "usage error '$args'"
  grep -q '^Usage: settings-convert' err.txt || fail "usage error '$args' shows no usage on stderr"
  [ -s out.txt ] && fail "usage error '$args' wrote to stdout"
done

# --- a batch with failures: every file is tried, in order; successes on stdout
run --output-dir out in/a.bin in/missing.bin "in/with space.bin" in/short.bin in/wrong.bin in
expect_rc 1 "batch with failures"
[ "$(wc -l <out.txt)" -eq 2 ] || fail "batch: expected 2 lines on stdout, got: $(cat out.txt)"
grep -q '^in/missing.bin: cannot read the settings-file: ' err.txt || fail "missing file not reported: $(cat err.txt)"
grep -q '^in/short.bin: not a valid settings-file: ' err.txt || fail "short file not reported"
grep -q '^in/wrong.bin: not a valid settings-file: .*already converted' err.txt || fail "converted file not reported"
grep -q '^in: cannot read the settings-file: ' err.txt || fail "directory not reported"
[ "$(wc -l <err.txt)" -eq 4 ] || fail "batch: expected 4 lines on stderr, got: $(cat err.txt)"
mapfile -t written <out.txt
expected_of in/a.bin >expected.a
expected_of "in/with space.bin" >expected.b
cmp -s "${written[0]}" expected.a || fail "a.bin converted wrongly into '${written[0]}'"
cmp -s "${written[1]}" expected.b || fail "'with space.bin' converted wrongly into '${written[1]}'"
[ "$(ls out | wc -l)" -eq 2 ] || fail "out holds $(ls out | wc -l) files, expected 2"
for name in "${written[@]}"; do
  [[ $name =~ ^out/Settings_2C050000_[0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}\.[0-9]{2}\.[0-9]{2}\.[0-9]{3}\.BIN$ ]] ||
    fail "unexpected output name '$name'"
done
diff -r in pristine >/dev/null || fail "a source file changed"

# --- the working directory by default, named with the UTC time
before=$(date -u +%Y-%m-%d_%H.%M)
run in/a.bin
after=$(date -u +%Y-%m-%d_%H.%M)
expect_rc 0 "single conversion"
name=$(cat out.txt)
case $name in
  Settings_2C050000_"$before".*|Settings_2C050000_"$after".*) ;;
  *) fail "'$name' is not named with the UTC time $before" ;;
esac
[ -f "$name" ] && cmp -s "$name" expected.a || fail "conversion into the working directory wrong"
[ -s err.txt ] && fail "a successful conversion wrote to stderr: $(cat err.txt)"

# --- a missing output directory
run --output-dir nowhere in/a.bin
expect_rc 1 "missing output directory"
grep -q '^in/a.bin: cannot write the converted settings-file: ' err.txt || fail "unwritable output not reported: $(cat err.txt)"

# --- --check converts nothing
count=$(find . -name 'Settings_*' | wc -l)
run --check in/a.bin "in/with space.bin"
expect_rc 0 "--check of valid files"
[ "$(cat out.txt)" = "in/a.bin: valid settings-file
in/with space.bin: valid settings-file" ] || fail "--check output: $(cat out.txt)"
run --check in/a.bin in/short.bin in/missing.bin
expect_rc 1 "--check with invalid files"
grep -q '^in/short.bin: not a valid settings-file: ' err.txt || fail "--check short file: $(cat err.txt)"
grep -q '^in/missing.bin: cannot read the settings-file: ' err.txt || fail "--check missing file: $(cat err.txt)"
[ "$(find . -name 'Settings_*' | wc -l)" -eq "$count" ] || fail "--check wrote a file"

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all command-line checks passed"
