#!/usr/bin/env bash
# Runs the end-to-end tests: programs under Wine on Xvfb, driven by tavidriver.exe.
# Needs the Windows build: cmake --preset windows && cmake --build --preset windows
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ! -x build/windows/e2e/tavidriver.exe ]]; then
  echo "e2e: build/windows/e2e/tavidriver.exe is missing; build the windows preset first" >&2
  exit 2
fi
exec python3 -m unittest discover -s tests/e2e -p 'test_*.py' -v "$@"
