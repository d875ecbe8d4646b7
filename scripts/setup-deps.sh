# Sourced by the scripts: installs the Debian packages the build, the tests and the demo need,
# for both the Qt 5 and the Qt 6 build.
mda_packages=(cmake g++ make pkg-config qtbase5-dev libqt5sql5-sqlite libqt5sql5-psql
  libquazip1-qt5-dev qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql libquazip1-qt6-dev
  libgtest-dev libbenchmark-dev libsqlite3-dev sqlite3 libpq-dev
  postgresql postgresql-client zip unzip python3 python3-pandas chromium abigail-tools doxygen)

mda_install_deps() {
  local missing=()
  local p
  for p in "${mda_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
  mda_install_browser_test_deps
}

# The report's browser test: node and npm (Debian's, unless a node is there already) and
# puppeteer-core from the npm registry, pinned by the test's package-lock.json.
mda_install_browser_test_deps() {
  local here_deps
  here_deps=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  local dir="$here_deps/tools/mda/tests/browser"
  if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq nodejs npm >/dev/null
  fi
  if [ ! -d "$dir/node_modules/puppeteer-core" ]; then
    (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
  fi
}
