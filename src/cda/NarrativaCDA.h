#pragma once

#include <string>
#include <string_view>

#include "cda/NodiCDA.h"

namespace qzkiro::cda {

// The HTML of a serialised CDA narrative block ("<text>...</text>"): a
// tag-by-tag textual conversion that leaves the elements HTML already knows
// ("content", "table", "tr", "td", "br", ...) as they are.
std::string NarrativeBlockToHtml(std::string_view txt);

// Every occurrence of `da` (given in lower case; ASCII letters of the text in
// any case) replaced by `a`.
std::string SostituisciSenzaMaiuscole(std::string_view testo, std::string_view da,
                                      std::string_view a);
// The position of `cosa` (given in lower case) in `testo` from `da`, ASCII
// letters of the text in any case; npos when absent.
std::size_t TrovaSenzaMaiuscole(std::string_view testo, std::string_view cosa, std::size_t da = 0);

// Appends the readable text of the sections below `n`: walking its children
// through "component" and "section", each "text" element adds "<p>" (when
// something was written before), the text of the "title" element right
// before it + "<br>", and its narrative as HTML.
void AggiungiTestoSezioni(Nodo n, std::string& out);

// The title and narrative of one section or observation: its "title" text +
// "<br>" when not empty, then the HTML of its "text" element when that has
// text.
std::string TitoloENarrativa(Nodo n);

// The parts of the page that Text builds around the body of the sections.
struct PaginaCDA {
  std::string data;  // the document date as the host shows it
  std::string titolo;
  std::string id;
  std::string header;
  std::string footer;
};

// The whole page: a body that is empty or begins "<!DOCTYPE html " stays as
// it is; any other is framed by the date, title, identifier, header and
// footer. In the end every "<table>" gets a border.
std::string PaginaHtml(const std::string& body, const PaginaCDA& pagina);

}  // namespace qzkiro::cda
