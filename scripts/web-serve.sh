#!/usr/bin/env bash
# Serves the page that scripts/web-build.sh made, on this machine only:
#   scripts/web-serve.sh [PORT]      (default 8080), then open http://127.0.0.1:PORT/
# BRINEGATE_WEB_ROOT serves another folder (scripts/web-replay.sh uses it).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=${BRINEGATE_WEB_ROOT:-build-web}
PORT=${1:-8080}
if [ ! -f "$ROOT/index.html" ]; then
  echo "web-serve: no page in $ROOT; build it with scripts/web-build.sh" >&2
  exit 2
fi
echo "web-serve: http://127.0.0.1:$PORT/ (Ctrl+C ends)"
exec python3 -m http.server "$PORT" --bind 127.0.0.1 --directory "$ROOT"
