#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulated central device with
# the demo image and starts Kalmoria with COM1 pointing at it. The settings
# live in build/run-config, never in the user's own Kalmoria.ini.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
bin=build/bin

coproc SIM { exec "$bin/qmx-sim" --image "$bin/qmx-demo.ini"; }
sim_pid=$SIM_PID
trap 'kill "$sim_pid" 2>/dev/null || true' EXIT
read -r -t 10 device_path <&"${SIM[0]}" || { echo "qmx-sim did not start" >&2; exit 1; }
echo "Simulated central device on $device_path (COM1)"

export XDG_CONFIG_HOME="$PWD/build/run-config"
mkdir -p "$XDG_CONFIG_HOME"
settings="$XDG_CONFIG_HOME/Kalmoria.ini"
# Keep the language chosen in earlier runs; the port table is this run's.
kept=""
[ -f "$settings" ] && kept=$(awk '/^\[/{skip = ($0 ~ /^\[Schnittstellen\]/)} !skip' "$settings")
printf '%s\r\n[Schnittstellen]\r\nCOM1=%s\r\n' "$kept" "$device_path" > "$settings"

# The program finds its signal-group file QMXFO.ini in its working folder.
cd "$bin"
./Kalmoria "$@"
