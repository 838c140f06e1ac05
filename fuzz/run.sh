#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for SECONDS (default 20)
# on a scratch copy of its seed corpus, so that the committed corpus stays small. Prints per
# target the executions, the coverage (cov/ft of libFuzzer's last status line) and the findings,
# which are kept in build-fuzz/findings/TARGET/ with the run's log beside them. Exits non-zero
# when any target found a crash, a leak, a timeout or an out-of-memory. VSOLO_FUZZ_TARGETS may
# name some of the targets to run only those.
set -euo pipefail

seconds="${1:-20}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [[ "$seconds" -eq 0 ]]; then
    echo "usage: fuzz/run.sh [SECONDS]" >&2
    exit 2
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"
targets=(${VSOLO_FUZZ_TARGETS:-fuzz_mailbody fuzz_mailprofiles})

CC=clang CXX=clang++ nice cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVSOLO_FUZZ=ON -DVSOLO_WERROR=ON -DVSOLO_BUILD_TESTS=OFF -DVSOLO_BUILD_BENCH=OFF >/dev/null
nice cmake --build "$build" --target "${targets[@]}" -j2

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

failed=0
for target in "${targets[@]}"; do
    corpus="$scratch/$target"
    findings="$build/findings/$target"
    log="$build/findings/$target.log"
    mkdir -p "$corpus"
    rm -rf "$findings"
    mkdir -p "$findings"
    cp "$root/fuzz/corpus/$target/"* "$corpus/"

    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$findings/")
    if [[ "$target" == fuzz_mailbody ]]; then
        # Long enough for a body beyond the parser's 30,000 cells of at least two bytes each.
        options+=(-max_len=65536)
    fi
    dict="$root/fuzz/${target#fuzz_}.dict"
    if [[ -f "$dict" ]]; then
        options+=(-dict="$dict")
    fi

    status=0
    nice "$build/fuzz/$target" "${options[@]}" "$corpus" >"$log" 2>&1 || status=$?

    executions="$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -1)"
    last="$(grep -E '^#[0-9]+.*cov: [0-9]+ ft: [0-9]+' "$log" | tail -1 || true)"
    cov="$(sed -nE 's/.*cov: ([0-9]+).*/\1/p' <<<"$last")"
    ft="$(sed -nE 's/.*ft: ([0-9]+).*/\1/p' <<<"$last")"
    found=()
    for file in "$findings"/crash-* "$findings"/leak-* "$findings"/timeout-* "$findings"/oom-*; do
        [[ -e "$file" ]] && found+=("$(basename "$file")")
    done

    echo "$target: executions ${executions:-?}, cov ${cov:-?}, ft ${ft:-?}, findings ${#found[@]}" \
        "${found[*]:-}"
    if [[ $status -ne 0 || ${#found[@]} -ne 0 ]]; then
        failed=1
        echo "  libFuzzer exited with $status; see $log and $findings/" >&2
        grep -E '^==[0-9]+==ERROR|^SUMMARY|runtime error' "$log" | head -5 >&2 || true
    fi
done
exit "$failed"
