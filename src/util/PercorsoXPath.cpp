#include "util/PercorsoXPath.h"

#include <cctype>

namespace qzkiro::util {

namespace {

bool InizioNome(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_' ||
         (static_cast<unsigned char>(c) & 0x80) != 0;
}

bool CarattereNome(char c) {
  return InizioNome(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.';
}

bool Operatore(std::string_view nome) {
  return nome == "and" || nome == "or" || nome == "div" || nome == "mod";
}

// The position of the next character that is not a blank, from `at`.
std::size_t Salta(std::string_view q, std::size_t at) {
  while (at < q.size() && std::isspace(static_cast<unsigned char>(q[at]))) ++at;
  return at;
}

}  // namespace

std::string PerNomeLocale(std::string_view q, bool nomi_letterali) {
  std::string out;
  out.reserve(q.size() * 2);
  // What came before the current token: a value (name, literal, ")", "]")
  // makes a following "and"/"or"/"div"/"mod" an operator.
  bool dopo_valore = false;
  bool attributo = false;  // after "@" or "attribute::"
  for (std::size_t i = 0; i < q.size();) {
    const char c = q[i];
    if (c == '\'' || c == '"') {
      auto fine = q.find(c, i + 1);
      fine = fine == std::string_view::npos ? q.size() : fine + 1;
      out.append(q.substr(i, fine - i));
      i = fine;
      dopo_valore = true;
      continue;
    }
    if (!InizioNome(c)) {
      out.push_back(c);
      ++i;
      if (c == '@') attributo = true;
      if (!std::isspace(static_cast<unsigned char>(c))) {
        dopo_valore = c == ')' || c == ']' || c == '.' ||
                      std::isdigit(static_cast<unsigned char>(c)) || (c == '*' && !dopo_valore);
      }
      continue;
    }
    std::size_t fine = i;
    while (fine < q.size() && CarattereNome(q[fine])) ++fine;
    std::string_view nome = q.substr(i, fine - i);
    // A prefixed name "p:local" (but not an axis "p::").
    if (fine + 1 < q.size() && q[fine] == ':' && q[fine + 1] != ':' && InizioNome(q[fine + 1])) {
      std::size_t locale = fine + 1;
      while (locale < q.size() && CarattereNome(q[locale])) ++locale;
      nome = q.substr(fine + 1, locale - fine - 1);
      fine = locale;
    }
    const std::size_t seguito = Salta(q, fine);
    const char dopo = seguito < q.size() ? q[seguito] : '\0';
    if (q.substr(seguito, 2) == "::") {  // an axis name
      attributo = nome == "attribute";
      out.append(nome).append("::");
      i = seguito + 2;
      dopo_valore = false;
      continue;
    }
    if (dopo == '(' || (dopo_valore && Operatore(nome)) || attributo) {
      out.append(q.substr(i, fine - i));  // function, operator or attribute: unchanged
    } else {
      out.append("*[local-name()='").append(nome).append("'");
      if (nomi_letterali)
        out.append(" or substring-after(local-name(),':')='").append(nome).append("'");
      out.append("]");
    }
    attributo = false;
    dopo_valore = dopo != '(' && !Operatore(nome);
    i = fine;
  }
  return out;
}

std::optional<std::vector<std::string_view>> PassiSemplici(std::string_view query) {
  std::vector<std::string_view> passi;
  std::size_t inizio = 0;
  while (inizio <= query.size()) {
    std::size_t fine = query.find('/', inizio);
    if (fine == std::string_view::npos) fine = query.size();
    std::string_view passo = query.substr(inizio, fine - inizio);
    if (const auto due_punti = passo.find(':'); due_punti != std::string_view::npos) {
      passo.remove_prefix(due_punti + 1);  // "ns2:a" is "a"
    }
    if (passo.empty() || !InizioNome(passo.front())) return std::nullopt;
    for (char c : passo) {
      if (!CarattereNome(c)) return std::nullopt;
    }
    passi.push_back(passo);
    inizio = fine + 1;
  }
  return passi;
}

}  // namespace qzkiro::util
