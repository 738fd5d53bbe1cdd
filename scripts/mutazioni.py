#!/usr/bin/python3
"""Mutation testing of the C++ sources: do the tests notice a realistic fault?

Plants one fault at a time in the sources of a folder (a comparison flipped, an
integer constant moved by one, a short string constant altered, a condition
dropped, two adjacent element writes swapped, a Boolean flipped), rebuilds,
runs the tests and records whether they failed. The file is restored byte for
byte after every mutant, on SIGINT/SIGTERM/SIGHUP, and at the next start when a
run was killed hard (a copy of the original sits beside the state file).

  scripts/mutazioni.py --cartella src/services/ricette --max-minuti 15
  scripts/mutazioni.py --cartella src/util --riprendi --seme 2
  scripts/mutazioni.py --cartella src/util --elenca      # candidates only
  scripts/mutazioni.py --prova                           # self-test, builds nothing

Paths are relative to the repository root (the folder above this script).
Standard library only: run it with Debian's /usr/bin/python3.
"""

import argparse
import contextlib
import dataclasses
import difflib
import fnmatch
import hashlib
import json
import os
import random
import re
import shlex
import signal
import subprocess
import sys
import time
from pathlib import Path

RADICE = Path(__file__).resolve().parent.parent
ESTENSIONI = (".cpp", ".h", ".hpp", ".cc")
PAROLE_CHIAVE = {"if", "while", "for", "switch", "return", "sizeof", "alignof", "decltype",
                 "new", "delete", "throw", "case", "else", "do", "catch", "static_assert",
                 "co_return", "co_await", "co_yield", "noexcept", "operator", "typeid"}
ESITI = ("ucciso", "sopravvissuto", "non_compilabile")

# ---------------------------------------------------------------------------
# Reading C++: what the operators may touch


def _identificatore_prima(testo, i):
    j = i
    while j > 0 and (testo[j - 1].isalnum() or testo[j - 1] == "_"):
        j -= 1
    return testo[j:i]


def _fine_letterale(testo, i, virgolette):
    j = i + 1
    while j < len(testo):
        if testo[j] == "\\":
            j += 2
        elif testo[j] == virgolette:
            return j + 1
        elif testo[j] == "\n":
            return j
        else:
            j += 1
    return len(testo)


def _fine_grezza(testo, i):
    aperta = testo.find("(", i + 1)
    chiusura = ")" + testo[i + 1:aperta] + '"'
    fine = testo.find(chiusura, aperta)
    return len(testo) if aperta < 0 or fine < 0 else fine + len(chiusura)


def _fine_direttiva(testo, i):
    while True:
        fine = testo.find("\n", i)
        if fine < 0:
            return len(testo)
        if testo[i:fine].rstrip("\r").endswith("\\"):
            i = fine + 1
            continue
        return fine


def _fine_commento(testo, i):
    if testo.startswith("//", i):
        fine = testo.find("\n", i)
        return len(testo) if fine < 0 else fine
    fine = testo.find("*/", i + 2)
    return len(testo) if fine < 0 else fine + 2


def maschera(testo):
    """Blanks what no operator may touch, keeping every offset and newline.

    Returns (codice, letterali): `codice` is `testo` with comments, preprocessor
    lines (#include among them) and the inside of string and character literals
    replaced by spaces (the quotes stay, so a literal still separates tokens);
    `letterali` lists (inizio, fine) of the contents of ordinary string literals.
    """
    codice, letterali = list(testo), []

    def vuota(a, b):
        for k in range(a, b):
            if codice[k] != "\n":
                codice[k] = " "

    i, inizio_riga = 0, True
    while i < len(testo):
        c, fine = testo[i], None
        if c == "\n" or (inizio_riga and c in " \t\r"):
            inizio_riga = inizio_riga or c == "\n"
            i += 1
            continue
        if inizio_riga and c == "#":
            fine = _fine_direttiva(testo, i)
            vuota(i, fine)
        elif testo.startswith(("//", "/*"), i):
            fine = _fine_commento(testo, i)
            vuota(i, fine)
        elif c == '"' and _identificatore_prima(testo, i) in ("R", "LR", "uR", "UR", "u8R"):
            fine = _fine_grezza(testo, i)
            vuota(i + 1, fine - 1)
        elif c == '"':
            fine = _fine_letterale(testo, i, '"')
            vuota(i + 1, fine - 1)
            letterali.append((i + 1, fine - 1))
        elif c == "'" and _identificatore_prima(testo, i) in ("", "L", "u", "U", "u8"):
            fine = _fine_letterale(testo, i, "'")
            vuota(i + 1, fine - 1)
        inizio_riga = False
        i = fine if fine is not None else i + 1
    return "".join(codice), letterali


def parentesi_chiusa(codice, apre):
    """Offset of the bracket closing the one at `apre` (any of ([{), or -1."""
    profondita = 0
    for k in range(apre, len(codice)):
        if codice[k] in "([{":
            profondita += 1
        elif codice[k] in ")]}":
            profondita -= 1
            if profondita == 0:
                return k
    return -1


def _senza_spazi(testo, a, b):
    while a < b and testo[a].isspace():
        a += 1
    while b > a and testo[b - 1].isspace():
        b -= 1
    return a, b


# ---------------------------------------------------------------------------
# The operators: each returns (offset, original text, replacement) triples.

RELAZIONALE = re.compile(r"(?<![<>=!])(==|!=|<=|>=)(?![=>])|(?<=\s)([<>])(?=\s)")
ROVESCIO = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}


