#!/usr/bin/env bash
# Replays a recording in the page, in headless Chromium, and prints the digest line as
# `brinegate --replay FILE --print-digest` does. The exit status is the page's, as the
# desktop's replay has it: 0 when the replay ends in the recorded state, 1 when it does
# not, 2 when the file cannot be used.
#   scripts/web-replay.sh FILE        (the page from scripts/web-build.sh, in
#                                     $BRINEGATE_WEB_OUT or build-web/)
set -euo pipefail
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: scripts/web-replay.sh RECORDING" >&2
  exit 2
fi
FILE=$(realpath "$1")
cd "$(dirname "$0")/.."
ROOT=$PWD
OUT=$(realpath -m "${BRINEGATE_WEB_OUT:-build-web}")
[ -f "$OUT/index.html" ] || ./scripts/web-build.sh >&2
./scripts/web-test.sh --tools-only > /dev/null

SERVE=$(mktemp -d)
PID=""
trap '[ -n "$PID" ] && kill "$PID" 2>/dev/null; rm -rf "$SERVE"' EXIT
for f in index.html brinegate.js brinegate.wasm brinegate.data; do ln -s "$OUT/$f" "$SERVE/$f"; done
mkdir "$SERVE/extra"
NAME=recording.txt
cp "$FILE" "$SERVE/extra/$NAME"
PORT=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$PORT" --bind 127.0.0.1 --directory "$SERVE" > /dev/null 2>&1 &
PID=$!
python3 scripts/web-wait.py "http://127.0.0.1:$PORT/index.html"
set +e
node web/test.js replay "http://127.0.0.1:$PORT/" "$NAME"
exit $?
