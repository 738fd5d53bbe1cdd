#!/usr/bin/env python3
"""Checks the requests a recording folder holds against the public schemas
with xmllint, outside the add-on's and the sandbox's own code.

  verifica_registrazione.py DIR [--dati FOLDER]

DIR is what `kiro demo --registra DIR` (or `kiro-sandbox --registra DIR`)
wrote. Every request to the health record's services ("fse" files: registry
queries, retrievals, and each publication's infoset, the XOP message with its
parts inlined) is validated against SOAP 1.2 and the XDS.b schemas, every
CDA document a publication carries against CDA.xsd, and every Bundle sent to
the regional FHIR server ("fhir" files) against the FHIR STU3 schema. The schemas are read from
FOLDER (default: $QZKIRO_DATI_PUBBLICI, else ../shared/data beside the
repository); libxml2 cannot load the ebRS rim.xsd together with IHEXDSB.xsd
as published (rim.xsd imports xcf.xsd into the XDS.b namespace), so a
temporary copy drops that import and the element that needs it. Exit 0 when
everything validates, 1 otherwise.
"""

import argparse
import json
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

RADICE = pathlib.Path(__file__).resolve().parent.parent


def cartella_dati(opzione):
    if opzione:
        return pathlib.Path(opzione)
    if os.environ.get("QZKIRO_DATI_PUBBLICI"):
        return pathlib.Path(os.environ["QZKIRO_DATI_PUBBLICI"])
    return RADICE.parent / "shared" / "data"


def prepara_schemi(dati, tmp):
    """The driver schema: SOAP 1.2 and XDS.b from a patched copy."""
    for xsd in (dati / "xds-ebxml/wxdsb/xsd").glob("*.xsd"):
        shutil.copy(xsd, tmp / xsd.name)
    rim = (tmp / "rim.xsd").read_text(encoding="utf-8")
    rim = re.sub(r'<import[^>]*xcf\.xsd"[^>]*/>', "", rim)
    rim = re.sub(r'<element[^>]*ref="xdsext:Document"[^>]*/>', "", rim)
    (tmp / "rim.xsd").write_text(rim, encoding="utf-8")
    wss = dati / "ws-soap-saml/apache-ws-wss4j-schemas"
    shutil.copy(wss / "xml.xsd", tmp / "xml.xsd")
    soap = (wss / "soap-1.2.xsd").read_text(encoding="utf-8")
    soap = soap.replace("http://www.w3.org/2001/xml.xsd", "xml.xsd")
    (tmp / "soap-1.2.xsd").write_text(soap, encoding="utf-8")
    driver = tmp / "driver.xsd"
    driver.write_text(
        '<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" '
        'targetNamespace="urn:qzkiro:verifica">\n'
        '  <xs:import namespace="http://www.w3.org/2003/05/soap-envelope" '
        'schemaLocation="soap-1.2.xsd"/>\n'
        '  <xs:import namespace="urn:ihe:iti:xds-b:2007" schemaLocation="IHEXDSB.xsd"/>\n'
        "</xs:schema>\n",
        encoding="utf-8",
    )
    return driver


def valida(schema, file):
    esito = subprocess.run(
        ["xmllint", "--noout", "--nonet", "--schema", str(schema), str(file)],
        capture_output=True, text=True)
    if esito.returncode == 0:
        return None
    righe = [r for r in esito.stderr.splitlines() if "validates" not in r]
    return "\n    ".join(righe[-5:])


def da_validare(cartella, indice, driver, cda, fhir):
    """(file, schema) pairs: the fse requests, the CDA parts, the Bundles."""
    for scambio in indice["scambi"]:
        file = scambio.get("file") or ""
        if scambio.get("servizio") == "fhir" and file.endswith(".xml"):
            yield cartella / file, fhir
            continue
        if scambio.get("servizio") != "fse" and not file.split("-")[1:2] == ["fse"]:
            continue
        if file.endswith(".xml"):
            yield cartella / file, driver
        if scambio.get("infoset"):
            yield cartella / scambio["infoset"], driver
        for parte in scambio.get("parti", [])[1:]:
            testo = (cartella / parte).read_text(encoding="utf-8", errors="replace")
            if "<ClinicalDocument" in testo[:2000]:
                yield cartella / parte, cda


def main():
    argomenti = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    argomenti.add_argument("cartella")
    argomenti.add_argument("--dati")
    opzioni = argomenti.parse_args()
    cartella = pathlib.Path(opzioni.cartella)
    dati = cartella_dati(opzioni.dati)
    indice = json.loads((cartella / "indice.json").read_text(encoding="utf-8"))
    cda = dati / "cda-schema/hl7-cda-r2-normative/infrastructure/cda/CDA.xsd"
    fhir = dati / "fhir-stu3/schema/fhir-single.xsd"
    errori = 0
    controllati = {"busta": 0, "cda": 0, "fhir": 0}
    with tempfile.TemporaryDirectory() as tmp:
        driver = prepara_schemi(dati, pathlib.Path(tmp))
        for file, schema in da_validare(cartella, indice, driver, cda, fhir):
            controllati["cda" if schema == cda else "fhir" if schema == fhir else "busta"] += 1
            errore = valida(schema, file)
            if errore:
                errori += 1
                print(f"NON VALIDO {file.name}\n    {errore}")
    print(f"verifica_registrazione: {controllati['busta']} richieste XDS.b, "
          f"{controllati['cda']} documenti CDA, {controllati['fhir']} Bundle FHIR, "
          f"{errori} non validi")
    if controllati["busta"] == 0 or controllati["cda"] == 0:
        print("verifica_registrazione: nessuna pubblicazione nella cartella")
        return 1
    return 1 if errori else 0


if __name__ == "__main__":
    sys.exit(main())
