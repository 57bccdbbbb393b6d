#!/usr/bin/env bash
# Builds Talvo and runs every benchmark in bench/, printing their figures.
# Benchmarks report numbers against targets; they do not pass or fail.
# bench.sh [NAME...]   (default: every bench_* executable)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/scripts/setup.sh"
"$root/scripts/build.sh" normal

source "$root/scripts/xsession.sh"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/talvo-runtime.XXXXXX)}
start_virtual_display --compositor
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-xcb}

names=("$@")
if ((${#names[@]} == 0)); then
    mapfile -t names < <(find "$root/build/bench" -maxdepth 1 -type f -name 'bench_*' -perm -u+x -printf '%f\n' | sort)
fi
# Every benchmark runs, also after one that fails; the failures are named at
# the end and make the script fail.
failed=()
for name in "${names[@]}"; do
    echo "== $name"
    if ! dbus-run-session -- "$root/build/bench/$name"; then
        echo "!! $name failed" >&2
        failed+=("$name")
    fi
done
if ((${#failed[@]} > 0)); then
    echo "failed benchmarks: ${failed[*]}" >&2
    exit 1
fi
