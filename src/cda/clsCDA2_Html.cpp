// clsCDA2: the HTML rendering of the document's narrative.

#include <string_view>

#include "cda/ValoriCDA.h"
#include "cda/NarrativaCDA.h"
#include "cda/clsCDA2.h"

namespace qzkiro::cda {

namespace {

// The code of a general-notes section.
constexpr std::string_view kNoteGenerali = "26436-6";

}  // namespace

std::string clsCDA2::NarrativeBlockToHtml(const std::string& txt) {
  return cda::NarrativeBlockToHtml(txt);
}

std::string clsCDA2::Text(const std::string& Header, const std::string& Footer) const {
  std::string body;
  PerOgni(Radice(), "component/structuredBody/component", [&](Nodo componente) {
    AggiungiTestoSezioni(componente, body);
    return true;
  });
  PaginaCDA pagina;
  if (!body.empty() && !body.starts_with("<!DOCTYPE html ")) {
    pagina = {accesso_->ValoreData(Data()), Titolo(), ID(), Header, Footer};
  }
  return PaginaHtml(body, pagina);
}

std::string clsCDA2::NoteGenerali() const {
  std::string html;
  PerOgni(Radice(), "component/structuredBody/component/section", [&](Nodo sezione) {
    if (AttributoDi(sezione, "code", "code") != kNoteGenerali) return true;
    if (!html.empty()) html += "<p>";
    html += TitoloENarrativa(sezione);
    return true;
  });
  return accesso_->CodificaBase64(html);
}

}  // namespace qzkiro::cda
