#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (the "fuzz" preset) and fuzzes the
# download engine's text handling for a bounded time. Fails when the fuzzer
# finds a crash, a sanitizer report or a broken property.
# Usage: scripts/run-fuzz.sh [seconds]   (default 60)
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

cmake --preset fuzz >/dev/null
cmake --build build/fuzz --target download_text_fuzz

# New inputs go to a scratch corpus so the committed seeds stay as they are;
# a finding is written to build/fuzz/findings/ for replay.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p build/fuzz/findings

build/fuzz/tests/fuzz/download_text_fuzz \
  -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
  -artifact_prefix=build/fuzz/findings/ \
  "$scratch" tests/fuzz/corpus/download_text
