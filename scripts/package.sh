#!/usr/bin/env bash
# Builds the Debian package of Talvo from the normal build:
#   scripts/package.sh            -> build/talvo_<version>_<arch>.deb
# Install it with: sudo apt install ./build/talvo_*.deb
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/build.sh" normal
cd "$root/build"
cpack -G DEB
ls "$root"/build/talvo_*.deb
