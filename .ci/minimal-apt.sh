#!/usr/bin/env bash
# Configures apt and dpkg in a fresh Debian root for a small install: no
# recommended or suggested packages, no translations, no documentation but the
# copyright files.
#   .ci/minimal-apt.sh ROOT
set -eu
root=$1
cat >"$root/etc/apt/apt.conf.d/90velkin-ci" <<'CONF'
APT::Install-Recommends "false";
APT::Install-Suggests "false";
Acquire::Languages "none";
CONF
cat >"$root/etc/dpkg/dpkg.cfg.d/90velkin-ci" <<'CONF'
path-exclude=/usr/share/doc/*
path-include=/usr/share/doc/*/copyright
path-exclude=/usr/share/info/*
path-exclude=/usr/share/locale/*
CONF
