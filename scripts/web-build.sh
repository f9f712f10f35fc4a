#!/usr/bin/env bash
# Builds the game as a WebAssembly page into build-web/ (index.html, brinegate.js,
# brinegate.wasm, brinegate.data). Installs what is missing with apt-get, and builds
# SDL2, SDL2_image and mpg123 for the browser from Debian's sources once per machine,
# into a cache outside the source tree ($BRINEGATE_WEB_CACHE, by default
# ~/.cache/brinegate-web); later runs skip whatever the cache already holds.
#
#   scripts/web-build.sh           the libraries (if missing) and the page
#   scripts/web-build.sh --deps    the libraries only
# BRINEGATE_WEB_HOST names a desktop build (configured with its tests) to take the
# generated data from, instead of build-web/host.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
CACHE=${BRINEGATE_WEB_CACHE:-$HOME/.cache/brinegate-web}
OUT=${BRINEGATE_WEB_OUT:-$ROOT/build-web}
JOBS=${BRINEGATE_WEB_JOBS:-2}
PREFIX=$CACHE/prefix
SRC=$CACHE/src

# Debian's emscripten needs Debian's acorn, which the node it runs does not see.
export NODE_PATH=/usr/share/nodejs

need=(emscripten autotools-dev dpkg-dev python3)
command -v node > /dev/null || need+=(nodejs)
bash "$ROOT/scripts/install-deps.sh" "${need[@]}"

mkdir -p "$PREFIX/lib" "$PREFIX/include" "$SRC"

# The Debian source of a package, unpacked from its upstream tarball (the packaging's
# own signature check fails for some of them, and their patches are not needed here).
fetch_source() {  # package  unpacked-folder-glob
  local pkg=$1
  if ! compgen -G "$SRC/$pkg"_*.orig.tar.* > /dev/null; then
    if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
      $SUDO tee /etc/apt/sources.list.d/brinegate-web-src.sources > /dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
      $SUDO apt-get update -q >&2
    fi
    (cd "$SRC" && apt-get source --download-only -q "$pkg") >&2
  fi
  local tarball
  tarball=$(compgen -G "$SRC/$pkg"_*.orig.tar.* | head -1)
  local dir="$SRC/$pkg-src"
  if [ ! -d "$dir" ]; then
    mkdir -p "$dir.tmp"
    tar -xf "$tarball" -C "$dir.tmp" --strip-components=1
    mv "$dir.tmp" "$dir"
  fi
  echo "$dir"
}

