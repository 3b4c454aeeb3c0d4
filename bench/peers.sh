#!/usr/bin/env bash
# The installers side by side on one payload (2,000 files of 4 KiB and 20 of 32 MiB), in one Wine
# prefix, each a whole process from its start until the files are on disk: a plain CopyFileA loop
# (the floor), setup.exe worked from outside through its windows, installers made with Debian's
# makensis (stored, and its default zlib compression; run with /S /D=) and an MSI made with
# Debian's wixl (msiexec /i /qn, removed after each round). A warm-up round, then RUNS rounds
# (default 3) taken in turn; every file is checked after each run. Prints a table: tool, median
# seconds, ratio to the floor, package size.
#   bash bench/peers.sh [RUNS]
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
bash "$top/tools/install-deps.sh"
command -v makensis >/dev/null && command -v wixl >/dev/null ||
  { apt-get update >/dev/null && apt-get install -y --no-install-recommends nsis wixl >/dev/null; }
bash "$top/tools/build.sh" >/dev/null
tree=$top/build/i686 target=x86-unicode arch=x86 programs=ProgramFilesFolder win64=no
setup=$top/dist/setup.exe
# A machine that runs no 32-bit programs measures the x86_64 build and 64-bit peers instead.
if ! bash "$top/tools/runs-i686.sh"; then
  tree=$top/build/x86_64 target=amd64-unicode arch=x64 programs=ProgramFiles64Folder win64=yes
  setup=$tree/setup.exe
  echo "peers: this machine runs no 32-bit programs: the figures are of 64-bit programs"
fi

work=$top/build/peers
rm -rf "$work"
mkdir -p "$work/payload"
# Bytes that do not compress, as a product's programs and archives mostly do not.
head -c $((2000 * 4096)) /dev/urandom | split -a 4 -d -b 4096 --additional-suffix=.dat - "$work/payload/s"
head -c $((20 * 32 * 1048576)) /dev/urandom | split -a 2 -d -b 32M --additional-suffix=.dat - "$work/payload/L"
cp "$setup" "$work/payload/SETUP.EXE"
{
  printf '\\Peers\r\nPeers\r\nPeers 1.0\r\ns0000.dat\r\npeersbench\r\n:install\r\n'
  (cd "$work/payload" && ls *.dat | sed 's/$/\r/')
  printf '\r\n'
} > "$work/payload/setup.ini"

for kind in stored zlib; do
  compress=$([ $kind = stored ] && echo "SetCompress off" || echo "SetCompressor zlib")
  cat > "$work/peer-$kind.nsi" <<NSI
Target $target
$compress
Name "Peers"
OutFile "$work/nsis-$kind.exe"
InstallDir "\$PROGRAMFILES\\Peers"
RequestExecutionLevel admin
Page directory
Page instfiles
Section
  SetOutPath "\$INSTDIR"
  File "$work/payload/*.dat"
SectionEnd
NSI
  makensis -V1 "$work/peer-$kind.nsi"
done

(cd "$work/payload" && ls *.dat) | wixl-heat -p "" --component-group Payload --directory-ref INSTALLDIR \
  --var var.Src --win64 > "$work/files.wxs"
cat > "$work/peer.wxs" <<WXS
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="Peers" Language="1033" Version="1.0.0" Manufacturer="Velmora Bench"
           UpgradeCode="6f1c2a3e-5b7d-4e8f-9a0b-1c2d3e4f5a6b">
    <Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine"/>
    <Media Id="1" Cabinet="peer.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="$programs">
        <Directory Id="INSTALLDIR" Name="Peers"/>
      </Directory>
    </Directory>
    <Feature Id="Main" Level="1">
      <ComponentGroupRef Id="Payload"/>
    </Feature>
  </Product>
</Wix>
WXS
# wixl takes the sources relative to where it runs.
(cd "$work" && wixl -a $arch -D Src=payload -D Win64=$win64 -o peer.msi peer.wxs files.wxs)

export WINEDEBUG=-all WINEPREFIX="$top/build/bench-prefix"
winpath() { echo "Z:${1//\//\\}"; }
log=$work/progman.log
xvfb-run -a -s "-screen 0 1024x768x24" bash -c "
  bash '$top/tools/wine-prefix.sh' \"\$WINEPREFIX\"
  wine='$top/tools/wine-run.sh'
  # setup.exe's program group goes to the project's test server, which answers at once.
  \$wine '$tree/tools/progman.exe' '$(winpath "$log")' &
  for i in \$(seq 300); do [ -f '$log' ] && break; sleep 0.1; done
  \$wine '$tree/bench/peers_bench.exe' '$(winpath "$work")' $runs | tr -d '\r' > '$top/build/bench-peers.txt'
  wineserver -k || true"
cat "$top/build/bench-peers.txt"
echo "($(date -u +%Y-%m-%d), $(nproc) cores, $(uname -m), $runs rounds after a warm-up)"
rm -rf "$work"
