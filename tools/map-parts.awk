# Reads a link map of the GNU linker and prints, for each object that brings code or data into the
# program, the bytes it brings ("bytes object", an archive's member as "library.a(member)"): its
# input sections placed in .text, .rdata, .data and .eh_frame. A long section name stands on a
# line of its own, with its address, size and object on the next.
#
# The programs' own code is optimised whole at the link and comes out of one object of the
# compiler's (*.ltrans.o) with a section for each function. Given a table of which member of our
# libraries defines which function (the file named by -v owners=, lines "symbol library.a(member)"),
# the bytes of each function go to that member; a function several members compile (templates,
# inline members) goes to "(inline of several objects)", and the frame and exception tables and
# the constants of that object to "(program: frame tables)" and "(program: constants)".
BEGIN {
  if (owners != "")
    while ((getline line < owners) > 0) {
      split(line, w, " ")
      sub(/@[0-9]+$/, "", w[1])
      c = outer(w[1])
      if (c != "" && !(c in classOwner)) classOwner[c] = w[2]
      if (!(w[1] in owner)) owner[w[1]] = w[2]
      else if (owner[w[1]] != w[2]) owner[w[1]] = "(inline of several objects)"
    }
}
/^Linker script and memory map/ { on = 1; next }
!on { next }
/^\.[a-z]/ { out = $1; next }
/^ \.[^ ]+$/ { pending = 1; name = $1; next }
{
  if (pending && $1 ~ /^0x/ && NF == 3) { size = $2; file = $3 }
  else if ($0 ~ /^ \.[^ ]+ +0x/ && NF == 4) { name = $1; size = $3; file = $4 }
  else { pending = 0; next }
  pending = 0
  if (out !~ /^\.(text|rdata|data)$/ && out != ".eh_frame") next
  sub(/.*\//, "", file)
  if (file ~ /\.ltrans\.o$/) file = part(name, out)
  sum[file] += hex(size)
}
END { for (f in sum) if (sum[f] > 0) printf "%d %s\n", sum[f], f }
function part(section, out,   sym) {
  if (out == ".eh_frame" || section ~ /^\.gcc_except_table/) return "(program: frame tables)"
  sym = section; sub(/^\.[a-z]+\$/, "", sym)
  if (sym == section) return out == ".text" ? "(program: code)" : "(program: constants)"
  # A copy the optimiser made of a function (name.isra.0, name.constprop.1, name.lto_priv.0).
  sub(/\..*/, "", sym)
  if (sym in owner) return owner[sym]
  # One the optimiser made or kept out of line alone (a lambda, a constructor's other name) goes
  # with the class or namespace it is a member of.
  if (outer(sym) in classOwner) return classOwner[outer(sym)]
  # What none of the members names on its own: a function of a source's nameless namespace that
  # their compiled code has inlined, and what the compiler made for such a one.
  return out == ".text" ? "(program: local functions)" : "(program: constants)"
}
# The outermost class or namespace of a mangled name ("_ZN9Tremoving3RunEv": "9Tremoving"), but
# not the nameless namespace, which each source has of its own.
function outer(sym,   rest, n) {
  rest = sym
  if (!sub(/^_ZZ?N(K|V)*/, "", rest) || rest !~ /^[0-9]/) return ""
  n = rest + 0
  rest = substr(rest, 1, length(n "") + n)
  return rest ~ /_GLOBAL__N/ ? "" : rest
}
function hex(s,   n, i) {
  s = tolower(substr(s, 3)); n = 0
  for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
  return n
}
