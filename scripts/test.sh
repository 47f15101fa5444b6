#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test: the core,
# binding and end-to-end tests, then the core tests again under the sanitizers.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages

build "$ROOT/build" -DVANTLE_WERROR=ON
(cd "$ROOT/build" && ctest --output-on-failure --timeout 600)

build "$ROOT/build-sanitize" -DVANTLE_WERROR=ON -DVANTLE_SANITIZE=ON -DVANTLE_WITH_QT=OFF \
  -DVANTLE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
(cd "$ROOT/build-sanitize" && ctest --output-on-failure --timeout 600)
