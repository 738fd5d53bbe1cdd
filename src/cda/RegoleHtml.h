#pragma once

#include <string>
#include <string_view>

namespace qzkiro::cda {

// Which markup of a document's narrative may reach a page shown in the
// host's browser: nothing that runs code or loads anything. Names are
// compared by their local part (after the last ':') in any case, so a prefix
// does not smuggle an element or attribute through.

// An element that runs or loads something, or changes how the rest of the
// page is read (script, style, iframe, object, embed, img, form, svg, ...):
// dropped with everything inside it.
bool ElementoAttivo(std::string_view nome);

// An attribute that may stay on an element that stays: not an event handler
// ("on..."), not one that loads something (background, srcset, data, ...), a
// link (href, src, cite, ...) only to a relative address or by http, https,
// mailto, ftp or tel, and "style" only with plain values (no functions,
// escapes or comments: no url(), no expression()). `valore` is the value as
// the browser sees it, character references decoded (see Decodifica).
bool AttributoAmmesso(std::string_view nome, std::string_view valore);

// An attribute value with its character references decoded: the five XML
// entities and numeric references. Other named references stay as written.
std::string Decodifica(std::string_view valore);

}  // namespace qzkiro::cda
