#!/usr/bin/env bash
# Makes the test PKI of the sandbox into the folder given as the only argument:
#   ca.pem ca.key                 the test CA
#   server.pem server.key         the sandbox's server certificate (localhost, 127.0.0.1)
#   client.pem client.key         the client certificate, signed by the CA,
#   client.p12                    and the same as PKCS#12 (password "kiro")
#   estraneo.p12                  a client certificate the CA never signed (password "kiro")
#   idp.pem idp.key               encryption certificate of the identity provider (RSA)
#   sarcf.pem sarcf.key           encryption certificate of the patient data (RSA)
#   fse.cer fse.key               encryption certificate of the prescription data (RSA, DER)
# Only missing files are made; when the CA is made anew, everything it signed is too.
# Keys stay in that folder: it belongs to a build tree or a temporary folder.
set -euo pipefail

if [[ $# -ne 1 ]]; then
  echo "uso: $0 CARTELLA" >&2
  exit 2
fi
mkdir -p "$1"
cd "$1"

# Several builds or tests may call this at once on the same folder.
exec 9>.crea_pki.lock
flock 9

umask 077
password=kiro
giorni=3650
soggetto="/C=IT/O=KIRO Sandbox/CN="
tmp=$(mktemp -d .tmp.XXXXXX)
trap 'rm -rf "$tmp"' EXIT

manca() {  # NOME [ESTENSIONE]: certificate (NOME.pem or NOME.ESTENSIONE) or key missing
  [[ ! -s $1.${2:-pem} || ! -s $1.key ]]
}

# Key generation is most of the time: every missing key is made at once, in parallel.
# Keys used only by TLS are EC P-256 (fast to make); the client key and the encryption
# keys are RSA 2048, as the add-on signs and encrypts with RSA.
processi=()
chiave() {  # NOME [ec]
  local alg=(-algorithm RSA -pkeyopt rsa_keygen_bits:2048)
  [[ ${2:-} == ec ]] && alg=(-algorithm EC -pkeyopt ec_paramgen_curve:P-256)
  openssl genpkey "${alg[@]}" -out "$tmp/$1.key" 2>/dev/null &
  processi+=($!)
}
if manca ca; then
  rm -f server.pem server.key client.pem client.key client.p12
  chiave ca ec
fi
if manca server; then chiave server ec; fi
for nome in client idp sarcf; do
  if manca $nome; then chiave $nome; fi
done
if manca fse cer; then chiave fse; fi
[[ -s estraneo.p12 ]] || chiave estraneo ec
for p in "${processi[@]}"; do wait "$p"; done

# Every file is written under $tmp and renamed into place, so nobody sees half a file.
autofirmato() {  # NOME CN ESTENSIONE...
  local nome=$1 cn=$2 opzioni=()
  shift 2
  for e in "$@"; do opzioni+=(-addext "$e"); done
  openssl req -new -x509 -key "$tmp/$nome.key" -days $giorni -subj "$soggetto$cn" "${opzioni[@]}" \
    -out "$tmp/$nome.pem"
}

firmato_ca() {  # NOME CN ESTENSIONE...
  local nome=$1 cn=$2
  shift 2
  manca $nome || return 0
  openssl req -new -key "$tmp/$nome.key" -subj "$soggetto$cn" -out "$tmp/$nome.csr"
  printf '%s\n' "$@" >"$tmp/$nome.ext"
  openssl x509 -req -in "$tmp/$nome.csr" -CA ca.pem -CAkey ca.key -CAcreateserial \
    -CAserial "$tmp/serial" -days $giorni -sha256 -extfile "$tmp/$nome.ext" \
    -out "$tmp/$nome.pem" 2>/dev/null
  mv "$tmp/$nome.key" "$tmp/$nome.pem" .
}

p12() {  # NOME-P12 CERT KEY ALIAS [CATENA]
  openssl pkcs12 -export -in "$2" -inkey "$3" -name "$4" ${5:+-certfile "$5"} \
    -passout "pass:$password" -out "$tmp/$1"
  mv "$tmp/$1" .
}

if [[ -s $tmp/ca.key ]]; then
  autofirmato ca "KIRO Sandbox CA" "basicConstraints=critical,CA:TRUE" \
    "keyUsage=critical,keyCertSign,cRLSign"
  mv "$tmp/ca.key" "$tmp/ca.pem" .
fi

firmato_ca server localhost "basicConstraints=CA:FALSE" \
  "keyUsage=critical,digitalSignature" "extendedKeyUsage=serverAuth" \
  "subjectAltName=DNS:localhost,IP:127.0.0.1"
firmato_ca client "MEDICO PROVA" "basicConstraints=CA:FALSE" \
  "keyUsage=critical,digitalSignature,keyEncipherment" "extendedKeyUsage=clientAuth"
[[ -s client.p12 ]] || p12 client.p12 client.pem client.key client ca.pem

if [[ ! -s estraneo.p12 ]]; then
  autofirmato estraneo "ESTRANEO" "extendedKeyUsage=clientAuth"
  p12 estraneo.p12 "$tmp/estraneo.pem" "$tmp/estraneo.key" estraneo
fi

for nome in idp sarcf; do
  manca $nome || continue
  cn="KIRO Sandbox IdP"
  [[ $nome == sarcf ]] && cn="KIRO Sandbox SAR CF"
  autofirmato $nome "$cn" "keyUsage=critical,keyEncipherment,dataEncipherment"
  mv "$tmp/$nome.key" "$tmp/$nome.pem" .
done

# The prescription services publish their certificate in DER form.
if manca fse cer; then
  autofirmato fse "KIRO Sandbox FSE" "keyUsage=critical,keyEncipherment,dataEncipherment"
  openssl x509 -in "$tmp/fse.pem" -outform DER -out "$tmp/fse.cer"
  mv "$tmp/fse.key" "$tmp/fse.cer" .
fi
