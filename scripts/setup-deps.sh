#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when all are present.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-translations-l10n qt6-qpa-plugins
  libgl-dev libgl1-mesa-dri
  libmpv-dev ffmpeg
  qt6-image-formats-plugins libheif-dev
  qt6-base-private-dev
  xvfb xauth xdotool
  libjpeg-dev libjpeg-turbo-progs libturbojpeg0-dev
  libexiv2-dev exiv2
  fonts-dejavu-core
  clang libclang-rt-14-dev llvm python3 clang-format
  libfuse3-dev fuse3
  fusefat exfat-fuse ntfs-3g dosfstools exfatprogs
  liburing-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
