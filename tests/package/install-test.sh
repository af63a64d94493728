#!/usr/bin/env bash
# Installs the Debian package on this machine as a field engineer's laptop
# gets it, starts Kalmoria by its command as an ordinary user on a virtual
# display, and removes the package again. It changes the machine, so it is
# no part of the CTest suite: it needs root (CI runs as root), installs
# lintian when missing and creates the user kalmoria-test when missing; the
# package's own user kalmoria, which Debian leaves behind on removal, goes
# when the test made it.
#   tests/package/install-test.sh [build-dir]     (default build-release)
set -euo pipefail
cd "$(dirname "$0")/../.."
if [ "$(id -u)" -ne 0 ]; then
    echo "install-test.sh: run it as root, it installs and removes a package" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
user=kalmoria-test
service_user_existed=no
id kalmoria >/dev/null 2>&1 && service_user_existed=yes
work=$(mktemp -d)
xvfb_pid=""
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "install-test: FAILED: $*" >&2
    exit 1
}
step() { echo "== $*"; }

step "Building the package"
deb=$(scripts/package.sh "${1:-build-release}")
[ -f "$deb" ] || fail "no package built"
echo "$deb"

step "lintian"
# lintian, and what the manual pages and the bash completion are checked with.
scripts/install-packages.sh lintian man-db bash-completion systemd
# Errors and warnings fail the test; what is meant is overridden, with the
# reason, in packaging/lintian-overrides.
lintian_status=0
lintian_output=$(lintian --fail-on error,warning "$deb" 2>&1) || lintian_status=$?
grep -v "running with root privileges" <<<"$lintian_output" || true
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors or warnings"

step "Installing"
if dpkg-query -W -f='${Status}' kalmoria 2>/dev/null | grep -q "install ok installed"; then
    apt-get remove -y -qq kalmoria >/dev/null
fi
apt-get install -y -qq "$deb" >/dev/null
listed=$(dpkg -L kalmoria)
for file in /usr/bin/kalmoria /usr/bin/qmx-sim /opt/kalmoria/Kalmoria /opt/kalmoria/Kalmoria.TXT \
            /usr/share/applications/kalmoria.desktop /usr/share/icons/hicolor/scalable/apps/kalmoria.svg; do
    grep -qx "$file" <<<"$listed" || fail "dpkg -L does not list $file"
done
[ "$(readlink -f /usr/bin/kalmoria)" = /opt/kalmoria/Kalmoria ] || fail "/usr/bin/kalmoria does not lead to the program"
if grep -q "^/opt/kalmoria/kalmoria-cli$" <<<"$listed"; then
    [ -L /usr/bin/kalmoria-cli ] || fail "kalmoria-cli has no command in /usr/bin"
fi
if grep -Eq "tests_|bench|probe" <<<"$listed"; then
    fail "tests or benchmarks were installed"
fi

step "Manual pages and bash completion"
for command in kalmoria kalmoria-cli qmx-sim; do
    page=/usr/share/man/man1/$command.1.gz
    grep -qx "$page" <<<"$listed" || fail "dpkg -L does not list $page"
    # Rendered as man shows it; any warning of the formatter fails.
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $command: $warnings"
done
completion=/usr/share/bash-completion/completions/kalmoria-cli
[ -f "$completion" ] || fail "no bash completion in $completion"
bash -n "$completion" || fail "the bash completion does not parse"
# What the completion offers after "--port": the COM numbers Kalmoria.ini maps.
printf '[Kalmoria]\r\nSprache=\r\n\r\n[Schnittstellen]\r\nCOM3=/dev/ttyUSB0\r\nCOM12=/dev/pts/4\r\n' >"$work/Kalmoria.ini"
offered=$(XDG_CONFIG_HOME="$work" bash -c '
    source /usr/share/bash-completion/bash_completion
    source "$1"
    COMP_WORDS=(kalmoria-cli --port ""); COMP_CWORD=2
    _kalmoria_cli kalmoria-cli "" --port
    printf "%s\n" "${COMPREPLY[@]}"' completion "$completion" | grep '^COM' | tr '\n' ' ')
[ "$offered" = "COM3 COM12 " ] || fail "the completion offers '$offered' after --port, not COM3 and COM12"

step "The daily backup: units, user, station list"
units=(/usr/lib/systemd/system/kalmoria-backup.service /usr/lib/systemd/system/kalmoria-backup.timer)
for file in "${units[@]}" /usr/lib/sysusers.d/kalmoria.conf /etc/kalmoria/stations; do
    grep -qx "$file" <<<"$listed" || fail "dpkg -L does not list $file"
done
# Against the installed tree: the command, its manual page and the user exist.
verified=$(systemd-analyze verify "${units[@]}" 2>&1) || fail "systemd-analyze verify: $verified"
[ -z "$verified" ] || fail "systemd-analyze verify: $verified"
id -nG kalmoria | tr ' ' '\n' | grep -qx dialout || fail "the user kalmoria is missing or not in the group dialout"
dpkg-query -W -f='${Conffiles}\n' kalmoria | grep -q "^ /etc/kalmoria/stations " ||
    fail "/etc/kalmoria/stations is no conffile"
if grep -v '^#' /etc/kalmoria/stations | grep -q '[^[:space:]]'; then
    fail "the example station list names a station"
fi
enabled=$(find /etc/systemd /run/systemd/system -name 'kalmoria-backup*' 2>/dev/null || true)
[ -z "$enabled" ] || fail "enabled on installation: $enabled"

step "Starting kalmoria as $user"
id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$user"
home=$(getent passwd "$user" | cut -d: -f6)
state="$home/.local/state/kalmoria"
rm -rf "$state"
runuser -u "$user" -- mkdir -p "$state"
# Debug level 2 logs the start.
runuser -u "$user" -- sh -c "printf 2 > '$state/DEBUG'"

Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
display=":$(head -n 1 "$work/display")"
[ "$display" != ":" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"

# As from the desktop menu: a fresh environment, the command from /usr/bin,
# the user's home as the working folder.
(cd "$home" && exec runuser -u "$user" -- env -i HOME="$home" USER="$user" PATH=/usr/bin:/bin \
    DISPLAY="$display" kalmoria >"$work/kalmoria.out" 2>&1) &
program_pid=$!
log="$state/Problem2.TXT"
# The start line comes before the window, which shows once the port search
# has run; as this user every serial port is locked away, so it is quick.
window=""
for _ in $(seq 300); do
    window=$(DISPLAY="$display" xdotool search --onlyvisible --name "Kalmoria [0-9]" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
[ -n "$window" ] || fail "no Kalmoria window came up: $(cat "$work/kalmoria.out")"
grep -q "Neustart" "$log" 2>/dev/null || fail "no start line in $log"
[ ! -e /opt/kalmoria/Problem2.TXT ] || fail "the log went into the program folder"

kill -TERM "$program_pid"
for _ in $(seq 100); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null && fail "kalmoria did not end on SIGTERM"
program_pid=""
grep -q "Ende PC-Programm" "$log" || fail "no end line in $log"
echo "log in $log:"
cat "$log"

step "Removing"
apt-get purge -y -qq kalmoria >/dev/null
[ "$service_user_existed" = yes ] || userdel kalmoria
[ ! -e /etc/kalmoria ] || fail "left behind: $(find /etc/kalmoria)"
[ ! -e /opt/kalmoria ] || fail "left behind: $(find /opt/kalmoria)"
[ ! -e /usr/bin/kalmoria ] || fail "/usr/bin/kalmoria left behind"
echo "install-test: passed"
