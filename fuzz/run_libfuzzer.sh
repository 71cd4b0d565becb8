#!/bin/sh
# Builds the libFuzzer target with clang into its own folder and fuzzes the
# reader for a bounded time. Exit 77 (skipped) when clang cannot build it.
# usage: run_libfuzzer.sh FUZZ_SOURCE_DIR BUILD_DIR SEED_CORPUS SECONDS
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
# New inputs go to the first folder, so the seed corpus stays as generated.
mkdir -p "$build/corpus" "$build/artifacts"
exec "$build/read_opt_fuzz" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=30 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/" "$build/corpus" "$seeds"
