#include "hl7/TestoHL7.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "util/Testo.h"

namespace qzkiro::hl7 {

namespace {

char Basso(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool Cifra(char c) {
  return c >= '0' && c <= '9';
}

int Numero(std::string_view cifre) {
  int n = 0;
  for (char c : cifre) n = n * 10 + (c - '0');
  return n;
}

bool Bisestile(int anno) {
  return (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0;
}

// "yyyymmdd" of a real calendar date, nullopt otherwise.
std::optional<std::string> Calendario(std::string_view anno, std::string_view mese,
                                      std::string_view giorno) {
  if (!SoloCifre(anno) || !SoloCifre(mese) || !SoloCifre(giorno)) return std::nullopt;
  static constexpr int kGiorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int a = Numero(anno), m = Numero(mese), g = Numero(giorno);
  if (a < 1 || m < 1 || m > 12 || g < 1) return std::nullopt;
  const int massimo = kGiorni[m - 1] + (m == 2 && Bisestile(a) ? 1 : 0);
  if (g > massimo) return std::nullopt;
  return std::string(anno) + std::string(mese) + std::string(giorno);
}

// What may follow a written date: nothing, or a blank and a time.
bool FineData(std::string_view resto) {
  return resto.empty() || resto.front() == ' ' || resto.front() == 'T';
}

}  // namespace

bool IniziaCon(std::string_view testo, std::string_view prefisso) {
  return testo.size() >= prefisso.size() &&
         std::equal(prefisso.begin(), prefisso.end(), testo.begin(),
                    [](char a, char b) { return Basso(a) == Basso(b); });
}

std::string Minuscolo(std::string_view testo) {
  std::string out(testo);
  std::transform(out.begin(), out.end(), out.begin(), Basso);
  return out;
}

std::string PrimiCaratteri(std::string_view testo, std::size_t n) {
  std::size_t fine = 0;
  for (std::size_t caratteri = 0; fine < testo.size() && caratteri < n; ++caratteri) {
    ++fine;  // past the lead byte, then past its continuation bytes
    while (fine < testo.size() && (static_cast<unsigned char>(testo[fine]) & 0xC0) == 0x80) ++fine;
  }
  return std::string(testo.substr(0, fine));
}

bool SoloCifre(std::string_view testo) {
  return !testo.empty() && std::all_of(testo.begin(), testo.end(), Cifra);
}

std::optional<std::string> DataComeAAAAMMGG(std::string_view t) {
  if (t.size() >= 10 && t[4] == '-' && t[7] == '-' && FineData(t.substr(10))) {
    return Calendario(t.substr(0, 4), t.substr(5, 2), t.substr(8, 2));
  }
  if (t.size() >= 10 && t[2] == '/' && t[5] == '/' && FineData(t.substr(10))) {
    return Calendario(t.substr(6, 4), t.substr(3, 2), t.substr(0, 2));
  }
  return std::nullopt;
}

std::string DataHL7(std::string_view testo) {
  if (testo.size() >= 8 && SoloCifre(testo.substr(0, 8))) {
    return Calendario(testo.substr(0, 4), testo.substr(4, 2), testo.substr(6, 2)).value_or("");
  }
  return DataComeAAAAMMGG(testo).value_or("");
}

std::string CodiceIstat(std::string codice) {
  return codice.size() == 3 ? "999" + codice : codice;
}

std::string CodiceUnitaSanitaria(std::string codice) {
  if (codice.size() == 4 || codice.size() == 5) codice.insert(0, 6 - codice.size(), '0');
  return codice;
}

}  // namespace qzkiro::hl7
