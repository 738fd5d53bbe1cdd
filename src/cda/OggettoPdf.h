#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qzkiro::cda::pdf {

struct VocePdf;

// One PDF object as read from the file: the value types of the format, an
// indirect reference ("12 0 R") kept unresolved, and a stream, which is its
// dictionary plus where its bytes begin in the file.
struct Oggetto {
  enum class Tipo {
    Nullo,
    Booleano,
    Numero,
    Stringa,
    Nome,
    Array,
    Dizionario,
    Riferimento,
    Flusso
  };

  Tipo tipo = Tipo::Nullo;
  double numero = 0;              // Numero; Booleano (0/1); Riferimento: object number
  int generazione = 0;            // Riferimento
  std::string testo;              // Stringa (raw bytes), Nome (without the '/')
  std::vector<Oggetto> elementi;  // Array
  std::vector<VocePdf> voci;      // Dizionario, Flusso
  std::size_t inizio_dati = 0;    // Flusso: offset of its first byte in the file

  bool E(Tipo t) const { return tipo == t; }
  bool EDizionario() const { return tipo == Tipo::Dizionario || tipo == Tipo::Flusso; }
  // The value of `chiave` in a dictionary or a stream's dictionary; nullptr
  // when absent or when this is no dictionary.
  const Oggetto* Voce(std::string_view chiave) const;
  // The name when this is a name, else "".
  std::string_view NomeO() const { return tipo == Tipo::Nome ? std::string_view(testo) : ""; }
  // The number as an integer when it is one within [minimo, massimo].
  bool Intero(long long& valore, long long minimo, long long massimo) const;
};

// One entry of a dictionary: a name without its '/', and its value.
struct VocePdf {
  std::string chiave;
  Oggetto valore;
};

}  // namespace qzkiro::cda::pdf
