#!/usr/bin/env bash
# A user's whole session with the real editor under a real X server: first start on a
# fresh program folder, painting with every layer and brush, save, exit, restart,
# open, and the same map and picture again.
#
#   session.sh PROGRAM_DIR XEMAP_CLI ARTEFACT_DIR
#
# PROGRAM_DIR holds xemap, tilesets/ and XEMAP.BMP; the screenshots and maps of the
# run are kept in ARTEFACT_DIR. The script runs itself under xvfb-run.
#
# Every wait is for a condition (a window shown, a file written, pixels changed),
# never for a fixed time, so that a loaded machine only makes the run slower.
set -euo pipefail

usage() { echo "usage: $0 PROGRAM_DIR XEMAP_CLI ARTEFACT_DIR" >&2; exit 2; }
[ $# -eq 3 ] || usage
PROGRAM_DIR=$(cd "$1" && pwd)
CLI=$2
ARTEFACTS=$3

# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
run_under_xvfb "$@"

mkdir -p "$ARTEFACTS"
ARTEFACTS=$(cd "$ARTEFACTS" && pwd)
rm -f "$ARTEFACTS"/*.png "$ARTEFACTS"/*.xem "$ARTEFACTS"/*.txt

WORK=$(mktemp -d /tmp/xemap-e2e.XXXXXX)
PROGRAM=$WORK/program
mkdir -p "$PROGRAM" "$WORK/config" "$WORK/runtime"
chmod 700 "$WORK/runtime"
cp "$PROGRAM_DIR/xemap" "$PROGRAM_DIR/XEMAP.BMP" "$PROGRAM/"
cp -r "$PROGRAM_DIR/tilesets" "$PROGRAM/"
# The real windowing system, and no trace of the run in the user's own settings.
unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/runtime XDG_DATA_HOME=$WORK/data
FIRST_MAP=$WORK/maps/first.xem
SECOND_MAP=$WORK/maps/second.xem
mkdir -p "$WORK/maps"

STARTED=${EPOCHREALTIME/[.,]/}
log() {
    local now=${EPOCHREALTIME/[.,]/}
    printf '[%3d.%01ds] %s\n' $(((now - STARTED) / 1000000)) $(((now - STARTED) / 100000 % 10)) "$*"
}

windows_shown() {
    local w
    for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
        echo "  window $w: '$(xdotool getwindowname "$w" 2>/dev/null)'"
    done
}

fail() {
    echo "FAIL: $*" >&2
    echo "windows on screen:" >&2
    windows_shown >&2
    import -window root "$ARTEFACTS/failure.png" 2>/dev/null || true
    [ -f "$WORK/app.log" ] && { echo "editor output:" >&2; cat "$WORK/app.log" >&2; }
    exit 1
}


# start_editor [CAPTION_PATTERN [ARGUMENT...]]: the editor started from $WORK.
start_editor() {
    local caption=${1:-'^XEMap$'}
    shift $(($# > 0 ? 1 : 0))
    launch_editor "$@"
    locate_windows "$caption"
}

# Pixels of the screen, as PNG on stdout.
grab() { import -window root -crop "$1" +repage png:- 2>/dev/null; }

# Waits until the editor has handled everything sent to it so far: the main window's
# "h" hides the palette and shows it again, and the palette shows only after the
# editor's pending paints reached the screen. Not while a dialog or button is down.
sync_editor() {
    xdotool windowfocus --sync "$MAIN" key h
    wait_until "the palette did not hide on h" 10 '! xdotool search --onlyvisible --name "^Tile Palette" >/dev/null 2>&1'
    xdotool key h
    wait_window '^Tile Palette' 10 >/dev/null
}

# Pixels that stop changing: for pictures taken while a dialog is open.
settled_grab() {
    local area=$1 before now tries=100
    before=$(grab "$area" | md5sum)
    while now=$(grab "$area" | md5sum) && [ "$now" != "$before" ]; do
        tries=$((tries - 1))
        [ $tries -gt 0 ] || fail "the screen at $area did not settle"
        before=$now
    done
    grab "$area"
}

# Pointer actions. Cells are 20 pixels at zoom 1; palette tiles 40 at the large size.
cell_point() { echo "$((MAP_X + $1 * 20 + 10)) $((MAP_Y + $2 * 20 + 10))"; }
# Moves onto a map cell and waits until the cursor labels show it: a starved editor
# would merge pointer moves that queue up, and a drag would skip cells.
hover_cell() {
    if [ "$HOVERED" = "$1 $2" ]; then
        xdotool mousemove $(cell_point "$1" "$2")
        return 0
    fi
    local before
    before=$(grab "$LABELS" | md5sum)
    xdotool mousemove $(cell_point "$1" "$2")
    wait_until "the cursor labels did not follow the pointer to ($1, $2)" 10 \
        '[ "$(grab "$LABELS" | md5sum)" != "$before" ]'
    HOVERED="$1 $2"
}
click_cell() { hover_cell "$1" "$2"; xdotool click 1; }
# Drags with the left button through the listed cells, one pointer move per cell.
drag_cells() {
    hover_cell "$1" "$2"
    xdotool mousedown 1
    shift 2
    while [ $# -gt 1 ]; do
        hover_cell "$1" "$2"
        shift 2
    done
    xdotool mouseup 1
}
click_tile() {
    local tile=$1 button=${2:-1}
    xdotool mousemove $((BOX_X + tile % 10 * 40 + 20)) $((BOX_Y + tile / 10 * 40 + 20)) click "$button"
}
# The terrain check box beside palette row k, left of the tile box.
click_terrain_box() { xdotool mousemove $((BOX_X - 21)) $((BOX_Y + 24 + 40 * $1)) click 1; }
# Group button slot j of an overlay tab: two columns of eight, left of the tile box.
click_group_button() {
    xdotool mousemove $((BOX_X - 21)) $((BOX_Y + 200 * ($1 / 8) + 15 + 24 * ($1 % 8))) click 1
}
# Tabs sit left-aligned above the page: "Base", then "Layer 1".
click_tab() {
    local x
    case $1 in Base) x=25 ;; "Layer 1") x=90 ;; *) fail "unknown tab $1" ;; esac
    xdotool mousemove $((PAL_X + x)) $((BOX_Y - 12)) click 1
}
# The toolbar's "Refresh Image" button redraws the map without the cursor preview.
click_refresh() { xdotool mousemove $((MAP_X + 338)) $((MAP_Y - 22)) click 1; }
park_pointer() { xdotool mousemove 1270 1010; }

map_view_shot() {
    sync_editor
    grab "640x640+${MAP_X}+${MAP_Y}" >"$1"
}
# The vertical scroll bar right of the map view.
scroll_bar_shot() {
    sync_editor
    grab "16x640+$((MAP_X + 642))+${MAP_Y}" >"$1"
}
screen_shot() {
    local right=$((PAL_X + PAL_W)) bottom=$((MAP_Y + 682))
    settled_grab "$((right - MAP_X + 10))x$((bottom - PAL_Y + 10))+$((MAP_X - 5))+$((PAL_Y - 5))" >"$1"
}
same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }

# Types into the focused field of a dialog and presses Enter; a screenshot before
# Enter when a file is named.
answer() {
    local id=$1 text=$2 shot=${3:-}
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    xdotool type --delay 5 "$text"
    [ -z "$shot" ] || screen_shot "$shot"
    xdotool key Return
}

# A smaller copy of a screenshot for the README.
walkthrough_picture() { convert "$1" -resize 50% -colors 64 "PNG8:$2"; }

save_with_dialogs() {
    local name=$1 path=$2 shot=${3:-} dialog
    dialog=$(wait_window '^Map Name' 5)
    answer "$dialog" "$name" "$shot"
    dialog=$(wait_window '^Save Map' 5)
    answer "$dialog" "$path"
    wait_until "no map file written at $path" 5 '[ -s "$path" ]'
    wait_window "^XEMap: $name" 5 >/dev/null
}

# The cell line of (x, y) in a map file: line 3 + x * 32 + y, twelve numbers.
cell_of() { sed -n "$((3 + $2 * 32 + $3))p" "$1" | tr -d '\r' | sed 's/ $//'; }
expect_cell() {
    local file=$1 x=$2 y=$3 want=$4 got
    got=$(cell_of "$file" "$x" "$y")
    [ "$got" = "$want" ] || fail "cell ($x, $y) of $(basename "$file") is '$got', expected '$want'"
}
# Expects tile and rotation on one cell layer, the rest of the line as painted.
expect_layer() {
    local file=$1 x=$2 y=$3 layer=$4 tile=$5 rotation=$6 fields
    read -r -a fields <<<"$(cell_of "$file" "$x" "$y")"
    [ "${fields[$((2 * layer))]} ${fields[$((2 * layer + 1))]}" = "$tile $rotation" ] ||
        fail "cell ($x, $y) layer $layer of $(basename "$file") is '${fields[*]}', expected tile $tile rotation $rotation"
}

# ---------------------------------------------------------------- first session
log "first start on a fresh program folder"
start_editor
[ -f "$PROGRAM/XEMAP.INI" ] || fail "XEMAP.INI was not created at first start"
grep -q '^City' "$PROGRAM/XEMAP.INI" || fail "XEMAP.INI does not register the City tileset"
cp "$PROGRAM/XEMAP.INI" "$WORK/registry-at-first-start"
[ "$(xdotool getwindowname "$PALETTE")" != "" ] || fail "palette has no caption"

log "base layer, plain tile: a river of water (row 3) painted with its terrain box unticked"
click_terrain_box 3
drag_cells 2 2 3 2 4 2 5 2 6 2 7 2 8 2

log "terrain brush: grass (row 1) in the middle of the dirt"
click_tile 10
click_cell 12 12

log "Layer 1 tab: plain overlay tiles, one of them turned right"
click_tab "Layer 1"
click_tile 1
click_cell 20 20
click_cell 22 20
click_tile 19
xdotool windowfocus --sync "$MAIN"
xdotool key period
click_cell 24 20

log "box fill: the Red Roof group button, a 5 x 4 roof"
click_group_button 0
drag_cells 2 24 3 25 4 26 5 27 6 27

log "connector brush: Stone Wall chosen by a right click on its tile, a wall with a corner"
click_tile 10 3
drag_cells 20 5 21 5 22 5 23 5 24 5 24 6 24 7 24 8 24 9

log "describe the grass cell: key t, a short name, Done"
hover_cell 12 12
xdotool windowfocus --sync "$MAIN"
xdotool key t
dialog=$(wait_window '^Describe Tile' 5)
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
# Typing goes into Short Name; Tab moves on to Done, which Enter presses.
xdotool type --delay 5 "Meadow"
screen_shot "$ARTEFACTS/describe.png"
walkthrough_picture "$ARTEFACTS/describe.png" "$ARTEFACTS/walkthrough-describe.png"
xdotool key Tab key Return
wait_until "the Describe Tile dialog did not close on Done" 5 \
    '[ -z "$(xdotool search --onlyvisible --name "^Describe Tile" 2>/dev/null)" ]'

click_refresh
park_pointer
map_view_shot "$ARTEFACTS/map-before-close.png"
screen_shot "$ARTEFACTS/session.png"
walkthrough_picture "$ARTEFACTS/session.png" "$ARTEFACTS/walkthrough-paint.png"

log "save: Ctrl+S asks for the map name, then the file"
xdotool windowfocus --sync "$MAIN"
xdotool key ctrl+s
save_with_dialogs "Old Town" "$FIRST_MAP" "$ARTEFACTS/save.png"
walkthrough_picture "$ARTEFACTS/save.png" "$ARTEFACTS/walkthrough-save.png"
cp "$FIRST_MAP" "$ARTEFACTS/first.xem"

log "the saved grid holds what was painted"
[ "$(sed -n 1p "$FIRST_MAP" | tr -d '\r')" = "Old Town" ] || fail "map name line is not 'Old Town'"
[ "$(sed -n 2p "$FIRST_MAP" | tr -d '\r')" = "0" ] || fail "tileset index line is not 0"
for x in 2 3 4 5 6 7 8; do expect_layer "$FIRST_MAP" "$x" 2 0 30 0; done
expect_cell "$FIRST_MAP" 1 2 "0 0 99 0 0 0 0 0 0 0 0 0"
expect_cell "$FIRST_MAP" 9 2 "0 0 99 0 0 0 0 0 0 0 0 0"
# Grass at (12, 12); edges on the four sides and outer corners on the diagonals face it.
expect_cell "$FIRST_MAP" 12 12 "10 0 99 0 0 0 0 0 0 0 0 0"
expect_layer "$FIRST_MAP" 12 11 1 12 0
expect_layer "$FIRST_MAP" 13 12 1 12 1
expect_layer "$FIRST_MAP" 12 13 1 12 2
expect_layer "$FIRST_MAP" 11 12 1 12 3
expect_layer "$FIRST_MAP" 11 11 1 11 0
expect_layer "$FIRST_MAP" 13 11 1 11 1
expect_layer "$FIRST_MAP" 13 13 1 11 2
expect_layer "$FIRST_MAP" 11 13 1 11 3
expect_layer "$FIRST_MAP" 12 11 0 0 0
expect_cell "$FIRST_MAP" 14 12 "0 0 99 0 0 0 0 0 0 0 0 0"
expect_cell "$FIRST_MAP" 20 20 "0 0 99 0 1 0 0 0 0 0 0 0"
expect_cell "$FIRST_MAP" 22 20 "0 0 99 0 1 0 0 0 0 0 0 0"
expect_cell "$FIRST_MAP" 24 20 "0 0 99 0 19 1 0 0 0 0 0 0"
expect_cell "$FIRST_MAP" 21 20 "0 0 99 0 0 0 0 0 0 0 0 0"
# The roof: corners (51) turned to face outwards, edges (52) along the sides, 50 inside.
expect_layer "$FIRST_MAP" 2 24 2 51 0
expect_layer "$FIRST_MAP" 6 24 2 51 1
expect_layer "$FIRST_MAP" 6 27 2 51 2
expect_layer "$FIRST_MAP" 2 27 2 51 3
for x in 3 4 5; do
    expect_layer "$FIRST_MAP" "$x" 24 2 52 0
    expect_layer "$FIRST_MAP" "$x" 27 2 52 2
    for y in 25 26; do expect_layer "$FIRST_MAP" "$x" "$y" 2 50 0; done
done
for y in 25 26; do
    expect_layer "$FIRST_MAP" 2 "$y" 2 52 3
    expect_layer "$FIRST_MAP" 6 "$y" 2 52 1
done
expect_cell "$FIRST_MAP" 7 24 "0 0 99 0 0 0 0 0 0 0 0 0"
# The wall: straight pieces (10) joined, the corner (11) where it turns south.
for x in 20 21 22 23; do expect_layer "$FIRST_MAP" "$x" 5 2 10 0; done
expect_layer "$FIRST_MAP" 24 5 2 11 1
for y in 6 7 8 9; do expect_layer "$FIRST_MAP" 24 "$y" 2 10 1; done
expect_cell "$FIRST_MAP" 25 5 "0 0 99 0 0 0 0 0 0 0 0 0"
# The description block follows the 1024 cell lines: cell index 12 * 32 + 12, the name.
[ "$(sed -n '1027,1030p' "$FIRST_MAP" | tr -d '\r' | tr '\n' '|')" = "396|Meadow|...|>>>|" ] ||
    fail "the description of (12, 12) is not saved as 'Meadow'"
"$CLI" check "$FIRST_MAP" || fail "xemap-cli check rejects the saved map"

log "exit with Ctrl+Q: nothing unsaved, so no question"
stop_editor

# --------------------------------------------------------------- second session
log "restart: the registry is read, not written again"
start_editor
cmp -s "$PROGRAM/XEMAP.INI" "$WORK/registry-at-first-start" || fail "XEMAP.INI changed at the second start"

log "File > Open the saved map"
xdotool windowfocus --sync "$MAIN"
xdotool key alt+f key o
dialog=$(wait_window '^Open' 5)
answer "$dialog" "$FIRST_MAP"
wait_window '^XEMap: Old Town' 5 >/dev/null
park_pointer
map_view_shot "$ARTEFACTS/map-after-reopen.png"

log "the map view after reopening matches the one before closing"
differing=$(compare -metric AE "$ARTEFACTS/map-before-close.png" "$ARTEFACTS/map-after-reopen.png" \
    "$ARTEFACTS/map-difference.png" 2>&1 >/dev/null) || true
echo "$differing" >"$ARTEFACTS/map-difference.txt"
[ "$differing" = "0" ] || fail "map view differs in $differing pixels after reopening (see map-difference.png)"

log "File > Save As under a second name gives the same bytes"
xdotool windowfocus --sync "$MAIN"
xdotool key alt+f key a
save_with_dialogs "Old Town" "$SECOND_MAP"
cp "$SECOND_MAP" "$ARTEFACTS/second.xem"
cmp "$FIRST_MAP" "$SECOND_MAP" || fail "the map saved after reopening differs from the first save"
"$CLI" check "$SECOND_MAP" || fail "xemap-cli check rejects the map saved again"

log "the wheel: Ctrl+wheel zooms in and shows the scroll bars, the wheel scrolls down and back"
scroll_bar_shot "$WORK/bar-zoom1.png"
hover_cell 16 16
xdotool keydown ctrl click 4 keyup ctrl
scroll_bar_shot "$WORK/bar-zoom2.png"
! same_picture "$WORK/bar-zoom1.png" "$WORK/bar-zoom2.png" || fail "Ctrl+wheel did not zoom in"
xdotool click 5
scroll_bar_shot "$WORK/bar-scrolled.png"
! same_picture "$WORK/bar-zoom2.png" "$WORK/bar-scrolled.png" || fail "the wheel did not scroll the map"
xdotool click 4
scroll_bar_shot "$WORK/bar-back.png"
same_picture "$WORK/bar-zoom2.png" "$WORK/bar-back.png" || fail "the wheel did not scroll back"
xdotool keydown ctrl click 5 keyup ctrl
scroll_bar_shot "$WORK/bar-zoom1-again.png"
same_picture "$WORK/bar-zoom1.png" "$WORK/bar-zoom1-again.png" || fail "Ctrl+wheel did not zoom out"

log "a chord whose Ctrl is released before its Z still undoes"
click_tile 33
HOVERED=
hover_cell 28 28
map_view_shot "$WORK/before-paint.png"
xdotool click 1
map_view_shot "$WORK/painted.png"
! same_picture "$WORK/before-paint.png" "$WORK/painted.png" || fail "the click painted nothing"
xdotool windowfocus --sync "$MAIN" keydown ctrl keydown z keyup ctrl keyup z

log "Escape at the exit question keeps the editor and the map"
xdotool windowfocus --sync "$MAIN" key ctrl+q
dialog=$(wait_window '^YesNo' 10)
xdotool windowfocus --sync "$dialog" key Escape
wait_until "the question did not close on Escape" 10 '! xdotool search --onlyvisible --name "^YesNo" >/dev/null 2>&1'
! editor_ended || fail "Escape at the exit question ended the editor"
wait_window '^XEMap: Old Town' 5 >/dev/null

log "saved again, the map is the first one: the chord undid the paint and Escape kept the map"
rm "$SECOND_MAP"
xdotool windowfocus --sync "$MAIN" key ctrl+s
wait_until "Ctrl+S wrote no map" 10 '[ -s "$SECOND_MAP" ]'
cmp "$FIRST_MAP" "$SECOND_MAP" || fail "the map saved after the undone paint differs from the first save"
stop_editor

# --------------------------------------------------------------- from a file manager
log "the map named on the command line opens at start, a relative name from the starting folder"
start_editor '^XEMap: Old Town' maps/first.xem
park_pointer
map_view_shot "$ARTEFACTS/map-from-argument.png"
differing=$(compare -metric AE "$ARTEFACTS/map-before-close.png" "$ARTEFACTS/map-from-argument.png" \
    "$ARTEFACTS/map-difference.png" 2>&1 >/dev/null) || true
[ "$differing" = "0" ] || fail "the map opened at start differs in $differing pixels (see map-difference.png)"
stop_editor

log "--version, --help and a second map name"
"$PROGRAM/xemap" --version | grep -q '^XEMap [0-9]' || fail "xemap --version does not give the version"
"$PROGRAM/xemap" --help | grep -q '\[map\]' || fail "xemap --help does not show the map argument"
if "$PROGRAM/xemap" one.xem two.xem >/dev/null 2>&1; then fail "xemap accepted two map names"; fi
log "session done"
