#!/usr/bin/env bash
# Sets up the machine, builds OrvaneSetup.exe and runs it under Wine: on your
# display if there is one, otherwise inside a private Xvfb display, where it
# saves a screenshot and says where.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target OrvaneSetup wininspect
exec /usr/bin/python3 scripts/run_program.py "$@"
