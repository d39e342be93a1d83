#!/usr/bin/env bash
# Installs the Debian packages that Quillmarsh needs to build, test, benchmark and take
# screenshots. Idempotent and quiet when everything is present; uses sudo when not root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  qt6-base-dev libgl-dev
  libcurl4-openssl-dev libpcre2-dev libre2-dev
  libgtest-dev libbenchmark-dev
  clang libclang-rt-dev clang-format
  xvfb trayer x11-utils xdotool imagemagick fonts-wqy-microhei
  tinyproxy-bin
  nodejs python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
