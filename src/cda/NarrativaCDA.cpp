#include "cda/NarrativaCDA.h"

#include <array>
#include <cstring>

#include "cda/NarrativaSicura.h"
#include "cda/TestoHtml.h"

namespace qzkiro::cda {

namespace {

char Minuscola(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// `cosa` (lower case) at position `at` of `testo`, letters in any case.
bool UgualeA(std::string_view testo, std::size_t at, std::string_view cosa) {
  if (testo.size() - at < cosa.size()) return false;
  for (std::size_t i = 0; i < cosa.size(); ++i) {
    if (Minuscola(testo[at + i]) != cosa[i]) return false;
  }
  return true;
}

struct Sostituzione {
  std::string_view da;  // lower case
  std::string_view a;
};

// The narrative tags and their HTML, in the order they apply. "<th/>" goes
// straight to the empty cell that "<td/>" becomes right after; no other
// replacement makes text that a later one would match, so one pass over the
// text gives what replacing each tag in turn gives.
constexpr std::array<Sostituzione, 18> kTag = {{
    {"<paragraph>", "<p>"},
    {"</paragraph>", "</p>"},
    {"<paragraph ", "<p "},
    {"<caption>", "<b>"},
    {"</caption>", "</b><br>"},
    {"</content>", "</content><br>"},
    {"<list>", "<ul>"},
    {"</list>", "</ul>"},
    {"<list ", "<ul "},
    {"<item>", "<li>"},
    {"</item>", "</li>"},
    {"<item ", "<li "},
    {"<th>", "<td><b>"},
    {"<th/>", "<td>&nbsp;</td>"},
    {"</th>", "</b></td>"},
    {"<th ", "<td "},
    {"<td></td>", "<td>&nbsp;</td>"},
    {"<td/>", "<td>&nbsp;</td>"},
}};

std::string MappaTag(std::string_view testo) {
  std::string out;
  out.reserve(testo.size() + testo.size() / 8);
  std::size_t copiato = 0;
  for (std::size_t at = testo.find('<'); at != std::string_view::npos; at = testo.find('<', at)) {
    const Sostituzione* trovata = nullptr;
    for (const auto& s : kTag) {
      if (UgualeA(testo, at, s.da)) {
        trovata = &s;
        break;
      }
    }
    if (!trovata) {
      ++at;
      continue;
    }
    out.append(testo, copiato, at - copiato).append(trovata->a);
    at += trovata->da.size();
    copiato = at;
  }
  out.append(testo, copiato, std::string_view::npos);
  return out;
}

// Every "<table" tag without "width" gets " width=100%" right after "<table".
std::string LarghezzaTabelle(std::string_view testo) {
  std::string out;
  std::size_t copiato = 0;
  for (std::size_t at = TrovaSenzaMaiuscole(testo, "<table"); at != std::string_view::npos;
       at = TrovaSenzaMaiuscole(testo, "<table", at)) {
    const std::size_t fine = testo.find('>', at);
    if (fine == std::string_view::npos) break;
    const std::size_t dopo_nome = at + 6;
    out.append(testo, copiato, dopo_nome - copiato);
    if (TrovaSenzaMaiuscole(testo.substr(at, fine - at), "width") == std::string_view::npos) {
      out += " width=100%";
    }
    copiato = dopo_nome;
    at = fine + 1;
  }
  if (copiato == 0) return std::string(testo);
  out.append(testo, copiato, std::string_view::npos);
  return out;
}

// The line breaks inside the first paragraph become "<br>". The document's
// CR LF reach here as LF (an XML parser keeps only the LF of a line end) and
// an escaped CR ("&#13;") as CR: each of CR LF, LF and CR is one break.
void APriPrimoParagrafo(std::string& testo) {
  const std::size_t inizio = TrovaSenzaMaiuscole(testo, "<paragraph");
  if (inizio == std::string::npos) return;
  const std::size_t corpo = testo.find('>', inizio);
  if (corpo == std::string::npos) return;
  const std::size_t fine = TrovaSenzaMaiuscole(testo, "</paragraph>", corpo + 1);
  if (fine == std::string::npos) return;
  const std::string_view dentro = std::string_view(testo).substr(corpo + 1, fine - corpo - 1);
  if (dentro.find_first_of("\r\n") == std::string_view::npos) return;
  std::string nuovo;
  for (std::size_t at = 0; at < dentro.size(); ++at) {
    if (dentro[at] == '\r' || dentro[at] == '\n') {
      nuovo += "<br>";
      if (dentro.compare(at, 2, "\r\n") == 0) ++at;
    } else {
      nuovo.push_back(dentro[at]);
    }
  }
  testo.replace(corpo + 1, fine - corpo - 1, nuovo);
}

}  // namespace

std::size_t TrovaSenzaMaiuscole(std::string_view testo, std::string_view cosa, std::size_t da) {
  if (da > testo.size()) return std::string_view::npos;
  if (cosa.empty()) return da;
  const char prima = cosa[0];
  const char maiuscola =
      prima >= 'a' && prima <= 'z' ? static_cast<char>(prima - 'a' + 'A') : prima;
  for (std::size_t at = da; at + cosa.size() <= testo.size(); ++at) {
    if (prima == maiuscola) {
      // A tag begins with "<": jump straight to the next one.
      const void* p = std::memchr(testo.data() + at, prima, testo.size() - at);
      if (!p) return std::string_view::npos;
      at = static_cast<std::size_t>(static_cast<const char*>(p) - testo.data());
      if (at + cosa.size() > testo.size()) return std::string_view::npos;
    } else if (testo[at] != prima && testo[at] != maiuscola) {
      continue;
    }
    if (UgualeA(testo, at, cosa)) return at;
  }
  return std::string_view::npos;
}

std::string SostituisciSenzaMaiuscole(std::string_view testo, std::string_view da,
                                      std::string_view a) {
  std::size_t at = TrovaSenzaMaiuscole(testo, da);
  if (da.empty() || at == std::string_view::npos) return std::string(testo);
  std::string out;
  out.reserve(testo.size());
  std::size_t copiato = 0;
  for (; at != std::string_view::npos; at = TrovaSenzaMaiuscole(testo, da, copiato)) {
    out.append(testo, copiato, at - copiato).append(a);
    copiato = at + da.size();
  }
  out.append(testo, copiato, std::string_view::npos);
  return out;
}

std::string MappaNarrativa(std::string_view testo) {
  std::string html = LarghezzaTabelle(testo);
  html = SostituisciSenzaMaiuscole(html, "<paragraph/>", "");
  html = SostituisciSenzaMaiuscole(html, "<caption/>", "");
  APriPrimoParagrafo(html);
  return MappaTag(html);
}

std::string NarrativeBlockToHtml(std::string_view txt) {
  return SoloAscii(MappaNarrativa(NarrativaSicura(txt)));
}

std::string NarrativaHtml(Nodo n) {
  return NarrativeBlockToHtml(Serializza(n));
}

void AggiungiTestoSezioni(Nodo n, std::string& out) {
  if (!n) return;
  for (Nodo c : util::clsXML::Figli(n)) {
    if (HaNome(c, "component") || HaNome(c, "section")) {
      AggiungiTestoSezioni(c, out);
    } else if (HaNome(c, "text")) {
      if (!out.empty()) out += "<p>";
      if (Nodo titolo = ElementoPrecedente(c); HaNome(titolo, "title")) {
        out += TestoHtml(Testo(titolo));
        out += "<br>";
      }
      out += NarrativaHtml(c);
    }
  }
}

std::string TitoloENarrativa(Nodo n) {
  std::string html;
  if (std::string titolo = TestoDi(n, "title"); !titolo.empty()) html = TestoHtml(titolo) + "<br>";
  if (Nodo text = Figlio(n, "text"); !Testo(text).empty()) html += NarrativaHtml(text);
  return html;
}

std::string PaginaHtml(const std::string& body, const PaginaCDA& p) {
  std::string pagina;
  if (body.empty() || body.starts_with("<!DOCTYPE html ")) {
    pagina = body;
  } else {
    if (!Minuscolo(body.substr(0, 6)).starts_with("<html>")) pagina = "<html>";
    pagina += kDichiarazioneUtf8;
    pagina += "<b>" + TestoHtml(p.data);
    if (!p.titolo.empty()) pagina += " - " + TestoHtml(p.titolo);
    pagina += "</b><br>";
    if (!p.id.empty()) pagina += "(ID: " + TestoHtml(p.id) + ")<br>";
    if (!p.header.empty()) pagina += "<br>" + p.header + "<br>";
    pagina += body;
    if (!p.footer.empty()) pagina += "<br><br>" + p.footer;
    pagina += "<p></html>";
  }
  return SoloAscii(SostituisciSenzaMaiuscole(pagina, "<table>", "<table border=\"1\">"));
}

}  // namespace qzkiro::cda
