#!/usr/bin/env bash
# Cross-builds the libraries the Windows pad control links (libsodium and
# libpng) from Debian's own source packages, with the mingw-w64 compilers,
# as static libraries for i686 and x86_64. zlib comes from Debian's
# libz-mingw-w64-dev. Each build is kept in a cache folder, keyed by the
# source package's version, and is reused until that version changes.
#   scripts/mingw-deps.sh            build what is missing, print the cache folder
#   scripts/mingw-deps.sh --print    print the cache folder only
# The cache folder is $ZERA_MINGW_DEPS, or ~/.cache/zera-virorar/mingw-deps.
set -euo pipefail

cache="${ZERA_MINGW_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/zera-virorar/mingw-deps}"
if [ "${1:-}" = "--print" ]; then echo "$cache"; exit 0; fi

packages=(libsodium libpng1.6)
arches=(i686 x86_64)
jobs=$(nproc 2>/dev/null || echo 2)

# The version of a source package that apt would fetch now.
source_version() {
  apt-cache showsrc "$1" 2>/dev/null | awk '/^Version:/ && !found { found = $2 } END { print found }'
}

configure_flags() {
  case $1 in
    libsodium) echo "--disable-shared --enable-static --disable-ssp --disable-pie --with-pic=no" ;;
    libpng1.6) echo "--disable-shared --enable-static --disable-tools --disable-tests" ;;
  esac
}

build_one() {
  local package=$1 version=$2 arch=$3
  local host=$arch-w64-mingw32
  local prefix=$cache/$arch
  local stamp=$prefix/.$package.version
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$version" ]; then return 0; fi

  local work
  work=$(mktemp -d "${TMPDIR:-/tmp}/zera-mingw-$package.XXXXXX")
  # apt fetches as its own user when it can reach the folder.
  chmod 755 "$work"
  echo "mingw-deps: building $package $version for $arch" >&2
  (
    cd "$work"
    apt-get source --only-source -qq "$package=$version" >/dev/null
    cd "$(find . -mindepth 1 -maxdepth 1 -type d | head -n1)"
    # Some source packages carry configure.ac only.
    [ -x configure ] || autoreconf -fi >build.log 2>&1 || { tail -n 40 build.log >&2; exit 1; }
    # shellcheck disable=SC2046
    ./configure --host="$host" --prefix="$prefix" $(configure_flags "$package") \
      CFLAGS="-O2" CPPFLAGS="-I/usr/$host/include" LDFLAGS="-L/usr/$host/lib" >>build.log 2>&1 ||
      { tail -n 40 build.log >&2; exit 1; }
    make -j"$jobs" >>build.log 2>&1 || { tail -n 40 build.log >&2; exit 1; }
    make install >>build.log 2>&1 || { tail -n 40 build.log >&2; exit 1; }
  )
  rm -rf "$work"
  echo "$version" >"$stamp"
}

mkdir -p "$cache"
for package in "${packages[@]}"; do
  version=$(source_version "$package")
  if [ -z "$version" ]; then
    echo "mingw-deps: no source package '$package' known to apt; scripts/setup.sh adds the source entry" >&2
    exit 1
  fi
  for arch in "${arches[@]}"; do build_one "$package" "$version" "$arch"; done
done
echo "$cache"
