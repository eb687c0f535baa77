#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tellmarin-Team
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building and testing Tellmarin needs.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libqt6sql6-sqlite libsqlite3-dev sqlite3 qt6-translations-l10n
  libgtest-dev libgmock-dev googletest
  python3 python3-phonenumbers iso-codes
  libgl-dev libxkbcommon-dev
  xvfb xauth dbus at-spi2-core
  help2man lintian reuse man-db
  libical-dev qtkeychain-qt6-dev
  radicale xandikos openssl curl vdirsyncer
)
# --fuzz: clang with libFuzzer and the sanitizer runtimes as well.
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
