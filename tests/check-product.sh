#!/usr/bin/env bash
# The product is a 32-bit GUI program that imports nothing but the DLLs the system always loads
# from its own directory. comctl32 and mpr are not among them: a program that imported them
# would load a file of that name lying beside it (a download folder), so the product loads them
# from the system directory at run time instead.
set -eu
exe=$1
dump=$(i686-w64-mingw32-objdump -p "$exe")
echo "$dump" | grep -q 'file format pei-i386' || { echo "not a 32-bit PE: $exe"; exit 1; }
echo "$dump" | grep -q 'Subsystem.*0*2.*(Windows GUI)' || { echo "not a GUI program: $exe"; exit 1; }
imports=$(echo "$dump" | sed -n 's/^\s*DLL Name: //p')
planted=$(echo "$imports" | grep -iE '^(comctl32|mpr)\.dll$' || true)
[ -z "$planted" ] || { echo "imports a DLL a file beside the program could stand in for: $planted"; exit 1; }
allowed='^(KERNEL32|USER32|GDI32|msvcrt|ADVAPI32|SHELL32|OLE32)\.dll$'
bad=$(echo "$imports" | grep -viE "$allowed" || true)
[ -z "$bad" ] || { echo "unexpected imports: $bad"; exit 1; }
echo "product ok: $(basename "$exe") is a 32-bit GUI PE importing only system DLLs"
