#!/usr/bin/env bash
# Installs, builds and runs the whole test suite.
#   scripts/test.sh [build-dir] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
scripts/setup.sh "$@"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_dir" --output-on-failure -j2 --timeout 300
