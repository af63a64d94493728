#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz/ with clang into build-fuzz/ and runs
# each for a while, starting from its seed corpus. A crash, a leak, a
# sanitizer report, a broken invariant or an input that hangs fails the run;
# the input that did it is kept in build-fuzz/artifacts/.
#   scripts/fuzz.sh [seconds-per-target] [target...]
# Inputs found along the way collect in build-fuzz/corpus/<target>/ and are
# used again by the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-17}
shift || true

scripts/install-packages.sh clang libclang-rt-14-dev cmake ninja-build pkg-config qt6-base-dev \
    qt6-serialport-dev libsimpleini-dev
build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALMORIA_FUZZ=ON \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j 2

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for seeds in tests/fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi

# The targets that read and write files do it in a scratch folder, in memory
# where the machine offers it; a target that stops on a finding leaves its
# files behind, so the folder goes when the script ends.
scratch_base=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch_base=/dev/shm
TMPDIR=$(mktemp -d "$scratch_base/kalmoria-fuzz.XXXXXX")
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
# Leaks count here, whatever the caller's sanitizer settings.
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$build/artifacts" "$build/logs"
passed=0
failed=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    log="$build/logs/$target.log"
    mkdir -p "$corpus"
    if "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" "$corpus" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
        passed=$((passed + 1))
        result=ok
    else
        failed=$((failed + 1))
        result=FAILED
        tail -n 60 "$log"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
    inputs=$(find "$corpus" "tests/fuzz/corpus/$target" -type f | wc -l)
    printf '%-22s %-6s %9s runs  cov %5s  corpus %5s inputs  (%s)\n' "$target" "$result" "${runs:-?}" \
        "${cov:-?}" "$inputs" "$log"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
