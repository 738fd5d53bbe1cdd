#include "refhost/FormatiHost.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <optional>
#include <string_view>
#include "util/Testo.h"

namespace qzkiro::refhost {

namespace {

struct Istante {
  int anno = 0, mese = 0, giorno = 0;
  int ora = -1, minuto = 0;  // ora < 0: a date only
  int secondo = 0;
};

std::string_view Spoglia(std::string_view testo) {
  const auto primo = testo.find_first_not_of(" \t");
  if (primo == std::string_view::npos) return {};
  return testo.substr(primo, testo.find_last_not_of(" \t") - primo + 1);
}

bool Cifre(std::string_view testo) {
  return !testo.empty() && std::all_of(testo.begin(), testo.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c));
  });
}

// The value of digits already checked with Cifre.
int Numero(std::string_view cifre) {
  int n = 0;
  for (char c : cifre) n = n * 10 + (c - '0');
  return n;
}

std::optional<Istante> SeValido(const Istante& i) {
  using namespace std::chrono;
  const year_month_day giorno{year{i.anno}, month{static_cast<unsigned>(i.mese)},
                              day{static_cast<unsigned>(i.giorno)}};
  const bool ora_valida = i.ora < 0 || (i.ora <= 23 && i.minuto <= 59 && i.secondo <= 59);
  if (!giorno.ok() || !ora_valida) return std::nullopt;
  return i;
}

// "yyyymmdd[hh[nn[ss[.f...]]]][+zzzz|-zzzz]".
std::optional<Istante> DaHl7(std::string_view t) {
  if (const auto zona = t.find_first_of("+-"); zona != std::string_view::npos) {
    if (t.size() - zona != 5 || !Cifre(t.substr(zona + 1))) return std::nullopt;
    t = t.substr(0, zona);
  }
  if (const auto punto = t.find('.'); punto != std::string_view::npos) {
    if (punto != 14 || !Cifre(t.substr(punto + 1))) return std::nullopt;
    t = t.substr(0, punto);
  }
  if (!Cifre(t) || (t.size() != 8 && t.size() != 10 && t.size() != 12 && t.size() != 14)) {
    return std::nullopt;
  }
  Istante i{Numero(t.substr(0, 4)), Numero(t.substr(4, 2)), Numero(t.substr(6, 2))};
  if (t.size() >= 10) i.ora = Numero(t.substr(8, 2));
  if (t.size() >= 12) i.minuto = Numero(t.substr(10, 2));
  if (t.size() == 14) i.secondo = Numero(t.substr(12, 2));
  return SeValido(i);
}

// "hh:nn" or "hh:nn:ss" into `i`.
bool LeggiOra(std::string_view t, Istante& i) {
  if ((t.size() != 5 && t.size() != 8) || t[2] != ':' || !Cifre(t.substr(0, 2)) ||
      !Cifre(t.substr(3, 2))) {
    return false;
  }
  if (t.size() == 8 && (t[5] != ':' || !Cifre(t.substr(6, 2)))) return false;
  i.ora = Numero(t.substr(0, 2));
  i.minuto = Numero(t.substr(3, 2));
  if (t.size() == 8) i.secondo = Numero(t.substr(6, 2));
  return true;
}

// "yyyy-mm-dd[( |T)hh:nn[:ss]]".
std::optional<Istante> DaIso(std::string_view t) {
  if (t.size() < 10 || t[4] != '-' || t[7] != '-' || !Cifre(t.substr(0, 4)) ||
      !Cifre(t.substr(5, 2)) || !Cifre(t.substr(8, 2))) {
    return std::nullopt;
  }
  Istante i{Numero(t.substr(0, 4)), Numero(t.substr(5, 2)), Numero(t.substr(8, 2))};
  if (t.size() > 10 && ((t[10] != ' ' && t[10] != 'T') || !LeggiOra(t.substr(11), i))) {
    return std::nullopt;
  }
  return SeValido(i);
}

std::string Formato(const Istante& i) {
  char testo[32];
  if (i.ora < 0) {
    std::snprintf(testo, sizeof testo, "%02d/%02d/%04d", i.giorno, i.mese, i.anno);
  } else {
    std::snprintf(testo, sizeof testo, "%02d/%02d/%04d %02d:%02d", i.giorno, i.mese, i.anno, i.ora,
                  i.minuto);
  }
  return testo;
}

// Digits with at most one "." among them.
bool Decimale(std::string_view t) {
  const auto cifre = std::count_if(
      t.begin(), t.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
  const auto punti = std::count(t.begin(), t.end(), '.');
  return cifre > 0 && punti <= 1 && cifre + punti == static_cast<std::ptrdiff_t>(t.size());
}

std::string_view SenzaConfronto(std::string_view t) {
  if (t.starts_with("<=") || t.starts_with(">=")) return Spoglia(t.substr(2));
  if (t.starts_with('<') || t.starts_with('>')) return Spoglia(t.substr(1));
  return t;
}

}  // namespace

std::string DataVisualizzata(const std::string& data) {
  const auto testo = Spoglia(data);
  auto istante = DaHl7(testo);
  if (!istante) istante = DaIso(testo);
  return istante ? Formato(*istante) : data;
}

double NumeroNelTesto(const std::string& testo) {
  auto t = SenzaConfronto(Spoglia(testo));
  const bool negativo = t.starts_with('-');
  if (negativo || t.starts_with('+')) t.remove_prefix(1);
  std::string numero(t);
  std::replace(numero.begin(), numero.end(), ',', '.');
  if (!Decimale(numero)) return 0;
  double valore = 0;
  const auto [fine, errore] = std::from_chars(numero.data(), numero.data() + numero.size(), valore);
  if (errore != std::errc() || fine != numero.data() + numero.size()) return 0;
  return negativo ? -valore : valore;
}

std::string TestoHtml(const std::string& testo) {
  // &#39; rather than &apos;, which older HTML renderers do not know.
  return util::Replace(util::XmlEscape(testo), "&apos;", "&#39;");
}

}  // namespace qzkiro::refhost
