#!/usr/bin/env bash
# Installs, builds and starts Kalmoria.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
exec build/bin/Kalmoria "$@"
