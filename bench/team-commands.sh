#!/bin/sh
# diff, show and merge of full maps against check and convert of one, as whole processes:
# every cell layer of every cell drawn, doors on every fourth cell, 200 descriptions with
# an NPC, a creature, an item, an event and a portal each. OURS and THEIRS each change 64
# cells and one description of the base. Prints the median times and the ratios the targets
# name. Usage: bench/team-commands.sh [PROGRAM_DIR] (default build/bin).
set -eu
bin=$(cd "${1:-build/bin}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# fullMap SHIFT NAME: cell lines whose tiles are shifted by SHIFT on the cells that SHIFT's
# side changes (0: none), then the descriptions, the first one named NAME.
fullMap() {
  awk -v shift="$1" -v first="$2" 'BEGIN { ORS = "\r\n"; print "Full Map"; print 1
    for (i = 0; i < 1024; i++) { line = ""
      for (l = 0; l < 6; l++) {
        t = 1 + (i * 7 + l * 13) % 98
        if (shift == 1 && i < 64) t = (t + 1) % 98 + 1
        if (shift == 2 && i >= 960) t = (t + 2) % 98 + 1
        line = line t " " (i + l) % 4 " " }
      if (i % 4 == 0) line = line " : 1 2 0 3 -" (i % 7) " "
      print line }
    for (d = 0; d < 200; d++) {
      print d * 5; print (d == 0 ? first : "Place " d)
      print "The first line of the area."; print "A second line."; print "..."
      print "NPCs:"; print "Guard"; print "Lawful Neutral"; print "Human"; print "Fighter"; print "guard"
      print "Keeps the gate."; print "..."
      print "Creatures:"; print "Rat"; print "Vermin"; print "Teeth"; print ""; print ""; print "..."
      print "Items:"; print "Torch"; print "1 gp"; print ""; print "1"; print "..."
      print "Events:"; print "Ambush"; print "North Edge"; print "On Enter"; print "ambush"; print "..."
      print "Portals:"; print "Stairs"; print "Stairs down"; print "cellar.xem"; print "12"; print ""; print "..."
      print ">>>" } }'
}
fullMap 0 "Gatehouse" >"$work/base.xem"
fullMap 1 "Gatehouse" >"$work/ours.xem"
fullMap 2 "Old Gatehouse" >"$work/theirs.xem"
"$bin/xemap-cli" check "$work/base.xem"
"$bin/xemap-cli" merge "$work/base.xem" "$work/ours.xem" "$work/theirs.xem" -o "$work/out.xem"

cli="$bin/xemap-cli"
hyperfine --warmup 3 --runs 30 -N --export-json "$work/times.json" \
  -n check "$cli check $work/base.xem" \
  -n convert "$cli convert $work/base.xem $work/converted.xem" \
  -n diff "$cli diff $work/ours.xem $work/theirs.xem" \
  -n show "$cli show $work/base.xem" \
  -n merge "$cli merge $work/base.xem $work/ours.xem $work/theirs.xem -o $work/out.xem" \
  -i >/dev/null

median() { grep '"median"' "$work/times.json" | sed -n "$1p" | tr -dc '0-9.'; }
awk -v check="$(median 1)" -v convert="$(median 2)" -v diff="$(median 3)" -v show="$(median 4)" \
    -v merge="$(median 5)" 'BEGIN {
  printf "check    %6.1f ms\nconvert  %6.1f ms\n", check * 1000, convert * 1000
  printf "diff     %6.1f ms  %.2fx check   (target at most 2x)\n", diff * 1000, diff / check
  printf "show     %6.1f ms  %.2fx check   (target at most 2x)\n", show * 1000, show / check
  printf "merge    %6.1f ms  %.2fx convert (target at most 2x)\n", merge * 1000, merge / convert }'
