#!/usr/bin/env bash
# Builds Vantle for 64-bit Windows on Debian 12 and tests it under wine: installs what is
# missing (mingw-w64, wine, nsis, ...), makes SQLite's amalgamation from Debian's own source
# package and takes SQLiteCpp's, builds the GBK tables' generator for this machine, then
# cross-compiles into build-windows/ and runs the Windows tests there under wine64 (ctest),
# which make the zip and the installer as well. The third-party sources are kept in
# $VANTLE_WINDOWS_CACHE (~/.cache/vantle-windows), so a second run fetches nothing.
# The Linux packages first: the native build that makes the word books, pictures and icon the
# package carries needs what the Linux build needs.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
BUILD="$ROOT/build-windows"
CACHE="${VANTLE_WINDOWS_CACHE:-$HOME/.cache/vantle-windows}"
PACKAGES+=(dpkg-dev g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  binutils-mingw-w64-x86-64 wine wine64 nsis python3-pefile zip unzip locales sqlite3 tcl)

sudo_if_needed() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Debian's source packages come from the archive the system already uses: a deb-src entry is
# made from its own list when there is none.
enable_sources() {
  local list=/etc/apt/sources.list.d/debian.sources
  local made=/etc/apt/sources.list.d/vantle-debian-src.sources
  if grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return
  fi
  if [ -f "$list" ]; then
    sed 's/^Types:.*/Types: deb-src/' "$list" | sudo_if_needed tee "$made" >/dev/null
  else
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | sudo_if_needed tee /etc/apt/sources.list.d/vantle-src.list >/dev/null
  fi
  sudo_if_needed apt-get update -qq
}

# The sources of `package` unpacked in $CACHE/src; prints the folder.
fetch_source() {
  local package="$1"
  local dir
  dir=$(find "$CACHE/src" -maxdepth 1 -type d -name "$package-[0-9]*" 2>/dev/null | head -n 1)
  if [ -z "$dir" ]; then
    enable_sources
    mkdir -p "$CACHE/src"
    (cd "$CACHE/src" && apt-get source -qq "$package" >>"$CACHE/fetch.log" 2>&1)
    dir=$(find "$CACHE/src" -maxdepth 1 -type d -name "$package-[0-9]*" | head -n 1)
  fi
  echo "$dir"
}

third_party() {
  local out="$CACHE/third_party"
  if [ ! -f "$out/sqlite/sqlite3.c" ]; then
    local sqlite
    sqlite=$(fetch_source sqlite3)
    mkdir -p "$CACHE/sqlite-build" "$out/sqlite"
    (cd "$CACHE/sqlite-build" && "$sqlite/configure" -q >/dev/null && make -s sqlite3.c >/dev/null)
    cp "$CACHE/sqlite-build/sqlite3.c" "$CACHE/sqlite-build/sqlite3.h" "$out/sqlite/"
  fi
  if [ ! -d "$out/sqlitecpp/src" ]; then
    local cpp
    cpp=$(fetch_source sqlitecpp)
    mkdir -p "$out/sqlitecpp"
    cp -r "$cpp/include" "$cpp/src" "$out/sqlitecpp/"
  fi
  echo "$out"
}

install_packages
THIRD_PARTY=$(third_party)

# The generator of the GBK tables runs here, with this system's converter.
mkdir -p "$BUILD/host"
if [ ! -x "$BUILD/host/vantle-gbk-table" ] ||
  [ "$ROOT/tools/gbk_table/main.cpp" -nt "$BUILD/host/vantle-gbk-table" ]; then
  g++ -std=c++20 -O2 -Wall -Wextra "$ROOT/tools/gbk_table/main.cpp" -o "$BUILD/host/vantle-gbk-table"
fi

LAUNCHER=()
if command -v ccache >/dev/null; then
  LAUNCHER=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVANTLE_WITH_QT=OFF -DVANTLE_TESTS=ON -DVANTLE_BENCH=OFF \
  -DVANTLE_SANITIZE=OFF -DVANTLE_WERROR=ON -DVANTLE_THIRD_PARTY="$THIRD_PARTY" \
  -DVANTLE_GBK_TABLE_GENERATOR="$BUILD/host/vantle-gbk-table" -DPython3_EXECUTABLE=/usr/bin/python3 \
  "${LAUNCHER[@]}" "$@"
cmake --build "$BUILD" -j "$(nproc)"

# shellcheck source=wine-env.sh
source "$ROOT/scripts/wine-env.sh"
# The binding's tests and the end-to-end run make real windows: wine draws them on an X server.
(cd "$BUILD" && xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --output-on-failure --timeout 600 -j "$(nproc)")
