#!/bin/sh
# com_registration_test.sh WINE DLL SCRIPT WORK
# In the test's Wine prefix (64-bit, as a 64-bit Windows): regsvr32 of the
# DLL's own bitness registers Veltrano.dll and writes its keys in its own
# registry view (a 32-bit server's class in WOW6432Node) and its
# type library under win32 or win64; a VBScript run by cscript of the same
# bitness (a host that is not FIX.exe) creates the object by ProgID and gets
# the host check's message in the transcript, while cscript of the other
# bitness gets error 429; regsvr32 /u removes every key it wrote: afterwards
# no key of the classes root, in either view, names the ProgID, the class,
# the type library, the interface or the DLL. (The root as a whole is not
# compared: Wine registers its own script components the first time cscript
# runs.) VELTRANO_WINDOWS_BITS and VELTRANO_OTHER_WINE come from the test's
# environment.
set -eu
wine=$1 dll=$2 script=$3 work=$4
bits=${VELTRANO_WINDOWS_BITS:?} other_wine=${VELTRANO_OTHER_WINE:?}
. "$(dirname "$0")/../support/wine_script.sh"
wine_script_start "$work"
# Keys as the 64-bit view names them; the other bitness's view must stay empty.
if [ "$bits" = 32 ]; then
  view='WOW6432Node\' other_view='' other_bits=64
else
  view='' other_view='WOW6432Node\' other_bits=32
fi
classes() {  # the whole classes root of both views, as text
  "$wine" reg export HKCR "$(win "$work/$1.reg")" /y /reg:64 > /dev/null
  iconv -f UTF-16 -t UTF-8 "$work/$1.reg" | tr -d '\r' > "$work/$1.txt"
}
query() { "$wine" reg query "$@" /reg:64 2> /dev/null | tr -d '\r'; }
absent() {  # reg query fails for a missing key (its message goes to stdout)
  ! "$wine" reg query "$1" /reg:64 > /dev/null 2>&1 || fail "$2: $(query "$1")"
}

clsid='{7C3E9A41-2B5D-4E8F-9A16-0D4B8C2F5E73}'
libid='{E0B1C286-71C6-4EF0-9543-D2FF05EA585F}'
iid='{4EBE1143-1005-4961-B42D-4E3211D98919}'
windows_dll=$(win "$dll")

ours() {  # the lines of an export that name anything of ours
  grep -i -e 'Veltrano\.VeltranoModule' -e "$clsid" -e "$libid" -e "$iid" -e 'Veltrano\.dll' \
    "$work/$1.txt" || true
}

classes before
[ -z "$(ours before)" ] || fail "registered before regsvr32 ran: $(ours before)"
"$wine" regsvr32 /s "$windows_dll" || fail "regsvr32 $windows_dll"

classes registered
# The export shows our keys, so an empty search afterwards means they are gone.
[ "$(ours registered | grep -c '^\[')" -ge 8 ] || fail "our keys are not in the export"
query 'HKCR\Veltrano.VeltranoModule\CLSID' | grep -qF "$clsid" || fail "ProgID without its CLSID"
server=$(query "HKCR\\${view}CLSID\\$clsid\\InprocServer32")
printf '%s\n' "$server" | grep -qiF "$windows_dll" || fail "InprocServer32 does not name the DLL: $server"
printf '%s\n' "$server" | grep -q 'ThreadingModel *REG_SZ *Apartment' || fail "ThreadingModel is not Apartment"
query "HKCR\\${view}CLSID\\$clsid\\ProgID" | grep -qF 'Veltrano.VeltranoModule' || fail "CLSID without ProgID"
query "HKCR\\${view}CLSID\\$clsid\\TypeLib" | grep -qF "$libid" || fail "CLSID without TypeLib"
absent "HKCR\\${other_view}CLSID\\$clsid" "the class is in the view of the other bitness"
query "HKCR\\TypeLib\\$libid\\1.0\\0\\win$bits" | grep -qiF "$windows_dll" || fail "type library not registered under win$bits"
absent "HKCR\\TypeLib\\$libid\\1.0\\0\\win$other_bits" "the type library is registered under win$other_bits"
# (The interface is registered in the view of the server's bitness, as the
# installer package writes it.)
query "HKCR\\${view}Interface\\$iid" | grep -qF '_VeltranoModule' || fail "dual interface not registered"

VELTRANO_BATCH=1 VELTRANO_TRANSCRIPT=$(win "$work/transcript.jsonl") \
  "$wine" cscript //nologo "$(win "$script")" > "$work/out.txt" 2> "$work/err.txt" ||
  fail "cscript: $(cat "$work/err.txt")"
tr -d '\r' < "$work/out.txt" > "$work/got.txt"
cat > "$work/expected.txt" << 'END'
GlobalLangNum=0
GlobalLangNum=3
GetObjectsPrefix=True
TranslateString=[  Start  ]
TranslatePicture=MAIN.GRF
Error=13 Type mismatch
Error=438
released
END
diff -u "$work/expected.txt" "$work/got.txt" || fail "the script's calls (- expected, + got)"
cat > "$work/box.json" << 'END'
{"title": " Veltrano - WARNING", "style": 16, "text": "Veltrano can be referenced only by iFix !\r\nNo translation will be executed...", "answer": "ok"}
END
# One box, the host check's, exactly as built.
[ "$(wc -l < "$work/transcript.jsonl")" -eq 1 ] || fail "not one box: $(cat "$work/transcript.jsonl")"
diff "$work/box.json" "$work/transcript.jsonl" || fail "the host check's box differs"

# An in-process server loads only into a process of its own bitness.
printf 'On Error Resume Next\nCreateObject "Veltrano.VeltranoModule"\nWScript.Echo Err.Number\n' \
  > "$work/create.vbs"
"$other_wine" cscript //nologo "$(win "$work/create.vbs")" > "$work/out.txt" 2> "$work/err.txt" ||
  fail "cscript of the other bitness: $(cat "$work/err.txt")"
[ "$(tr -d '\r' < "$work/out.txt")" = 429 ] ||
  fail "cscript of the other bitness did not get error 429: $(cat "$work/out.txt")"

"$wine" regsvr32 /s /u "$windows_dll" || fail "regsvr32 /u $windows_dll"
classes after
[ -z "$(ours after)" ] || fail "regsvr32 /u left keys behind: $(ours after)"
echo "registered in the $bits-bit view, created from VBScript outside the host, error 429 for" \
  "$other_bits-bit cscript, unregistered without a trace"
