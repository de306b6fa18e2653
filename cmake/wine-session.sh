#!/bin/sh
# Starts or ends the Wine session the Windows tests run in. A session's server is kept
# running between the tests (starting one costs seconds; a program in a running session
# starts in a fraction of one). WINEPREFIX names the prefix; it is created when missing.
# The server and the session's services outlive this script: they get no standard streams,
# so whoever waits for this script's output is not kept waiting for them.
set -eu
case "${1:-}" in
start)
    wineserver -k 2>/dev/null || true
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot </dev/null >/dev/null 2>&1
    # The programs are meant for Windows 10 and 11: the session plays Windows 10.
    wine reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d win10 /f </dev/null >/dev/null 2>&1
    ;;
stop)
    wineserver -k 2>/dev/null || true
    ;;
*)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
