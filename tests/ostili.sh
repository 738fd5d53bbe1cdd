#!/usr/bin/env bash
# Hostile documents through the command line's readers: each must end with a
# clear message (or a harmless rendering), never hang, flood or script.
# ctest's time-out guards against a hang. Usage: ostili.sh KIRO
set -euo pipefail
kiro=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fallito=0

python3 - "$dir" <<'PY'
import sys, pathlib
d = pathlib.Path(sys.argv[1])
grande = "x" * 100000
entita = '<!DOCTYPE ClinicalDocument [<!ENTITY g "' + grande + '">]>'
cda = '<ClinicalDocument xmlns="urn:hl7-org:v3"><title>' + "&g;" * 1000 + '</title></ClinicalDocument>'
(d / "entita.xml").write_text(entita + cda)
risate = '<!DOCTYPE l [<!ENTITY l0 "ha">' + "".join(
    f'<!ENTITY l{i} "' + f"&l{i-1};" * 10 + '">' for i in range(1, 11)) + ']>'
(d / "risate.xml").write_text(risate + '<ClinicalDocument xmlns="urn:hl7-org:v3"><title>&l10;</title></ClinicalDocument>')
(d / "hl7_entita.xml").write_text('<!DOCTYPE ADT_A01 [<!ENTITY g "' + grande + '">]><ADT_A01 xmlns="urn:hl7-org:v2xml"><PID><PID.5><XPN.1><FN.1>' + "&g;" * 1000 + '</FN.1></XPN.1></PID.5></PID></ADT_A01>')
(d / "riga.xml").write_text('<ClinicalDocument xmlns="urn:hl7-org:v3"><title>' + "y" * (4 << 20) + '\x1b[2J</titolo></ClinicalDocument>')
(d / "script.xml").write_text('<ClinicalDocument xmlns="urn:hl7-org:v3"><id root="1" extension="&lt;script&gt;x()&lt;/script&gt;"/>'
    '<title>&lt;img src=x onerror=alert(1)&gt;</title><component><structuredBody><component><section>'
    '<title>&lt;script&gt;alert(2)&lt;/script&gt;</title><text><paragraph onclick="alert(3)">ok'
    '<linkHtml href="javascript:alert(4)">l</linkHtml></paragraph></text></section></component>'
    '</structuredBody></component></ClinicalDocument>')
PY

# Runs the command; it must fail with `atteso` in its error output, which
# stays short and free of escape characters.
rifiuta() {
  local atteso=$1; shift
  local err
  if "$kiro" "$@" >"$dir/out" 2>"$dir/err"; then
    echo "NON RIFIUTATO: $*"; fallito=1; return
  fi
  err=$(cat "$dir/err")
  if [[ "$err" != *"$atteso"* ]] || [ "${#err}" -gt 2000 ] || [[ "$err" == *$'\x1b'* ]]; then
    echo "MESSAGGIO INATTESO per $*: ${err:0:300}"; fallito=1
  fi
}

rifiuta "dichiara entità" cda show "$dir/entita.xml"
rifiuta "dichiara entità" cda html "$dir/entita.xml"
rifiuta "Parse Error" cda show "$dir/risate.xml"
rifiuta "dichiara entità" hl7 show "$dir/hl7_entita.xml"
rifiuta "Parse Error" cda show "$dir/riga.xml"

"$kiro" cda html "$dir/script.xml" >"$dir/pagina.html"
grep -q "ok" "$dir/pagina.html" || { echo "la pagina ha perso il testo"; fallito=1; }
# Escaped text may say anything; no tag may script.
eseguibile='<script|<img|<[^>]*[[:space:]]on[a-z]+=|<[^>]*(href|src)="?[[:space:]]*javascript:'
if grep -qiE "$eseguibile" "$dir/pagina.html"; then
  echo "MARCATURA ESEGUIBILE nella pagina:"; grep -oiE ".{0,40}($eseguibile).{0,40}" "$dir/pagina.html"
  fallito=1
fi
exit $fallito
