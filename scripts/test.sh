#!/usr/bin/env bash
# Sets up the machine, builds both builds and runs every test: the core's
# unit tests (native, sanitizers on), the release preset's configure check,
# the Win32 side's own tests and the Windows program's end-to-end tests under
# Wine in Xvfb, and a bounded fuzzing run over the download engine's text
# handling.
set -euo pipefail
cd "$(dirname "$0")/.."
python=/usr/bin/python3

step() { printf '\n== %s\n' "$*"; }

step "Setting up"
bash scripts/setup.sh
# Which Windows build Wine runs on this machine, decided once for the run.
eval "$($python tools/testbed/wine_build.py "Windows tests")"
echo "$wine_says"

step "Native build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native -j2
ctest --test-dir build/native --output-on-failure -j2

step "Windows build (32-bit, as shipped)"
cmake --preset windows >/dev/null
cmake --build --preset windows -j2

if [ "$wine_preset" = windows64 ]; then
  step "Windows build (64-bit, with the programs the tests run beside it)"
  cmake --preset windows64 >/dev/null
  cmake --build --preset windows64 -j2
else
  step "Windows build (64-bit, kept compiling)"
  cmake --preset windows64 >/dev/null
  cmake --build --preset windows64 -j2 --target OrvaneSetup orvane_win32_tests
fi

step "Release preset: a named server host and publisher, reproducible, ASLR and DEP"
$python -m unittest discover -s tests/build -v

step "Win32 side's own tests under Wine ($wine_preset build)"
$python tools/testbed/win32_tests.py --gtest_brief=1

step "Windows program under Wine ($wine_preset build)"
$python -m unittest discover -s tests/e2e -p 'test_*.py' -v

step "Fuzzing the download engine's text handling"
bash scripts/run-fuzz.sh "${ORVANE_FUZZ_SECONDS:-60}"

step "All tests passed"
