#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tellmarin-Team
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is needed, checks that every file names its licence (reuse),
# builds Tellmarin with warnings as errors, runs all tests, builds the Debian
# package, checks it with lintian and installs and tries it, builds and runs
# the tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs every fuzz target for 20 seconds.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen TELLMARIN_AUTOANSWER=1
(cd "$here" && reuse lint)

"$here/scripts/build.sh" build -DTM_WERROR=ON
ctest --test-dir "$here/build" --output-on-failure -j2

# The Debian package: its files, an install here, an installed call.
"$here/scripts/package-test.sh" build

# The windows once more on a real X server with the desktop's accessibility
# bus, as users run them.
dbus-run-session -- xvfb-run -a env QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
  sh -c "'$here/build/bin/tests_ui' && '$here/build/bin/tests_callwindows' &&
         '$here/build/bin/tests_config' && '$here/build/bin/tests_viewer' &&
         '$here/build/bin/tests_pimoutlook'"

"$here/scripts/build.sh" build-asan -DTM_WERROR=ON -DTM_SANITIZE=ON -DTM_BUILD_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$here/build-asan" --output-on-failure -j2

# Every fuzz target briefly (scripts/fuzz.sh runs them longer on demand).
"$here/scripts/fuzz.sh" 20