# SDL2 2.26.5, from a fixed list of its sources with its own configuration for the
# browser (include/SDL_config_emscripten.h, which include/SDL_config.h picks), as
# emscripten's own port builds it: SDL's CMake configure step alone takes minutes of
# CPU, each of its checks a run of emcc. Sources for what that configuration leaves out
# compile to nothing.
if [ ! -f "$PREFIX/lib/libSDL2.a" ]; then
  dir=$(fetch_source libsdl2)
  obj="$CACHE/sdl2-build"
  rm -rf "$obj"
  mkdir -p "$obj"
  (
    cd "$dir/src"
    ls ./*.c {atomic,audio,cpuinfo,dynapi,events,file,haptic,joystick,libm,locale,misc,power,render,sensor,stdlib,thread,timer,video}/*.c \
      render/*/*.c hidapi/SDL_hidapi.c audio/{disk,dummy,emscripten}/*.c filesystem/emscripten/*.c \
      haptic/dummy/*.c joystick/emscripten/*.c loadso/dlopen/*.c locale/emscripten/*.c misc/emscripten/*.c \
      power/emscripten/*.c sensor/dummy/*.c thread/generic/*.c timer/unix/*.c video/emscripten/*.c \
      video/yuv2rgb/*.c
  ) > "$obj/sources.txt"
  # One object per source, named after its path, compiled $JOBS at a time.
  (cd "$dir/src" && xargs -P "$JOBS" -I{} sh -c 'emcc -O2 -DNDEBUG -fno-strict-aliasing -fvisibility=hidden \
      -I../include -idirafter video/khronos -c "$1" -o "$2/$(echo "$1" | sed "s|^\./||; s|/|_|g").o"' sh {} "$obj") \
    < "$obj/sources.txt"
  emar rcs "$obj/libSDL2.a" "$obj"/*.o
  mkdir -p "$PREFIX/include/SDL2"
  cp "$dir"/include/*.h "$PREFIX/include/SDL2/"
  cp "$obj/libSDL2.a" "$PREFIX/lib/"
fi

# SDL2_image: only the Targa and PNG loaders, through its own stb_image.
if [ ! -f "$PREFIX/lib/libSDL2_image.a" ]; then
  dir=$(fetch_source libsdl2-image)
  obj="$CACHE/sdl2-image-build"
  rm -rf "$obj"
  mkdir -p "$obj"
  for f in "$dir"/IMG*.c; do
    case "$(basename "$f")" in IMG_WIC.c) continue ;; esac
    emcc -O2 -c "$f" -o "$obj/$(basename "$f" .c).o" -I"$PREFIX/include/SDL2" -I"$dir" -I"$dir/include" \
      -DLOAD_TGA -DLOAD_PNG -DUSE_STBIMAGE
  done
  emar rcs "$obj/libSDL2_image.a" "$obj"/*.o
  header=$(compgen -G "$dir/SDL_image.h" || compgen -G "$dir/include/SDL_image.h")
  cp "$header" "$PREFIX/include/SDL2/"
  cp "$obj/libSDL2_image.a" "$PREFIX/lib/"
fi

# mpg123: the decoder library alone, in portable C with floating-point output. Its own
# default flags include -ffast-math, which nothing here is built with.
if [ ! -f "$PREFIX/lib/libmpg123.a" ]; then
  dir=$(fetch_source mpg123)
  cp /usr/share/misc/config.sub /usr/share/misc/config.guess "$dir/build/"
  (cd "$dir" &&
    CFLAGS="-O2" emconfigure ./configure --host=wasm32-unknown-emscripten --prefix="$PREFIX" \
      --disable-shared --enable-static --with-cpu=generic_fpu --with-optimization=0 --disable-components \
      --enable-libmpg123 --disable-modules --with-audio=dummy --disable-network &&
    emmake make -j"$JOBS" &&
    emmake make install)
fi

# CLI11 is headers only, and so is inih's interface (its parser for the page is
# platform/WebIni.cpp: Debian's source of inih cannot be fetched): the desktop's own
# headers, alone on the include path.
for p in libcli11-dev libinih-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    $SUDO apt-get install -y -q --no-install-recommends "$p"
done
[ -e "$PREFIX/include/CLI" ] || ln -s /usr/include/CLI "$PREFIX/include/CLI"
[ -e "$PREFIX/include/ini.h" ] || ln -s /usr/include/ini.h "$PREFIX/include/ini.h"

[ "${1:-}" = "--deps" ] && exit 0

# The art and sound are generated by the desktop build's own tools (its tests'
# folder is configured too, for the desktop's side of scripts/web-test.sh). A desktop
# build already configured with its tests (BRINEGATE_WEB_HOST, as CI passes the one
# scripts/test.sh made) is used as it is.
./scripts/install-deps.sh
HOST=${BRINEGATE_WEB_HOST:-$OUT/host}
if [ -z "${BRINEGATE_WEB_HOST:-}" ]; then
  cmake -S . -B "$HOST" -DCMAKE_BUILD_TYPE=Release -DBRINEGATE_TESTS=ON -DBRINEGATE_BENCH=OFF \
    ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} \
    ${CMAKE_C_COMPILER_LAUNCHER:+-DCMAKE_C_COMPILER_LAUNCHER=$CMAKE_C_COMPILER_LAUNCHER} > /dev/null
fi
HOST=$(realpath "$HOST")
cmake --build "$HOST" -j"$JOBS" --target brinegate_data

emcmake cmake -S web -B "$OUT/wasm" -DCMAKE_BUILD_TYPE=Release \
  -DBRINEGATE_SOURCE="$ROOT" -DBRINEGATE_WEB_PREFIX="$PREFIX" -DBRINEGATE_DATA="$HOST/data" \
  -DBRINEGATE_WEB_OUT="$OUT" \
  ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} \
  ${CMAKE_C_COMPILER_LAUNCHER:+-DCMAKE_C_COMPILER_LAUNCHER=$CMAKE_C_COMPILER_LAUNCHER} > /dev/null
cmake --build "$OUT/wasm" -j"$JOBS"
echo "web-build: the page is in $OUT (serve it with scripts/web-serve.sh)"
