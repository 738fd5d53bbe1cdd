#!/bin/sh
# The "campioni" group: the tests that read the public samples in place
# (suites named *Campioni*). Without the samples' folder the group is skipped
# as a whole with one line (exit 77, ctest's skip code); with it, every
# test of the group must pass.
#   campioni.sh DEFAULT_FOLDER TEST_BINARY...
cartella=${QZKIRO_DATI_PUBBLICI:-$1}
shift
if [ ! -d "$cartella" ]; then
  echo "campioni: cartella dei campioni pubblici assente ($cartella): gruppo saltato"
  exit 77
fi
export QZKIRO_DATI_PUBBLICI="$cartella"
for binario in "$@"; do
  "$binario" --gtest_filter='*Campioni*' || exit 1
done
