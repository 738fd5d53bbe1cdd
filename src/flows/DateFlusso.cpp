#include "flows/DateFlusso.h"

#include <algorithm>
#include <cctype>

namespace qzkiro::flows {

namespace {

bool Cifre(std::string_view t) {
  return !t.empty() &&
         std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

// Year, month and day of the forms the host writes, checked for a plausible
// calendar day.
bool Parti(std::string_view t, std::string_view& a, std::string_view& m, std::string_view& g) {
  if (t.size() >= 10 && t[4] == '-' && t[7] == '-') {
    a = t.substr(0, 4), m = t.substr(5, 2), g = t.substr(8, 2);
  } else if (t.size() >= 10 && t[2] == '/' && t[5] == '/') {
    g = t.substr(0, 2), m = t.substr(3, 2), a = t.substr(6, 4);
  } else if (t.size() >= 8 && Cifre(t.substr(0, 8))) {
    a = t.substr(0, 4), m = t.substr(4, 2), g = t.substr(6, 2);
  } else {
    return false;
  }
  if (!Cifre(a) || !Cifre(m) || !Cifre(g)) return false;
  const int mese = std::stoi(std::string(m));
  const int giorno = std::stoi(std::string(g));
  return mese >= 1 && mese <= 12 && giorno >= 1 && giorno <= 31;
}

}  // namespace

std::string DataIso(std::string_view testo) {
  std::string_view a, m, g;
  if (!Parti(testo, a, m, g)) return {};
  return std::string(a) + "-" + std::string(m) + "-" + std::string(g);
}

std::string DataCompatta(std::string_view testo) {
  std::string_view a, m, g;
  if (!Parti(testo, a, m, g)) return {};
  return std::string(a) + std::string(m) + std::string(g);
}

}  // namespace qzkiro::flows
