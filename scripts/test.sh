#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
source "$(dirname "$0")/common.sh"
install_missing
build
cd "$BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
