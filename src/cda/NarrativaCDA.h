#pragma once

#include <string>
#include <string_view>

#include "cda/NodiCDA.h"

namespace qzkiro::cda {

// The HTML of a serialised CDA narrative block ("<text>...</text>"): first
// made safe to show (NarrativaSicura), then converted tag by tag
// (MappaNarrativa), every character beyond ASCII as a reference (SoloAscii).
std::string NarrativeBlockToHtml(std::string_view txt);

// The HTML of the narrative element `n` of a document, as NarrativeBlockToHtml
// of its serialisation.
std::string NarrativaHtml(Nodo n);

// The tag-by-tag textual conversion of narrative text into HTML: tables
// without a width get the full width, empty paragraphs and captions go, the
// line breaks of the first paragraph become "<br>", and the narrative's tags
// become HTML ones; the elements HTML already knows ("content", "table",
// "tr", "td", "br", ...) stay as they are. A line break is CR LF, LF (all an
// XML parser leaves of a CR LF) or CR.
std::string MappaNarrativa(std::string_view testo);

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
// before it (escaped) + "<br>", and its narrative as HTML.
void AggiungiTestoSezioni(Nodo n, std::string& out);

// The title and narrative of one section or observation: its "title" text
// (escaped) + "<br>" when not empty, then the HTML of its "text" element when
// that has text.
std::string TitoloENarrativa(Nodo n);

// The parts of the page that Text builds around the body of the sections.
struct PaginaCDA {
  std::string data;    // the document date as the host shows it: text
  std::string titolo;  // text
  std::string id;      // text
  std::string header;  // HTML of the caller
  std::string footer;  // HTML of the caller
};

// The whole page: a body that is empty or begins "<!DOCTYPE html " stays as
// it is; any other is framed by the character set declaration, the date,
// title and identifier (escaped), the header and the footer. In the end every
// "<table>" gets a border and every character beyond ASCII becomes a
// reference.
std::string PaginaHtml(const std::string& body, const PaginaCDA& pagina);

}  // namespace qzkiro::cda
