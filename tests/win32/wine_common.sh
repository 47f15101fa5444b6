# Shared by the wine tests and benchmarks (sourced): the wine environment the build sets up
# (scripts/wine-env.sh: the prefix, quiet wine, no Mono or Gecko prompt, Chinese locale and
# the SimSun replacement), and an X display of our own.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
if [ -f "$ROOT/scripts/wine-env.sh" ]; then
  # shellcheck source=/dev/null
  source "$ROOT/scripts/wine-env.sh"
else
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=zh_CN.UTF-8
  export WINEPREFIX="${WINEPREFIX:-$ROOT/build-windows/wineprefix}"
fi

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# start_display: an Xvfb of our own on a free display number, ended when the script ends
# (with the wine server of our prefix).
start_display() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  trap 'wineserver -k 2>/dev/null || true; kill "$XVFB_PID" 2>/dev/null || true' EXIT
  for _ in $(seq 100); do
    xdotool getmouselocation >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "Xvfb on :$n did not start"
}

# The folder of a prefix's user (wine names it after the Unix user).
wine_user_dir() {
  echo "$WINEPREFIX/drive_c/users/$(id -un)"
}
