# The pieces the end-to-end scripts share: the X server, waiting for conditions and
# windows, finding the map view and the palette on screen, and ending the editor.
# Sourced first; the script sets WORK and defines fail before using the waits.

APP_PID=

# Runs the script again under its own X server, once the tools it needs are there.
# -noreset: the server must not restart when the editor exits before the next start.
run_under_xvfb() {
    local tool
    for tool in xvfb-run xauth xdotool import convert compare; do
        command -v "$tool" >/dev/null || { echo "FAIL: '$tool' is missing; 'make deps' installs it" >&2; exit 1; }
    done
    if [ -z "${E2E_UNDER_XVFB:-}" ]; then
        export E2E_UNDER_XVFB=1
        exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" "$0" "$@"
    fi
}

cleanup() {
    if [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; then
        kill "$APP_PID" 2>/dev/null || true
        wait "$APP_PID" 2>/dev/null || true
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT

# Polls a shell condition ten times a second.
wait_until() {
    local what=$1 seconds=$2 condition=$3 tries
    tries=$((seconds * 10))
    while ! eval "$condition"; do
        tries=$((tries - 1))
        [ $tries -gt 0 ] || fail "$what (waited ${seconds}s)"
        sleep 0.1
    done
}

# Waits for a visible window whose title matches the pattern and prints its id.
# Polls instead of `search --sync`: a search aborts with an X error when another
# window (a closing dialog) is destroyed while it is being looked at.
wait_window() {
    local pattern=$1 seconds=${2:-10} id tries
    tries=$((seconds * 10))
    until id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1) && [ -n "$id" ]; do
        tries=$((tries - 1))
        [ $tries -gt 0 ] || fail "no window titled like '$pattern' within ${seconds}s"
        sleep 0.1
    done
    echo "$id"
}

# The editor started from $WORK with the given arguments.
launch_editor() {
    (cd "$WORK" && exec "$PROGRAM/xemap" "$@" >>"$WORK/app.log" 2>&1) &
    APP_PID=$!
}

# The main window (caption pattern), the palette, the map view's origin, the cursor
# labels and the palette's base tile box, once the windows are up.
locate_windows() {
    MAIN=$(wait_window "$1" 15)
    PALETTE=$(wait_window '^Tile Palette' 10)
    eval "$(xdotool getwindowgeometry --shell "$MAIN")"
    # The client is 722 high under the menu bar; the map view sits 42 below the client top.
    MAP_X=$X
    MAP_Y=$((Y + HEIGHT - 722 + 42))
    # The cursor's column and row labels, right of the status line below the map.
    LABELS="88x18+$((MAP_X + 568))+$((MAP_Y + 658))"
    HOVERED=
    eval "$(xdotool getwindowgeometry --shell "$PALETTE")"
    PAL_X=$X PAL_Y=$Y PAL_W=$WIDTH PAL_H=$HEIGHT
    # The base tab's tile box is found by the dark red frame of its selected tile 0,
    # drawn 2 pixels inside the box.
    local frame=
    wait_until "palette shows no selected tile" 5 'frame=$(palette_frame) && [ -n "$frame" ]'
    BOX_X=$((PAL_X + ${frame%,*} - 2))
    BOX_Y=$((PAL_Y + ${frame#*,} - 2))
}

palette_frame() {
    import -window root -crop "${PAL_W}x${PAL_H}+${PAL_X}+${PAL_Y}" +repage png:- 2>/dev/null |
        convert png:- -depth 8 txt:- 2>/dev/null | grep -m1 -i '#800000' | cut -d: -f1 || true
}

# Ended, or ended and not yet reaped.
editor_ended() {
    local state
    state=$(cut -d' ' -f3 "/proc/$APP_PID/stat" 2>/dev/null) || true
    [ -z "$state" ] || [ "$state" = Z ]
}

stop_editor() {
    xdotool windowfocus --sync "$MAIN"
    xdotool key ctrl+q
    wait_until "the editor did not end after Ctrl+Q" 10 'editor_ended'
    wait "$APP_PID" || fail "the editor ended with status $?"
    APP_PID=
}
