#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qzkiro::cda::pdf {

// The decoded form of a stream may not exceed this many bytes: a few hundred
// bytes of deflate data expand to gigabytes, and no document of the record
// comes near it.
inline constexpr std::size_t kMassimoDecodificato = 256u << 20;

// Inflates zlib data ("FlateDecode"); nullopt when the data are damaged, end
// before the end of the compressed stream, or expand beyond `limite` bytes.
std::optional<std::string> Inflate(std::string_view dati, std::size_t limite);

// Parameters of a PNG or TIFF predictor ("DecodeParms").
struct Predittore {
  long long tipo = 1;  // 1: none; 2: TIFF; 10-15: PNG, each row carrying its own filter
  long long colori = 1;
  long long bit = 8;
  long long colonne = 1;
};

// Undoes the predictor on decompressed data; nullopt when the parameters or
// the data cannot be such (TIFF prediction is not supported: it is used by
// images, not by the streams read here).
std::optional<std::string> AnnullaPredittore(std::string dati, const Predittore& p);

}  // namespace qzkiro::cda::pdf
