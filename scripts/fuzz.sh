#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/, clang with ASan + UBSan, in build-fuzz/)
# and runs each for SECONDS (default 60) from a copy of its seed corpus
# (fuzz/corpus/<target>/). Exits non-zero on any crash, hang, leak or
# sanitizer report; the input that caused it is kept in build-fuzz/findings/.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
shift || true
dir="$root/build-fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTALVO_FUZZ=ON -DTALVO_WERROR=ON >/dev/null
ninja -C "$dir" -j "$(nproc)" >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for corpus in "$root"/fuzz/corpus/*/; do
        targets+=("$(basename "$corpus")")
    done
fi

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$root/tests/sanitizer/ubsan.supp
export LSAN_OPTIONS=suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0
findings="$dir/findings"
mkdir -p "$findings"
work=$(mktemp -d /tmp/talvo-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT

failed=()
for target in "${targets[@]}"; do
    corpus="$work/$target"
    mkdir -p "$corpus"
    cp "$root/fuzz/corpus/$target/"* "$corpus/"
    log="$findings/$target.log"
    start=$(date +%s)
    if "$dir/fuzz/fuzz_$target" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$findings/$target-" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz_$target: ${runs:-?} runs in $(($(date +%s) - start)) s, corpus $(ls "$corpus" | wc -l), no finding"
    else
        echo "fuzz_$target: FINDING (see $log)"
        grep -m 5 -E 'ERROR|SUMMARY|broken:|Test unit written' "$log" || tail -n 20 "$log"
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "Findings in: ${failed[*]}"
    exit 1
fi
