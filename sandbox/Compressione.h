#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "sandbox/Scambio.h"

namespace qzkiro::sandbox {

// The content coding of the answer to a request whose Accept-Encoding is
// `accept_encoding`: "deflate" or "gzip" when the request accepts it with a
// q-value above 0 (named, or through "*"; "x-gzip" counts as "gzip"), the
// higher q-value winning and deflate on a tie; "" (identity) when it accepts
// neither, or sends no Accept-Encoding at all.
std::string CodificaAccettata(std::string_view accept_encoding);

// The answer as it travels to that request, as real servers send it: the body
// compressed with zlib in the accepted coding ("deflate" is the zlib format),
// with "Content-Encoding" and "Vary: Accept-Encoding" among its headers. Left
// as it is when the request accepts neither coding, the body is empty, or the
// route has set a Content-Encoding of its own.
Risposta Comprimi(std::string_view accept_encoding, Risposta risposta);

// `corpo` in the chunked transfer coding: blocks of at most `blocco` bytes,
// each preceded by its length in hexadecimal, then the empty last block.
std::string InBlocchi(std::string_view corpo, std::size_t blocco);

}  // namespace qzkiro::sandbox