def op_relazionale(testo, codice, letterali):
    """`<`↔`<=`, `>`↔`>=`, `==`↔`!=`. A lone `<`/`>` counts only with spaces
    on both sides, which leaves out `<<`, `>>`, `->` and template brackets."""
    mutanti = []
    for m in RELAZIONALE.finditer(codice):
        if not re.search(r"\boperator\s*$", codice[max(0, m.start() - 12):m.start()]):
            mutanti.append((m.start(), m.group(), ROVESCIO[m.group()]))
    return mutanti


INTERO = re.compile(r"(?<![\w.'])(\d+)([uUlLzZ]*)(?![\w.'])")
DICHIARA_VETTORE = re.compile(r"([A-Za-z_]\w*)[\s*&]+[A-Za-z_]\w*\s*\[\s*$")


def _dimensione_di_vettore(codice, m):
    """True for the size in `char testo[24]`: a declaration, not an index."""
    inizio_riga = codice.rfind("\n", 0, m.start()) + 1
    prima = DICHIARA_VETTORE.search(codice[inizio_riga:m.start()])
    return bool(prima and prima.group(1) not in PAROLE_CHIAVE
                and re.match(r"\s*\]", codice[m.end():]))


def op_limite(testo, codice, letterali):
    """A decimal integer constant moved by one (0 only upwards)."""
    mutanti = []
    for m in INTERO.finditer(codice):
        cifre, suffisso = m.group(1), m.group(2)
        if (len(cifre) > 1 and cifre[0] == "0") or _dimensione_di_vettore(codice, m):
            continue
        valore = int(cifre)
        for nuovo in (valore + 1, valore - 1):
            if nuovo >= 0:
                mutanti.append((m.start(), m.group(), f"{nuovo}{suffisso}"))
    return mutanti


