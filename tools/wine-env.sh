# Environment for running the Windows build under Wine; sourced by the set-up and test scripts.
export WINEPREFIX="${FERROWIN_WINEPREFIX:-${XDG_CACHE_HOME:-${HOME:-/root}/.cache}/ferrowin/wine64}"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
