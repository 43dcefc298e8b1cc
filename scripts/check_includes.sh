#!/usr/bin/env bash
# Only *_win.cpp / *_win.h files may include Windows headers: the core stays portable.
set -euo pipefail
cd "$(dirname "$0")/.."
offenders=$(grep -rlE '#\s*include\s*[<"](windows|winuser|shellapi|shlobj|commctrl|objbase)\.h[>"]' \
  --include='*.cpp' --include='*.h' src tests | grep -vE '_win\.(cpp|h)$' || true)
if [ -n "$offenders" ]; then
  echo "These files include Windows headers but are not *_win files:" >&2
  echo "$offenders" >&2
  exit 1
fi
echo "include rule: ok"
