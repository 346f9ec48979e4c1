#!/usr/bin/env bash
# Installs what building and testing Kodrin needs, from Debian's packages.
# Idempotent and quiet when everything is already there. Then checks that
# every command the build and the tests call is there (alone: --check).
set -euo pipefail

packages=(
  cmake ninja-build g++ python3 pkg-config ccache
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 xvfb xauth x11-utils xdotool imagemagick
  librsvg2-bin icoutils fp-utils   # icons (rsvg-convert, icotool) and the help file (chmcmd)
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libicu-dev libssl-dev libstb-dev libpugixml-dev
  clang libclang-rt-14-dev
  python3-pefile   # an independent reader of program files for the tests
  ghostscript      # the printed reports' PostScript pages rendered as pictures (gs)
  nsis osslsigncode openssl   # the installer, its Authenticode signature, the signed version file
  libcurl4-openssl-dev   # HTTP downloads of the native build (kodrin-cli check)
  chromium-headless-shell   # the real browser of the web-login end-to-end test
)

# Every command the build, the tests, the fuzzers and the tools call, with the
# Debian package that holds it.
commands=(
  cmake:cmake ctest:cmake ninja:ninja-build gcc:gcc g++:g++ python3:python3 pkg-config:pkg-config ccache:ccache
  x86_64-w64-mingw32-gcc-posix:gcc-mingw-w64-x86-64-posix x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix
  x86_64-w64-mingw32-windres:binutils-mingw-w64-x86-64
  wine:wine wineboot:wine wineserver:wine xvfb-run:xvfb Xvfb:xvfb xauth:xauth
  rsvg-convert:librsvg2-bin convert:imagemagick icotool:icoutils chmcmd:fp-utils
  clang:clang clang++:clang
  flock:util-linux setsid:util-linux mktemp:coreutils md5sum:coreutils od:coreutils cmp:diffutils
  gs:ghostscript
  makensis:nsis osslsigncode:osslsigncode openssl:openssl
  chromium-headless-shell:chromium-headless-shell
)

# Stops with one line naming each missing command and its package.
check_commands() {
  local missing="" entry
  for entry in "${commands[@]}"; do
    command -v "${entry%%:*}" >/dev/null || missing+="${missing:+, }${entry%%:*} (package ${entry#*:})"
  done
  # Python modules the tests import, run with Debian's own python3.
  /usr/bin/python3 -c 'import pefile' 2>/dev/null || missing+="${missing:+, }python module pefile (package python3-pefile)"
  if [ -n "$missing" ]; then
    echo "setup.sh: missing commands: $missing; install with apt-get install <package>" >&2
    exit 1
  fi
}

# --check: only look for the commands.
if [ "${1:-}" = --check ]; then
  check_commands
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
check_commands
