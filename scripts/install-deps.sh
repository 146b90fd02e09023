#!/usr/bin/env bash
# Installs every Debian 12 package the project needs to build, test and run.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool x11-utils imagemagick fonts-noto-cjk qt6-translations-l10n
  parallel slurm-wlm slurmctld slurmd munge python3-vtk9 locales
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "${missing[@]}"
