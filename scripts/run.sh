#!/usr/bin/env bash
# Sets everything up, builds everything and starts the program:
#   scripts/run.sh            the dialog, Quimel SettingsConverter (under Wine on Linux)
#   scripts/run.sh FILE...    the command-line converter on the given files
# Converted files are written into the directory you run this from.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

case "$(uname -s)" in
  MINGW* | MSYS* | CYGWIN*)
    # On Windows the program runs as it is; any C++ compiler that CMake finds will do.
    cmake -S "$root" -B "$root/build/windows" -DSETTINGS_BUILD_TESTS=OFF >&2
    cmake --build "$root/build/windows" --config Release >&2
    if [ $# -gt 0 ]; then
      exec "$root/build/windows/cli/settings-convert" "$@"
    fi
    exec "$root/build/windows/SettingsConverter.exe"
    ;;
esac

"$root/scripts/setup.sh" >&2
"$root/scripts/build.sh" >&2
if [ $# -gt 0 ]; then
  exec "$root/build/native/cli/settings-convert" "$@"
fi

if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<EOF
scripts/run.sh: there is no display (DISPLAY is not set), so the dialog cannot be shown.
Run it from a graphical session, or use the command-line converter instead:
    scripts/run.sh FILE...
which runs build/native/cli/settings-convert on the given files.
EOF
  exit 1
fi

# The 64-bit twin of the product, from the same sources: Wine here runs only 64-bit
# programs. Wine keeps quiet, and a new prefix is made without Mono and Gecko, which the
# program does not use.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec /usr/lib/wine/wine64 "$root/build/win64/SettingsConverter.exe"