def _altera(c):
    for alfabeto in ("0123456789", "abcdefghijklmnopqrstuvwxyz", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"):
        if c in alfabeto:
            return alfabeto[(alfabeto.index(c) + 1) % len(alfabeto)]
    return "Y" if c == "X" else "X"


def op_stringa(testo, codice, letterali):
    """A short string constant (a code, a tag, a name, a format) with its last
    character altered, and, up to six characters, its letters' case flipped
    ("%02X" → "%02x"). Texts with spaces or escapes (messages) and pieces of a
    concatenated literal are left alone."""
    mutanti = []
    for a, b in letterali:
        contenuto = testo[a:b]
        if not 1 <= len(contenuto) <= 20 or "\\" in contenuto or any(
                c.isspace() for c in contenuto):
            continue
        prima, dopo = codice[max(0, a - 80):a - 1].rstrip(), codice[b + 1:b + 80].lstrip()
        if prima.endswith(('"', "extern")) or dopo.startswith('"'):
            continue
        varianti = [contenuto[:-1] + _altera(contenuto[-1])]
        varianti += [contenuto.swapcase()] if len(contenuto) <= 6 else []
        for v in dict.fromkeys(varianti):
            if v != contenuto:
                mutanti.append((a, contenuto, v))
    return mutanti


CONDIZIONE = re.compile(r"\b(if|while)\s*(constexpr\s*)?\(")
RITORNO = re.compile(r"\breturn\b")


def _operandi(codice, a, b):
    """Spans of the operands of a top-level `&&` (or `||`) chain in [a, b)."""
    profondita, tagli, tipi = 0, [], set()
    k = a
    while k < b:
        c = codice[k]
        profondita += c in "([{"
        profondita -= c in ")]}"
        if profondita == 0 and codice[k:k + 2] in ("&&", "||"):
            tagli.append(k)
            tipi.add(codice[k:k + 2])
            k += 2
            continue
        if profondita == 0 and c == "?":
            return []
        k += 1
    if len(tipi) != 1:
        return []
    limiti = [a] + [t + 2 for t in tagli]
    fini = tagli + [b]
    return [_senza_spazi(codice, s, e) for s, e in zip(limiti, fini)]


def _lascia_operandi(testo, codice, a, b):
    operandi = _operandi(codice, a, b)
    mutanti = []
    for i, (s, e) in enumerate(operandi):
        taglio = (s, operandi[1][0]) if i == 0 else (operandi[i - 1][1], e)
        mutanti.append((taglio[0], testo[taglio[0]:taglio[1]], ""))
    return mutanti


def op_condizione(testo, codice, letterali):
    """`if (X)` → `if (true)` / `if (false)`; one operand of an `&&`/`||` chain
    dropped in if/while conditions and return expressions."""
    mutanti = []
    for m in CONDIZIONE.finditer(codice):
        chiude = parentesi_chiusa(codice, m.end() - 1)
        a, b = _senza_spazi(codice, m.end(), chiude)
        interno = codice[a:b]
        if m.group(2) or chiude < 0 or ";" in interno or re.search(r"(?<![=!<>])=(?!=)", interno):
            continue
        if m.group(1) == "if" and interno not in ("true", "false"):
            mutanti += [(a, testo[a:b], "true"), (a, testo[a:b], "false")]
        mutanti += _lascia_operandi(testo, codice, a, b)
    for m in RITORNO.finditer(codice):
        fine = m.end()
        while 0 < fine < len(codice) and codice[fine] not in ";{}":
            fine = parentesi_chiusa(codice, fine) + 1 if codice[fine] in "([" else fine + 1
        if 0 < fine < len(codice) and codice[fine] == ";":
            mutanti += _lascia_operandi(testo, codice, *_senza_spazi(codice, m.end(), fine))
    return mutanti


CHIAMATA = re.compile(r"(?<![\w.:>])([A-Za-z_]\w*(?:(?:::|\.|->)[A-Za-z_]\w*)*)\s*\(")


def _chiamata_sola(codice, a, b):
    """The callee of a statement that is one call (maybe under an `if (...)`,
    maybe assigned to a name): `xml.AddNode(...);`, `x = Se(...);`."""
    s = codice[a:b]
    m = re.match(r"if\s*\(", s)
    i = parentesi_chiusa(s, m.end() - 1) + 1 if m else 0
    if m and i == 0:
        return None
    i = len(s) - len(s[i:].lstrip())
    assegna = re.match(r"[A-Za-z_][\w.\[\]]*(?:->\w+)*\s*=(?!=)\s*", s[i:])
    i += assegna.end() if assegna else 0
    chiamata = CHIAMATA.match(s, i)
    chiamato = chiamata.group(1) if chiamata else ""
    # std::move and the like: their order rarely matters.
    if not chiamato or chiamato in PAROLE_CHIAVE or chiamato.startswith("std::"):
        return None
    chiude = parentesi_chiusa(s, chiamata.end() - 1)
    return chiamato if chiude > 0 and s[chiude + 1:].strip() == ";" else None


def _bilanciato(s):
    profondita = 0
    for c in s:
        profondita += (c in "([{") - (c in ")]}")
        if profondita < 0:
            return False
    return profondita == 0


def _istruzioni(codice):
    """(start, end) of statements that begin a line after a finished one and
    end with `;` at bracket depth 0 within six lines."""
    righe, pos = [], 0
    for riga in codice.split("\n"):
        righe.append((pos, riga))
        pos += len(riga) + 1
    trovate, precedente = [], ";"
    for n, (pos, riga) in enumerate(righe):
        if not riga.strip():
            continue
        if precedente in ";{}:":
            testo_istr = ""
            for fine_pos, altra in righe[n:n + 6]:
                testo_istr += altra + "\n"
                chiusa = altra.rstrip()
                if chiusa.endswith(("{", "}")):
                    break
                if chiusa.endswith(";") and _bilanciato(testo_istr):
                    a = pos + len(riga) - len(riga.lstrip())
                    trovate.append((a, fine_pos + len(chiusa)))
                    break
        precedente = riga.rstrip()[-1]
    return trovate


def _scambia(testo, a1, b1, a2, b2):
    return (a1, testo[a1:b2], testo[a2:b2] + testo[b1:a2] + testo[a1:b1])


def op_scambio(testo, codice, letterali):
    """Two adjacent writes swapped: consecutive statements that are calls to
    the same callee (`xml.AddNode(...)`, `Se(xml, ...)`), or two calls to the
    same function joined by `+` (`ElementoTesto(...) + ElementoTesto(...)`)."""
    mutanti = []
    istruzioni = [(a, b, _chiamata_sola(codice, a, b)) for a, b in _istruzioni(codice)]
    for (a1, b1, c1), (a2, b2, c2) in zip(istruzioni, istruzioni[1:]):
        if c1 and c1 == c2 and not codice[b1:a2].strip() and testo[a1:b1] != testo[a2:b2]:
            mutanti.append(_scambia(testo, a1, b1, a2, b2))
    for m in CHIAMATA.finditer(codice):
        b1 = parentesi_chiusa(codice, m.end() - 1) + 1
        piu = re.compile(r"\s*\+\s*").match(codice, b1) if b1 > 0 else None
        secondo = CHIAMATA.match(codice, piu.end()) if piu else None
        if m.group(1) in PAROLE_CHIAVE or not secondo or secondo.group(1) != m.group(1):
            continue
        b2 = parentesi_chiusa(codice, secondo.end() - 1) + 1
        if b2 > 0 and not re.match(r"\s*(->|[.\[*/%])", codice[b2:]):
            mutanti.append(_scambia(testo, m.start(), b1, secondo.start(), b2))
    return mutanti


def op_booleano(testo, codice, letterali):
    """`true`↔`false`."""
    return [(m.start(), m.group(), "false" if m.group() == "true" else "true")
            for m in re.finditer(r"\b(true|false)\b", codice)]


OPERATORI = {"relazionale": op_relazionale, "limite": op_limite, "stringa": op_stringa,
             "condizione": op_condizione, "scambio": op_scambio, "booleano": op_booleano}


# ---------------------------------------------------------------------------
# Mutants


@dataclasses.dataclass
class Mutante:
    file: str
    operatore: str
    inizio: int
    originale: str
    sostituto: str
    riga: int
    hash_file: str

    def chiave(self):
        variante = hashlib.sha1(f"{self.originale}\0{self.sostituto}".encode()).hexdigest()[:10]
        return f"{self.file}:{self.operatore}:{self.inizio}:{variante}"

    def applica(self, testo):
        return testo[:self.inizio] + self.sostituto + testo[self.inizio + len(self.originale):]

    def descrizione(self):
        def breve(t):
            t = " ".join(t.split())
            return t if len(t) <= 50 else t[:47] + "..."
        return f"{self.file}:{self.riga} [{self.operatore}] {breve(self.originale)!r} → " \
               f"{breve(self.sostituto)!r}"


def decodifica(dati):
    return dati.decode("utf-8", "surrogateescape")


def codifica(testo):
    return testo.encode("utf-8", "surrogateescape")


def sha256(dati):
    return hashlib.sha256(dati).hexdigest()


def genera(file_rel, testo, hash_file=""):
    """Every candidate mutant of one file, in source order per operator."""
    codice, letterali = maschera(testo)
    mutanti = []
    for nome, operatore in OPERATORI.items():
        for inizio, originale, sostituto in sorted(set(operatore(testo, codice, letterali))):
            riga = testo.count("\n", 0, inizio) + 1
            mutanti.append(Mutante(file_rel, nome, inizio, originale, sostituto, riga, hash_file))
    return mutanti


def e_di_prova(percorso, testo):
    """Tests and test helpers are not mutated."""
    return "_test." in percorso.name or bool(
        re.search(r'#\s*include\s*[<"](gtest|gmock)/', testo))


def elenca_file(cartelle, filtri):
    trovati = {}
    for cartella in cartelle:
        base = (RADICE / cartella).resolve()
        if not base.is_dir() or RADICE not in (base, *base.parents):
            sys.exit(f"mutazioni: cartella inesistente nel repository: {cartella}")
        for percorso in sorted(base.rglob("*")):
            rel = percorso.relative_to(RADICE).as_posix()
            if percorso.suffix not in ESTENSIONI or not percorso.is_file():
                continue
            if filtri and not any(fnmatch.fnmatch(rel, f) or fnmatch.fnmatch(percorso.name, f)
                                  for f in filtri):
                continue
            dati = percorso.read_bytes()
            if not e_di_prova(percorso, decodifica(dati)):
                trovati[rel] = dati
    return trovati


def _intercala(code):
    risultato, code = [], [list(c) for c in code if c]
    while code:
        risultato += [c.pop(0) for c in code]
        code = [c for c in code if c]
    return risultato


def ordina(per_file, seme):
    """A deterministic sample order: each file's mutants shuffled per operator
    and interleaved across operators, then files interleaved, so that a short
    time box still touches every file and every operator."""
    code = []
    for file_rel in sorted(per_file, key=lambda f: hashlib.sha1(f"{seme}:{f}".encode()).digest()):
        caso = random.Random(f"{seme}:{file_rel}")
        gruppi = {}
        for m in per_file[file_rel]:
            gruppi.setdefault(m.operatore, []).append(m)
        for gruppo in gruppi.values():
            caso.shuffle(gruppo)
        code.append(_intercala(gruppi[op] for op in sorted(gruppi, key=lambda _: caso.random())))
    return _intercala(code)


def leggi_equivalenti(percorso):
    """`path:line:operator: reason` lines of mutants accepted as equivalent."""
    equivalenti = {}
    if not percorso:
        return equivalenti
    for n, riga in enumerate(Path(percorso).read_text(encoding="utf-8").splitlines(), 1):
        if not riga.strip() or riga.lstrip().startswith("#"):
            continue
        m = re.match(r"\s*([^:]+):(\d+):(\w+):\s*(.*)$", riga)
        if not m or m.group(3) not in OPERATORI:
            sys.exit(f"mutazioni: {percorso}:{n}: atteso 'percorso:riga:operatore: motivo'")
        equivalenti[(m.group(1), int(m.group(2)), m.group(3))] = m.group(4)
    return equivalenti


# ---------------------------------------------------------------------------
# Running: state, restoring, signals, child processes


class Interrotto(Exception):
    pass


class Segnali:
    """SIGINT/SIGTERM/SIGHUP end the running child and raise Interrotto,
    held back while a file is being restored."""

    def __init__(self):
        self.trattenuti, self.ricevuto, self.figlio = 0, None, None

    def installa(self):
        for numero in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            signal.signal(numero, self._gestisci)

    def _gestisci(self, numero, _frame):
        self.ricevuto = numero
        termina(self.figlio)
        if not self.trattenuti:
            raise Interrotto(numero)

    @contextlib.contextmanager
    def trattieni(self):
        self.trattenuti += 1
        try:
            yield
        finally:
            self.trattenuti -= 1
        if self.ricevuto and not self.trattenuti:
            raise Interrotto(self.ricevuto)


SEGNALI = Segnali()


def termina(figlio):
    """Ends a child started by this script and its process group."""
    if figlio is None or figlio.poll() is not None:
        return
    for numero, attesa in ((signal.SIGTERM, 5), (signal.SIGKILL, 5)):
        with contextlib.suppress(ProcessLookupError):
            os.killpg(figlio.pid, numero)
        with contextlib.suppress(subprocess.TimeoutExpired):
            figlio.wait(attesa)
            return


def esegui(comando, log, limite):
    """Runs `comando` (shell) with output to `log`; its exit code, None on time out."""
    with open(log, "wb") as uscita:
        figlio = subprocess.Popen(comando, shell=True, cwd=RADICE, stdin=subprocess.DEVNULL,
                                  stdout=uscita, stderr=subprocess.STDOUT,
                                  start_new_session=True)
        SEGNALI.figlio = figlio
        try:
            return figlio.wait(limite)
        except subprocess.TimeoutExpired:
            return None
        finally:
            termina(figlio)
            SEGNALI.figlio = None


def scrivi(percorso, dati):
    with open(percorso, "r+b" if percorso.exists() else "wb") as f:
        f.write(dati)
        f.truncate()
        f.flush()
        os.fsync(f.fileno())


class Stato:
    """`BUILD/mutazioni/stato.json`: results by mutant key, and the file being
    mutated (with the copy of its original) while a mutant is planted."""

    def __init__(self, cartella):
        self.percorso, self.copia = cartella / "stato.json", cartella / "originale.bak"
        self.dati = {"versione": 1, "in_corso": None, "risultati": {}}
        if self.percorso.exists():
            self.dati = json.loads(self.percorso.read_text(encoding="utf-8"))

    def salva(self):
        provvisorio = self.percorso.with_suffix(".tmp")
        scrivi(provvisorio, json.dumps(self.dati, indent=1, ensure_ascii=False).encode())
        os.replace(provvisorio, self.percorso)

    def recupera(self):
        """Puts back the file a hard-killed run left mutated."""
        corso = self.dati.get("in_corso")
        if not corso:
            return
        copia = Path(corso["copia"])
        dati = copia.read_bytes() if copia.exists() else b""
        if sha256(dati) != corso["sha256"]:
            sys.exit(f"mutazioni: {corso['file']} è forse ancora mutato e la copia {copia} "
                     "non corrisponde: ripristinarlo a mano (git diff), poi cancellare "
                     f"{self.percorso}")
        scrivi(Path(corso["file"]), dati)
        print(f"mutazioni: ripristinato {corso['file']} dalla copia lasciata da un'esecuzione "
              "interrotta", file=sys.stderr)
        self.dati["in_corso"] = None
        self.salva()
        copia.unlink()

    @contextlib.contextmanager
    def piantato(self, percorso, originale):
        """Writes the copy and the state before the mutant goes in; restores the
        original byte for byte whatever happens."""
        scrivi(self.copia, originale)
        self.dati["in_corso"] = {"file": str(percorso), "copia": str(self.copia),
                                 "sha256": sha256(originale)}
        self.salva()
        try:
            yield
        finally:
            with SEGNALI.trattieni():
                scrivi(percorso, originale)
                if sha256(percorso.read_bytes()) != sha256(originale):
                    raise RuntimeError(f"ripristino di {percorso} non riuscito: copia in "
                                       f"{self.copia}")
                self.dati["in_corso"] = None
                self.salva()
                self.copia.unlink()


@dataclasses.dataclass
class Comandi:
    compila: str
    test: str
    cartella: Path
    limite_test: float = 3600


def diff(m, testo):
    righe_a, righe_b = testo.splitlines(True), m.applica(testo).splitlines(True)
    return "".join(difflib.unified_diff(righe_a, righe_b, f"a/{m.file}", f"b/{m.file}", n=1))


def _firma(percorso):
    with contextlib.suppress(FileNotFoundError):
        st = percorso.stat()
        return st.st_size, st.st_mtime_ns
    return None


class Albero:
    """The repository's files (tracked, and untracked but not ignored) as they
    were at the start. Tests run against a mutant may write into the tree (a
    fixture rewritten in place by the code under test): whatever changed is put
    back after each mutant and named in the report."""

    def __init__(self, escluse):
        elenco = subprocess.run(["git", "ls-files", "-z", "--cached", "--others",
                                 "--exclude-standard"], cwd=RADICE, capture_output=True)
        if elenco.returncode != 0:
            print("mutazioni: non è un repository git: i file scritti dai test non sono "
                  "sorvegliati", file=sys.stderr)
        self.file = {}
        for nome in filter(None, elenco.stdout.split(b"\0")):
            percorso = RADICE / os.fsdecode(nome)
            if (percorso.is_file() and not percorso.is_symlink()
                    and not any(e in percorso.parents for e in escluse)):
                self.file[percorso] = (percorso.read_bytes(), _firma(percorso))

    def ripristina(self):
        """Puts back every file whose bytes changed; returns their paths."""
        cambiati = []
        for percorso, (dati, firma) in self.file.items():
            if _firma(percorso) == firma:
                continue
            if not percorso.exists() or percorso.read_bytes() != dati:
                percorso.parent.mkdir(parents=True, exist_ok=True)
                scrivi(percorso, dati)
                cambiati.append(percorso.relative_to(RADICE).as_posix())
            self.file[percorso] = (dati, _firma(percorso))
        return cambiati


def prova_mutante(m, stato, comandi, albero):
    percorso = RADICE / m.file
    originale = percorso.read_bytes()
    if sha256(originale) != m.hash_file:
        return None
    testo = decodifica(originale)
    risultato = {"file": m.file, "riga": m.riga, "operatore": m.operatore, "hash": m.hash_file}
    inizio = time.monotonic()
    try:
        with stato.piantato(percorso, originale):
            scrivi(percorso, codifica(m.applica(testo)))
            rc = esegui(comandi.compila, comandi.cartella / "compila.log", 3600)
            risultato["secondi_build"] = round(time.monotonic() - inizio, 1)
            if rc == 0:
                rc = esegui(comandi.test, comandi.cartella / "test.log", comandi.limite_test)
                risultato["esito"] = "sopravvissuto" if rc == 0 else "ucciso"
            else:
                risultato["esito"] = "non_compilabile"
    finally:
        with SEGNALI.trattieni():
            riscritti = albero.ripristina()
        if riscritti:
            print(f"mutazioni: i test hanno riscritto {', '.join(riscritti)}: ripristinati",
                  file=sys.stderr)
    risultato["secondi"] = round(time.monotonic() - inizio, 1)
    if riscritti:
        risultato["file_riscritti"] = riscritti
    if rc is None:
        risultato["tempo_scaduto"] = True
    if risultato["esito"] == "sopravvissuto":
        risultato["diff"] = diff(m, testo)
    return risultato


def verifica_iniziale(comandi):
    """The untouched tree must build and pass, or no result would mean anything.
    Returns the duration of the tests, which bounds each mutant's test run."""
    print("mutazioni: build e test senza mutanti...", file=sys.stderr)
    if esegui(comandi.compila, comandi.cartella / "compila.log", 7200) != 0:
        sys.exit(f"mutazioni: la build senza mutanti non riesce (vedi {comandi.cartella}/"
                 "compila.log)")
    inizio = time.monotonic()
    if esegui(comandi.test, comandi.cartella / "test.log", 7200) != 0:
        sys.exit(f"mutazioni: i test falliscono già senza mutanti (vedi {comandi.cartella}/"
                 "test.log)")
    return time.monotonic() - inizio


# ---------------------------------------------------------------------------
# The report

CONTEGGI = ("ucciso", "sopravvissuto", "non_compilabile", "equivalente", "non_provato")
ETICHETTE = ("uccisi", "sopravvissuti", "non compilabili", "equivalenti", "non provati")


def esito_di(m, risultati, equivalenti):
    if (m.file, m.riga, m.operatore) in equivalenti:
        return "equivalente"
    r = risultati.get(m.chiave())
    return r["esito"] if r and r.get("hash") == m.hash_file else "non_provato"


def tasso(conteggi):
    provati = conteggi["ucciso"] + conteggi["sopravvissuto"]
    return round(conteggi["ucciso"] / provati, 3) if provati else None


def _cartelle_di(file_rel, radici):
    cartella = Path(file_rel).parent
    while any(cartella == r or r in cartella.parents for r in radici):
        yield cartella.as_posix()
        cartella = cartella.parent


def rapporto(mutanti, risultati, equivalenti, radici, info):
    """Counts per file, per folder, per operator and in total; survivors' diffs."""
    gruppi = {"file": {}, "cartelle": {}, "operatori": {}}
    totale = dict.fromkeys(CONTEGGI, 0)
    radici = [Path(r) for r in radici]
    sopravvissuti, accettati, riscritture, secondi = [], {}, [], []
    for m in mutanti:
        esito = esito_di(m, risultati, equivalenti)
        r = risultati.get(m.chiave()) if esito in ESITI else None
        if r:
            secondi.append(r["secondi"])
        if r and r.get("file_riscritti"):
            riscritture.append({k: r[k] for k in ("file", "riga", "operatore", "file_riscritti")})
        nomi = {"file": [m.file], "cartelle": _cartelle_di(m.file, radici),
                "operatori": [m.operatore]}
        for gruppo, chiavi in nomi.items():
            for chiave in chiavi:
                gruppi[gruppo].setdefault(chiave, dict.fromkeys(CONTEGGI, 0))[esito] += 1
        totale[esito] += 1
        if esito == "sopravvissuto":
            sopravvissuti.append({k: r[k] for k in ("file", "riga", "operatore", "diff")})
        elif esito == "equivalente":
            chiave = (m.file, m.riga, m.operatore)
            accettati[chiave] = {"file": m.file, "riga": m.riga, "operatore": m.operatore,
                                 "motivo": equivalenti[chiave]}
    for conteggi in [totale, *(c for g in gruppi.values() for c in g.values())]:
        conteggi["tasso"] = tasso(conteggi)
    return {**info, **{g: dict(sorted(v.items())) for g, v in gruppi.items()},
            "totale": totale, "sopravvissuti": sopravvissuti,
            "equivalenti": list(accettati.values()), "file_riscritti_dai_test": riscritture,
            "secondi_medi": round(sum(secondi) / len(secondi), 1) if secondi else None}


def _tabella(titolo, righe):
    larghezza = max([len(titolo)] + [len(nome) for nome, _ in righe])
    testo = [f"{titolo:<{larghezza}}  " + "  ".join(ETICHETTE) + "  tasso"]
    for nome, c in righe:
        celle = [f"{c[k]:>{len(e)}}" for k, e in zip(CONTEGGI, ETICHETTE)]
        t = "—" if c["tasso"] is None else f"{c['tasso']:.0%}"
        testo.append(f"{nome:<{larghezza}}  " + "  ".join(celle) + f"  {t:>5}")
    return "\n".join(testo)


def testo_rapporto(r):
    provati = sum(r["totale"][k] for k in ESITI)
    righe = [f"Mutazioni in {', '.join(r['cartelle_mutate'])}: {provati} mutanti provati su "
             f"{sum(r['totale'][k] for k in CONTEGGI)} (seme {r['seme']}, {r['minuti']} min"
             f"{', interrotto' if r['interrotto'] else ''})",
             f"build: {r['comando_build']}", f"test:  {r['comando_test']}", "",
             _tabella("file", list(r["file"].items())), "",
             _tabella("cartella", list(r["cartelle"].items()) + (
                 [("totale", r["totale"])] if len(r["cartelle_mutate"]) > 1 else [])), "",
             _tabella("operatore", list(r["operatori"].items())), ""]
    if r["secondi_medi"]:
        resto = r["totale"]["non_provato"] * r["secondi_medi"] / 3600
        righe[1:1] = [f"tempo medio per mutante {r['secondi_medi']} s; per i non provati "
                      f"servirebbero circa {resto:.1f} ore"]
    if r["file_riscritti_dai_test"]:
        righe.append("Mutanti con cui i test hanno riscritto file del repository (ripristinati):")
        righe += [f"  {x['file']}:{x['riga']} [{x['operatore']}] → "
                  f"{', '.join(x['file_riscritti'])}" for x in r["file_riscritti_dai_test"]]
        righe.append("")
    if r["equivalenti"]:
        righe.append(f"Equivalenti accettati ({len(r['equivalenti'])}):")
        righe += [f"  {e['file']}:{e['riga']} [{e['operatore']}] {e['motivo']}"
                  for e in r["equivalenti"]]
        righe.append("")
    righe.append(f"Sopravvissuti ({len(r['sopravvissuti'])}):")
    for s in r["sopravvissuti"]:
        righe += ["", f"{s['file']}:{s['riga']} [{s['operatore']}]", s["diff"].rstrip("\n")]
    return "\n".join(righe) + "\n"


# ---------------------------------------------------------------------------
# Self-test of the operators (--prova): no build, no files touched

PROVA_CPP = r'''#include <map>  // a < b
/* if (x == y) return true; */
bool Controlla(int a, int b, const std::map<int, int>& m) {
  char buf[24];
  const char* s = "a < b";
  if (a < b && m.size() >= 2) return true;
  int c = a << 3;
  auto p = static_cast<long>(c);
  xml.AddNode(r, "nre", s);
  xml.AddNode(r, "cfMedico", buf);
  int k = 1'000; auto q = R"(a == "b")"; char z = '<';
  return p != 0x1F || Elemento("uno") + Elemento("due") == "%02X";
}
'''

PROVA_ATTESI = {
    "relazionale": {(6, "<", "<="), (6, ">=", ">"), (12, "!=", "=="), (12, "==", "!=")},
    "limite": {(6, "2", "3"), (6, "2", "1"), (7, "3", "4"), (7, "3", "2")},
    "stringa": {(9, "nre", "NRE"), (9, "nre", "nrf"), (10, "cfMedico", "cfMedicp"),
                (12, "uno", "UNO"), (12, "uno", "unp"), (12, "due", "DUE"), (12, "due", "duf"),
                (12, "%02X", "%02x"), (12, "%02X", "%02Y")},
    "condizione": {(6, "a < b && m.size() >= 2", "true"), (6, "a < b && m.size() >= 2", "false"),
                   (6, "a < b && ", ""), (6, " && m.size() >= 2", ""), (12, "p != 0x1F || ", ""),
                   (12, ' || Elemento("uno") + Elemento("due") == "%02X"', "")},
    "scambio": {(9, 'xml.AddNode(r, "nre", s);\n  xml.AddNode(r, "cfMedico", buf);',
                 'xml.AddNode(r, "cfMedico", buf);\n  xml.AddNode(r, "nre", s);'),
                (12, 'Elemento("uno") + Elemento("due")', 'Elemento("due") + Elemento("uno")')},
    "booleano": {(6, "true", "false")},
}


def autoprova():
    mutanti = genera("prova.cpp", PROVA_CPP)
    errori = []
    for operatore, attesi in PROVA_ATTESI.items():
        ottenuti = {(m.riga, m.originale, m.sostituto) for m in mutanti
                    if m.operatore == operatore}
        errori += [f"{operatore}: manca {a}" for a in sorted(attesi - ottenuti)]
        errori += [f"{operatore}: inatteso {o}" for o in sorted(ottenuti - attesi)]
    for m in mutanti:
        mutato = m.applica(PROVA_CPP)
        if mutato == PROVA_CPP or not PROVA_CPP.startswith(m.originale, m.inizio):
            errori.append(f"{m.descrizione()}: non cambia il testo")
    if len(maschera(PROVA_CPP)[0]) != len(PROVA_CPP):
        errori.append("la maschera cambia la lunghezza del testo")
    for e in errori:
        print("prova:", e, file=sys.stderr)
    print(f"prova {'fallita' if errori else 'superata'}: {len(mutanti)} mutanti, "
          f"{len(errori)} errori")
    return 1 if errori else 0


# ---------------------------------------------------------------------------
# Main


def argomenti():
    p = argparse.ArgumentParser(
        description="Mutation testing: pianta un difetto alla volta, ricompila, esegue i test.",
        epilog="Operatori: " + ", ".join(OPERATORI) + ". Percorsi relativi alla radice del "
               "repository.")
    p.add_argument("--cartella", action="append", default=[],
                   help="cartella dei sorgenti da mutare, ricorsiva (ripetibile)")
    p.add_argument("--build", default="build/dev", help="cartella di build (default build/dev)")
    p.add_argument("--max-minuti", type=float, default=30,
                   help="dopo questo tempo non pianta nuovi mutanti (default 30)")
    p.add_argument("--test", help="comando dei test (default: ctest --test-dir BUILD -jN "
                                  "--stop-on-failure --timeout 120)")
    p.add_argument("--compila", help="comando di build (default: cmake --build BUILD -j N)")
    p.add_argument("--lavori", type=int, default=2, help="processi paralleli (default 2)")
    p.add_argument("--file", action="append", default=[],
                   help="solo i file il cui percorso o nome corrisponde al GLOB (ripetibile)")
    p.add_argument("--seme", type=int, default=1, help="seme dell'ordine di campionamento")
    p.add_argument("--riprendi", action="store_true",
                   help="riusa i risultati di stato.json per i file non cambiati")
    p.add_argument("--equivalenti", help="file di righe 'percorso:riga:operatore: motivo'")
    p.add_argument("--elenca", action="store_true",
                   help="elenca i mutanti candidati senza compilare né eseguire")
    p.add_argument("--prova", action="store_true", help="prova gli operatori e termina")
    args = p.parse_args()
    if not args.prova and not args.cartella:
        p.error("serve --cartella")
    return args


def elenca(mutanti):
    for m in mutanti:
        print(m.descrizione())
    per_operatore = {}
    for m in mutanti:
        per_operatore[m.operatore] = per_operatore.get(m.operatore, 0) + 1
    print(f"{len(mutanti)} mutanti in {len({m.file for m in mutanti})} file: " +
          ", ".join(f"{op} {n}" for op, n in sorted(per_operatore.items())))


def esegui_mutanti(ordine, stato, comandi, scadenza):
    """Plants the mutants in order until the time box ends; returns how many ran."""
    if not ordine:
        return 0
    albero = Albero([comandi.cartella.parent])
    try:
        comandi.limite_test = max(180.0, 3 * verifica_iniziale(comandi) + 60)
    finally:
        riscritti = albero.ripristina()
    if riscritti:
        sys.exit(f"mutazioni: i test senza mutanti riscrivono {', '.join(riscritti)} "
                 "(ripristinati): correggere i test prima di misurare")
    fatti = 0
    for n, m in enumerate(ordine, 1):
        if time.monotonic() >= scadenza:
            break
        risultato = prova_mutante(m, stato, comandi, albero)
        if risultato is None:
            print(f"mutazioni: {m.file} è cambiato durante l'esecuzione: saltato", file=sys.stderr)
            continue
        stato.dati["risultati"][m.chiave()] = risultato
        stato.salva()
        fatti += 1
        print(f"[{n}/{len(ordine)}] {m.descrizione()}: {risultato['esito']} "
              f"({risultato['secondi']} s)", file=sys.stderr)
    return fatti


def comandi_di(args, build, stato):
    b = shlex.quote(str(build))
    comandi = Comandi(
        compila=args.compila or f"cmake --build {b} -j {args.lavori}",
        test=args.test or f"ctest --test-dir {b} -j{args.lavori} --stop-on-failure "
                          "--timeout 120",
        cartella=build / "mutazioni")
    usati = {"compila": comandi.compila, "test": comandi.test}
    if args.riprendi and stato.dati.get("comandi", usati) != usati:
        print("mutazioni: attenzione, i risultati ripresi vengono da comandi diversi: "
              f"{stato.dati['comandi']}", file=sys.stderr)
    stato.dati["comandi"] = usati
    return comandi


def scrivi_rapporto(dati, cartella):
    testo = testo_rapporto(dati)
    (cartella / "rapporto.txt").write_text(testo, encoding="utf-8")
    (cartella / "rapporto.json").write_text(json.dumps(dati, indent=1, ensure_ascii=False),
                                            encoding="utf-8")
    print(testo, end="")


def main():
    args = argomenti()
    if args.prova:
        return autoprova()
    os.chdir(RADICE)
    build = (RADICE / args.build).resolve()
    stato = Stato(build / "mutazioni")
    stato.recupera()
    radici = [(RADICE / c).resolve().relative_to(RADICE).as_posix() for c in args.cartella]
    file = elenca_file(radici, args.file)
    per_file = {rel: genera(rel, decodifica(dati), sha256(dati)) for rel, dati in file.items()}
    mutanti = [m for lista in per_file.values() for m in lista]
    if args.elenca:
        elenca(mutanti)
        return 0
    if not (build / "CMakeCache.txt").exists():
        sys.exit(f"mutazioni: {build} non è una build configurata (cmake --preset dev)")
    (build / "mutazioni").mkdir(exist_ok=True)
    # Results of files changed since are dropped: those files are redone.
    risultati = stato.dati["risultati"] if args.riprendi else {}
    stato.dati["risultati"] = {k: r for k, r in risultati.items()
                               if r["file"] not in file or r["hash"] == sha256(file[r["file"]])}
    comandi = comandi_di(args, build, stato)
    stato.salva()
    equivalenti = leggi_equivalenti(args.equivalenti)
    ordine = [m for m in ordina(per_file, args.seme)
              if esito_di(m, stato.dati["risultati"], equivalenti) == "non_provato"]
    SEGNALI.installa()
    inizio, interrotto, fatti = time.monotonic(), False, 0
    try:
        fatti = esegui_mutanti(ordine, stato, comandi, inizio + args.max_minuti * 60)
        if fatti:
            print("mutazioni: build finale senza mutanti...", file=sys.stderr)
            esegui(comandi.compila, comandi.cartella / "compila.log", 7200)
    except Interrotto:
        interrotto = True
        print("mutazioni: interrotto; sorgenti ripristinati. La build può contenere l'ultimo "
              "mutante finché non si ricompila.", file=sys.stderr)
    info = {"cartelle_mutate": radici, "seme": args.seme, "interrotto": interrotto,
            "minuti": round((time.monotonic() - inizio) / 60, 1), "provati_ora": fatti,
            "comando_build": comandi.compila, "comando_test": comandi.test}
    scrivi_rapporto(rapporto(mutanti, stato.dati["risultati"], equivalenti, radici, info),
                    comandi.cartella)
    return 130 if interrotto else 0


if __name__ == "__main__":
    sys.exit(main())
