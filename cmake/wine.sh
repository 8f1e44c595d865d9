#!/bin/sh
# Runs a Windows program of the build under Wine, quietly, in a Wine prefix of the build's own.
#   wine.sh PREFIX PROGRAM [ARGUMENT...]   runs the program and exits with its status
#   wine.sh PREFIX --start                 makes the prefix when missing and keeps one Wine server alive
#   wine.sh PREFIX --stop                  stops that server
# A Wine server kept alive saves each test about 3 s of start-up.
set -eu
export WINEPREFIX="$1" WINEDEBUG=-all
shift
# No window and no offer to install Mono or Gecko, which the tests do not use.
unset DISPLAY WAYLAND_DISPLAY
export WINEDLLOVERRIDES="mscoree=;mshtml="

# Windows of the tests need no screen: the prefix uses Wine's display driver that draws nothing.
if [ ! -f "$WINEPREFIX/.null-display" ]; then
    mkdir -p "$WINEPREFIX"
    # One maker at a time; the others wait and find it made.
    flock "$WINEPREFIX" sh -c '[ -f "$WINEPREFIX/.null-display" ] || {
        { [ -f "$WINEPREFIX/system.reg" ] || wineboot --init; } &&
        wine reg add "HKCU\Software\Wine\Drivers" /v Graphics /d null /f &&
        wine reg add "HKCU\Software\Wine\WineDbg" /v ShowCrashDialog /t REG_DWORD /d 0 /f &&
        wineserver -w && touch "$WINEPREFIX/.null-display"; }' >/dev/null 2>&1
fi

case "${1:-}" in
--start)
    wineserver -k 2>/dev/null || true # a server that would end by itself soon
    wineserver -p </dev/null >/dev/null 2>&1
    # Returns once the server answers, so that the first tests do not race it.
    wine cmd /c exit >/dev/null 2>&1
    ;;
--stop)
    wineserver -k 2>/dev/null || true
    ;;
*)
    exec wine "$@"
    ;;
esac
