#!/usr/bin/env bash
# Crash recovery with the real editor under a real X server: paint and describe an
# untitled map, kill the editor, start it again, restore the map and save it; then a
# normal exit and a declined restore, each of which must leave no recovery file.
#
#   recovery.sh PROGRAM_DIR ARTEFACT_DIR
#
# PROGRAM_DIR holds xemap, tilesets/ and XEMAP.BMP. The script runs itself under xvfb-run.
set -euo pipefail

usage() { echo "usage: $0 PROGRAM_DIR ARTEFACT_DIR" >&2; exit 2; }
[ $# -eq 2 ] || usage
PROGRAM_DIR=$(cd "$1" && pwd)
ARTEFACTS=$2

# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
run_under_xvfb "$@"

mkdir -p "$ARTEFACTS"
ARTEFACTS=$(cd "$ARTEFACTS" && pwd)
rm -f "$ARTEFACTS"/recovery-*

WORK=$(mktemp -d /tmp/xemap-recovery.XXXXXX)
PROGRAM=$WORK/program
mkdir -p "$PROGRAM" "$WORK/config" "$WORK/runtime" "$WORK/data" "$WORK/maps"
chmod 700 "$WORK/runtime"
cp "$PROGRAM_DIR/xemap" "$PROGRAM_DIR/XEMAP.BMP" "$PROGRAM/"
cp -r "$PROGRAM_DIR/tilesets" "$PROGRAM/"
unset QT_QPA_PLATFORM
# The editor's own data folder: the recovery files live under it.
export XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/runtime XDG_DATA_HOME=$WORK/data
RECOVERY=$WORK/data/XEMap/recovery
SAVED_MAP=$WORK/maps/restored.xem

log() { echo "[recovery] $*"; }

fail() {
    echo "FAIL: $*" >&2
    import -window root "$ARTEFACTS/recovery-failure.png" 2>/dev/null || true
    [ -d "$RECOVERY" ] && { echo "recovery folder:" >&2; ls -la "$RECOVERY" >&2; }
    [ -f "$WORK/app.log" ] && { echo "editor output:" >&2; cat "$WORK/app.log" >&2; }
    exit 1
}

visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
wait_gone() {
    local pattern=$1
    wait_until "the window '$pattern' did not close" 5 '[ -z "$(visible "$pattern")" ]'
}

kill_editor() {
    kill -9 "$APP_PID"
    wait "$APP_PID" 2>/dev/null || true
    APP_PID=
}

cell_point() { echo "$((MAP_X + $1 * 20 + 10)) $((MAP_Y + $2 * 20 + 10))"; }
# Water (row 3) with its terrain box unticked, painted as plain tiles on the listed cells.
paint_water() {
    xdotool mousemove $((BOX_X - 21)) $((BOX_Y + 24 + 40 * 3)) sleep 0.05 click 1 sleep 0.05
    xdotool mousemove $(cell_point "$1" "$2") sleep 0.05 mousedown 1 sleep 0.05
    shift 2
    while [ $# -gt 1 ]; do
        xdotool mousemove $(cell_point "$1" "$2") sleep 0.04
        shift 2
    done
    xdotool mouseup 1 sleep 0.05
}

describe_cell() {
    xdotool mousemove $(cell_point "$1" "$2") sleep 0.1
    xdotool windowfocus --sync "$MAIN"
    xdotool key t
    local dialog
    dialog=$(wait_window '^Describe Tile' 5)
    xdotool windowfocus --sync "$dialog" 2>/dev/null || true
    # Typing goes into Short Name; Tab moves on to Done, which Enter presses.
    xdotool type --delay 5 "$3"
    xdotool key Tab sleep 0.05 key Return
    wait_gone '^Describe Tile'
}

recovery_maps() { ls "$RECOVERY"/*.xem 2>/dev/null || true; }

# Clicks a button of the confirmation dialog: 532 x 163, the negative button on the
# left, the affirmative one on the right, both 170 x 33 at the top 104.
answer_question() {
    local dialog x
    dialog=$(wait_window '^YesNo$' 15)
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    case $1 in yes) x=$((X + 532 - 40 - 85)) ;; no) x=$((X + 40 + 85)) ;; esac
    import -window root -crop "532x163+$X+$Y" +repage "$ARTEFACTS/recovery-question-$1.png" 2>/dev/null || true
    xdotool mousemove "$x" $((Y + 104 + 16)) sleep 0.05 click 1 sleep 0.05
    wait_gone '^YesNo$'
}

# An untitled map with work on it, left behind by a killed editor.
crash_with_work() {
    local name=$1
    launch_editor
    locate_windows '^XEMap'
    paint_water 2 2 3 2 4 2
    describe_cell 3 2 "$name"
    wait_until "no recovery file holds the description" 10 \
        '[ -n "$(recovery_maps)" ] && grep -q "^$name" $(recovery_maps)'
    kill_editor
    [ -n "$(recovery_maps)" ] || fail "the killed editor's recovery file is gone"
}

cell_of() { sed -n "$((3 + $2 * 32 + $3))p" "$1" | tr -d '\r' | awk '{print $1, $2}'; }

# ---------------------------------------------------------------- crash and restore
log "paint and describe an untitled map, then kill -9 the editor"
crash_with_work "Ford"

log "start again: Yes, Restore, then Ctrl+S through the name and file dialogs"
launch_editor
answer_question yes
locate_windows '^XEMap'
xdotool windowfocus --sync "$MAIN"
xdotool key ctrl+s
dialog=$(wait_window '^Map Name' 5)
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool type --delay 5 "River"
xdotool key Return
dialog=$(wait_window '^Save Map' 5)
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool type --delay 5 "$SAVED_MAP"
xdotool key Return
wait_until "no map file written at $SAVED_MAP" 5 '[ -s "$SAVED_MAP" ]'
wait_window '^XEMap: River$' 5 >/dev/null
cp "$SAVED_MAP" "$ARTEFACTS/recovery-restored.xem"

log "the saved map holds what was painted and described"
for x in 2 3 4; do
    [ "$(cell_of "$SAVED_MAP" "$x" 2)" = "30 0" ] || fail "cell ($x, 2) is '$(cell_of "$SAVED_MAP" "$x" 2)', not water"
done
[ "$(cell_of "$SAVED_MAP" 5 2)" = "0 0" ] || fail "cell (5, 2) was painted"
# The description block: cell index of (3, 2), then its short name.
[ "$(sed -n '1027,1028p' "$SAVED_MAP" | tr -d '\r' | paste -sd' ')" = "67 Ford" ] ||
    fail "the description is '$(sed -n '1027,1028p' "$SAVED_MAP" | tr -d '\r' | paste -sd' ')'"
wait_until "the saved map's recovery file was not removed" 5 '[ -z "$(recovery_maps)" ]'

log "a normal exit leaves no recovery file"
stop_editor
[ -z "$(ls -A "$RECOVERY")" ] || fail "files left after a normal exit: $(ls -A "$RECOVERY")"

log "a declined restore leaves no recovery file"
crash_with_work "Ferry"
launch_editor
answer_question no
locate_windows '^XEMap'
[ -z "$(recovery_maps)" ] || fail "No, Discard left $(recovery_maps)"
stop_editor
[ -z "$(ls -A "$RECOVERY")" ] || fail "files left after a declined restore: $(ls -A "$RECOVERY")"

log "PASS"
