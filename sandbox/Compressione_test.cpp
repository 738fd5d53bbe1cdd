#include "sandbox/Compressione.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace qzkiro::sandbox {
namespace {

// `dati` decompressed as `finestra` says (MAX_WBITS: zlib format only,
// MAX_WBITS + 16: gzip only); "" when they are not in that format.
std::string Espanso(const std::string& dati, int finestra) {
  z_stream z{};
  if (inflateInit2(&z, finestra) != Z_OK) return {};
  std::string out(64 * 1024, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(dati.data()));
  z.avail_in = static_cast<uInt>(dati.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int esito = inflate(&z, Z_FINISH);
  out.resize(esito == Z_STREAM_END ? z.total_out : 0);
  inflateEnd(&z);
  return out;
}

TEST(CompressioneTest, TheCodingFollowsTheOfferAndItsWeights) {
  const struct {
    const char* offerta;
    const char* codifica;
  } casi[] = {
      {"", ""},
      {"deflate", "deflate"},
      {"DEFLATE", "deflate"},
      {"gzip", "gzip"},
      {"x-gzip", "gzip"},
      {"identity", ""},
      {"br", ""},
      {"gzip, deflate", "deflate"},  // a tie goes to deflate
      {"deflate;q=0", ""},
      {"deflate; q=0.000, gzip", "gzip"},
      {"deflate;q=0.5, gzip;q=0.8", "gzip"},
      {"gzip;q=1.0 ,deflate;q=0.999", "gzip"},
      {"deflate;Q=0", ""},
      {"deflate;level=1;q=0.1", "deflate"},
      {"*", "deflate"},
      {"*;q=0", ""},
      {"deflate;q=0, *", "gzip"},
      {"gzip;q=0.2, *;q=0.5", "deflate"},
      {"deflate;q=2", ""},  // not a weight: the element is dropped
      {"deflate;q=0.0001, gzip;q=abc", ""},
      {" , ;q=1, deflate ", "deflate"},
  };
  for (const auto& caso : casi) {
    EXPECT_EQ(CodificaAccettata(caso.offerta), caso.codifica) << "\"" << caso.offerta << "\"";
  }
}

TEST(CompressioneTest, TheBodyIsCompressedInTheAcceptedCodingWithItsHeaders) {
  const std::string corpo = "<Envelope>perché " + std::string(500, 'x') + "</Envelope>";
  const Risposta originale{500, corpo, "text/xml", {{"X-Servizio", "mef"}}};

  const Risposta deflate = Comprimi("gzip;q=0.5, deflate", originale);
  EXPECT_LT(deflate.corpo.size(), corpo.size());
  EXPECT_EQ(Espanso(deflate.corpo, MAX_WBITS), corpo) << "the zlib format, as HTTP defines it";
  EXPECT_EQ(deflate.stato, 500);
  EXPECT_EQ(deflate.tipo, "text/xml");
  EXPECT_EQ(deflate.intestazioni, (Intestazioni{{"X-Servizio", "mef"},
                                                {"Content-Encoding", "deflate"},
                                                {"Vary", "Accept-Encoding"}}));
  EXPECT_EQ(Espanso(Comprimi("gzip", originale).corpo, MAX_WBITS + 16), corpo);

  Risposta codificata = originale;
  codificata.intestazioni.emplace_back("Content-Encoding", "br");
  Risposta vuota = originale;
  vuota.corpo.clear();
  // Not accepted, coded by the route already, nothing to compress: as it was.
  using Caso = std::pair<const char*, const Risposta*>;
  for (const auto& [offerta, risposta] :
       {Caso{"deflate;q=0", &originale}, Caso{"deflate", &codificata}, Caso{"deflate", &vuota}}) {
    const Risposta r = Comprimi(offerta, *risposta);
    EXPECT_EQ(r.corpo, risposta->corpo) << offerta;
    EXPECT_EQ(r.intestazioni, risposta->intestazioni) << offerta;
  }
}

TEST(CompressioneTest, ChunksCarryTheirHexLengthAndEndWithAnEmptyOne) {
  EXPECT_EQ(InBlocchi("abcdefghijklmnopqrstu", 16),
            "10\r\nabcdefghijklmnop\r\n5\r\nqrstu\r\n0\r\n\r\n");
  EXPECT_EQ(InBlocchi("abc", 3), "3\r\nabc\r\n0\r\n\r\n");
  EXPECT_EQ(InBlocchi("", 16), "0\r\n\r\n");
  EXPECT_EQ(InBlocchi("abc", 0), "3\r\nabc\r\n0\r\n\r\n");
}

}  // namespace
}  // namespace qzkiro::sandbox
