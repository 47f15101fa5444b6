#!/usr/bin/env bash
# e2e.sh ZIP PROBE WORK: Vantle.exe end to end under wine and an Xvfb of its own, with
# LANG=zh_CN.UTF-8: the zip unpacked into a folder whose path holds Chinese characters, the
# program started there, then played by e2e.py with real clicks (xdotool at the centres the
# probe reads): 《My词库》, group 1, the board cleared, the report answered, the window
# closed, the farewell answered. The program must then have ended and its journal be in the
# prefix's %APPDATA%\Vantle with the round's reviews.
set -euo pipefail
source "$(dirname "$0")/wine_common.sh"
zip="$1" probe="$2" work="$3"
folder="$work/词汇 学习"
rm -rf "$work"
mkdir -p "$folder"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$folder"
appdata="$(wine_user_dir)/AppData/Roaming/Vantle"
rm -rf "$appdata"
start_display

cd "$work"
wine "$folder/Vantle.exe" >"$work/vantle.log" 2>&1 &
program=$!
python3 "$(dirname "$0")/e2e.py" "$probe" "$folder/《My词库》.txt" "$work"
# The farewell answered, the program ends by itself.
for _ in $(seq 100); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
! kill -0 "$program" 2>/dev/null || fail "Vantle.exe still runs after the farewell"
wait "$program" || fail "Vantle.exe ended with code $?"
[ -f "$appdata/progress.sqlite3" ] || fail "no journal in %APPDATA%\\Vantle"
reviews="$(sqlite3 "file:$appdata/progress.sqlite3?mode=ro" 'SELECT count(*) FROM reviews')"
[ "$reviews" -ge 18 ] || fail "the journal holds $reviews reviews, not the round's 18"
echo "e2e: round cleared from a Chinese path, report and farewell answered, $reviews reviews journaled"
