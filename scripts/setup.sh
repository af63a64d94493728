#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the screenshots and the
# Debian package need (only those missing), then configures and builds into
# the given folder. The reports' tests read PDFs with poppler's tools, and
# the report lays its text out in DejaVu, which Qt finds offscreen too.
# Tests of what the clock does run the real program under faketime.
#   scripts/setup.sh [build-dir] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-serialport-dev libsimpleini-dev
          libgtest-dev qt6-translations-l10n qt6-svg-dev ser2net ccache xvfb xauth xdotool imagemagick
          dpkg-dev python3-prometheus-client tshark poppler-utils fonts-dejavu-core faketime qt6ct)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    # tshark's package asks whether ordinary users may capture; the answer
    # is given beforehand, so the install never stops to ask.
    echo "wireshark-common wireshark-common/install-setuid boolean false" | $sudo debconf-set-selections
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

build_dir=${1:-build}
shift || true
# The compiler cache makes the second and later builds of a clone (and of
# several clones side by side) take seconds instead of minutes.
# Objects carry debug information, which names the build folder: without
# the folder in the hash, a clone in another place finds them too.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@" >/dev/null
cmake --build "$build_dir"
