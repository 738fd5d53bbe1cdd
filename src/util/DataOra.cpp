#include "util/DataOra.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace qzkiro::util {

namespace {

std::string Cifre(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}

bool Inizia(std::string_view text, std::size_t at, std::string_view token) {
  return text.substr(at, token.size()) == token;
}

}  // namespace

std::string DataOra::Formato(std::string_view pattern) const {
  struct Token {
    std::string_view testo;
    int DataOra::*campo;
  };
  static constexpr Token kToken[] = {{"yyyy", &DataOra::anno}, {"mm", &DataOra::mese},
                                     {"dd", &DataOra::giorno}, {"hh", &DataOra::ora},
                                     {"nn", &DataOra::minuto}, {"ss", &DataOra::secondo}};
  std::string out;
  for (std::size_t i = 0; i < pattern.size();) {
    if (pattern[i] == '\\' && i + 1 < pattern.size()) {
      out.push_back(pattern[i + 1]);
      i += 2;
      continue;
    }
    bool matched = false;
    for (const auto& token : kToken) {
      if (Inizia(pattern, i, token.testo)) {
        out += Cifre(this->*token.campo, static_cast<int>(token.testo.size()));
        i += token.testo.size();
        matched = true;
        break;
      }
    }
    if (!matched) out.push_back(pattern[i++]);
  }
  return out;
}

DataOra DataOra::PiuGiorni(int giorni) const {
  using namespace std::chrono;
  sys_days day = year_month_day{year{anno}, month{static_cast<unsigned>(mese)},
                                std::chrono::day{static_cast<unsigned>(giorno)}};
  year_month_day moved{day + days{giorni}};
  DataOra out = *this;
  out.anno = static_cast<int>(moved.year());
  out.mese = static_cast<int>(static_cast<unsigned>(moved.month()));
  out.giorno = static_cast<int>(static_cast<unsigned>(moved.day()));
  return out;
}

DataOra DataOra::PiuSecondi(long secondi) const {
  long totale = ((ora * 60L) + minuto) * 60L + secondo + secondi;
  long giorni = totale / 86400;
  totale %= 86400;
  if (totale < 0) {
    totale += 86400;
    --giorni;
  }
  DataOra out = PiuGiorni(static_cast<int>(giorni));
  out.ora = static_cast<int>(totale / 3600);
  out.minuto = static_cast<int>(totale / 60 % 60);
  out.secondo = static_cast<int>(totale % 60);
  return out;
}

long long DataOra::SecondiDa(const DataOra& altro) const {
  using namespace std::chrono;
  auto giorni = [](const DataOra& d) {
    return sys_days(year_month_day{year{d.anno}, month{static_cast<unsigned>(d.mese)},
                                   day{static_cast<unsigned>(d.giorno)}})
        .time_since_epoch()
        .count();
  };
  auto secondi = [&](const DataOra& d) {
    return giorni(d) * 86400LL + d.ora * 3600LL + d.minuto * 60LL + d.secondo;
  };
  return secondi(*this) - secondi(altro);
}

std::optional<DataOra> DataOra::Leggi(std::string_view testo) {
  DataOra d;
  int letti = 0;
  const std::string t(testo);
  if (std::sscanf(t.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%n", &d.anno, &d.mese, &d.giorno, &d.ora,
                  &d.minuto, &d.secondo, &letti) < 5 &&
      std::sscanf(t.c_str(), "%2d/%2d/%4d %2d:%2d:%2d%n", &d.giorno, &d.mese, &d.anno, &d.ora,
                  &d.minuto, &d.secondo, &letti) < 5) {
    return std::nullopt;
  }
  using namespace std::chrono;
  const year_month_day data{year{d.anno}, month{static_cast<unsigned>(d.mese)},
                            day{static_cast<unsigned>(d.giorno)}};
  if (!data.ok() || d.ora < 0 || d.ora > 23 || d.minuto < 0 || d.minuto > 59 || d.secondo < 0 ||
      d.secondo > 59) {
    return std::nullopt;
  }
  return d;
}

DataOra AdessoLocale() {
  const std::time_t adesso = std::time(nullptr);
  std::tm locale{};
  localtime_r(&adesso, &locale);
  return {locale.tm_year + 1900, locale.tm_mon + 1, locale.tm_mday,
          locale.tm_hour,        locale.tm_min,     locale.tm_sec};
}

}  // namespace qzkiro::util
