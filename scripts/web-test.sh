#!/usr/bin/env bash
# The page's tests, in Debian's headless Chromium driven by puppeteer-core (pinned in
# web/package.json and its lock file): the menu without console errors, a frame against
# the desktop's same frame, playing with the mouse and keys, the settings and records
# kept over a reload, and a desktop recording replayed to the desktop's digest.
#   scripts/web-test.sh               build what is missing, then test
#   scripts/web-test.sh --tools-only  only install Chromium and the driver
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

need=(chromium xvfb xauth)
# Node and npm may come from elsewhere than Debian; Debian's are taken only when missing.
command -v node > /dev/null || need+=(nodejs)
command -v npm > /dev/null || need+=(npm)
bash "$ROOT/scripts/install-deps.sh" "${need[@]}"
# puppeteer-core drives the installed Chromium and never downloads a browser.
# The lock file it was installed from is kept beside it, so a changed lock installs again.
if [ ! -f web/node_modules/puppeteer-core/package.json ] ||
   ! cmp -s web/package-lock.json web/node_modules/.installed-from-lock.json 2>/dev/null; then
  (cd web && npm ci --no-audit --no-fund --loglevel=error && cp package-lock.json node_modules/.installed-from-lock.json)
fi
[ "${1:-}" = "--tools-only" ] && exit 0

./scripts/web-build.sh
# The desktop build the page's data came from (BRINEGATE_WEB_HOST, else build-web/host)
# draws the desktop's side of the picture; sanitized, as in CI, with the suite's settings.
HOST=$(realpath "${BRINEGATE_WEB_HOST:-${BRINEGATE_WEB_OUT:-build-web}/host}")
cmake --build "$HOST" -j2 --target web_frame_shot
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$ROOT/tests/lsan.supp:print_suppressions=0}

# The recording: a desktop game of a few thousand frames with play, purchases and
# sinkings, one of those the desktop's own tests keep.
RECORDING=${BRINEGATE_WEB_RECORDING:-tests/replay/golden/shop.rec}
NAME=$(basename "$RECORDING")
SHOT_FRAME=${BRINEGATE_WEB_SHOT_FRAME:-600}
WORK=$(mktemp -d)
PID=""
trap '[ -n "$PID" ] && kill "$PID" 2>/dev/null; rm -rf "$WORK"' EXIT

export BRINEGATE_NO_SOUND=1 LIBGL_ALWAYS_SOFTWARE=1
# The digest the desktop recorded (the desktop's own tests replay the kept recordings to it).
DIGEST=$(grep '^digest ' "$RECORDING" | tail -1)
(cd "$WORK" && xvfb-run -a -s "-screen 0 1024x768x24" "$HOST/tests/web/web_frame_shot" \
  "$SHOT_FRAME" "$WORK/desktop.png" --replay "$ROOT/$RECORDING" --unpaced --config "$WORK/settings.ini")
[ -n "${BRINEGATE_DESKTOP_SHOT:-}" ] && cp "$WORK/desktop.png" "$BRINEGATE_DESKTOP_SHOT"

PORT=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$PORT" --bind 127.0.0.1 --directory "${BRINEGATE_WEB_OUT:-build-web}" > /dev/null 2>&1 &
PID=$!
python3 scripts/web-wait.py "http://127.0.0.1:$PORT/index.html"
node web/test.js test "http://127.0.0.1:$PORT/" "$WORK/desktop.png" "$SHOT_FRAME" "$NAME" "$DIGEST"
