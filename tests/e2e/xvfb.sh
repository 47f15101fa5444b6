#!/bin/sh
# Runs a command on an X server of its own: a fresh Xvfb on the first free display, chosen by
# the server itself (-displayfd), so that end-to-end cases run side by side never share one.
# -noreset: the server does not reset when its last client leaves, which would refuse a client
# that connects in that moment (a window-polling tool that comes and goes does just that).
set -eu
fifo_dir=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; rm -rf "$fifo_dir"' EXIT INT TERM
mkfifo "$fifo_dir/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo_dir/display" 2>"$fifo_dir/log" &
server=$!
read -r number <"$fifo_dir/display" || { cat "$fifo_dir/log" >&2; exit 1; }
DISPLAY=":$number" QT_QPA_PLATFORM=xcb "$@"
