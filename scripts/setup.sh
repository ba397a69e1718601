#!/bin/sh
# Installs everything the builds and tests need on a Debian machine (run as root).
# Skips apt entirely when every package is already installed.
set -eu

packages="cmake ninja-build g++ python3 googletest libgtest-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64 wine64
  libboost-dev libboost-serialization-dev libboost-filesystem-dev libboost-system-dev
  dpkg-dev xz-utils patch osslsigncode openssl clang libclang-rt-14-dev
  libssl-dev time"

missing=""
for package in $packages; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
done
if [ -z "$missing" ]; then
  echo "setup: all packages present"
  exit 0
fi
echo "setup: installing$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends $missing >/dev/null
