#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# Usage: scripts/deps.sh [build|test]
set -euo pipefail
what=${1:-test}

packages=(build-essential cmake pkg-config libxerces-c-dev)
if [ "$what" = test ]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev python3-ezdxf libxml2-utils)
fi
# Further packages needed by later libraries are listed one per line here.
if [ -f "$(dirname "$0")/packages.txt" ]; then
  while read -r p; do
    case "$p" in ''|'#'*) ;; *) packages+=("$p") ;; esac
  done < "$(dirname "$0")/packages.txt"
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
