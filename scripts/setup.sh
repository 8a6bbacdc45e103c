# Shared by scripts/run and scripts/test: installs what the build needs (Debian 12)
# and builds into the folder given as $1 with the CMake options that follow.
set -euo pipefail

REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
NEEDED_PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-svg-dev libgl-dev libgtest-dev libbenchmark-dev
                 libboost-dev libnlopt-cxx-dev libdeflate-dev libgdal-dev
                 libeigen3-dev libnanoflann-dev
                 fonts-dejavu-core xvfb xauth ghostscript
                 python3-dev pybind11-dev python3-pandas python3-pytest python3-pil jupyter-nbconvert python3-ipykernel)

install_packages() {
    local missing=()
    for p in "${NEEDED_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
    fi
}

build() {
    local dir="$1"; shift
    # A compiler cache, where the machine has one, makes the repeated builds of CI cheap.
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$REPO" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)"
}
