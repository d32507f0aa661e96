#!/usr/bin/env bash
# Brings up what the end-to-end dialog tests need and runs them under Wine.
#
#   ui_test_harness.sh setup STATE_DIR        a virtual display and a fresh Wine prefix
#   ui_test_harness.sh run STATE_DIR CASE DRIVER PROGRAM
#   ui_test_harness.sh no_display STATE_DIR PROGRAM
#   ui_test_harness.sh cleanup STATE_DIR      ends what setup started, removes its files
#
# STATE_DIR records what setup started, so that later steps use it and cleanup ends
# exactly those processes. Exit status 77 means "skipped".
set -u

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
SKIP=77
# Far from UTC, with a quarter-hour offset: a file named after local time cannot pass.
TEST_TZ=Asia/Kathmandu

fail() {
    echo "ui tests: $*" >&2
    exit 1
}

load_state() {
    local state=$1
    [ -f "$state/env" ] || fail "no test display: ui.setup has not run or failed ($state/env missing)"
    # shellcheck source=/dev/null
    . "$state/env"
}

# Unmounts whatever the cases mounted below the run's directory, deepest first.
unmount_below() {
    local root=$1 mountPoint
    awk -v root="$root/" 'index($2, root) == 1 { print $2 }' /proc/mounts | sort -r |
        while read -r mountPoint; do
            umount "$mountPoint" || umount -l "$mountPoint"
        done
}

setup() {
    local state=$1
    [ -f "$state/env" ] && cleanup "$state"
    for tool in Xvfb "$WINE" "$WINESERVER"; do
        command -v "$tool" >/dev/null || fail "$tool is not installed (run scripts/setup.sh)"
    done
    mkdir -p "$state" || fail "cannot create $state"
    local root
    root=$(mktemp -d /tmp/settings-ui-test.XXXXXX) || fail "cannot create a run directory"
    echo "root=$root" >"$state/partial"

    # -displayfd: Xvfb picks a free display number itself and writes it to fd 3.
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$root/display" \
        </dev/null >"$root/xvfb.log" 2>&1 &
    local xvfbPid=$!
    echo "xvfbPid=$xvfbPid" >>"$state/partial"
    local waited=0
    until [ -s "$root/display" ]; do
        kill -0 "$xvfbPid" 2>/dev/null || fail "Xvfb did not start: $(cat "$root/xvfb.log")"
        [ $waited -ge 100 ] && fail "Xvfb did not report a display in 10 s"
        sleep 0.1
        waited=$((waited + 1))
    done
    local display=":$(head -n1 "$root/display")"

    cat >"$state/env" <<EOF
root=$root
xvfbPid=$xvfbPid
export DISPLAY=$display
export WINEPREFIX=$root/prefix
export WINEDEBUG=-all
export TZ=$TEST_TZ
EOF
    rm -f "$state/partial"
    load_state "$state"
    echo "display $DISPLAY, Wine prefix $WINEPREFIX"

    # A persistent server for the whole run: no start-up and shut-down between cases.
    "$WINESERVER" -p </dev/null >"$root/wineserver.log" 2>&1
    # Without Mono and Gecko, which the program does not use and which are not installed.
    WINEDLLOVERRIDES="mscoree,mshtml=" "$WINE" wineboot --init </dev/null >"$root/wineboot.log" 2>&1 ||
        fail "wineboot failed: $(tail -n 5 "$root/wineboot.log")"
    # Wine's own fonts (package fonts-wine), where Wine 8 finds them: dialogs then get
    # Windows' metrics for "MS Sans Serif", and the close box its Marlett glyph.
    if [ -d /usr/share/wine/fonts ]; then
        cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null ||
            echo "note: could not copy Wine's fonts into the prefix"
    fi
    # Unmanaged windows: with no window manager, hiding a managed window waits 2 s.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        </dev/null >>"$root/wineboot.log" 2>&1 || fail "cannot set up the Wine prefix"
    echo "ready"
}

