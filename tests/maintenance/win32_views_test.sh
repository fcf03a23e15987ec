#!/bin/sh
# Runs the Win32 views' tests under Wine on a virtual display, in a Wine
# prefix of their own (the suite's shared prefix has no display).
# win32_views_test.sh WINE TEST_EXE PREFIX
set -eu
wine=$1
test_exe=$2
export WINEPREFIX=$3
wineserver="$(dirname "$wine")/wineserver"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  rm -rf "$WINEPREFIX"
  DISPLAY= "$wine" wineboot -i
  # No window manager on the virtual display: Wine draws the title bars and
  # borders itself.
  DISPLAY= "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  DISPLAY= "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d Y /f >/dev/null
  "$wineserver" -w
fi
status=0
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$wine" "$test_exe" --gtest_brief=1 || status=$?
"$wineserver" -k 2>/dev/null || true
exit $status
