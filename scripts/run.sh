#!/usr/bin/env bash
# Installs what is missing, builds and runs Talvo.
# With a display (DISPLAY reachable) Talvo runs on it until quit.
# Without one it runs inside a private virtual display with a compositing
# manager, saves a screenshot a few seconds after start-up and exits; the file
# is $TALVO_SCREENSHOT (default: build/talvo-screenshot.png).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/setup.sh"
"$root/scripts/build.sh" normal
talvo="$root/build/src/talvo"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$talvo" "$@"
fi

screenshot=${TALVO_SCREENSHOT:-$root/build/talvo-screenshot.png}
source "$root/scripts/xsession.sh"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/talvo-runtime.XXXXXX)}
start_virtual_display --compositor
# A private session bus, so the single-instance service does not meet another Talvo.
dbus-run-session -- bash -c '
    "$1" & pid=$!
    sleep "${TALVO_SCREENSHOT_DELAY:-4}"
    import -window root "$2"
    kill -TERM "$pid"
    wait "$pid"
' _ "$talvo" "$screenshot"
echo "Screenshot of the virtual display: $screenshot"
