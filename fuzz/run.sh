#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for SECONDS (default 20)
# on a scratch copy of its seed corpus, so that the committed corpus stays small. Prints per
# target the executions, the coverage (cov/ft of libFuzzer's last status line) and the findings
# by kind, which are kept in build-fuzz/findings/TARGET/ with the run's log beside them. Exits
# non-zero when any target found a crash, a leak, a timeout or an out-of-memory.
#
# VSOLO_FUZZ_TARGETS may name some of the targets to run only those; VSOLO_FUZZ_PARALLEL=N runs N
# targets at once (default 1). Every run is limited in memory: a single allocation above
# VSOLO_FUZZ_MALLOC_MB (default 256) is a finding, so that a reader that trusts a count or a length
# in the file instead of the file's size is caught.
set -euo pipefail

seconds="${1:-20}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [[ "$seconds" -eq 0 ]]; then
    echo "usage: fuzz/run.sh [SECONDS]" >&2
    exit 2
fi
parallel="${VSOLO_FUZZ_PARALLEL:-1}"
if ! [[ "$parallel" =~ ^[0-9]+$ ]] || [[ "$parallel" -eq 0 ]]; then
    echo "VSOLO_FUZZ_PARALLEL must be a positive number" >&2
    exit 2
fi
malloc_mb="${VSOLO_FUZZ_MALLOC_MB:-256}"

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"
all=(fuzz_template fuzz_sidefile fuzz_conversion fuzz_transactions fuzz_recovery fuzz_handoff
    fuzz_reportingfile fuzz_reportingreaders fuzz_mailbody fuzz_mailprofiles fuzz_mailmessage
    fuzz_maildirheader fuzz_imapreplies fuzz_settings fuzz_entrytext)
read -r -a targets <<<"${VSOLO_FUZZ_TARGETS:-${all[*]}}"

CC=clang CXX=clang++ nice cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVSOLO_FUZZ=ON -DVSOLO_WERROR=ON -DVSOLO_BUILD_TESTS=OFF -DVSOLO_BUILD_BENCH=OFF >/dev/null
nice cmake --build "$build" --target "${targets[@]}" -j2

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# Runs one target and writes its summary line to $scratch/TARGET.summary; its exit status says
# whether it found anything.
run_target() {
    local target="$1"
    local corpus="$scratch/$target"
    local findings="$build/findings/$target"
    local log="$build/findings/$target.log"
    mkdir -p "$corpus"
    rm -rf "$findings"
    mkdir -p "$findings"
    cp "$root/fuzz/corpus/$target/"* "$corpus/"

    local options=(-max_total_time="$seconds" -timeout=10 -malloc_limit_mb="$malloc_mb"
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/")
    case "$target" in
    fuzz_mailbody | fuzz_handoff)
        # Long enough for a body beyond the parser's 30,000 cells of at least two bytes each.
        options+=(-max_len=65536) ;;
    fuzz_template | fuzz_transactions | fuzz_reportingfile | fuzz_mailmessage | fuzz_maildirheader | \
        fuzz_imapreplies)
        options+=(-max_len=16384) ;;
    esac
    local dict="$root/fuzz/${target#fuzz_}.dict"
    if [[ -f "$dict" ]]; then
        options+=(-dict="$dict")
    fi

    local status=0
    nice "$build/fuzz/$target" "${options[@]}" "$corpus" >"$log" 2>&1 || status=$?

    local executions last cov ft kind count total=0 counts=()
    executions="$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -1)"
    last="$(grep -E '^#[0-9]+.*cov: [0-9]+ ft: [0-9]+' "$log" | tail -1 || true)"
    cov="$(sed -nE 's/.*cov: ([0-9]+).*/\1/p' <<<"$last")"
    ft="$(sed -nE 's/.*ft: ([0-9]+).*/\1/p' <<<"$last")"
    for kind in crash leak timeout oom; do
        count="$(find "$findings" -maxdepth 1 -name "$kind-*" | wc -l)"
        counts+=("$kind $count")
        total=$((total + count))
    done
    local IFS=,
    echo "$target: executions ${executions:-?}, cov ${cov:-?}, ft ${ft:-?}, findings: ${counts[*]}" \
        >"$scratch/$target.summary"
    if [[ $status -ne 0 || $total -ne 0 ]]; then
        {
            echo "  libFuzzer exited with $status; see $log and $findings/"
            grep -E '^==[0-9]+==ERROR|^SUMMARY|runtime error|out-of-memory|malloc\(' "$log" |
                head -5 || true
        } >>"$scratch/$target.summary"
        return 1
    fi
}

failed=0
running=0
for target in "${targets[@]}"; do
    if [[ $running -ge $parallel ]]; then
        wait -n || failed=1
        running=$((running - 1))
    fi
    run_target "$target" &
    running=$((running + 1))
done
while [[ $running -gt 0 ]]; do
    wait -n || failed=1
    running=$((running - 1))
done

for target in "${targets[@]}"; do
    cat "$scratch/$target.summary"
done
exit "$failed"
