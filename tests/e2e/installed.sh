#!/usr/bin/env bash
# The Debian package as a user gets it: built, checked with lintian, installed with
# dpkg, used by an ordinary user under a real X server (help without a display, paint,
# save into the documents folder, add a tileset of the user's own, restart), installed
# again with apt-get and used again. The package and the user are removed at the end.
#
#   installed.sh BUILD_DIR ARTEFACT_DIR
#
# Needs the superuser; anyone else gets exit status 77 (skipped). A machine where
# XEMap is installed already is left alone (skipped too). Every wait is for a condition.
set -euo pipefail

usage() { echo "usage: $0 BUILD_DIR ARTEFACT_DIR" >&2; exit 2; }
[ $# -eq 2 ] || usage
if [ "$(id -u)" != 0 ]; then
    echo "SKIPPED: installing the package needs the superuser (run make test as root)"
    exit 77
fi
if dpkg-query -W -f='${Status}' xemap 2>/dev/null | grep -q 'install ok'; then
    echo "SKIPPED: XEMap is installed on this machine already; the test does not touch it"
    exit 77
fi
BUILD=$(cd "$1" && pwd)

# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
run_under_xvfb "$@"

mkdir -p "$2"
ARTEFACTS=$(cd "$2" && pwd)
rm -f "$ARTEFACTS"/*.png
WORK=$(mktemp -d /tmp/xemap-installed.XXXXXX)
USER_NAME=xemap-e2e-$$
INSTALLED=

log() { echo "[$(date +%T)] $*"; }

fail() {
    echo "FAIL: $*" >&2
    import -window root "$ARTEFACTS/failure.png" 2>/dev/null || true
    [ -f "$WORK/app.log" ] && { echo "editor output:" >&2; cat "$WORK/app.log" >&2; }
    exit 1
}

remove_all() {
    cleanup
    if [ -n "$INSTALLED" ]; then
        DEBIAN_FRONTEND=noninteractive apt-get remove -y xemap >/dev/null 2>&1 || true
    fi
    if id "$USER_NAME" >/dev/null 2>&1; then
        userdel -r -f "$USER_NAME" 2>/dev/null || true
    fi
}
trap remove_all EXIT

# ---------------------------------------------------------------- the package
log "building the package"
(cd "$BUILD" && cpack -G DEB >"$WORK/cpack.log" 2>&1) || { cat "$WORK/cpack.log" >&2; fail "cpack failed"; }
DEB=$(ls "$BUILD"/xemap_*.deb | head -1)

log "lintian: no error, no warning"
lintian --fail-on error,warning --no-tag-display-limit "$DEB" >"$WORK/lintian.log" 2>&1 ||
    { cat "$WORK/lintian.log" >&2; fail "lintian found faults in the package"; }

log "dpkg -i"
INSTALLED=1
dpkg -i "$DEB" >"$WORK/dpkg.log" 2>&1 || { cat "$WORK/dpkg.log" >&2; fail "dpkg -i failed"; }
[ -f /usr/lib/xemap/INSTALLED ] || fail "the package has no marker in its program folder"
[ ! -e /usr/lib/xemap/XEMAP.INI ] || fail "the package ships a registry"

# ---------------------------------------------------------------- the user
useradd -m -s /bin/bash "$USER_NAME"
HOME_DIR=$(getent passwd "$USER_NAME" | cut -d: -f6)
as_user() { runuser -u "$USER_NAME" -- env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$HOME_DIR" "$@"; }
# The X server's cookie, handed to the user.
as_user touch "$HOME_DIR/.Xauthority"
xauth extract - "$DISPLAY" | as_user xauth -f "$HOME_DIR/.Xauthority" merge -
as_user mkdir -m 700 "$HOME_DIR/runtime"
USER_DATA=$HOME_DIR/.local/share/XEMap

log "xemap --help without a display"
as_user xemap --help >"$WORK/help.txt" || fail "xemap --help without a display gave status $?"
grep -q '\[map\]' "$WORK/help.txt" || fail "xemap --help does not show the map argument"
as_user man xemap >/dev/null 2>&1 || fail "man xemap gives no page"

# A tileset of the user's own in the home: a green base sheet and an overlay whose
# one box group has an orange icon.
ART=$HOME_DIR/art
as_user mkdir "$ART"
as_user convert -size 802x802 xc:'#12a034' "BMP3:$ART/cave_bases.bmp"
as_user convert -size 802x802 xc:'#ff00ff' "BMP3:$ART/cave_layer.bmp"
as_user convert -size 18x18 xc:'#f07f11' "BMP3:$ART/pillar.bmp"
printf 'B: 1 0 2 0 3 0 4 0 : Pillars : %s\r\n' "$ART/pillar.bmp" | as_user tee "$ART/cave_layer.grp" >/dev/null

start_installed() {
    (cd "$HOME_DIR" && exec runuser -u "$USER_NAME" -- env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$HOME_DIR" \
        DISPLAY="$DISPLAY" XAUTHORITY="$HOME_DIR/.Xauthority" XDG_RUNTIME_DIR="$HOME_DIR/runtime" \
        xemap >>"$WORK/app.log" 2>&1) &
    APP_PID=$!
    locate_windows "$1"
}

# The editor's process is the user's, under runuser: wait for the window to go.
stop_installed() {
    xdotool windowfocus --sync "$MAIN" key ctrl+q
    wait_until "the editor did not end after Ctrl+Q" 15 '! xdotool search --onlyvisible --name "^Tile Palette" >/dev/null 2>&1'
    wait "$APP_PID" || fail "the editor ended with status $?"
    APP_PID=
}

# A file dialog's answer: the text typed into its name field, then Enter.
answer() {
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    xdotool type --delay 5 "$2"
    xdotool key Return
}

# Clicks at x y until the condition holds: on a busy machine the click that comes right
# after a file dialog closes can be taken by what the dialog leaves behind.
click_until() {
    local attempt poll
    for attempt in 1 2 3 4 5; do
        xdotool mousemove "$1" "$2" click 1
        for poll in $(seq 20); do
            eval "$3" && return 0
            sleep 0.1
        done
    done
    fail "clicking at $1,$2 did nothing: $3"
}

palette_has() {
    import -window root -crop "${PAL_W}x${PAL_H}+${PAL_X}+${PAL_Y}" +repage png:- 2>/dev/null |
        convert png:- -depth 8 txt:- 2>/dev/null | grep -i "$1" >/dev/null
}

# Opens the File menu: a new popup window appears.
open_file_menu() {
    local before
    before=$(xdotool search --onlyvisible --class . 2>/dev/null | wc -l)
    xdotool windowfocus --sync "$MAIN" key alt+f
    wait_until "the File menu did not open" 10 \
        '[ "$(xdotool search --onlyvisible --class . 2>/dev/null | wc -l)" -gt "$before" ]'
}

# File > New of the user's tileset, the fourth item of the File menu, and its group
# button on the Layer 1 tab.
new_caves() {
    open_file_menu
    xdotool key Down Down Down Return
    wait_until "the user's tileset was not loaded" 15 'palette_has "#12A034"'
    xdotool mousemove $((PAL_X + 90)) $((BOX_Y - 12)) click 1
    wait_until "the user's group icon is not on the palette" 15 'palette_has "#F07F11"'
}

# ---------------------------------------------------------------- first start
log "xemap from the PATH, as $USER_NAME"
start_installed '^XEMap$'
xdotool mousemove $((BOX_X + 20)) $((BOX_Y + 20)) click 1
xdotool mousemove $((MAP_X + 110)) $((MAP_Y + 110)) click 1

log "Ctrl+S of the untitled map: the dialog opens in the documents folder"
xdotool windowfocus --sync "$MAIN" key ctrl+s
answer "$(wait_window '^Map Name' 10)" "Cellar"
answer "$(wait_window '^Save Map' 10)" "cellar.xem"
wait_until "the map was not saved into ~/Documents" 15 '[ -s "$HOME_DIR/Documents/cellar.xem" ]'
[ "$(stat -c %U "$HOME_DIR/Documents/cellar.xem")" = "$USER_NAME" ] || fail "the map is not the user's"

log "Add Tileset of the sheets in the home"
open_file_menu
xdotool key Return
ADD=$(wait_window '^Add Tileset' 10)
eval "$(xdotool getwindowgeometry --shell "$ADD")"
ADD_X=$X ADD_Y=$Y
# The name first, while the fresh dialog has the keyboard focus, then Browse of the base
# layer and of layer 1, each answered with the full path.
xdotool mousemove $((ADD_X + 112 + 50)) $((ADD_Y + 16 + 10)) click 1
xdotool windowfocus --sync "$ADD"
xdotool type --delay 5 "Caves"
browse() {
    click_until "$((ADD_X + 8 + 312 + 30))" "$((ADD_Y + 48 + $1 + 12))" \
        'xdotool search --onlyvisible --name "^Choose a Bitmap" >/dev/null 2>&1'
    answer "$(wait_window '^Choose a Bitmap' 10)" "$2"
    wait_until "the Browse dialog did not close" 10 '! xdotool search --onlyvisible --name "^Choose a Bitmap" >/dev/null 2>&1'
}
browse 40 "$ART/cave_bases.bmp"
browse 72 "$ART/cave_layer.bmp"
import -window root "$ARTEFACTS/installed-add-tileset.png"
click_until $((ADD_X + 344 + 37)) $((ADD_Y + 688 + 12)) '! xdotool search --onlyvisible --name "^Add Tileset" >/dev/null 2>&1'
wait_until "the user's registry was not written" 15 'grep -q "^Caves" "$USER_DATA/XEMAP.INI" 2>/dev/null'
[ ! -e /usr/lib/xemap/XEMAP.INI ] || fail "Add Tileset wrote into the program folder"
stop_installed

log "restart: the user's tileset is offered and its groups load"
start_installed '^XEMap$'
new_caves
import -window root "$ARTEFACTS/installed-restart.png"
stop_installed
cp "$USER_DATA/XEMAP.INI" "$WORK/registry-before"

log "xemap-cli draws a map of the user's tileset"
as_user sh -c "sed '2s/.*/2/' '$HOME_DIR/Documents/cellar.xem' >'$HOME_DIR/caves.xem'"
as_user xemap-cli image "$HOME_DIR/caves.xem" "$HOME_DIR/caves.png" --scale 0.10 ||
    fail "xemap-cli did not draw the map of the user's tileset"
[ "$(convert "$HOME_DIR/caves.png" -format '%[hex:p{200,200}]' info:)" = 12A034 ] ||
    fail "xemap-cli drew the map with another tileset than the user's"

log "apt-get install --reinstall"
DEBIAN_FRONTEND=noninteractive apt-get install -y --reinstall "$DEB" >"$WORK/apt.log" 2>&1 ||
    { cat "$WORK/apt.log" >&2; fail "the second install failed"; }
cmp "$WORK/registry-before" "$USER_DATA/XEMAP.INI" || fail "the reinstall changed the user's registry"
start_installed '^XEMap$'
new_caves
import -window root "$ARTEFACTS/installed-reinstalled.png"
stop_installed

log "removing the package and the user"
DEBIAN_FRONTEND=noninteractive apt-get remove -y xemap >/dev/null 2>&1 || fail "the package could not be removed"
INSTALLED=
[ ! -e /usr/bin/xemap ] || fail "the package left xemap behind"
[ -s "$USER_DATA/XEMAP.INI" ] || fail "removing the package took the user's registry"
log "passed"
