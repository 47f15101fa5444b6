#!/usr/bin/env bash
# startup.sh ZIP BARE_EXE PROBE_EXE [RUNS]: under wine and an Xvfb of its own, starts Vantle.exe
# (from the zip, unpacked into a folder of its own) and the bare window of the same size by
# turns, RUNS times each (5), and prints the time from the start to the window being mapped
# for both, the ratio of the medians, the executable's size and Vantle's working set after
# start. It prints; it never fails on a time.
set -euo pipefail
source "$(dirname "$0")/../../tests/win32/wine_common.sh"
zip="$1" bare="$2" probe="$3" runs="${4:-5}"
title="Kestrin之连连看V3.6"
work="$(mktemp -d)"
folder="$work/词汇 学习"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$folder"
start_display
wineboot >/dev/null 2>&1  # the prefix ready and its wine server running before the first start

# mapped_ms EXE [ARG]: starts EXE and prints the milliseconds until a window titled $title is
# mapped; the program is ended afterwards (its working set first, for Vantle).
mapped_ms() {
  local start end pid
  start=$(date +%s%N)
  (cd "$work" && exec wine "$@" >/dev/null 2>&1) &
  pid=$!
  # Polled every 20 ms: xdotool's own --sync looks only every half second.
  until xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1; do sleep 0.02; done
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
  if [ "$(basename "$1")" = Vantle.exe ]; then
    sleep 1
    wine "$probe" memory Vantle.exe >"$work/memory" || true
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  while xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1; do sleep 0.1; done
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

bare_times=() vantle_times=()
for _ in $(seq "$runs"); do
  bare_times+=("$(mapped_ms "$bare" "$title")")
  vantle_times+=("$(mapped_ms "$folder/Vantle.exe")")
done
bare_median=$(printf '%s\n' "${bare_times[@]}" | median)
vantle_median=$(printf '%s\n' "${vantle_times[@]}" | median)
echo "first window mapped, bare window: ${bare_times[*]} ms (median $bare_median)"
echo "first window mapped, Vantle.exe:  ${vantle_times[*]} ms (median $vantle_median)"
awk -v v="$vantle_median" -v b="$bare_median" 'BEGIN {printf "ratio Vantle / bare: %.2f\n", v / b}'
echo "Vantle.exe: $(stat -c %s "$folder/Vantle.exe") bytes"
read -r working peak <"$work/memory" || true
echo "Vantle.exe working set 1 s after start: ${working:-?} KiB (peak ${peak:-?} KiB)"
rm -rf "$work"
