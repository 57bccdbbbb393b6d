#!/usr/bin/env bash
# Configures and builds Talvo.  build.sh [normal|sanitize]  (default: normal)
# normal   -> build/       warnings are errors
# sanitize -> build-asan/  AddressSanitizer + UndefinedBehaviorSanitizer, no benchmarks
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kind=${1:-normal}

case "$kind" in
    normal)
        dir="$root/build"
        flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALVO_WERROR=ON)
        ;;
    sanitize)
        dir="$root/build-asan"
        flags=(-DCMAKE_BUILD_TYPE=Debug -DTALVO_WERROR=ON -DTALVO_SANITIZE=ON -DTALVO_BUILD_BENCH=OFF)
        ;;
    *)
        echo "usage: $0 [normal|sanitize]" >&2
        exit 2
        ;;
esac

cmake -S "$root" -B "$dir" -G Ninja "${flags[@]}" >/dev/null
ninja -C "$dir" -j "$(nproc)"
