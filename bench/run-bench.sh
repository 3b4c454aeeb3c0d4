#!/usr/bin/env bash
# Prints the installation run's speed against a plain copy loop (builds first).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/install-deps.sh"
bash "$top/tools/build.sh" >/dev/null
export WINEDEBUG=-all WINEPREFIX="$top/build/x86_64/wineprefix"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c "
  bash '$top/tools/wine-prefix.sh' \"\$WINEPREFIX\"
  /usr/lib/wine/wine64 '$top/build/x86_64/bench/install_bench.exe' ${1:-5} | tr -d '\r'
  wineserver -k || true"
