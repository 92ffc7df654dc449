#!/usr/bin/env bash
# Installs the Debian packages Corvane needs, when they are missing.
#   setup.sh              to build, run and test the program
#   setup.sh GROUP...     also the packages of these groups:
#     fuzz       clang with its sanitizer and libFuzzer runtimes
#     windows    the MinGW-w64 cross compiler, GoogleTest's sources and Wine, for the Windows build
#     packaging  the checkers of the installed files and the .deb
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool fonts-dejavu-core fonts-liberation2
)
for group in "$@"; do
  case $group in
    fuzz) packages+=(clang-14 libclang-rt-14-dev llvm-14) ;;
    windows) packages+=(g++-mingw-w64-x86-64-posix wine64 googletest) ;;
    packaging) packages+=(desktop-file-utils appstream systemd dpkg-dev fakeroot) ;;
    *)
      echo "setup.sh: unknown group $group (fuzz, windows, packaging)" >&2
      exit 2
      ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
