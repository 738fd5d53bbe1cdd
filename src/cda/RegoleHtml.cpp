#include "cda/RegoleHtml.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "cda/NodiCDA.h"
#include "util/Testo.h"

namespace qzkiro::cda {

namespace {

// Elements that run code, load something, submit, or switch the browser to
// another way of reading what follows them.
constexpr std::array<std::string_view, 38> kElementiAttivi = {
    "applet",   "audio",     "base",   "basefont", "bgsound",  "button",   "embed",   "form",
    "frame",    "frameset",  "iframe", "image",    "img",      "input",    "isindex", "keygen",
    "link",     "math",      "meta",   "noembed",  "noframes", "noscript", "object",  "param",
    "picture",  "plaintext", "portal", "script",   "select",   "source",   "style",   "svg",
    "template", "textarea",  "track",  "video",    "xml",      "xmp"};

// Attributes that load something whatever their value.
constexpr std::array<std::string_view, 17> kAttributiCheCaricano = {
    "action",   "archive",      "background", "classid", "codebase",   "data",
    "datafld",  "dataformatas", "datasrc",    "dynsrc",  "formaction", "lowsrc",
    "manifest", "ping",         "poster",     "srcdoc",  "srcset"};

// Attributes holding an address.
constexpr std::array<std::string_view, 5> kAttributiIndirizzo = {"href", "src", "cite", "longdesc",
                                                                 "usemap"};

constexpr std::array<std::string_view, 5> kSchemiAmmessi = {"http", "https", "mailto", "ftp",
                                                            "tel"};

bool Tra(const auto& elenco, std::string_view nome) {
  return std::find(elenco.begin(), elenco.end(), nome) != elenco.end();
}

// The local part of a name, in lower case.
std::string Locale(std::string_view nome) {
  const auto due_punti = nome.rfind(':');
  return Minuscolo(due_punti == std::string_view::npos ? nome : nome.substr(due_punti + 1));
}

// The address as a browser reads it: blanks and control characters are
// dropped anywhere in it. A relative address, or one of an allowed scheme.
// A reference still undecoded before the scheme's end could hide a ':'.
bool IndirizzoSicuro(std::string_view valore) {
  std::string indirizzo;
  for (char c : valore) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte != 0x7F) indirizzo.push_back(c);
  }
  const auto fine = indirizzo.find_first_of(":/?#&");
  if (fine == std::string::npos) return true;
  if (indirizzo[fine] == '&') return false;
  if (indirizzo[fine] != ':') return true;
  return Tra(kSchemiAmmessi, Minuscolo(std::string_view(indirizzo).substr(0, fine)));
}

// Plain declarations only: names, numbers, units, colours by '#', lists.
bool StileSemplice(std::string_view valore) {
  return std::all_of(valore.begin(), valore.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') ||
           (byte >= 'A' && byte <= 'Z') ||
           std::string_view(" \t\r\n:;.,%#-!").find(c) != std::string_view::npos;
  });
}

// The code point of a numeric reference's digits ("#38", "#x26"); 0 when
// they are not one.
char32_t Numerico(std::string_view cifre) {
  const bool esadecimale = cifre.size() > 1 && (cifre[1] == 'x' || cifre[1] == 'X');
  const std::string_view numero = cifre.substr(esadecimale ? 2 : 1);
  std::uint32_t valore = 0;
  const auto [fine, errore] =
      std::from_chars(numero.data(), numero.data() + numero.size(), valore, esadecimale ? 16 : 10);
  if (errore != std::errc() || fine != numero.data() + numero.size() || valore > 0x10FFFF) return 0;
  return static_cast<char32_t>(valore);
}

// The longest reference decoded, "&" and ";" included ("&#x10FFFF;").
constexpr std::size_t kRiferimentoMassimo = 12;

// The character a reference's name stands for; 0 when not decoded here.
char32_t Riferimento(std::string_view nome) {
  if (nome.starts_with('#')) return Numerico(nome);
  static constexpr std::array<std::pair<std::string_view, char32_t>, 5> kEntita = {
      {{"lt", U'<'}, {"gt", U'>'}, {"amp", U'&'}, {"quot", U'"'}, {"apos", U'\''}}};
  for (const auto& [entita, carattere] : kEntita) {
    if (entita == nome) return carattere;
  }
  return 0;
}

}  // namespace

bool ElementoAttivo(std::string_view nome) {
  return Tra(kElementiAttivi, Locale(nome));
}

bool AttributoAmmesso(std::string_view nome, std::string_view valore) {
  const std::string locale = Locale(nome);
  if (locale.starts_with("on") || Tra(kAttributiCheCaricano, locale)) return false;
  if (Tra(kAttributiIndirizzo, locale)) return IndirizzoSicuro(valore);
  if (locale == "style") return StileSemplice(valore);
  return true;
}

std::string Decodifica(std::string_view valore) {
  std::string out;
  out.reserve(valore.size());
  for (std::size_t at = 0; at < valore.size();) {
    if (valore[at] == '&') {
      // A reference is short: its ';' is looked for only that far.
      const auto punto_e_virgola = valore.substr(at, kRiferimentoMassimo).find(';');
      const char32_t c = punto_e_virgola == std::string_view::npos
                             ? 0
                             : Riferimento(valore.substr(at + 1, punto_e_virgola - 1));
      if (c != 0) {
        util::AppendUtf8(out, c);
        at += punto_e_virgola + 1;
        continue;
      }
    }
    out.push_back(valore[at++]);
  }
  return out;
}

}  // namespace qzkiro::cda