run_case() {
    local state=$1 case=$2 driver=$3 program=$4
    load_state "$state"
    local caseDir="$root/cases/$case"
    rm -rf --one-file-system "$caseDir"
    mkdir -p "$caseDir" || fail "cannot create $caseDir"
    if [ "$case" = cannot_write ]; then
        mkdir -p "$caseDir/readonly" "$caseDir/full"
        # Being root, the tests can write anywhere a plain directory allows; only a
        # read-only mount refuses them, and a tiny one fills up.
        if ! mount -t tmpfs -o ro,size=64k settings-ui-readonly "$caseDir/readonly" 2>"$caseDir/mount.log"; then
            echo "SKIPPED: mounting a read-only tmpfs is not permitted here: $(cat "$caseDir/mount.log")"
            exit $SKIP
        fi
        trap 'unmount_below "$caseDir"' EXIT
        if ! mount -t tmpfs -o size=16k settings-ui-full "$caseDir/full" 2>"$caseDir/mount.log"; then
            echo "SKIPPED: mounting a small tmpfs is not permitted here: $(cat "$caseDir/mount.log")"
            exit $SKIP
        fi
    fi
    "$WINE" "$driver" "$case" "$program" "$caseDir" </dev/null
}

no_display() {
    local state=$1 program
    program=$(realpath "$2") || fail "no program $2"
    load_state "$state"
    local caseDir="$root/cases/no_display"
    mkdir -p "$caseDir"
    cd "$caseDir" || fail "cannot enter $caseDir"
    # Without a display no dialog can be made; the program must say so with exit code 1
    # rather than wait for a quit message that nothing would ever send.
    local started=$SECONDS status=0
    # Wine's own report of the refused window shows the program got as far as its dialog.
    timeout 60 env -u DISPLAY WINEDEBUG=err+winediag "$WINE" "$program" </dev/null \
        >"$caseDir/output.log" 2>&1 || status=$?
    local took=$((SECONDS - started))
    if [ $status -eq 124 ]; then
        echo "FAIL: without a display the program was still running after 60 s"
        exit 1
    fi
    if [ $status -ne 1 ] || ! grep -q nodrv_CreateWindow "$caseDir/output.log"; then
        echo "FAIL: without a display the program exited with $status, expected 1 after its" \
            "dialog was refused"
        cat "$caseDir/output.log"
        exit 1
    fi
    echo "ok: without a display the program exits with 1 after ${took} s"
}

cleanup() {
    local state=$1
    if [ -f "$state/partial" ]; then
        # shellcheck source=/dev/null
        . "$state/partial"
    elif [ -f "$state/env" ]; then
        load_state "$state"
        # Ends every process of this run's own prefix, and no other.
        "$WINESERVER" -k </dev/null >/dev/null 2>&1
    else
        echo "nothing to clean up"
        return 0
    fi
    if [ -n "${xvfbPid:-}" ] && [ "$(cat "/proc/$xvfbPid/comm" 2>/dev/null)" = Xvfb ]; then
        kill "$xvfbPid"
    fi
    if [ -n "${root:-}" ] && [ -d "$root" ]; then
        unmount_below "$root"
        rm -rf --one-file-system "$root"
    fi
    rm -f "$state/env" "$state/partial"
    echo "cleaned up"
}

command=${1:-}
case "$command" in
    setup) [ $# -eq 2 ] || fail "usage: $0 setup STATE_DIR"; setup "$2" ;;
    run) [ $# -eq 5 ] || fail "usage: $0 run STATE_DIR CASE DRIVER PROGRAM"; run_case "$2" "$3" "$4" "$5" ;;
    no_display) [ $# -eq 3 ] || fail "usage: $0 no_display STATE_DIR PROGRAM"; no_display "$2" "$3" ;;
    cleanup) [ $# -eq 2 ] || fail "usage: $0 cleanup STATE_DIR"; cleanup "$2" ;;
    *) fail "usage: $0 setup|run|no_display|cleanup STATE_DIR ..." ;;
esac
