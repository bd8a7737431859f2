# Sourced by the other scripts: installs what the build needs and builds.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${QUIBEL_BUILD_DIR:-$ROOT/build}"

# Debian packages the build, the tests and the screenshots need.
PACKAGES=(build-essential cmake pkg-config qt6-base-dev libgtest-dev libgmock-dev
          libxcb1-dev python3 fonts-ipafont-gothic xvfb xauth xclip xdotool)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$BUILD" -j "$(nproc)"
}
