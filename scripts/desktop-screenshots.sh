#!/bin/bash
# Pictures of the window under another desktop's look: qt6ct with Fusion, its
# "darker" colour scheme or the light standard palette, and the desktop font
# at 10, 12 and 14 points, after a read of the simulated device; the overview
# and the link editor of each go to the given folder (default docs/).
#
#   scripts/desktop-screenshots.sh [build folder] [picture folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-docs}
mkdir -p "$out"
work=$(mktemp -d)
display=:$((90 + RANDOM % 100))

Xvfb "$display" -screen 0 1280x960x24 -nolisten tcp &
xvfb=$!
"$build/bin/qmx-sim" --no-pacing >"$work/sim.out" &
sim=$!
# A port where nothing answers, for the search that finds no device.
"$build/bin/qmx-sim" --silent >"$work/silent.out" &
silent=$!
cleanup() { kill "$sim" "$silent" "$xvfb" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
until [ -s "$work/sim.out" ] && [ -s "$work/silent.out" ]; do sleep 0.1; done

# The root window, cut to the program's window.
shoot() {
    DISPLAY=$display import -window root "$1"
    convert "$1" -trim +repage "$1"
}

shots() {
    local look=$1 points=$2 port=$3 name=$4
    config="$work/$look-$points-$name"
    mkdir -p "$config/qt6ct"
    printf '[Kalmoria]\r\nSprache=KalmoriaDE.TXT\r\n[Schnittstellen]\r\nCOM3=%s\r\n' "$port" >"$config/Kalmoria.ini"
    scheme=/usr/share/qt6ct/colors/darker.conf
    custom=$([ "$look" = dark ] && echo true || echo false)
    cat >"$config/qt6ct/qt6ct.conf" <<CONF
[Appearance]
color_scheme_path=$scheme
custom_palette=$custom
style=Fusion
standard_dialogs=default

[Fonts]
fixed="DejaVu Sans Mono,$points,-1,5,50,0,0,0,0,0"
general="DejaVu Sans,$points,-1,5,50,0,0,0,0,0"
CONF
    DISPLAY=$display XDG_CONFIG_HOME=$config XDG_DATA_HOME=$config XDG_STATE_HOME=$config \
        QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=qt6ct "$build/bin/Kalmoria" &
    app=$!
    window=$(DISPLAY=$display xdotool search --sync --onlyvisible --name Kalmoria | head -1)
    sleep 3 # the start-up search
    if [ "$name" = no-device ]; then
        shoot "$out/desktop-$points""pt-$look-no-device.png"
    else
        # "Aus QMX lesen"; then a double click on a module of the overview opens the editor.
        DISPLAY=$display xdotool windowfocus --sync "$window" key ctrl+r
        sleep 4
        shoot "$out/desktop-$points""pt-$look-overview.png"
        DISPLAY=$display xdotool mousemove 300 150 click --repeat 2 1
        sleep 2
        shoot "$out/desktop-$points""pt-$look.png"
    fi
    kill "$app"
    wait "$app" 2>/dev/null || true
}

for look in light dark; do
    for points in 10 12 14; do
        shots "$look" "$points" "$(head -1 "$work/sim.out")" read
    done
done
shots dark 12 "$(head -1 "$work/silent.out")" no-device
