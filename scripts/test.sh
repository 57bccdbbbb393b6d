#!/usr/bin/env bash
# Checks the include direction of the sources (scripts/check-includes.sh),
# installs what is missing, builds with warnings as errors and runs every test;
# then builds again with AddressSanitizer + UndefinedBehaviorSanitizer and runs
# every test a second time. Tests run against a private X server (Xvfb) and
# inside a private D-Bus session.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/check-includes.sh"
"$root/scripts/setup.sh"

source "$root/scripts/xsession.sh"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/talvo-runtime.XXXXXX)}
start_virtual_display

run_suite() {
    local dir=$1
    echo "== Tests in $(basename "$dir")"
    (cd "$dir" && dbus-run-session -- ctest --output-on-failure -j 2 --timeout 300)
}

"$root/scripts/build.sh" normal
run_suite "$root/build"

"$root/scripts/build.sh" sanitize
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=0
export LSAN_OPTIONS=suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$root/tests/sanitizer/ubsan.supp
run_suite "$root/build-asan"

# Every fuzz target for a few seconds, so that they keep building and their
# seeds and first mutations stay clean (scripts/fuzz.sh runs them longer).
if command -v clang++ >/dev/null 2>&1; then
    echo "== Fuzz targets"
    "$root/scripts/fuzz.sh" "${TALVO_FUZZ_SECONDS:-5}"
fi
