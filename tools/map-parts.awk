# Reads a link map of the GNU linker and prints, for each object that brings code or data into the
# program, the bytes it brings ("bytes object", an archive's member as "library.a(member)"): its
# input sections placed in .text, .rdata, .data and .eh_frame. A long section name stands on a
# line of its own, with its address, size and object on the next.
/^Linker script and memory map/ { on = 1; next }
!on { next }
/^\.[a-z]/ { out = $1; next }
/^ \.[^ ]+$/ { pending = 1; next }
{
  if (pending && $1 ~ /^0x/ && NF == 3) { size = $2; file = $3 }
  else if ($0 ~ /^ \.[^ ]+ +0x/ && NF == 4) { size = $3; file = $4 }
  else { pending = 0; next }
  pending = 0
  if (out !~ /^\.(text|rdata|data|eh_frame)$/) next
  sub(/.*\//, "", file)
  sum[file] += hex(size)
}
END { for (f in sum) if (sum[f] > 0) printf "%d %s\n", sum[f], f }
function hex(s,   n, i) {
  s = tolower(substr(s, 3)); n = 0
  for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
  return n
}
