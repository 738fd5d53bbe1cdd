#include "cda/LettorePdf.h"

#include <algorithm>
#include <cstring>

namespace qzkiro::cda::pdf {

namespace {

// Arrays and dictionaries nested deeper than this are refused: real files
// stay far below it, and it bounds the recursion on hostile input.
constexpr int kProfonditaMassima = 64;

int ValoreEsadecimale(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Cifra(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

bool SpazioPdf(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool DelimitatorePdf(char c) {
  return c != '\0' && std::strchr("()<>[]{}/%", c) != nullptr;
}

void LettorePdf::Spazi() {
  while (!Fine()) {
    if (SpazioPdf(testo_[pos_])) {
      ++pos_;
    } else if (testo_[pos_] == '%') {
      while (!Fine() && testo_[pos_] != '\n' && testo_[pos_] != '\r') ++pos_;
    } else {
      return;
    }
  }
}

bool LettorePdf::Parola(std::string_view parola) {
  Spazi();
  if (testo_.substr(pos_, parola.size()) != parola) return false;
  const std::size_t dopo = pos_ + parola.size();
  if (dopo < testo_.size() && !SpazioPdf(testo_[dopo]) && !DelimitatorePdf(testo_[dopo])) {
    return false;
  }
  pos_ = dopo;
  return true;
}

std::optional<long long> LettorePdf::Intero() {
  Spazi();
  const std::size_t inizio = pos_;
  long long valore = 0;
  while (!Fine() && Cifra(testo_[pos_]) && pos_ - inizio < 18) {
    valore = valore * 10 + (testo_[pos_++] - '0');
  }
  if (pos_ == inizio || (!Fine() && !SpazioPdf(testo_[pos_]) && !DelimitatorePdf(testo_[pos_]))) {
    pos_ = inizio;
    return std::nullopt;
  }
  return valore;
}

std::optional<Oggetto> LettorePdf::Leggi(int profondita) {
  if (profondita > kProfonditaMassima) return std::nullopt;
  Spazi();
  if (Fine()) return std::nullopt;
  const char c = testo_[pos_];
  if (c == '/') return Nome();
  if (c == '(') return Stringa();
  if (c == '[') return Array(profondita);
  if (c == '<') {
    return testo_.substr(pos_, 2) == "<<" ? Dizionario(profondita) : StringaEsadecimale();
  }
  if (Cifra(c) || c == '+' || c == '-' || c == '.') return Numero();
  Oggetto o;
  if (Parola("null")) return o;
  o.tipo = Oggetto::Tipo::Booleano;
  if (Parola("true"))
    o.numero = 1;
  else if (!Parola("false"))
    return std::nullopt;
  return o;
}

std::optional<Oggetto> LettorePdf::Numero() {
  const std::size_t inizio = pos_;
  // "12 0 R": an integer followed by an integer and R is a reference.
  if (const auto numero = Intero()) {
    const std::size_t dopo = pos_;
    if (const auto generazione = Intero(); generazione && Parola("R")) {
      Oggetto o;
      o.tipo = Oggetto::Tipo::Riferimento;
      o.numero = static_cast<double>(*numero);
      o.generazione = static_cast<int>(*generazione % 65536);
      return o;
    }
    pos_ = dopo;
    Oggetto o;
    o.tipo = Oggetto::Tipo::Numero;
    o.numero = static_cast<double>(*numero);
    return o;
  }
  pos_ = inizio;
  double segno = 1;
  while (!Fine() && (testo_[pos_] == '+' || testo_[pos_] == '-')) {
    if (testo_[pos_++] == '-') segno = -segno;
  }
  double valore = 0, scala = 0;
  bool cifre = false;
  for (; !Fine(); ++pos_) {
    const char c = testo_[pos_];
    if (c == '.' && scala == 0) {
      scala = 1;
    } else if (Cifra(c)) {
      cifre = true;
      if (scala == 0)
        valore = valore * 10 + (c - '0');
      else
        valore += (c - '0') * (scala /= 10);
    } else {
      break;
    }
  }
  if (!cifre) return std::nullopt;
  Oggetto o;
  o.tipo = Oggetto::Tipo::Numero;
  o.numero = segno * valore;
  return o;
}

std::optional<Oggetto> LettorePdf::Stringa() {
  Oggetto o;
  o.tipo = Oggetto::Tipo::Stringa;
  int aperte = 0;
  for (++pos_; !Fine();) {
    char c = testo_[pos_++];
    if (c == '(') {
      ++aperte;
    } else if (c == ')') {
      if (aperte-- == 0) return o;
    } else if (c == '\r') {
      // A line end inside a string is read as one "\n", whatever its form.
      if (!Fine() && testo_[pos_] == '\n') ++pos_;
      c = '\n';
    } else if (c == '\\' && !Fine()) {
      c = testo_[pos_++];
      static constexpr std::string_view kDa = "nrtbf", kA = "\n\r\t\b\f";
      if (const auto i = kDa.find(c); i != std::string_view::npos) {
        c = kA[i];
      } else if (c >= '0' && c <= '7') {
        int valore = c - '0';
        for (int n = 1; n < 3 && !Fine() && testo_[pos_] >= '0' && testo_[pos_] <= '7'; ++n) {
          valore = valore * 8 + (testo_[pos_++] - '0');
        }
        c = static_cast<char>(valore & 0xFF);
      } else if (c == '\r' || c == '\n') {
        // A backslash before a line end continues the string on the next line.
        if (c == '\r' && !Fine() && testo_[pos_] == '\n') ++pos_;
        continue;
      }
    }
    o.testo += c;
  }
  return std::nullopt;
}

std::optional<Oggetto> LettorePdf::StringaEsadecimale() {
  Oggetto o;
  o.tipo = Oggetto::Tipo::Stringa;
  int alto = -1;
  for (++pos_; !Fine(); ++pos_) {
    const char c = testo_[pos_];
    if (c == '>') {
      ++pos_;
      if (alto >= 0) o.testo += static_cast<char>(alto << 4);
      return o;
    }
    if (SpazioPdf(c)) continue;
    const int v = ValoreEsadecimale(c);
    if (v < 0) return std::nullopt;
    if (alto < 0) {
      alto = v;
    } else {
      o.testo += static_cast<char>((alto << 4) | v);
      alto = -1;
    }
  }
  return std::nullopt;
}

std::optional<Oggetto> LettorePdf::Nome() {
  Oggetto o;
  o.tipo = Oggetto::Tipo::Nome;
  for (++pos_; !Fine() && !SpazioPdf(testo_[pos_]) && !DelimitatorePdf(testo_[pos_]); ++pos_) {
    const char c = testo_[pos_];
    int alto = -1, basso = -1;
    if (c == '#' && pos_ + 2 < testo_.size()) {
      alto = ValoreEsadecimale(testo_[pos_ + 1]);
      basso = ValoreEsadecimale(testo_[pos_ + 2]);
    }
    if (alto >= 0 && basso >= 0) {
      o.testo += static_cast<char>((alto << 4) | basso);
      pos_ += 2;
    } else {
      o.testo += c;
    }
  }
  return o;
}

std::optional<Oggetto> LettorePdf::Array(int profondita) {
  Oggetto o;
  o.tipo = Oggetto::Tipo::Array;
  for (++pos_;;) {
    Spazi();
    if (Fine()) return std::nullopt;
    if (testo_[pos_] == ']') {
      ++pos_;
      return o;
    }
    auto elemento = Leggi(profondita + 1);
    if (!elemento) return std::nullopt;
    o.elementi.push_back(std::move(*elemento));
  }
}

std::optional<Oggetto> LettorePdf::Dizionario(int profondita) {
  Oggetto o;
  o.tipo = Oggetto::Tipo::Dizionario;
  for (pos_ += 2;;) {
    Spazi();
    if (Fine()) return std::nullopt;
    if (testo_.substr(pos_, 2) == ">>") {
      pos_ += 2;
      return o;
    }
    if (testo_[pos_] != '/') return std::nullopt;
    auto chiave = Nome();
    auto valore = Leggi(profondita + 1);
    if (!valore) return std::nullopt;
    o.voci.push_back({std::move(chiave->testo), std::move(*valore)});
  }
}

namespace {

std::optional<OggettoIndiretto> Indiretto(LettorePdf& lettore, std::string_view pdf) {
  OggettoIndiretto oggetto;
  const auto numero = lettore.Intero();
  const auto generazione = numero ? lettore.Intero() : std::nullopt;
  if (!generazione || !lettore.Parola("obj")) return std::nullopt;
  oggetto.numero = *numero;
  oggetto.generazione = *generazione;
  auto valore = lettore.Leggi();
  if (!valore) return std::nullopt;
  oggetto.valore = std::move(*valore);
  if (oggetto.valore.E(Oggetto::Tipo::Dizionario) && lettore.Parola("stream")) {
    // The data begin after the end of line that follows the keyword.
    std::size_t inizio = lettore.Posizione();
    if (inizio < pdf.size() && pdf[inizio] == '\r') ++inizio;
    if (inizio < pdf.size() && pdf[inizio] == '\n') ++inizio;
    oggetto.valore.tipo = Oggetto::Tipo::Flusso;
    oggetto.valore.inizio_dati = inizio;
  }
  return oggetto;
}

}  // namespace

std::optional<OggettoIndiretto> LeggiIndiretto(std::string_view pdf, std::size_t posizione,
                                               std::size_t* letti) {
  if (posizione >= pdf.size()) return std::nullopt;
  LettorePdf lettore(pdf, posizione);
  auto oggetto = Indiretto(lettore, pdf);
  if (letti) *letti = std::min(lettore.Posizione(), pdf.size()) - posizione;
  return oggetto;
}

}  // namespace qzkiro::cda::pdf
