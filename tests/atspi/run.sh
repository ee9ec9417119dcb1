#!/usr/bin/env bash
# Runs the editor on the sample quiz with the desktop's accessibility bus and
# reads it as a screen reader does (read_editor.py). Start it inside a private
# X server and D-Bus session:
#   xvfb-run -a dbus-run-session -- tests/atspi/run.sh BUILD_DIR
# Needs at-spi2-core, python3-pyatspi and xdotool (scripts/setup-deps.sh).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"

work="$(mktemp -d)"
cleanup() {
  [ -n "${editor:-}" ] && kill "$editor" 2>/dev/null || true
  [ -n "${bus:-}" ] && kill "$bus" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The accessibility bus of this session, with its registry.
/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
sleep 1

# A portable copy of the editor: its settings and Prefs beside it, the
# document type already registered, nothing written outside $work.
mkdir -p "$work/bin/Prefs" "$work/data" "$work/config"
cp "$build/app/tavimor" "$work/bin/"
# The page preview's plugin, found beside the editor as in the build tree.
[ -f "$build/app/tavimor-preview.so" ] && cp "$build/app/tavimor-preview.so" "$work/bin/"
printf '[GENERAL]\r\n[PREFS]\r\nregisterFType=1\r\n' >"$work/bin/tavimor.ini"
cp "$root/examples/decouverte.kwz" "$work/"

# The web engine builds the accessibility tree of its pages only when asked
# to; a screen reader on a desktop asks, this private bus does not.
export QTWEBENGINE_CHROMIUM_FLAGS="--force-renderer-accessibility"
HOME="$work" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
  "$work/bin/tavimor" "$work/decouverte.kwz" >"$work/editor.log" 2>&1 &
editor=$!
export EDITOR_PID=$editor

status=0
timeout 300 /usr/bin/python3 "${ATSPI_SCRIPT:-$here/read_editor.py}" || status=$?
if [ "$status" -ne 0 ]; then
  echo "--- editor output"
  cat "$work/editor.log"
fi
exit "$status"
