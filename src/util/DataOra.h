#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace qzkiro::util {

// A local date and time, to the second, as the host and the services see it.
struct DataOra {
  int anno = 1899;
  int mese = 12;
  int giorno = 30;
  int ora = 0;
  int minuto = 0;
  int secondo = 0;

  friend auto operator<=>(const DataOra&, const DataOra&) = default;

  // Formats with the host's date patterns: "yyyy", "mm" (month), "dd", "hh",
  // "nn" (minutes), "ss"; "\x" writes x literally;
  // every other character is copied. "yyyy-mm-dd hh\:nn\:ss" gives
  // "2024-01-31 14:05:09".
  std::string Formato(std::string_view pattern) const;

  // The same moment moved by whole days (calendar-correct).
  DataOra PiuGiorni(int giorni) const;
  // The moment moved by seconds (either direction), across days.
  DataOra PiuSecondi(long secondi) const;
  // Seconds from `altro` to this moment (negative when this one is earlier).
  long long SecondiDa(const DataOra& altro) const;
  // "yyyy-mm-dd hh:nn:ss" or "dd/mm/yyyy hh:nn:ss" (seconds optional) with a
  // real calendar date; nullopt otherwise.
  static std::optional<DataOra> Leggi(std::string_view testo);
};

// The computer's local date and time, to the second.
DataOra AdessoLocale();

}  // namespace qzkiro::util
