#!/bin/sh
# dict_windows_test.sh WINE BIN EXAMPLES WORK
# veltrano-dict.exe under Wine, in the test run's prefix, on the sample
# dictionary in a folder named 工厂 (the command line read wide, the paths
# reaching the system as UTF-16): stats and --check, no export over the
# workbook, fill from another dictionary, export, the empty targets filled,
# import, and stats again.
set -eu
wine=$1 bin=$2 examples=$3 work=$4
. "$(dirname "$0")/../support/wine_script.sh"
wine_script_start "$work"
export LC_ALL=C.UTF-8
folder=$work/工厂
mkdir -p "$folder"
book=$(win "$folder/Veltrano.xls")
"$wine" "$bin/make-dictionary.exe" "$(win "$examples/source/Veltrano.csv")" "$book" > /dev/null

# dict STATUS ARGS...: stdout in out.txt without CRs, the status required.
dict() {
  want=$1
  shift
  set +e
  "$wine" "$bin/veltrano-dict.exe" "$@" > "$work/raw.txt" 2> "$work/err.txt"
  got=$?
  set -e
  tr -d '\r' < "$work/raw.txt" > "$work/out.txt"
  [ "$got" -eq "$want" ] || fail "veltrano-dict $* exited $got, not $want: $(cat "$work/err.txt")"
}

dict 1 stats "$book" --check 2 3
grep -q '^Language_3  *28  *24  *4$' "$work/out.txt" || fail "stats: $(cat "$work/out.txt")"
grep -q 'Language_3 misses 4 of 28 texts' "$work/err.txt" || fail "--check: $(cat "$work/err.txt")"

# Never over the workbook, whatever names it: other letter case, a hard link.
cp "$folder/Veltrano.xls" "$work/before.xls"
ln "$folder/Veltrano.xls" "$folder/Hard.xls"
for out in "$(win "$folder/VELTRANO.XLS")" "$(win "$folder/Hard.xls")"; do
  dict 2 export "$book" --to 3 -o "$out"
  grep -q 'itself: nothing written' "$work/err.txt" || fail "export over the workbook: $(cat "$work/err.txt")"
  cmp -s "$folder/Veltrano.xls" "$work/before.xls" || fail "export over the workbook changed it"
done
rm "$folder/Hard.xls"

# Two of the four texts Language_3 misses, from another plant's dictionary.
printf 'Language_1,Language_3\nPassword,Parola chiave\nLevel,Livello\nStart,Inizia\n' > "$work/other.csv"
"$wine" "$bin/make-dictionary.exe" "$(win "$work/other.csv")" "$(win "$folder/Other.xls")" > /dev/null
dict 0 fill "$book" --from-workbook "$(win "$folder/Other.xls")" --to 3
grep -q '^Language_3: filled 2 .*kept 1, unchanged 0, not found 2$' "$work/out.txt" ||
  fail "fill: $(cat "$work/out.txt")"

xlf=$folder/Veltrano-3.xlf
dict 0 export "$book" --to 3 -o "$(win "$xlf")"
[ "$(grep -c 'state-qualifier="exact-match">' "$xlf")" -eq 2 ] || fail "export: not 2 reused targets"
[ "$(grep -c '<trans-unit ' "$xlf")" -eq 28 ] || fail "export: not 28 units"
[ "$(grep -c 'state="needs-translation"' "$xlf")" -eq 2 ] || fail "export: not 2 empty targets"

sed 's|<target state="needs-translation"></target>|<target state="translated">Tradotto</target>|' \
  "$xlf" > "$folder/filled.xlf"
dict 0 import "$book" "$(win "$folder/filled.xlf")"
grep -q '^written 2, kept 0' "$work/out.txt" || fail "import: $(cat "$work/out.txt")"
dict 0 stats "$book" --check 2 3
grep -q '^Language_3  *28  *28  *0$' "$work/out.txt" || fail "stats after import: $(cat "$work/out.txt")"

# A changed source is refused, and nothing else changes.
sed 's|<source>Start</source>|<source>Begin</source>|; s|state="translated">Avvia<|state="translated">Inizia<|' \
  "$xlf" > "$folder/changed.xlf"
dict 1 import "$book" "$(win "$folder/changed.xlf")" --overwrite
grep -q 'expected "Begin", found "Start"' "$work/err.txt" || fail "refusal: $(cat "$work/err.txt")"
echo "veltrano-dict under Wine: stats, export, import and a refused unit as on Linux"
