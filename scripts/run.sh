#!/usr/bin/env bash
# Sets up the machine, builds OrvaneSetup.exe and runs it under Wine against
# the local demo product server: on your display if there is one, otherwise
# (or with ORVANE_DEMO_UNATTENDED=1) inside a private Xvfb display, where it
# clicks Install itself, saves screenshots, says where and ends.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
# Which Windows build Wine runs on this machine, decided once for the run.
eval "$(/usr/bin/python3 tools/testbed/wine_build.py "The demo and its tools")"
echo "$wine_says"
cmake --preset "$wine_preset" >/dev/null
cmake --build --preset "$wine_preset" -j2 --target OrvaneSetup wininspect trust_ca stand_in_install stand_in_Tarvik
exec /usr/bin/python3 scripts/run_demo.py "$@"
