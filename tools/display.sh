# A virtual X display and a running Wine server for the Windows build's programs; sourced by
# the test and demo scripts after wine-env.sh.
start_display() {
  if [ -z "${DISPLAY:-}" ]; then
    # Xvfb picks a free display itself and names it once it accepts clients, so two scripts
    # starting at once never share one.
    local ready
    ready="$(mktemp)"
    # -noreset: a server that resets when its last client leaves refuses connections meanwhile.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$ready" >/dev/null 2>&1 &
    FERROWIN_XVFB_PID=$!
    local waited=0
    until [ -s "$ready" ] && grep -q '^[0-9]' "$ready"; do
      sleep 0.1
      waited=$((waited + 1))
      if [ $waited -gt 100 ] || ! kill -0 "$FERROWIN_XVFB_PID" 2>/dev/null; then
        echo "Xvfb did not start" >&2
        rm -f "$ready"
        return 1
      fi
    done
    export DISPLAY=":$(head -1 "$ready")"
    rm -f "$ready"
  fi
  # Starting Wine once first keeps its helper processes from holding a test's output open.
  # A persistent server for this prefix; it refuses (and keeps the running one) when this
  # prefix already has one, which then belongs to someone else.
  if wineserver -p 2>/dev/null; then FERROWIN_OWN_WINESERVER=1; fi
  wine wineboot >"$WINEPREFIX/../ferrowin-wineboot.log" 2>&1 || true
  start_desktop_keeper
}

# The prefix's desktop, started now on this display and held until stop_display, so that no
# test program starts it, binds it to another display or meets it closing (see
# tests/support/DesktopKeeper.cpp). Needs the win64 build; without it the first window starts
# the desktop as before.
start_desktop_keeper() {
  local keeper
  keeper="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/win64/ferrowin-desktop-keeper.exe"
  [ -f "$keeper" ] || return 0
  local said
  said="$(mktemp)"
  wine "$keeper" >"$said" 2>&1 &
  FERROWIN_KEEPER_PID=$!
  local waited=0
  until grep -q '^ready' "$said"; do
    sleep 0.1
    waited=$((waited + 1))
    if [ $waited -gt 300 ] || ! kill -0 "$FERROWIN_KEEPER_PID" 2>/dev/null; then
      echo "the Wine desktop did not start: $(cat "$said")" >&2
      rm -f "$said"
      return 1
    fi
  done
  rm -f "$said"
}

stop_display() {
  if [ -n "${FERROWIN_KEEPER_PID:-}" ]; then kill "$FERROWIN_KEEPER_PID" 2>/dev/null || true; fi
  if [ -n "${FERROWIN_OWN_WINESERVER:-}" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "${FERROWIN_XVFB_PID:-}" ]; then kill "$FERROWIN_XVFB_PID" 2>/dev/null || true; fi
}
