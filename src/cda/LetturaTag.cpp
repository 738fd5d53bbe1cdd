#include "cda/LetturaTag.h"

namespace qzkiro::cda {

namespace {

constexpr auto npos = std::string_view::npos;

bool Spazio(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool Cifra(char c, bool esadecimale) {
  return (c >= '0' && c <= '9') ||
         (esadecimale && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
}

bool InizioNome(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b == '_' || b == ':' || b >= 0x80;
}

bool CarattereNome(char c) {
  return InizioNome(c) || Cifra(c, false) || c == '-' || c == '.';
}

std::size_t SaltaSpazi(std::string_view t, std::size_t at) {
  while (at < t.size() && Spazio(t[at])) ++at;
  return at;
}

// The XML name at `at` ("" when none begins there); `at` moves past it.
std::string_view LeggiNome(std::string_view t, std::size_t& at) {
  const std::size_t inizio = at;
  if (at < t.size() && InizioNome(t[at])) {
    while (++at < t.size() && CarattereNome(t[at])) {
    }
  }
  return t.substr(inizio, at - inizio);
}

// name = "value" (or 'value') at `at`; `at` moves past it.
std::optional<AttributoTag> LeggiAttributo(std::string_view t, std::size_t& at) {
  AttributoTag a;
  a.nome = LeggiNome(t, at);
  at = SaltaSpazi(t, at);
  if (a.nome.empty() || at >= t.size() || t[at] != '=') return std::nullopt;
  at = SaltaSpazi(t, at + 1);
  if (at >= t.size() || (t[at] != '"' && t[at] != '\'')) return std::nullopt;
  // A value holds no '<': the search for its closing quote stops there.
  const char fine_valore[] = {t[at], '<', '\0'};
  const std::size_t chiusa = t.find_first_of(fine_valore, at + 1);
  if (chiusa == npos || t[chiusa] == '<') return std::nullopt;
  a.valore = t.substr(at + 1, chiusa - at - 1);
  at = chiusa + 1;
  return a;
}

}  // namespace

std::optional<Tag> LeggiTag(std::string_view t, std::size_t lt) {
  Tag tag;
  std::size_t at = lt + 1;
  tag.chiusura = at < t.size() && t[at] == '/';
  if (tag.chiusura) ++at;
  tag.nome = LeggiNome(t, at);
  if (tag.nome.empty()) return std::nullopt;
  while (true) {
    const std::size_t dopo = SaltaSpazi(t, at);
    if (dopo >= t.size()) return std::nullopt;
    if (t[dopo] == '>') {
      tag.fine = dopo + 1;
      return tag;
    }
    if (!tag.chiusura && t.compare(dopo, 2, "/>") == 0) {
      tag.vuoto = true;
      tag.fine = dopo + 2;
      return tag;
    }
    // An end tag has no attributes; an attribute follows a blank.
    if (tag.chiusura || dopo == at) return std::nullopt;
    at = dopo;
    auto attributo = LeggiAttributo(t, at);
    if (!attributo) return std::nullopt;
    tag.attributi.push_back(*attributo);
  }
}

std::size_t LunghezzaRiferimento(std::string_view t, std::size_t at) {
  std::size_t fine = at + 1;
  if (fine < t.size() && t[fine] == '#') {
    const bool esadecimale = ++fine < t.size() && (t[fine] == 'x' || t[fine] == 'X');
    if (esadecimale) ++fine;
    const std::size_t cifre = fine;
    while (fine < t.size() && Cifra(t[fine], esadecimale)) ++fine;
    if (fine == cifre) return 0;
  } else if (LeggiNome(t, fine).empty()) {
    return 0;
  }
  return fine < t.size() && t[fine] == ';' ? fine + 1 - at : 0;
}

}  // namespace qzkiro::cda
