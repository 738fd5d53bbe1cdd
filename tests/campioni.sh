#!/bin/sh
# The "campioni" group: the tests that read the public samples in place
# (suites named *Campioni*). Without the samples' folder the group is skipped
# as a whole with one line (exit 77, ctest's skip code); with it, every
# test of the group must pass. It also records the requests of `kiro demo`
# and checks them with xmllint against the schemas.
#   campioni.sh DEFAULT_FOLDER KIRO TEST_BINARY...
cartella=${QZKIRO_DATI_PUBBLICI:-$1}
kiro=$2
shift 2
if [ ! -d "$cartella" ]; then
  echo "campioni: cartella dei campioni pubblici assente ($cartella): gruppo saltato"
  exit 77
fi
export QZKIRO_DATI_PUBBLICI="$cartella"
for binario in "$@"; do
  "$binario" --gtest_filter='*Campioni*' || exit 1
done
registrati=$(mktemp -d)
trap 'rm -rf "$registrati"' EXIT
"$kiro" demo --registra "$registrati" >"$registrati.log" 2>&1 || { cat "$registrati.log"; rm -f "$registrati.log"; exit 1; }
rm -f "$registrati.log"
python3 "$(dirname "$0")/../scripts/verifica_registrazione.py" "$registrati" --dati "$cartella" || exit 1
