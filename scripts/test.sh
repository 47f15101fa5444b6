#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test: the core,
# binding, end-to-end and packaging tests, then the core tests again under the sanitizers.
# Its builds live in build-test/ and build-sanitize/, apart from run.sh's build/, and set
# every option, so the two commands can follow each other in any order. The tests run on an
# optimised build, like the one the program is run and packaged from.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages

build "$ROOT/build-test" -DCMAKE_BUILD_TYPE=Release -DVANTLE_WERROR=ON -DVANTLE_SANITIZE=OFF \
  -DVANTLE_WITH_QT=ON -DVANTLE_BENCH=ON
(cd "$ROOT/build-test" && ctest --output-on-failure --timeout 600 -j "$(nproc)")

build "$ROOT/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DVANTLE_WERROR=ON -DVANTLE_SANITIZE=ON \
  -DVANTLE_WITH_QT=OFF -DVANTLE_BENCH=OFF
(cd "$ROOT/build-sanitize" && ctest --output-on-failure --timeout 600 -j "$(nproc)")
