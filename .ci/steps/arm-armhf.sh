#!/usr/bin/env bash
# The project on 32-bit ARM, the devices' own architecture: .ci/arm.sh armhf
# builds it and runs its tests in an emulated Debian 12 armhf root, compares
# every case's outputs with this machine's byte for byte, and installs the
# armhf .deb there (see that script). It needs root, for debootstrap and apt,
# as the Debian 13 step does; an ordinary user runs it through sudo.
set -eu
cd "$(dirname "$0")/../.."
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO .ci/arm.sh armhf
