#!/usr/bin/env bash
# The project on 32-bit ARM, the devices' own architecture: .ci/arm.sh armhf
# builds it and runs its tests in an emulated Debian 12 armhf root, compares
# every case's outputs with this machine's byte for byte, and installs the
# armhf .deb there (see that script). It needs root, for debootstrap and apt,
# as the Debian 13 step does; an ordinary user runs it through sudo.
#
# Emulation takes 30 to 60 minutes, as the machine is loaded. Within .ci/run
# (which sets VELKIN_CI_STARTED) the step keeps to the run's budget,
# VELKIN_CI_BUDGET seconds (85 minutes) from its start: it does not begin
# with less than VELKIN_ARM_NEEDS seconds (35 minutes) left, and it is
# stopped when the budget runs out. Either way it says so in one line and
# fails nothing, since the limit is the machine's and not the code's; a
# failure of the build, of a test or of the comparison fails the step.
set -eu
cd "$(dirname "$0")/../.."
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if [ -z "${VELKIN_CI_STARTED:-}" ]; then
  exec $SUDO .ci/arm.sh armhf
fi
left=$(( ${VELKIN_CI_BUDGET:-5100} - ($(date +%s) - VELKIN_CI_STARTED) ))
if [ "$left" -lt "${VELKIN_ARM_NEEDS:-2100}" ]; then
  echo "arm-armhf: not run: $((left / 60)) minutes of the CI budget left, the emulated step needs about $(( ${VELKIN_ARM_NEEDS:-2100} / 60 ))"
  exit 0
fi
status=0
$SUDO timeout "$left" .ci/arm.sh armhf || status=$?
if [ "$status" -eq 124 ]; then
  echo "arm-armhf: stopped unfinished when the CI budget ran out, after $((left / 60)) minutes"
  exit 0
fi
exit "$status"
