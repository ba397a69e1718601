#!/bin/sh
# wine-prefix.sh start|stop PREFIX
# start: create the prefix if needed, choose what the relay trace shows, and leave a
#        persistent wineserver running. Every descriptor of Wine's background processes
#        points at /dev/null: they outlive this script, and a test runner that captures
#        output would otherwise wait for them forever.
# stop:  end every process of the prefix.
set -eu
action=$1
export WINEPREFIX=$2
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='
unset DISPLAY
# The functions whose calls the relay trace shows: the message boxes, and the directory
# calls through which the end-to-end tests see where a run works.
relay_functions='user32.MessageBoxA;kernel32.CreateDirectoryA;kernelbase.CreateDirectoryA;kernel32.SetCurrentDirectoryA;kernelbase.SetCurrentDirectoryA'
case $action in
  start)
    mkdir -p "$WINEPREFIX"
    /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || true
    /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ \
      /d "$relay_functions" /f </dev/null >/dev/null 2>&1
    echo "wine prefix ready: $WINEPREFIX"
    ;;
  stop)
    /usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1 || true
    ;;
  *)
    echo "usage: $0 start|stop PREFIX" >&2
    exit 2
    ;;
esac
