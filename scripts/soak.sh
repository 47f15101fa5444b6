#!/usr/bin/env bash
# Random real input for the real program, built with AddressSanitizer and
# UndefinedBehaviorSanitizer, under Xvfb with the sample books, for SECONDS (default 600).
# Exits non-zero on a crash, a sanitizer report or memory growing by more than 10 % over the
# second half of a run.
# usage: scripts/soak.sh [SECONDS] [--seed N]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages

SECONDS_TO_RUN="${1:-600}"
shift || true
DIR="$ROOT/build-soak"
cmake -S "$ROOT" -B "$DIR" -G Ninja -DVANTLE_SANITIZE=ON -DVANTLE_WERROR=ON -DVANTLE_TESTS=OFF -DVANTLE_BENCH=OFF
cmake --build "$DIR" -j "$(nproc)" --target vantle

LOGS="$DIR/soak-logs"
rm -rf "$LOGS"
mkdir -p "$LOGS" "$DIR/soak-home"
# The user's own-book folder is kept apart, so the sample own book beside the program is read.
export XDG_DATA_HOME="$DIR/soak-home"
# soak.py starts an Xvfb of its own.
unset DISPLAY
exec python3 "$ROOT/scripts/soak.py" "$DIR/bin/vantle" "$SECONDS_TO_RUN" --logs "$LOGS" "$@"
