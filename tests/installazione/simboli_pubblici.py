#!/usr/bin/env python3
"""Checks the dynamic symbols of the add-on's shared library against its
public headers.

Every exported symbol must belong to a class, struct or function that a
header under include/qzkiro declares (its members, vtable or type
information); nothing of the add-on's inside (qzkiro::core, net, util, the
services...), of the C++ library or of the C libraries it links may show.
Every member function that Plugin declares must be exported.

Usage: simboli_pubblici.py LIBRERIA CARTELLA_INCLUDE
"""
import pathlib
import re
import subprocess
import sys

DICHIARAZIONE_TIPO = re.compile(r"^\s*(?:class|struct|enum class|enum)\s+(\w+)\s*(?:[:{]|final)", re.M)
FUNZIONE_LIBERA = re.compile(r"^[A-Za-z][\w:<>,& \t*]*?[ \t][&*]?(\w+)\(", re.M)
MEMBRO_PLUGIN = re.compile(r"^\s+(?:[\w:<>,]+\s+)+[&*]?(\w+)\(", re.M)
PREFISSI_SPECIALI = ("typeinfo name for ", "typeinfo for ", "vtable for ")


def nomi_pubblici(include):
    tipi, funzioni = set(), set()
    for header in pathlib.Path(include).rglob("*.h"):
        testo = header.read_text(encoding="utf-8")
        tipi.update(DICHIARAZIONE_TIPO.findall(testo))
        # Free functions are declared at column 0 inside a namespace; members
        # are indented.
        funzioni.update(FUNZIONE_LIBERA.findall(testo))
    return tipi, funzioni


def membri_plugin(include):
    testo = (pathlib.Path(include) / "qzkiro" / "Plugin.h").read_text(encoding="utf-8")
    corpo = testo[testo.index("class Plugin {"):testo.index("};", testo.index("class Plugin {"))]
    return set(MEMBRO_PLUGIN.findall(corpo)) - {"operator"}


def simboli_esportati(libreria):
    uscita = subprocess.run(["nm", "-D", "--defined-only", "-C", libreria],
                            check=True, capture_output=True, text=True).stdout
    simboli = []
    for riga in uscita.splitlines():
        parti = riga.split(maxsplit=2)
        if len(parti) == 3 and parti[1] != "A":  # "A": the version node
            simboli.append(parti[2])
    return simboli


def percorso(simbolo):
    """The qualified name a symbol belongs to, without parameters, symbol
    version ("@@QZKIRO_1") or ABI tags ("[abi:cxx11]")."""
    simbolo = re.sub(r"\[abi:\w+\]", "", simbolo.split("@", 1)[0])
    for prefisso in PREFISSI_SPECIALI:
        if simbolo.startswith(prefisso):
            return simbolo[len(prefisso):]
    return simbolo.split("(", 1)[0]


def pubblico(simbolo, tipi, funzioni):
    nome = percorso(simbolo)
    if not nome.startswith("qzkiro::"):
        return False
    parti = [p for p in re.split(r"::", re.sub(r"<.*>", "", nome)) if p]
    # qzkiro[::namespace]::Type[::member] or qzkiro[::namespace]::function
    if any(p in tipi for p in parti[1:]):
        return True
    return parti[-1] in funzioni and not any(p[:1].isupper() for p in parti[1:-1])


def main():
    libreria, include = sys.argv[1], sys.argv[2]
    tipi, funzioni = nomi_pubblici(include)
    simboli = simboli_esportati(libreria)
    interni = [s for s in simboli if not pubblico(s, tipi, funzioni)]
    esportati_plugin = {percorso(s).split("::")[-1] for s in simboli
                        if percorso(s).startswith("qzkiro::Plugin::")}
    mancanti = sorted(membri_plugin(include) - esportati_plugin - {"Plugin"})
    for s in interni[:40]:
        print(f"simbolo interno esportato: {s}")
    for m in mancanti:
        print(f"membro di Plugin non esportato: {m}")
    print(f"{len(simboli)} simboli esportati, {len(interni)} interni, "
          f"{len(mancanti)} membri di Plugin mancanti")
    return 1 if interni or mancanti or not simboli else 0


if __name__ == "__main__":
    sys.exit(main())
