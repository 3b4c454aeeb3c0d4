#!/usr/bin/env bash
# Lays out what a vendor ships in dist/: the i686 programs of build/i686, stripped, and prints
# the size of each with what its largest parts weigh: the sections of the program file, the
# resources within .rsrc, and the code and data each library and object brings (from the link map
# the build writes beside each program).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
dist=$top/dist
mkdir -p "$dist"
for name in setup remove; do
  exe=$top/build/i686/$name.exe
  [ -f "$exe" ] || continue
  i686-w64-mingw32-strip -o "$dist/$name.exe" "$exe"
  size=$(stat -c %s "$dist/$name.exe")
  echo "dist/$name.exe: $size bytes ($(( (size + 1023) / 1024 )) KiB), stripped"
  i686-w64-mingw32-objdump -h "$dist/$name.exe" | awk '
    $1 ~ /^[0-9]+$/ { n = 0; hex = tolower($3)
      for (i = 1; i <= length(hex); i++) n = n * 16 + index("0123456789abcdef", substr(hex, i, 1)) - 1
      printf "  %-10s %8d bytes\n", $2, n }' | sort -k2 -n -r | head -6
  # The resources are ours: each program carries the files its resource script names (setup.exe
  # res/velmora.rc, which takes in res/program.rc; remove.exe res/program.rc alone).
  rc=$top/res/program.rc
  [ $name = setup ] && rc=$top/res/velmora.rc
  echo "  largest resources:"
  for f in $(sed -n 's/.*"\([^"]*\.\(bmp\|ico\|manifest\)\)".*/\1/p' "$rc" "$top/res/program.rc" | sort -u); do
    printf '    %-18s %8d bytes\n' "$f" "$(stat -c %s "$top/res/$f")"
  done | sort -k2 -n -r | head -3
  # Code, constant data, frame tables and data by the object they come from.
  map=$exe.map
  [ -f "$map" ] || continue
  # Which member of the libraries the program is linked from defines which function (their
  # objects carry compiled code beside what the link optimises, and so a symbol table).
  sed -n 's/^LOAD \(.*\.a\)$/\1/p' "$map" | grep -v '^/usr/' | sort -u | while read -r lib; do
    case $lib in /*) ;; *) lib=$top/build/i686/$lib ;; esac
    i686-w64-mingw32-nm -A --defined-only "$lib" 2>/dev/null |
      awk '{ split($1, p, ":"); n = split(p[1], d, "/"); sym = $NF; sub(/^_/, "", sym)
        print sym, d[n] "(" p[2] ")" }'
  done >"$dist/$name.owners"
  awk -v owners="$dist/$name.owners" -f "$top/tools/map-parts.awk" "$map" >"$dist/$name.parts"
  echo "  largest libraries (code, data and frame tables):"
  awk '{ lib = substr($0, index($0, " ") + 1); if (lib !~ /^\(/) sub(/\(.*/, "", lib); sum[lib] += $1 }
    END { for (l in sum) print sum[l], l }' "$dist/$name.parts" | sort -n -r | head -6 |
    awk '{ printf "    %-28s %8d bytes\n", substr($0, index($0, " ") + 1), $1 }'
  echo "  largest objects:"
  sort -n -r "$dist/$name.parts" | head -6 |
    awk '{ printf "    %-44s %8d bytes\n", substr($0, index($0, " ") + 1), $1 }'
  rm -f "$dist/$name.parts" "$dist/$name.owners"
done
