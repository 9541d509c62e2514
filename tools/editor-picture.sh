# Photographs an editor opened by the command-line host: runs the edit command given, reads
# where the editor sits from its "editor open: W x H at X,Y" line and takes the picture from the
# X server once the editor has painted (the empty screen is black). Sourced by the demo and
# the test that compares the two builds' editors; needs DISPLAY.
#
# editor_picture OUT.png WORK_DIR COMMAND...: 0 with the picture in OUT.png; 2 when the plug-in
# has no editor; 1 on any other failure, with the reason on standard error. The host's output
# is left in WORK_DIR/edit.out.
editor_picture() {
  local picture="$1" work="$2"
  shift 2
  local out="$work/edit.out" err="$work/edit.err" geometry="" pid waited=0
  rm -f "$picture"
  : >"$out"
  "$@" >"$out" 2>"$err" &
  pid=$!
  # Wine's programs end their lines with CR LF.
  until geometry="$(tr -d '\r' <"$out" | sed -n 's/^editor open: \([0-9]*\) x \([0-9]*\) at \(-*[0-9]*\),\(-*[0-9]*\)$/\1x\2+\3+\4/p')" &&
    [ -n "$geometry" ]; do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" || true
      grep -q "has no editor" "$err" && return 2
      echo "edit failed: $(cat "$err")" >&2
      return 1
    fi
    waited=$((waited + 1))
    if [ $waited -gt 600 ]; then echo "the editor did not open within 60 s" >&2; return 1; fi
    sleep 0.1
  done
  waited=0
  until import -window root -crop "$geometry" +repage "$picture" 2>/dev/null &&
    [ "$(convert "$picture" -format '%[fx:mean>0]' info:)" = 1 ]; do
    waited=$((waited + 1))
    if [ $waited -gt 300 ]; then echo "the editor was not painted within 60 s" >&2; return 1; fi
    sleep 0.2
  done
  if ! wait "$pid"; then echo "edit failed: $(cat "$err")" >&2; return 1; fi
}
