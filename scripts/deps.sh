# Debian packages the build, the tests and the program need. Sourced by scripts/test and scripts/run.
QPN_PACKAGES="cmake ninja-build g++ pkg-config qt6-base-dev libqt6svg6 qt6-qpa-plugins libicu-dev libsqlite3-dev
 libxlsxwriter-dev pxlib-dev libgtest-dev libgmock-dev fonts-ipafont-mincho fonts-ipafont-gothic unzip"

qpn_install_packages() {
  local missing=()
  for p in $QPN_PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}" >&2
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq >/dev/null
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

qpn_build() {
  local build_dir=$1; shift
  cmake -S "$QPN_ROOT" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$build_dir" --parallel "$(nproc)"
}
