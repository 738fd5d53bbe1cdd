#!/usr/bin/env bash
# Every test: the suite in the normal build, then again under AddressSanitizer
# and UndefinedBehaviorSanitizer; the benchmarks, the Debian packages and the
# example host built against them in Release.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/prerequisiti.sh

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
JOBS=$(nproc)

# The tests on the public samples (ctest group "campioni") read them in place.
campioni=${QZKIRO_DATI_PUBBLICI:-$PWD/../shared/data}
if [ ! -d "$campioni" ]; then
  echo "== campioni: cartella dei campioni pubblici assente ($campioni): il gruppo è saltato"
fi

for preset in dev asan; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$JOBS"
  echo "== test $preset"
  ctest --preset "$preset" -j "$JOBS"
done

if command -v clang++ >/dev/null; then
  echo "== fuzz targets (clang, libFuzzer): 10 seconds each"
  cmake --preset fuzz >/dev/null
  # Only the targets: each links the reader it exercises, nothing else.
  cmake --build --preset fuzz -j "$JOBS" --target fuzz_xml fuzz_csv fuzz_base64 fuzz_zip \
    fuzz_mime fuzz_cda fuzz_pdf fuzz_hl7 fuzz_risposte fuzz_xds fuzz_fhir
  mkdir -p build/fuzz/artifacts
  for target in xml csv base64 zip mime cda pdf hl7 risposte xds fhir; do
    corpus=build/fuzz/corpus/$target
    rm -rf "$corpus" && mkdir -p "$corpus" && cp fuzz/corpus/$target/* "$corpus"/
    build/fuzz/fuzz/fuzz_$target -max_total_time=10 -rss_limit_mb=2048 \
      -artifact_prefix=build/fuzz/artifacts/$target- "$corpus" 2>&1 | tail -n 3
  done
else
  echo "== fuzz targets skipped: clang++ is not installed"
fi

echo "== benchmarks (release build)"
cmake --preset release >/dev/null
cmake --build --preset release -j "$JOBS" --target qzkiro-bench

echo "== packages, installed symbols and the example host (release build)"
scripts/pacchetti.sh
