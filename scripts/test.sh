#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors, and runs every test:
# each layer's core tests, the binding, end-to-end and packaging tests, a brief run of each
# benchmark, the layer check and the licence check; then the core tests again under the
# sanitizers. CTest runs as many tests at once as there are processors (each end-to-end
# case has an X server of its own).
# Its builds live in build-test/ and build-sanitize/, apart from run.sh's build/, and set
# every option, so the two commands can follow each other in any order. The tests run on an
# optimised build, like the one the program is run and packaged from.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages

build "$ROOT/build-test" -DCMAKE_BUILD_TYPE=Release -DVANTLE_WERROR=ON -DVANTLE_SANITIZE=OFF \
  -DVANTLE_WITH_QT=ON -DVANTLE_TESTS=ON -DVANTLE_BENCH=ON
(cd "$ROOT/build-test" && ctest --output-on-failure --timeout 600 -j "$(nproc)")

build "$ROOT/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DVANTLE_WERROR=ON -DVANTLE_SANITIZE=ON \
  -DVANTLE_WITH_QT=OFF -DVANTLE_TESTS=ON -DVANTLE_BENCH=OFF
(cd "$ROOT/build-sanitize" && ctest --output-on-failure --timeout 600 -j "$(nproc)")
