#!/usr/bin/env bash
# Sets up the machine, builds OrvaneSetup.exe and runs it under Wine against
# the local demo product server: on your display if there is one, otherwise
# (or with ORVANE_DEMO_UNATTENDED=1) inside a private Xvfb display, where it
# clicks Install itself, saves screenshots, says where and ends.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target OrvaneSetup wininspect trust_ca stand_in_install stand_in_Tarvik
exec /usr/bin/python3 scripts/run_demo.py "$@"
