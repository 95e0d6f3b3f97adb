# Shared by ./run and ./test: install what is missing, then configure and build.
# Sourced, not run.

PAGEPRESS_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian packages every build needs.
PAGEPRESS_BUILD_PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins libqt6sql6-sqlite libqt6sql6-psql libgl-dev
  libjpeg-dev libgif-dev zlib1g-dev
  fonts-liberation2 fonts-dejavu-core
)
# Extra packages the test suite needs: the test framework and independent readers of our files.
PAGEPRESS_TEST_PACKAGES=(
  libgtest-dev libbenchmark-dev
  poppler-utils qpdf python3-xlrd imagemagick libjpeg-turbo-progs
)

# Installs the named packages that are not installed yet, with one apt-get update at most.
pagepress_install_missing() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures and builds into the given folder with the given extra CMake options.
pagepress_build() {
  local build_dir="$1"; shift
  local launcher=()
  if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$PAGEPRESS_ROOT" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        "${launcher[@]}" "$@" >/dev/null
  cmake --build "$build_dir" --parallel "$(nproc)"
}
