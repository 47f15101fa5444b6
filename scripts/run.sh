#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program from the build tree.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
build_program
exec "$ROOT/build/bin/vantle"
