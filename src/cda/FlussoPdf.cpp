#include "cda/FlussoPdf.h"

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>

namespace qzkiro::cda::pdf {

namespace {

struct FineInflate {
  void operator()(z_stream* z) const {
    inflateEnd(z);
    delete z;
  }
};

int Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// Rebuilds one row of `byte_riga` bytes in place from its PNG filter, the row
// above (`su`, zeros for the first) and `bpp` bytes per pixel.
bool RigaPng(int filtro, std::uint8_t* riga, const std::uint8_t* su, std::size_t byte_riga,
             std::size_t bpp) {
  for (std::size_t i = 0; i < byte_riga; ++i) {
    const int a = i >= bpp ? riga[i - bpp] : 0;
    const int b = su[i];
    const int c = i >= bpp ? su[i - bpp] : 0;
    int base = 0;
    switch (filtro) {
      case 0:
        base = 0;
        break;
      case 1:
        base = a;
        break;
      case 2:
        base = b;
        break;
      case 3:
        base = (a + b) / 2;
        break;
      case 4:
        base = Paeth(a, b, c);
        break;
      default:
        return false;
    }
    riga[i] = static_cast<std::uint8_t>(riga[i] + base);
  }
  return true;
}

}  // namespace

std::optional<std::string> Inflate(std::string_view dati, std::size_t limite) {
  std::unique_ptr<z_stream, FineInflate> z(new z_stream{});
  if (inflateInit(z.get()) != Z_OK) return std::nullopt;
  z->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(dati.data()));
  std::string uscita;
  std::size_t resto_ingresso = dati.size();
  for (int esito = Z_OK; esito != Z_STREAM_END;) {
    if (uscita.size() >= limite + 1) return std::nullopt;
    const std::size_t prima = uscita.size();
    const std::size_t blocco =
        std::min<std::size_t>(std::max<std::size_t>(prima, 1u << 16), limite + 1 - prima);
    uscita.resize(prima + blocco);
    constexpr std::size_t kMassimoUInt = std::numeric_limits<uInt>::max();
    const std::size_t offerti = std::min(resto_ingresso, kMassimoUInt);
    z->avail_in = static_cast<uInt>(offerti);
    z->next_out = reinterpret_cast<Bytef*>(uscita.data() + prima);
    z->avail_out = static_cast<uInt>(std::min(blocco, kMassimoUInt));
    esito = inflate(z.get(), Z_NO_FLUSH);
    resto_ingresso -= offerti - z->avail_in;
    uscita.resize(uscita.size() - z->avail_out);
    if (esito != Z_OK && esito != Z_STREAM_END) return std::nullopt;
    if (esito == Z_OK && resto_ingresso == 0 && uscita.size() == prima) return std::nullopt;
  }
  if (uscita.size() > limite) return std::nullopt;
  return uscita;
}

std::optional<std::string> AnnullaPredittore(std::string dati, const Predittore& p) {
  if (p.tipo == 1) return dati;
  if (p.tipo < 10 || p.tipo > 15 || p.colori < 1 || p.colori > 32 || p.colonne < 1 ||
      p.colonne > (1 << 24) ||
      (p.bit != 1 && p.bit != 2 && p.bit != 4 && p.bit != 8 && p.bit != 16)) {
    return std::nullopt;
  }
  const auto bpp = static_cast<std::size_t>(std::max<long long>(1, p.colori * p.bit / 8));
  const auto byte_riga = static_cast<std::size_t>((p.colori * p.bit * p.colonne + 7) / 8);
  if (byte_riga + 1 > dati.size()) return std::string();
  std::string uscita;
  uscita.reserve(dati.size() / (byte_riga + 1) * byte_riga);
  std::string su(byte_riga, '\0');
  for (std::size_t pos = 0; pos + 1 + byte_riga <= dati.size(); pos += 1 + byte_riga) {
    auto* riga = reinterpret_cast<std::uint8_t*>(dati.data() + pos + 1);
    if (!RigaPng(static_cast<std::uint8_t>(dati[pos]), riga,
                 reinterpret_cast<const std::uint8_t*>(su.data()), byte_riga, bpp)) {
      return std::nullopt;
    }
    su.assign(reinterpret_cast<const char*>(riga), byte_riga);
    uscita += su;
  }
  return uscita;
}

}  // namespace qzkiro::cda::pdf
