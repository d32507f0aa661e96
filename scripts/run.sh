#!/usr/bin/env bash
# Sets everything up, builds everything and runs the converter on the given files:
#   scripts/run.sh FILE...
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/setup.sh" >&2
"$root/scripts/build.sh" >&2
exec "$root/build/native/cli/settings-convert" "$@"
