#!/usr/bin/env bash
# Builds the tool and the whole test suite with AddressSanitizer (leaks
# included) and UndefinedBehaviorSanitizer, and runs every test on that build:
# the end-to-end tests then run the sanitized tool. char is unsigned in this
# build, as on ARM, so that code assuming a signed char fails here too.
set -eu
cd "$(dirname "$0")/../.."
scripts/deps.sh
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKIN_SANITIZE=ON \
  -DCMAKE_C_FLAGS=-funsigned-char -DCMAKE_CXX_FLAGS=-funsigned-char >/dev/null
cmake --build build-asan -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
