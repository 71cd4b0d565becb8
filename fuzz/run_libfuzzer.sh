#!/bin/sh
# Builds the libFuzzer targets with clang into their own folder and fuzzes
# each for its share of a bounded time (the reader half of it, the others the
# rest). Exit 77 (skipped) when clang cannot build them.
# usage: run_libfuzzer.sh FUZZ_SOURCE_DIR BUILD_DIR SEED_CORPUS SECONDS
# SEED_CORPUS holds one folder of generated seeds per target.
set -e
src=$1 build=$2 seeds=$3 seconds=$4

cxx=$(command -v clang++ || true)
if [ -z "$cxx" ]; then
    echo "clang++ not found: libFuzzer run skipped"
    exit 77
fi
probe=$(mktemp -d)
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' >"$probe/p.cpp"
if ! "$cxx" -fsanitize=fuzzer,address,undefined "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1; then
    rm -rf "$probe"
    echo "$cxx cannot build libFuzzer targets: skipped"
    exit 77
fi
rm -rf "$probe"

# $NEG_WERROR=ON (CI) makes warnings errors here too.
cmake -S "$src" -B "$build" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE= -DNEG_WERROR="${NEG_WERROR:-OFF}" >/dev/null
cmake --build "$build" -j2
targets=$(cat "$build/fuzz_targets.txt")
others=$(($(echo "$targets" | wc -w) - 1))
for t in $targets; do
    if [ "$t" = read_opt ] || [ "$others" -eq 0 ]; then
        share=$((seconds / 2))
    else
        share=$(((seconds - seconds / 2) / others))
    fi
    [ "$share" -ge 1 ] || share=1
    # New inputs go to the first folder, so the seed folders stay as they are.
    mkdir -p "$build/corpus/$t" "$build/artifacts/$t"
    set -- "$build/corpus/$t"
    for d in "$seeds/$t" "$src/seeds/$t" "$src/regressions/$t"; do
        [ -d "$d" ] && set -- "$@" "$d"
    done
    echo "== $t: $share s"
    "$build/${t}_fuzz" -max_total_time="$share" -rss_limit_mb=2048 -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$t/" "$@"
done
