# Shared by run.sh, test.sh and .ci/run: install what is missing, then configure and build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev libgtest-dev libgmock-dev
  libbenchmark-dev libx11-dev libexpat1-dev fonts-arphic-uming fonts-noto-cjk fonts-liberation
  xvfb xauth xdotool imagemagick x11-utils desktop-file-utils appstream dpkg-dev file
  at-spi2-core python3-pyatspi dbus reuse qt6-speech-dev qt6-declarative-dev
  qt6-speech-speechd-plugin speech-dispatcher speech-dispatcher-espeak-ng pulseaudio
  pulseaudio-utils libsqlitecpp-dev sqlite3 clang-tidy)

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if ((${#missing[@]})); then
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  fi
}

# build DIR [cmake options...]
build() {
  local dir="$1"
  shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$(nproc)"
}

# The build run.sh starts the program from, in build/: the program, vantle-book and what they
# read (books, pictures), with the icon and manual pages for installing; no tests and no
# benchmarks. Every option is given, so that whatever an earlier configure left in the
# folder's cache cannot change what is built; options given here come last and win (.ci/run
# adds -DVANTLE_WERROR=ON).
build_program() {
  build "$ROOT/build" -DCMAKE_BUILD_TYPE=Release -DVANTLE_WITH_QT=ON -DVANTLE_TESTS=OFF \
    -DVANTLE_BENCH=OFF -DVANTLE_SANITIZE=OFF -DVANTLE_WERROR=OFF "$@"
}
