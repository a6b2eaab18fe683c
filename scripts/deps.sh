#!/usr/bin/env bash
# Installs the Debian packages Korvex needs, only when something is missing.
# Sourced by scripts/test and scripts/demo.

KORVEX_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-ibase qt6-svg-dev libgl-dev
  libfbclient2 firebird3.0-server-core firebird3.0-utils firebird-dev
  libzip-dev libxlsxwriter-dev
  libgtest-dev libgmock-dev
  xvfb xauth imagemagick fonts-dejavu-core fonts-wine xdotool
  x11-apps ccache
  desktop-file-utils appstream
)

korvex_install_deps() {
  local missing=()
  local p
  for p in "${KORVEX_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update
    $sudo apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

# korvex_build ROOT [BUILD_DIR]: configures and builds into BUILD_DIR (default ROOT/build).
korvex_build() {
  local root="$1"
  local build="${2:-$root/build}"
  # ccache keeps rebuilds of other checkouts and build folders on this machine short
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$root")}" CCACHE_NOHASHDIR=1
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
  cmake --build "$build" -j "$(nproc)"
}
