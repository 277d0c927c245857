#!/usr/bin/env bash
# Runs every test tier: native core (with sanitizers), the core under Wine, Windows integration under
# Wine, and end-to-end scenarios of brindlecot.exe under Wine + Xvfb. Ends with "N passed, M failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/install-deps.sh || { echo "0 passed, 1 failed"; exit 1; }

# The layer order of src/: one case of the final count, whatever the builds do.
layers_ok=1
tools/layer-check.sh || layers_ok=0

build_ok=1
cmake --preset host-asan >/dev/null && cmake --build --preset host-asan || build_ok=0
cmake --preset windows >/dev/null && cmake --build --preset windows || build_ok=0
if [ "$build_ok" -ne 1 ]; then
    echo "build failed"
    echo "0 passed, $((2 - layers_ok)) failed"
    exit 1
fi

rm -rf build/host-asan/reports build/windows/reports
mkdir -p build/host-asan/reports build/windows/reports

ctest --test-dir build/host-asan -L '^unit$' --output-on-failure

xvfb-run -a -s "-screen 0 1600x900x24" tools/wine-tiers.sh

# Count test cases from the reports; a tier that left no report counts as one failure.
passed=0
failed=0
for r in build/host-asan/reports/unit.xml build/windows/reports/unit-wine.xml build/windows/reports/win.xml \
         build/host-asan/reports/e2e.xml; do
    if [ ! -s "$r" ]; then
        echo "no report: $r"
        failed=$((failed + 1))
        continue
    fi
    line=$(grep -m1 '<testsuites' "$r")
    t=$(sed -E 's/.* tests="([0-9]+)".*/\1/' <<<"$line")
    f=$(sed -E 's/.* failures="([0-9]+)".*/\1/' <<<"$line")
    e=$(sed -E 's/.* errors="([0-9]+)".*/\1/' <<<"$line")
    s=$(grep -c '<skipped' "$r" || true)
    echo "$(basename "$(dirname "$(dirname "$r")")")/$(basename "$r"): $t tests, $f failures, $e errors"
    passed=$((passed + t - f - e - s))
    failed=$((failed + f + e))
done
if [ "$layers_ok" -eq 1 ]; then passed=$((passed + 1)); else echo "layer check failed"; failed=$((failed + 1)); fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
