#!/usr/bin/env bash
# Builds the Debian package build/ravnobor_<version>_<architecture>.deb from the install rules.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cd build
cpack -G DEB
ls -1 "$PWD"/ravnobor_*.deb
