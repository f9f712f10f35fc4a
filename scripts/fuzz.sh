#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and UndefinedBehaviorSanitizer,
# makes their seed corpora from the generated data, a recorded game and a few known-bad
# inputs, and runs each target for SECONDS (default 30). Fails on any crash, leak or timeout.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-30}
bash scripts/install-deps.sh
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
for p in clang libclang-rt-14-dev; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends clang libclang-rt-14-dev
    break
  fi
done
BUILD=$(realpath -m "${FUZZ_BUILD_DIR:-build-fuzz}")
mkdir -p "$BUILD"
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINEGATE_FUZZ=ON \
  -DBRINEGATE_SANITIZE=ON -DBRINEGATE_TESTS=OFF -DBRINEGATE_BENCH=OFF > "$BUILD/configure.log" 2>&1 ||
  { cat "$BUILD/configure.log"; exit 1; }
cmake --build "$BUILD" -j"$(nproc)" --target fuzz_recording fuzz_targa fuzz_mp3 fuzz_command_line fuzz_settings \
  fuzz_record_seed brinegate_data

# Seeds: made afresh from this build, never committed as binaries.
SEEDS=$BUILD/fuzz-seeds
rm -rf "$SEEDS"
mkdir -p "$SEEDS"/{recording,targa,mp3,command_line,settings}
cp "$BUILD"/data/images/*.tga "$SEEDS/targa/"
find "$BUILD/data" -iname '*.mp3' -exec sh -c 'head -c 16384 "$1" > "$2/$(basename "$1")"' _ {} "$SEEDS/mp3" \;
(cd "$SEEDS/recording" && BRINEGATE_NO_SOUND=1 "$BUILD/fuzz/fuzz_record_seed" game.rec 600 > /dev/null)
python3 - "$SEEDS" <<'PY'
import struct, sys, os
seeds = sys.argv[1]
def tga(kind, w, h, bits, body, desc=0x20):
    return bytes([0, 0, kind, 0, 0, 0, 0, 0, 0, 0, 0, 0]) + struct.pack('<HH', w, h) + bytes([bits, desc]) + body
def write(folder, name, data):
    open(os.path.join(seeds, folder, name), 'wb').write(data)
write('targa', 'huge-run-length.tga', tga(11, 65535, 65535, 8, bytes([0xFF, 0x80]) * 64))
write('targa', 'too-wide.tga', tga(2, 32768, 4, 24, bytes(32768 * 4 * 3)))
write('targa', 'padded-rows.tga', tga(2, 798, 600, 24, bytes(range(256)) * (798 * 600 * 3 // 256) + bytes(798 * 600 * 3 % 256)))
write('recording', 'long-line.rec', b'brinegate-recording 1\nseed 5\n' + b'x' * 100000 + b'\nend 9\n')
write('settings', 'written.ini', b'# Brinegate settings\n[sound]\nmusic = 2\neffects = 10\n[display]\nfullscreen = false\n'
      b'[keys]\nsteer_left = A\nsteer_right = D\nrepair = R\nsea = Space\ngold = M\npause = P\n')
write('settings', 'damaged.ini', b'\xef\xbb\xbf[keys]\r\nsteer_left = D\n  steer_right = Left Bracket ; x\n[sound\nmusic = 011x\n'
      b'[odd]\nx = 1\n' + b'y' * 300 + b'\n\0\n')
write('recording', 'escapes.rec', b'brinegate-recording 1\nseed 5\n\x1b[31m\x00token 1\nend 9\n')
for i, argv in enumerate([['--frames', '18446744073709551616'], ['--seed', '4294967296'],
                          ['--seed', '7', '--record', 'a.rec', '--frames', '12', '--unpaced'],
                          ['--replay', 'b.rec', '--print-digest'], ['--help'], ['--fullscreen', '--no-sound'],
                          ['--seed', '0017', '--frames=010'], ['--config', '--seed', '5']]):
    write('command_line', 'argv%d' % i, b'\0'.join(a.encode() for a in argv))
PY

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export BRINEGATE_NO_SOUND=1
failed=()
for target in recording targa mp3 command_line settings; do
  corpus=$BUILD/fuzz-corpus/$target
  mkdir -p "$corpus" "$BUILD/fuzz-findings/$target"
  echo "== fuzz_$target for ${SECONDS_EACH}s"
  if ! "$BUILD/fuzz/fuzz_$target" -max_total_time="$SECONDS_EACH" -rss_limit_mb=2048 -timeout=10 \
       -max_len=1048576 -print_final_stats=1 -artifact_prefix="$BUILD/fuzz-findings/$target/" \
       "$corpus" "$SEEDS/$target" > "$BUILD/fuzz-$target.log" 2>&1; then
    tail -40 "$BUILD/fuzz-$target.log"
    failed+=("$target")
  fi
  grep -E "^stat::(number_of_executed_units|average_exec_per_sec)" "$BUILD/fuzz-$target.log" || true
done
if [ "${#failed[@]}" -gt 0 ]; then
  echo "fuzz: findings in: ${failed[*]} (inputs in $BUILD/fuzz-findings/)" >&2
  exit 1
fi
echo "fuzz: every target ran ${SECONDS_EACH}s without a finding"
