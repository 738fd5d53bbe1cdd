// The text clean-ups of clsXML: they repair answers whose UTF-8 was read as
// 8-bit characters, strip namespace prefixes and keep texts within what the
// services accept.

#include <cstdio>
#include <string_view>
#include <vector>

#include "util/Testo.h"
#include "util/clsXML.h"

namespace qzkiro::util {

namespace {

void SostituisciTutti(std::string& text, std::string_view what, std::string_view with) {
  if (what.empty()) return;
  std::string out;
  std::size_t at = 0;
  for (auto found = text.find(what); found != std::string::npos; found = text.find(what, at)) {
    out.append(text, at, found - at).append(with);
    at = found + what.size();
  }
  if (at == 0) return;
  out.append(text, at, std::string::npos);
  text = std::move(out);
}

}  // namespace

Bytes clsXML::ConvertToUTF8(const std::string& source) {
  return ComeByte(source);
}

std::string clsXML::UTF8(const std::string& bytes) {
  // UTF-8 sequences of accented letters read as two 8-bit characters.
  static constexpr std::pair<std::string_view, std::string_view> kSequenze[] = {
      {"\xC3\xA0", "&#224;"}, {"\xC3\xA8", "&#232;"}, {"\xC3\xA9", "&#233;"},
      {"\xC3\xAC", "&#236;"}, {"\xC3\xB2", "&#242;"}, {"\xC3\xB9", "&#249;"},
      {"\xC2\xB0", "&#176;"}, {"\xC2\xB5", "&#181;"}, {"\xC3\x9F", "&#223;"},
      {"\xC3\x80", "&#192;"}, {"\xC3\x88", "&#200;"}, {"\xC3\x89", "&#201;"},
      {"\xC3\x8C", "&#204;"}, {"\xC3\x92", "&#210;"}, {"\xC3\x99", "&#217;"}};
  std::string out = bytes;
  for (const auto& [sequenza, riferimento] : kSequenze)
    SostituisciTutti(out, sequenza, riferimento);
  return out;
}

std::string clsXML::RemoveSpecChars(const std::string& bytes) {
  std::string out = bytes;
  SostituisciTutti(out, "\xC2\xC2\xAE\n", "&#174;");
  if (out.find('\xC2') != std::string::npos || out.find('\xC3') != std::string::npos) {
    out = UTF8(out);
  }
  SostituisciTutti(out, "\xAE", "&#174;");
  return out;
}

std::string clsXML::RemoveNameSpace(const std::string& xml) {
  // The prefixes are those of the "xmlns:" declarations, in document order;
  // the declarations themselves stay, so the replacements never move them.
  std::vector<std::string> prefissi;
  for (auto at = xml.find("xmlns:"); at != std::string::npos;) {
    auto equals = xml.find('=', at);
    if (equals == std::string::npos) break;
    prefissi.push_back(xml.substr(at + 6, equals - at - 6));
    at = xml.find("xmlns:", equals);
  }
  std::string out = xml;
  for (const auto& prefix : prefissi) {
    SostituisciTutti(out, "<" + prefix + ":", "<");
    SostituisciTutti(out, "</" + prefix + ":", "</");
    SostituisciTutti(out, " " + prefix + ":", " ");
  }
  return out;
}

std::string clsXML::RemoveDoubleHeader(const std::string& xml) {
  auto first = xml.find("<?xml ");
  if (first == std::string::npos) return xml;
  auto second = xml.find("<?xml ", first + 1);
  return second == std::string::npos ? xml : xml.substr(second);
}

std::string clsXML::DecodeEntities(const std::string& text) {
  static constexpr std::pair<std::string_view, std::string_view> kEntita[] = {
      {"&quot;", "\""}, {"&apos;", "'"}, {"&#224;", "à"}, {"&#232;", "è"},
      {"&#233;", "é"},  {"&#236;", "ì"}, {"&#242;", "ò"}, {"&#249;", "ù"},
      {"&#176;", "°"},  {"&lt;", "<"},   {"&gt;", ">"}};
  std::string out = text;
  for (const auto& [entita, carattere] : kEntita) SostituisciTutti(out, entita, carattere);
  return out;
}

std::string clsXML::ReplaceEuro(const std::string& text) {
  std::string out = text;
  SostituisciTutti(out, "€", "euro");
  return out;
}

std::string clsXML::EncodeNonAscii(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : CodePoints(text)) {
    int valore = ValoreCp1252(c);
    if (valore < 0) valore = '?';  // not in the code page: the platform writes "?"
    if (valore < 32 || valore > 126) {
      char riferimento[24];
      std::snprintf(riferimento, sizeof riferimento, "&#%04d;", valore);
      out += riferimento;
    } else {
      out.push_back(static_cast<char>(valore));
    }
  }
  return out;
}

}  // namespace qzkiro::util
