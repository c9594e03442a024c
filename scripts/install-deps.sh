#!/usr/bin/env bash
# Installs the Debian bookworm packages the build and the tests need.
# Idempotent: packages already installed are skipped.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libjsoncpp-dev qt6-base-dev qt6-tools-dev libcurl4-openssl-dev libssl-dev libasound2-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb dbus openssl
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
