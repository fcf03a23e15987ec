#!/bin/sh
# install_tree_test.sh BUILD WORK
# cmake --install of the Linux build into a fresh prefix: the files a user
# gets, nothing of the build-time tools; the programs and the server find their
# libraries inside the prefix; the guides beside the server are the documents';
# the installed Rostavel deploys the templates beside it.
set -eu
build=$1 work=$2
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > /dev/null || fail "cmake --install"
cd "$prefix"
for file in bin/FIX.exe bin/Rostavel bin/Kelmora/Veltrano.xls bin/Kelmora/Veltrano_Alm.xls \
  bin/Kelmora/Veltrano.ini bin/Kelmora/modInterpreter.bas lib/libveltrano.so \
  share/doc/veltrano/Veltrano.UserGuide-EN.pdf share/doc/veltrano/Veltrano.GuidaUtente-IT.pdf \
  share/doc/veltrano/EULA-EN.txt lib/Veltrano.UserGuide-EN.pdf lib/Veltrano.GuidaUtente-IT.pdf \
  lib/EULA-EN.txt; do
  [ -f "$file" ] || fail "not installed: $file"
done
for tool in make-dictionary markdown-pdf make_case_tables print-registration; do
  [ -z "$(find . -name "$tool")" ] || fail "the build-time tool $tool was installed"
done
for file in bin/FIX.exe bin/Rostavel lib/libveltrano.so; do
  ldd "$file" | grep -q 'not found' && fail "$file misses a library: $(ldd "$file")"
  ldd "$file" | grep 'libvt' | grep -qv "$prefix/" && fail "$file takes a library from outside: $(ldd "$file")"
done
cmp -s lib/EULA-EN.txt share/doc/veltrano/EULA-EN.txt || fail "the agreement beside the server differs"
mkdir "$work/app"
QT_QPA_PLATFORM=offscreen bin/Rostavel --batch --folder "$work/app" > /dev/null 2>&1 ||
  fail "the installed Rostavel --batch exited with $?"
for file in Veltrano.xls Veltrano_Alm.xls Veltrano.ini modInterpreter.bas; do
  cmp -s "bin/Kelmora/$file" "$work/app/Veltrano/$file" || fail "Rostavel did not deploy $file"
done
echo "installed into $prefix; Rostavel deploys from there"
