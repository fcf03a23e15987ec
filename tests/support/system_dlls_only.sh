#!/bin/sh
# system_dlls_only.sh OBJDUMP BIN
# Every program and DLL in BIN is one file: the DLLs it imports are the
# system's alone (no compiler runtime, none of ours), and it is stripped.
set -eu
objdump=$1 bin=$2
. "$(dirname "$0")/wine_script.sh"
# The system's DLLs, as Windows names them (letter case aside).
system='^(kernel32|kernelbase|advapi32|oleaut32|ole32|user32|shell32|shlwapi|msvcrt|version|psapi|gdi32|comctl32|comdlg32|rpcrt4|ws2_32|bcrypt|uxtheme|imm32|ntdll|api-ms-win-[a-z0-9-]+)\.dll$'
count=0
for file in "$bin"/*.exe "$bin"/*.dll; do
  [ -e "$file" ] || continue
  count=$((count + 1))
  dump=$("$objdump" -p "$file") || fail "objdump cannot read $file"
  imports=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p')
  [ -n "$imports" ] || fail "$file imports nothing: not a program objdump reads"
  others=$(printf '%s\n' "$imports" | grep -viE "$system" || true)
  [ -z "$others" ] || fail "$(basename "$file") needs DLLs that are not the system's: $others"
  ! "$objdump" -h "$file" | grep -q '\.debug' || fail "$(basename "$file") carries debug sections"
  symbols=$("$objdump" -t "$file" 2>&1 | grep -c '^\[' || true)
  [ "$symbols" -eq 0 ] || fail "$(basename "$file") is not stripped ($symbols symbols)"
done
[ "$count" -gt 0 ] || fail "no program or DLL in $bin"
echo "$count programs and DLLs, each needing the system's DLLs alone, stripped"
