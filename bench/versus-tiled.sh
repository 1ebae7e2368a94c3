#!/bin/sh
# xemap-cli image against Tiled's tmxrasterizer on the same full map and tile sheets, as
# whole processes: every tile at every rotation on the base, base overlay and overlay of
# the Dungeon tileset, written as a 1280 x 1280 PNG. Prints both median times, their
# ratio and both peak memories. Usage: bench/versus-tiled.sh [PROGRAM_DIR] (default build/bin).
set -eu
bin=$(cd "${1:-build/bin}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

# Cell (x, y) is line x * 32 + y of the file; cell layer L shows tile n mod 100 at
# rotation (n div 100) mod 4 for n = x * 32 + y + 33 L.
awk 'BEGIN { ORS = "\r\n"; print "Full Map"; print 1
             for (i = 0; i < 1024; i++) { line = ""
               for (l = 0; l < 6; l++) { n = i + 33 * l; line = line (l < 3 ? n % 100 " " int(n / 100) % 4 : "0 0") " " }
               print line } }' >"$work/full.xem"
"$bin/xemap-cli" tmx "$work/full.xem" "$work/full.tmx" --tiles "$bin"

xemap="$bin/xemap-cli image $work/full.xem $work/xemap.png --scale 1.00 --tiles $bin"
tiled="tmxrasterizer --scale 0.5 --no-smoothing $work/full.tmx $work/tiled.png"
hyperfine --warmup 3 --runs 20 -N --export-json "$work/times.json" -n xemap "$xemap" -n tmxrasterizer "$tiled" >/dev/null

median() { grep '"median"' "$work/times.json" | sed -n "$1p" | tr -dc '0-9.'; }
peakKilobytes() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1; }
awk -v xt="$(median 1)" -v tt="$(median 2)" -v xm="$(peakKilobytes $xemap)" -v tm="$(peakKilobytes $tiled)" 'BEGIN {
  printf "xemap-cli image  %6.1f ms  peak %5.1f MB\n", xt * 1000, xm / 1024
  printf "tmxrasterizer    %6.1f ms  peak %5.1f MB\n", tt * 1000, tm / 1024
  printf "xemap-cli is %.2fx as fast, with %.2fx the peak memory\n", tt / xt, xm / tm }'
