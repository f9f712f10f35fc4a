#!/usr/bin/env bash
# Makes the README's pictures again (doc/screenshots/*.png, 800 x 600) from a kept
# recording: play with the heads-up, an open shop, the ghost sea. Run it when the art
# or the heads-up changes. Fails when a picture cannot be made or is over 300 KB.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
if ! command -v pngquant >/dev/null; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get install -y -q --no-install-recommends pngquant
fi
BUILD=${BUILD_DIR:-build-shots}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DBRINEGATE_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)" --target make_screenshots brinegate_data
out=doc/screenshots
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The trace log goes to the scratch folder, not the checkout.
(cd "$work" && BRINEGATE_NO_SOUND=1 LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1024x768x24" \
  "$OLDPWD/$BUILD/tests/replay/make_screenshots" "$OLDPWD/tests/replay/golden/shop.rec" "$work")
for shot in play shop ghost-sea; do
  pngquant --force --quality 70-95 --speed 1 --output "$out/$shot.png" "$work/$shot.png"
  size=$(stat -c %s "$out/$shot.png")
  if [ "$size" -gt 307200 ]; then
    echo "screenshots: $out/$shot.png is $size bytes, over 300 KB" >&2
    exit 1
  fi
  echo "$out/$shot.png: $size bytes"
done
