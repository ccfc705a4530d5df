#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the reference suite
# need, when any is missing. Quick when everything is already there.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config make ccache
  libxml2-dev
  unixodbc-dev odbcinst libsqliteodbc sqlite3
  libopencc-dev opencc
  libcurl4-openssl-dev libzip-dev zip unzip
  libgtest-dev libgmock-dev libbenchmark-dev
  locales
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done

if ((${#missing[@]})); then
  echo "bootstrap: installing ${missing[*]}"
  SUDO=()
  if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "bootstrap: need root or sudo to install ${missing[*]}" >&2; exit 1; }
    SUDO=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${SUDO[@]}" apt-get update -qq
  "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
