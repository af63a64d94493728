#!/usr/bin/env bash
# Installs, builds and runs the whole test suite.
#   scripts/test.sh [build-dir] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
scripts/setup.sh "$@"
# The fault soak runs on its own (ctest -L soak), as CI does.
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_dir" --output-on-failure -j2 --timeout 300 -LE soak
