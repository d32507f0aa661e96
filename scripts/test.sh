#!/usr/bin/env bash
# Sets everything up, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh

export WINEDEBUG=-all
status=0
for dir in build/native build/win32 build/win64; do
  echo "=== tests in $dir"
  ctest --test-dir "$dir" --output-on-failure || status=1
done
[ $status -eq 0 ] && echo "All tests passed." || echo "Some tests FAILED."
exit $status
