#!/usr/bin/env bash
# Links a shipped 32-bit program so that the functions nothing calls stay out of it. Used as the
# link launcher of setup.exe and remove.exe: slim-link.sh <compiler> <the link's arguments>.
#
# The 32-bit programs unwind their exceptions by frame tables (.eh_frame), which the linker keeps
# whole whatever it leaves out; and one object's table names every function of that object, so
# --gc-sections alone keeps every function of every object a program draws on. So the program is
# linked twice. The first link keeps a frame table only where something refers to it, the
# exception runtime's own routine kept by name; what it leaves out of the code is what nothing
# reaches. The second, the real link, leaves that code out too. The table entries of the code
# left out stay, with a start address of zero, which the runtime's unwinder passes over as it does
# for a template's copy the linker dropped as a duplicate.
set -eu
compiler=$1
args=("${@:2}")
out=
for ((i = 0; i < ${#args[@]}; i++)); do
  if [ "${args[i]}" = -o ]; then out=${args[i + 1]}; fi
done
[ -n "$out" ] || exec "$@"

work=$out.slim
rm -rf "$work"
mkdir -p "$work"
"$("$compiler" -print-prog-name=ld)" --verbose | sed -n '/^=====/,/^=====/p' | sed '1d;$d' \
  >"$work/default.ld"
# The exception tables the frame tables point to stay, with the type descriptions of what is
# caught: catching runs code those reach.
sed 's/KEEP(\*(\.eh_frame\*))/*(.eh_frame*)/; s/KEEP (\*(\.gcc_except_table))/KEEP (*(.gcc_except_table*))/' \
  "$work/default.ld" >"$work/probe.ld"
# A linker whose script keeps the frame tables some other way gets the plain link.
cmp -s "$work/default.ld" "$work/probe.ld" && exec "$@"

probe=()
for ((i = 0; i < ${#args[@]}; i++)); do
  if [ "${args[i]}" = -o ]; then
    probe+=(-o "$work/probe.exe")
    i=$((i + 1))
  else
    probe+=("${args[i]}")
  fi
done
"$compiler" "${probe[@]}" -Wl,-T,"$work/probe.ld" -Wl,--undefined=___gxx_personality_v0 \
  -Wl,--print-gc-sections -Wl,-Map,"$work/probe.map" 2>"$work/probe.gc" || {
  cat "$work/probe.gc" >&2
  exit 1
}
rm -f "$work/probe.exe"

# What the first link left out of the code, as "section file"; a section that one file's copy
# kept (a template's function) is left alone in every file.
sed -n "s/.*removing unused section '\(\.text[^'[]*\)[^']*' in file '\([^']*\)'.*/\1 \2/p" \
  "$work/probe.gc" >"$work/unused"
awk '/^Linker script and memory map/ { on = 1 } on && /^ \.text/ { print $1 }' \
  "$work/probe.map" | sort -u >"$work/kept"
awk 'NR == FNR { kept[$1] = 1; next }
  !($1 in kept) {
    file = $2; sub(/.*\//, "", file)
    if (match(file, /\(.*\)$/))
      file = substr(file, 1, RSTART - 1) ":" substr(file, RSTART + 1, RLENGTH - 2)
    printf "    \"*%s\"(\"%s\")\n", file, $1
    # a template function has its frame entry in a section of its own, named after its code
    if ($1 ~ /^\.text\$/) printf "    \"*%s\"(\".eh_frame$%s\")\n", file, substr($1, 7)
  }' "$work/kept" "$work/unused" >"$work/discard"
awk -v list="$work/discard" '{ print }
  /^SECTIONS$/ { getline; print; print "  /DISCARD/ :\n  {"
    while ((getline line < list) > 0) print line
    print "  }" }' "$work/default.ld" >"$work/link.ld"

"$compiler" "${args[@]}" -Wl,-T,"$work/link.ld"

# Every frame table entry starts in the code, or at zero for the code left out: an entry that
# started anywhere else would send the unwinder astray.
objdump=$("$compiler" -print-prog-name=objdump)
{ "$objdump" -h "$out"; "$objdump" --dwarf=frames "$out"; } | awk '
  function hex(s,   n, i) {
    s = tolower(s); n = 0
    for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
    return n
  }
  $2 == ".text" { lo = hex($4); hi = lo + hex($3) }
  $2 == ".eh_frame" && $1 ~ /^[0-9]+$/ { frames = hex($4) }
  $4 == "FDE" {
    split(substr($6, 4), pc, "\\.\\."); start = hex(pc[1])
    if ((start < lo || start >= hi) && start != frames + hex($1) + 8) { print "stray: " $0; bad++ }
  }
  END { exit bad > 0 }' >&2 || { echo "slim-link: $out has frame table entries outside its code" >&2; exit 1; }
