#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the benchmarks and the
# cross builds need. Safe to run again: packages already present are skipped.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  # resources: windres compiles the resource script into a .res file
  binutils-mingw-w64-i686
  # tests and benchmarks (libcgif: the GIF encoders compared)
  googletest libgtest-dev libgmock-dev libbenchmark-dev python3 libcgif-dev
  # signature strings and images
  libsodium-dev zlib1g-dev libgif-dev libpng-dev
  # line editing and history at fmhost's prompt
  libedit-dev
  # image checks and the comparison benchmark
  imagemagick python3-pil
  # Windows builds of the console program, and wine to run the 64-bit one
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64
  # the Windows pad control: zlib for mingw, and what unpacks and builds
  # Debian's source packages of its other libraries (scripts/mingw-deps.sh)
  libz-mingw-w64-dev dpkg-dev make autoconf automake libtool
  # a screen for the wine checks of mouse input and the dialog's picture
  xvfb x11-apps
  # Authenticode signing of the Windows files, and the test's throwaway certificate
  osslsigncode openssl
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
# A mirror in the middle of a sync may serve one list out of step (seen with
# the i386 lists of the security suite): apt then works with the lists it
# did read, and so does this script.
lists_problem=
update_lists() {
  local answer
  if ! answer=$($SUDO apt-get update -qq 2>&1); then
    printf '%s\n' "$answer" >&2
    lists_problem=$(printf '%s\n' "$answer" | grep -m 1 '^E: Failed to fetch' || true)
    echo "setup: some package lists could not be read; going on with those that were" >&2
  fi
}

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
else
  echo "setup: installing ${missing[*]}"
  update_lists
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Debian keeps the 64-bit wine loader and the wine server out of the PATH;
# the README's Windows commands call them by name.
for program in wine64 wineserver; do
  if ! command -v "$program" >/dev/null 2>&1 && [ -x "/usr/lib/wine/$program" ]; then
    $SUDO ln -sf "/usr/lib/wine/$program" "/usr/local/bin/$program"
  fi
done

# Source packages of the machine's own Debian suite, for the libraries the
# Windows pad control is cross-built with: a deb-src entry beside each deb
# entry of the system's sources, same archive and suites.
sources_file=/etc/apt/sources.list.d/zera-virorar-sources.sources
if ! apt-cache showsrc libsodium 2>/dev/null | grep '^Version:' >/dev/null; then
  echo "setup: adding source entries for the system's Debian suites"
  entries=$(python3 scripts/deb_src_entries.py)
  printf '%s\n' "$entries" | $SUDO tee "$sources_file" >/dev/null
  update_lists
fi

# The cross-built libraries, made once and kept in their cache folder.
bash scripts/mingw-deps.sh >/dev/null

# Debian's 32-bit wine, which runs the suites of the 32-bit Windows module.
# Its packages are the i386 architecture's, whose lists a mirror may briefly
# hold out of step with the amd64 ones, and then they cannot be installed:
# the 32-bit suites report themselves skipped with the reason written here,
# and nothing else waits for them.
wine32_status=${ZERA_WINE32_STATUS:-${XDG_CACHE_HOME:-$HOME/.cache}/zera-virorar/wine32-status}
mkdir -p "$(dirname "$wine32_status")"
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  echo installed >"$wine32_status"
else
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  update_lists
  if answer=$($SUDO apt-get install -y -qq --no-install-recommends --no-remove wine32:i386 2>&1); then
    echo installed >"$wine32_status"
  else
    # The lists by their path in the archive, without where they were fetched from.
    reason=$(printf '%s\n' "$lists_problem" "$answer" | grep -E '^E:' | head -n 2 |
      sed -E 's#[a-z]+://[^/ ]+##g; s#\[IP: [^]]*\]##g' | tr '\n' ' ')
    echo "apt-get could not install wine32:i386: ${reason:-no reason given}" >"$wine32_status"
    echo "setup: the 32-bit wine is not installed, its suites will be skipped: $reason" >&2
  fi
fi
