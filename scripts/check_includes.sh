#!/usr/bin/env bash
# Two rules that keep the layers visible:
#  - only *_win.cpp / *_win.h files include Windows headers, so the core stays portable;
#  - a file under src/ includes only from its own folder and the folders below
#    it, in this order from the bottom: platform, app, search, menus, bar, dialogs, tools, program.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0

offenders=$(grep -rlE '#\s*include\s*[<"](windows|winuser|shellapi|shlobj|commctrl|objbase)\.h[>"]' \
  --include='*.cpp' --include='*.h' src tests | grep -vE '_win\.(cpp|h)$' || true)
if [ -n "$offenders" ]; then
  echo "These files include Windows headers but are not *_win files:" >&2
  echo "$offenders" >&2
  status=1
fi

against=$(grep -rnE '^\s*#\s*include\s*"[a-z_]+/' --include='*.cpp' --include='*.h' src | awk '
  BEGIN { n = split("platform app search menus bar dialogs tools program", order, " ")
          for (i = 1; i <= n; i++) rank[order[i]] = i }
  {
    split($0, part, ":"); split(part[1], path, "/"); from = path[2]
    line = $0; sub(/^[^"]*"/, "", line); split(line, target, "/"); to = target[1]
    if (!(from in rank)) { print $0 "   (folder " from " is no layer)"; next }
    if (!(to in rank)) { print $0 "   (" to " is no layer)"; next }
    if (rank[to] > rank[from]) print $0
  }')
if [ -n "$against" ]; then
  echo "These includes reach a higher layer (order: platform, app, search, menus, bar, dialogs, tools, program):" >&2
  echo "$against" >&2
  status=1
fi

[ $status -eq 0 ] && echo "include rules: ok"
exit $status
