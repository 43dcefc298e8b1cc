#!/usr/bin/env bash
# Sets up, builds and runs every test level, or the levels named:
#   scripts/test.sh              unit, win and e2e
#   scripts/test.sh unit         native tests of the core (ctest) and a short run of every fuzz target
#   scripts/test.sh win          Windows tests of the adapters under Wine
#   scripts/test.sh e2e          the packages (scripts/package.sh) built twice to the same bytes,
#                                then the program and its setup under Wine on Xvfb, driven from outside
set -euo pipefail
cd "$(dirname "$0")/.."
levels=("$@")
[ ${#levels[@]} -eq 0 ] && levels=(unit win e2e)

scripts/setup.sh
scripts/check_includes.sh

for level in "${levels[@]}"; do
  case "$level" in
    unit)
      scripts/build.sh host
      ctest --preset host --output-on-failure
      FUZZ_FRESH=1 scripts/fuzz.sh 5
      ;;
    win)
      scripts/build.sh windows
      python3 tests/e2e/wine_run.py tests build/windows/win_tests.exe
      ;;
    e2e)
      scripts/build.sh windows
      scripts/package.sh
      # Reproducible packages: built again from the same sources, the program
      # drawn, compiled and linked anew (the rest is unchanged), the same bytes.
      first=$(cd build/package && sha256sum TaviMenu2-*)
      rm -f build/windows/TaviMenu2.exe build/windows/generated/TaviMenu2.ico \
        build/windows/CMakeFiles/TaviMenu2.dir/res/TaviMenu2.rc.res
      scripts/package.sh >/dev/null
      second=$(cd build/package && sha256sum TaviMenu2-*)
      if [ "$first" != "$second" ]; then
        echo "two builds of one commit gave different packages:" >&2
        diff <(echo "$first") <(echo "$second") >&2 || true
        exit 1
      fi
      echo "packages reproducible:"
      echo "$first"
      scripts/e2e.sh
      ;;
    *)
      echo "unknown test level: $level (unit, win or e2e)" >&2
      exit 2
      ;;
  esac
done
echo "test levels passed: ${levels[*]}"
