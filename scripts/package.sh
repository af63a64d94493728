#!/usr/bin/env bash
# Builds the Debian package: a Release build without the test suite, with
# Debian's hardening flags, packed by CPack. The build folder is kept, so a
# second run only rebuilds what changed.
#   scripts/package.sh [build-dir]        (default build-release)
# Standard output is the path of the package alone; the build talks on
# standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build-release}

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
scripts/setup.sh "$build_dir" -DCMAKE_BUILD_TYPE=Release -DKALMORIA_BUILD_TESTS=OFF \
    -DKALMORIA_DEBIAN_BUILD_FLAGS=ON "${launcher[@]}" >&2

rm -f "$build_dir"/kalmoria_*.deb
(cd "$build_dir" && cpack -G DEB >&2)
deb=$(ls "$build_dir"/kalmoria_*.deb)
echo "$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")"
