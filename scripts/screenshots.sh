#!/usr/bin/env bash
# Remakes the README's pictures, docs/board.png and docs/quiz.png, from the sample books: the
# real program on a virtual screen at scale 1, a board dealt and a quiz round started by keys,
# read and photographed through what assistive technology sees. docs/progress.png is the
# progress window drawn offscreen with a sample journal (tools/progress_picture).
# QT_SCALE_FACTOR=2 in the environment makes them at scale 2; an argument names another folder
# for them.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
build_program
out="${1:-$ROOT/docs}"
mkdir -p "$out"
scale="${QT_SCALE_FACTOR:-1}"
screen="$((900 * scale))x$((700 * scale))x24"
# The sample own book beside the program, not the user's own.
XDG_DATA_HOME="$ROOT/build/no-user-data" dbus-run-session -- \
  xvfb-run -a -s "-screen 0 $screen" \
  /usr/bin/python3 "$ROOT/tests/e2e/atspi_board.py" "$ROOT/build/bin/vantle" --shots "$out"
QT_QPA_PLATFORM=offscreen "$ROOT/build/bin/vantle-progress-picture" "$out/progress.png"
echo "screenshots in $out"
