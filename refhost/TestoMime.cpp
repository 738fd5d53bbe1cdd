#include "refhost/TestoMime.h"

#include <cctype>

#include "qzkiro/Failure.h"
#include "refhost/Base64.h"
#include "util/Testo.h"

namespace qzkiro::refhost {

namespace {

int ValoreEsadecimale(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The byte written as two hexadecimal digits at `pos`; -1 when they are not.
int Byte(std::string_view testo, std::size_t pos) {
  if (pos + 1 >= testo.size()) return -1;
  int alto = ValoreEsadecimale(testo[pos]), basso = ValoreEsadecimale(testo[pos + 1]);
  return alto < 0 || basso < 0 ? -1 : alto * 16 + basso;
}

// Appends `testo` with every `marca` + two hexadecimal digits turned into
// their byte; `spazio` stands for a space (the "_" of encoded words).
void DecodificaEsadecimali(std::string_view testo, char marca, char spazio, std::string& out) {
  for (std::size_t i = 0; i < testo.size(); ++i) {
    int byte = testo[i] == marca ? Byte(testo, i + 1) : -1;
    if (byte >= 0) {
      out.push_back(static_cast<char>(byte));
      i += 2;
    } else {
      out.push_back(spazio != '\0' && testo[i] == spazio ? ' ' : testo[i]);
    }
  }
}

// One quoted-printable line without its line end; true when it ends with a
// soft line break.
bool DecodificaRigaQP(std::string_view riga, std::string& out) {
  auto fine = riga.find_last_not_of(" \t");
  riga = fine == std::string_view::npos ? std::string_view() : riga.substr(0, fine + 1);
  const bool morbida = !riga.empty() && riga.back() == '=';
  if (morbida) riga.remove_suffix(1);
  DecodificaEsadecimali(riga, '=', '\0', out);
  return morbida;
}

// The Base64 text of a "B" encoded word, which some writers leave unpadded.
std::optional<std::string> DaBase64(std::string_view testo) {
  std::string completo(testo);
  while (completo.size() % 4 != 0) completo.push_back('=');
  try {
    return Base64::Decodifica(completo);
  } catch (const Failure&) {
    return std::nullopt;
  }
}

std::optional<std::string> DaQ(std::string_view testo) {
  std::string out;
  DecodificaEsadecimali(testo, '=', '_', out);
  return out;
}

// The encoded word "=?set?B|Q?testo?=" that begins at `inizio`, in UTF-8,
// with `fine` set past it; nullopt when there is none there.
std::optional<std::string> ParolaCodificata(std::string_view testo, std::size_t inizio,
                                            std::size_t& fine) {
  if (testo.compare(inizio, 2, "=?") != 0) return std::nullopt;
  const auto fine_set = testo.find('?', inizio + 2);
  if (fine_set == std::string_view::npos || fine_set + 2 >= testo.size() ||
      testo[fine_set + 2] != '?') {
    return std::nullopt;
  }
  const auto inizio_testo = fine_set + 3;
  const auto fine_testo = testo.find('?', inizio_testo);
  if (fine_testo == std::string_view::npos || fine_testo + 1 >= testo.size() ||
      testo[fine_testo + 1] != '=') {
    return std::nullopt;
  }
  auto charset = testo.substr(inizio + 2, fine_set - inizio - 2);
  charset = charset.substr(0, charset.find('*'));  // "set*lingua" (RFC 2231)
  const auto codificato = testo.substr(inizio_testo, fine_testo - inizio_testo);
  if (charset.empty() || charset.find_first_of(" \t") != std::string_view::npos ||
      codificato.find_first_of(" \t") != std::string_view::npos) {
    return std::nullopt;
  }
  const char codifica =
      static_cast<char>(std::toupper(static_cast<unsigned char>(testo[fine_set + 1])));
  auto bytes = codifica == 'B'   ? DaBase64(codificato)
               : codifica == 'Q' ? DaQ(codificato)
                                 : std::nullopt;
  if (!bytes) return std::nullopt;
  auto utf8 = InUtf8(*bytes, charset);
  if (utf8) fine = fine_testo + 2;
  return utf8;
}

}  // namespace

RigaMime LeggiRiga(std::string_view testo, std::size_t inizio) {
  const auto a_capo = testo.find('\n', inizio);
  if (a_capo == std::string_view::npos) return {testo.substr(inizio), testo.size()};
  auto fine = a_capo;
  if (fine > inizio && testo[fine - 1] == '\r') --fine;
  return {testo.substr(inizio, fine - inizio), a_capo + 1};
}

bool SoloSpazi(std::string_view testo) {
  return testo.find_first_not_of(" \t") == std::string_view::npos;
}

std::string_view SenzaSpazi(std::string_view testo) {
  const auto primo = testo.find_first_not_of(" \t");
  if (primo == std::string_view::npos) return {};
  return testo.substr(primo, testo.find_last_not_of(" \t") - primo + 1);
}

std::string Minuscolo(std::string_view testo) {
  std::string out(testo);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string DecodificaQuotedPrintable(std::string_view testo) {
  std::string out;
  out.reserve(testo.size());
  for (std::size_t pos = 0; pos < testo.size();) {
    const auto riga = LeggiRiga(testo, pos);
    const bool morbida = DecodificaRigaQP(riga.testo, out);
    const auto fine_riga = pos + riga.testo.size();
    if (!morbida) out.append(testo.substr(fine_riga, riga.successiva - fine_riga));
    pos = riga.successiva;
  }
  return out;
}

std::optional<std::string> InUtf8(std::string_view bytes, std::string_view charset) {
  const auto set = Minuscolo(SenzaSpazi(charset));
  if (set == "utf-8" || set == "utf8" || set == "us-ascii" || set == "ascii") {
    return std::string(bytes);
  }
  if (set == "iso-8859-1" || set == "iso8859-1" || set == "iso_8859-1" || set == "latin1") {
    return util::Latin1ToUtf8(bytes);
  }
  if (set == "windows-1252" || set == "cp1252") return util::Cp1252ToUtf8(bytes);
  return std::nullopt;
}

std::string DecodificaParoleCodificate(std::string_view testo) {
  std::string out, spazi;
  bool dopo_parola = false;
  for (std::size_t i = 0; i < testo.size();) {
    std::size_t fine = 0;
    if (auto parola = ParolaCodificata(testo, i, fine)) {
      if (!dopo_parola) out += spazi;
      spazi.clear();
      out += *parola;
      i = fine;
      dopo_parola = true;
      continue;
    }
    const char c = testo[i++];
    if (c == ' ' || c == '\t') {
      spazi.push_back(c);
      continue;
    }
    out += spazi;
    spazi.clear();
    out.push_back(c);
    dopo_parola = false;
  }
  return out + spazi;
}

std::optional<std::string> DecodificaValoreEsteso(std::string_view valore) {
  const auto primo = valore.find('\'');
  if (primo == std::string_view::npos) return std::nullopt;
  const auto secondo = valore.find('\'', primo + 1);
  if (secondo == std::string_view::npos) return std::nullopt;
  const auto bytes = DecodificaPercentuale(valore.substr(secondo + 1));
  if (primo == 0) return bytes;  // no set named: US-ASCII
  return InUtf8(bytes, valore.substr(0, primo));
}

std::string DecodificaPercentuale(std::string_view testo) {
  std::string out;
  DecodificaEsadecimali(testo, '%', '\0', out);
  return out;
}

}  // namespace qzkiro::refhost
