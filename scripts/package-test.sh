#!/usr/bin/env bash
# Builds the Debian packages (brinegate and its architecture-independent art and sound,
# brinegate-data) from a clean copy of the tree, checks them with lintian and
# appstreamcli, installs them, plays a few frames of the installed game under a virtual
# X server from an empty folder, and removes them again. Uses apt-get: run as root, or
# with sudo available.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

VERSION=$(sed -n '1s/^brinegate (\([^)]*\)).*/\1/p' debian/changelog)
METAINFO=io.github.brinegate.Brinegate.metainfo.xml
fail() { echo "package-test: FAILED: $*" >&2; exit 1; }
[ -n "$VERSION" ] || fail "no version in debian/changelog"

$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends \
  dpkg-dev debhelper lintian appstream xvfb xauth libgl1-mesa-dri git
# The build dependencies, read from debian/control itself.
$SUDO apt-get build-dep -y -q --no-install-recommends "$ROOT"

WORK=$(mktemp -d /tmp/brinegate-package.XXXXXX)
installed=""
cleanup() {
  if [ -n "$installed" ]; then $SUDO apt-get purge -y -q brinegate brinegate-data > /dev/null || true; fi
  rm -rf "$WORK"
}
trap cleanup EXIT
# apt reads the .deb as its own unprivileged user.
chmod 755 "$WORK"

# The tracked files as they are in the work tree, plus new ones not ignored, so that
# nothing built or generated in the checkout leaks into the package.
SRC=$WORK/brinegate-$VERSION
mkdir -p "$SRC"
git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
  tar --null -T - -cf - | tar -xf - -C "$SRC"

echo "== building brinegate $VERSION"
(cd "$SRC" && nice dpkg-buildpackage -us -uc -b -j"${JOBS:-$(nproc)}")
ARCH=$(dpkg --print-architecture)
DEB=$WORK/brinegate_${VERSION}_${ARCH}.deb
DATA=$WORK/brinegate-data_${VERSION}_all.deb
for deb in "$DEB" "$DATA"; do [ -f "$deb" ] || fail "$deb was not built"; done

# The program needs its data at its own version; the data is the same on every
# architecture and is all the package's /usr/share/games holds.
[ "$(dpkg-deb -f "$DATA" Architecture)" = all ] || fail "brinegate-data is not Architecture: all"
case "$(dpkg-deb -f "$DEB" Depends)" in
  *"brinegate-data (= $VERSION)"*) ;;
  *) fail "brinegate does not depend on brinegate-data (= $VERSION)" ;;
esac
program_files=$(dpkg-deb -c "$DEB")
data_files=$(dpkg-deb -c "$DATA")
! grep -q "/usr/share/games/" <<< "$program_files" || fail "brinegate holds files of brinegate-data"
grep -q "/usr/share/games/brinegate/images/.*\.tga" <<< "$data_files" || fail "brinegate-data holds no images"
grep -q "/usr/games/brinegate" <<< "$program_files" || fail "brinegate holds no program"

# Not a remark of any kind, errors, warnings and information alike.
echo "== lintian"
remarks=$(lintian --display-info "$WORK/brinegate_${VERSION}_${ARCH}.changes") ||
  fail "lintian reports errors"
[ -z "$remarks" ] || { printf '%s\n' "$remarks" >&2; fail "lintian has remarks"; }

# What the package installs, not only the source file: warnings fail as errors do.
echo "== appstreamcli"
dpkg-deb -x "$DEB" "$WORK/root"
appstreamcli validate --no-net "$WORK/root/usr/share/metainfo/$METAINFO" ||
  fail "appstreamcli validate reports errors or warnings"

echo "== installing"
installed=yes
$SUDO apt-get install -y -q --no-install-recommends "$DEB" "$DATA"
for path in /usr/games/brinegate /usr/share/applications/brinegate.desktop \
            "/usr/share/metainfo/$METAINFO" /usr/share/man/man6/brinegate.6.gz \
            /usr/share/icons/hicolor/48x48/apps/brinegate.png; do
  [ -f "$path" ] || fail "$path is not installed"
done
[ -n "$(find /usr/share/games/brinegate -type f -name '*.tga' -print -quit)" ] ||
  fail "no images in /usr/share/games/brinegate"
# The package's version is the program's own.
[ "$(/usr/games/brinegate --version)" = "Brinegate $VERSION" ] ||
  fail "the program says \"$(/usr/games/brinegate --version)\", the package is $VERSION"

echo "== running the installed game"
RUN=$WORK/run
mkdir "$RUN"
status=0
(cd "$RUN" && BRINEGATE_NO_SOUND=1 LIBGL_ALWAYS_SOFTWARE=1 \
  xvfb-run -a -s "-screen 0 1024x768x24" /usr/games/brinegate --frames 30 --no-sound \
  2> "$WORK/stderr.txt") || status=$?
cat "$WORK/stderr.txt" >&2
[ "$status" -eq 0 ] || fail "brinegate --frames 30 ended with status $status"
! grep -q "cannot load image" "$WORK/stderr.txt" || fail "the installed game misses images"
grep -q "Finished updating" "$RUN/GOManLog.txt" || fail "the game ran no frame"

echo "== removing"
$SUDO apt-get purge -y -q brinegate brinegate-data
installed=""
[ ! -e /usr/games/brinegate ] && [ ! -e /usr/share/games/brinegate ] ||
  fail "files are left after purging the package"
echo "package-test: passed (brinegate_${VERSION}_${ARCH}.deb and brinegate-data_${VERSION}_all.deb built, checked, installed, run, removed)"
