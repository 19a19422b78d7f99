#!/usr/bin/env bash
# Runs a Windows program under Wine with the screen set to DPI pixels per inch, then sets the
# Wine prefix back to its default (96). The program learns the DPI from VANMOOR_TEST_DPI. Run it
# on the display the program uses (inside xvfb-run), so that Wine's desktop starts there.
#   at-dpi.sh DPI COMMAND [ARG...]
set -euo pipefail
dpi=$1
shift
key='HKCU\Control Panel\Desktop'
wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
trap 'wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1 || true' EXIT
VANMOOR_TEST_DPI=$dpi "$@"
