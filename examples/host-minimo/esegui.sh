#!/usr/bin/env bash
# Builds host-minimo against an installed (or staged) QZKiroIM and runs it
# against the installed kiro-sandbox.
#
#   examples/host-minimo/esegui.sh <prefix> <build-dir>
#
# <prefix> is where the package is installed (/usr, or a staging tree's usr);
# <build-dir> is where the example is built. Exits non-zero on any failure.
set -euo pipefail

if [[ $# -ne 2 ]]; then
  echo "Uso: $0 <prefisso-installazione> <cartella-build>" >&2
  exit 2
fi

prefisso=$(realpath "$1")
build=$(realpath -m "$2")
sorgenti=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

errore() {
  echo "esegui.sh: $*" >&2
  exit 1
}

# The installed library and tools, not any other copy on the system.
libreria=$(find "$prefisso" -name 'libqzkiro.so.1' -print -quit)
[[ -n "$libreria" ]] || errore "libqzkiro.so.1 non trovata sotto $prefisso"
cartella_libreria=$(dirname "$libreria")
export LD_LIBRARY_PATH="$cartella_libreria${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
export PATH="$prefisso/bin:$PATH"
[[ -x "$prefisso/bin/kiro-sandbox" ]] || errore "kiro-sandbox non trovato in $prefisso/bin"
dati="$prefisso/share/qzkiro"
[[ -d "$dati/servizi" ]] || errore "cartella dati del componente non trovata: $dati"

generatore=()
if command -v ninja >/dev/null; then generatore=(-G Ninja); fi
cmake -S "$sorgenti" -B "$build" "${generatore[@]}" -DCMAKE_PREFIX_PATH="$prefisso" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j1
programma="$build/host-minimo"
[[ -x "$programma" ]] || errore "host-minimo non compilato"
# The program must use the installed library.
collegamenti=$(ldd "$programma")
grep -qF "$libreria" <<<"$collegamenti" || errore "host-minimo non usa $libreria"

lavoro=$(mktemp -d "${TMPDIR:-/tmp}/host-minimo.XXXXXX")
sandbox_pid=""
chiudi() {
  if [[ -n "$sandbox_pid" ]] && kill -0 "$sandbox_pid" 2>/dev/null; then
    kill -TERM "$sandbox_pid" 2>/dev/null || true
    wait "$sandbox_pid" 2>/dev/null || true
  fi
  rm -rf "$lavoro"
}
trap chiudi EXIT

# The sandbox prints its keys ("client/lotti = https://127.0.0.1:PORT", ...),
# the PKI files last; it serves until SIGTERM.
kiro-sandbox --pki "$lavoro/pki" >"$lavoro/sandbox.txt" 2>"$lavoro/sandbox.err" &
sandbox_pid=$!
for _ in $(seq 1 600); do
  grep -q '^pki/fse = ' "$lavoro/sandbox.txt" && break
  kill -0 "$sandbox_pid" 2>/dev/null || { cat "$lavoro/sandbox.err" >&2; errore "kiro-sandbox terminata"; }
  sleep 0.1
done
grep -q '^pki/fse = ' "$lavoro/sandbox.txt" || errore "kiro-sandbox non ha stampato i suoi indirizzi"

chiave() {
  awk -v k="$1 = " 'index($0, k) == 1 { print substr($0, length(k) + 1); exit }' \
    "$lavoro/sandbox.txt"
}
lotti=$(chiave client/lotti)
ca=$(chiave pki/ca)
client=$(chiave pki/client)
password=$(chiave pki/password)
[[ -n "$lotti" && -f "$ca" && -f "$client" ]] || errore "chiavi della sandbox incomplete"

# The add-on's folder of this run: the installed data folder plus the TLS
# client certificate, which the add-on reads from its own folder.
plugin="$lavoro/plugin"
cp -R "$dati" "$plugin"
chmod -R u+w "$plugin"
mkdir -p "$plugin/cert" "$lavoro/log"
cp "$client" "$plugin/cert/client.p12"

comune=(--plugin "$plugin" --ca "$ca" --lotti "$lotti" --certificato 'cert\client.p12'
        --password "$password" --log "$lavoro/log")

echo "== ricerca dei lotti del principio attivo 150"
"$programma" "${comune[@]}" --antigene 150 | tee "$lavoro/uscita.txt"
grep -q '^Lotti trovati: 2$' "$lavoro/uscita.txt" || errore "numero di lotti inatteso"
grep -q 'lotto FLU26A  scadenza 2027-06-30  AIC 045123019  principio attivo 150' \
  "$lavoro/uscita.txt" || errore "lotto FLU26A mancante"
grep -q 'lotto FLU26B' "$lavoro/uscita.txt" || errore "lotto FLU26B mancante"

echo "== ricerca senza codici: deve fallire con il messaggio del componente"
if "$programma" "${comune[@]}" >"$lavoro/uscita2.txt" 2>"$lavoro/errori2.txt"; then
  errore "la ricerca senza codici non doveva riuscire"
fi
cat "$lavoro/errori2.txt"
grep -q "Indicare il codice dell'antigene o il codice AIC del vaccino" "$lavoro/errori2.txt" \
  || errore "LastError inatteso"

echo "== ricerca senza certificato client: il servizio rifiuta la connessione"
if "$programma" --plugin "$plugin" --ca "$ca" --lotti "$lotti" --antigene 150 \
  >"$lavoro/uscita3.txt" 2>"$lavoro/errori3.txt"; then
  errore "la ricerca senza certificato client non doveva riuscire"
fi
cat "$lavoro/errori3.txt"
grep -q '^Ricerca dei lotti non riuscita: .' "$lavoro/errori3.txt" || errore "LastError vuoto"

echo "== log cifrato del componente (kiro log read)"
registro=$(find "$lavoro/log" -name 'plgQZCoopApp_*.mlg' -print -quit)
[[ -n "$registro" ]] || errore "nessun file di log in $lavoro/log"
kiro log read "$registro" >"$lavoro/log.txt" || errore "kiro log read non riuscito"
grep -q 'CercaLotti' "$lavoro/log.txt" || errore "la ricerca non compare nel log"
grep -c . "$lavoro/log.txt" | sed 's/^/righe di log: /'

echo "host-minimo: tutte le verifiche superate"
