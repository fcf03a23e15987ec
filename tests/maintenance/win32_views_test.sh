#!/bin/sh
# Runs a command on a virtual display in a Wine prefix of the windows' tests
# (the suite's shared prefix has no display); the prefix is copied from the
# run's template (VELTRANO_WINE_TEMPLATE) on first use, its screen at
# VELTRANO_WINE_DPI dots per inch when set (else 96).
# win32_views_test.sh WINE PREFIX COMMAND...
set -eu
wine=$1
export WINEPREFIX=$2
shift 2
wineserver="$(dirname "$wine")/wineserver"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  sh "$(dirname "$0")/../support/wine_prefix_clone.sh" "$VELTRANO_WINE_TEMPLATE" "$WINEPREFIX"
  # No window manager on the virtual display: Wine draws the title bars and
  # borders itself.
  DISPLAY= "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  DISPLAY= "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d Y /f >/dev/null
  if [ -n "${VELTRANO_WINE_DPI:-}" ]; then
    DISPLAY= "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
      /d "$VELTRANO_WINE_DPI" /f >/dev/null
  fi
  "$wineserver" -w
fi
status=0
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$@" || status=$?
"$wineserver" -k 2>/dev/null || true
exit $status
