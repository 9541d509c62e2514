# A virtual X display and a running Wine server for the Windows build's programs; sourced by
# the test and demo scripts after wine-env.sh.
start_display() {
  if [ -z "${DISPLAY:-}" ]; then
    local number
    for number in $(seq 100 140); do
      [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] || break
    done
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    FERROWIN_XVFB_PID=$!
    export DISPLAY=":$number"
    local waited=0
    until [ -e "/tmp/.X11-unix/X$number" ]; do
      sleep 0.1
      waited=$((waited + 1))
      if [ $waited -gt 100 ]; then echo "Xvfb did not start" >&2; return 1; fi
    done
  fi
  # Starting Wine once first keeps its helper processes from holding a test's output open.
  # A persistent server for this prefix; it refuses (and keeps the running one) when this
  # prefix already has one, which then belongs to someone else.
  if wineserver -p 2>/dev/null; then FERROWIN_OWN_WINESERVER=1; fi
  wine wineboot >"$WINEPREFIX/../ferrowin-wineboot.log" 2>&1 || true
}

stop_display() {
  if [ -n "${FERROWIN_OWN_WINESERVER:-}" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "${FERROWIN_XVFB_PID:-}" ]; then kill "$FERROWIN_XVFB_PID" 2>/dev/null || true; fi
}
