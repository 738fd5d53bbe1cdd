#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "cda/OggettoPdf.h"

namespace qzkiro::cda::pdf {

// Reads the tokens and objects of PDF text from a position. Nothing here
// throws on malformed input: a value that cannot be read is nullopt and the
// position is then unspecified.
class LettorePdf {
 public:
  explicit LettorePdf(std::string_view testo, std::size_t posizione = 0)
      : testo_(testo), pos_(posizione) {}

  std::size_t Posizione() const { return pos_; }
  void Vai(std::size_t posizione) { pos_ = posizione; }
  // Skips white space and comments.
  void Spazi();
  // Consumes the keyword `parola` (after white space) when it is there as a
  // whole token.
  bool Parola(std::string_view parola);
  // A non-negative integer token (after white space).
  std::optional<long long> Intero();
  // One object: number, reference, string, name, array, dictionary, boolean
  // or null. Nesting deeper than a fixed bound is refused.
  std::optional<Oggetto> Leggi() { return Leggi(0); }

 private:
  std::optional<Oggetto> Leggi(int profondita);
  std::optional<Oggetto> Numero();
  std::optional<Oggetto> Stringa();
  std::optional<Oggetto> StringaEsadecimale();
  std::optional<Oggetto> Nome();
  std::optional<Oggetto> Array(int profondita);
  std::optional<Oggetto> Dizionario(int profondita);
  bool Fine() const { return pos_ >= testo_.size(); }

  std::string_view testo_;
  std::size_t pos_;
};

bool SpazioPdf(char c);
bool DelimitatorePdf(char c);

// An indirect object as the file holds it: "N G obj ... endobj", a stream
// when the dictionary is followed by "stream".
struct OggettoIndiretto {
  long long numero = 0;
  long long generazione = 0;
  Oggetto valore;
};

// The indirect object that begins at `posizione` of the file. `letti`, when
// given, receives how many bytes the reading went through, also when it fails.
std::optional<OggettoIndiretto> LeggiIndiretto(std::string_view pdf, std::size_t posizione,
                                               std::size_t* letti = nullptr);

}  // namespace qzkiro::cda::pdf
