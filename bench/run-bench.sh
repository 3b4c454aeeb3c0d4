#!/usr/bin/env bash
# Prints the shipped (i686) programs' figures, after building: the installation run against a plain
# CopyFileA loop over the same files (2,000 files of 4 KiB, 20 of 32 MiB, and one small file for
# the run's fixed cost), and the start of setup.exe to a filled main window against a bare window
# program, and how soon the main window takes input again after the Start Menu prompt closes.
# Absolute times first, then one line a figure: the ratios, the fixed cost, the modal return.
#   bash bench/run-bench.sh [RUNS]
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
bash "$top/tools/install-deps.sh"
bash "$top/tools/build.sh" >/dev/null
bench=$top/build/i686/bench
setup=$top/dist/setup.exe
# A machine that runs no 32-bit programs measures the x86_64 build instead, and says so.
if ! bash "$top/tools/runs-i686.sh"; then
  bench=$top/build/x86_64/bench
  setup=$top/build/x86_64/setup.exe
  echo "run-bench: this machine runs no 32-bit programs: the figures are the x86_64 build's"
fi
export WINEDEBUG=-all WINEPREFIX="$top/build/bench-prefix"
# Wine mirrors every shortcut made in the Start Menu into the Linux desktop, starting a program
# of its own for each; Windows does nothing of the kind, so the benches leave it out.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
winpath() { echo "Z:${1//\//\\}"; }
# The runs send their group to a server that answers every command at once and makes nothing
# (the project's DDE test peer): the test server makes each shortcut before it answers, which
# under Wine takes longer than the rest of a run of one file, and that is the server's time, not
# the run's, nor anything a copy loop does.
peer=$top/build/bench-peer.log
rm -f "$peer"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c "
  bash '$top/tools/wine-prefix.sh' \"\$WINEPREFIX\"
  # A prefix just made still has its start-up processes about; a DDE connection's first broadcast
  # waits on their windows (2 s a run, seen on a fresh prefix). Timing starts once they are gone.
  wineserver -w
  wine='$top/tools/wine-run.sh'
  \$wine '$bench/../tools/ddepeer.exe' server PROGMAN PROGMAN > '$peer' &
  for i in \$(seq 300); do grep -q ready '$peer' 2>/dev/null && break; sleep 0.1; done
  \$wine '$bench/install_bench.exe' $runs | tr -d '\r' > '$top/build/bench-install.txt'
  \$wine '$bench/../tools/ddepeer.exe' client PROGMAN PROGMAN -q execute text:quit > /dev/null
  \$wine '$bench/startup_bench.exe' '$(winpath "$setup")' '$(winpath "$bench/bare_window.exe")' $runs |
    tr -d '\r' > '$top/build/bench-startup.txt'
  \$wine '$bench/modal_bench.exe' '$(winpath "$setup")' $runs | tr -d '\r' > '$top/build/bench-modal.txt'
  wineserver -k || true"
# Each run of each of the three cases sends five commands; fewer at the peer means another server
# answered some.
if [ "$(grep -c '^execute: ' "$peer" 2>/dev/null)" -lt $((15 * runs)) ]; then
  echo "run-bench: the runs did not all reach the server that answers at once" >&2
fi
grep -v ' ratio \|^fixed cost' "$top/build/bench-install.txt"
grep -v ' ratio ' "$top/build/bench-startup.txt"
grep -v '^modal return' "$top/build/bench-modal.txt"
grep -h ' ratio \|^fixed cost\|^modal return' "$top/build/bench-install.txt" \
  "$top/build/bench-startup.txt" "$top/build/bench-modal.txt"
