#include "util/clsBase64.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "sandbox/server/CartellaTemporanea.h"

namespace qzkiro::util {
namespace {

namespace fs = std::filesystem;
using sandbox::CartellaTemporanea;

TEST(clsBase64Test, TextIsEncodedAsLatin1WithPadding) {
  // clang-format off
  const struct { std::string testo, b64, riletto; } casi[] = {
      {"", "", ""}, {"a", "YQ==", "a"}, {"ab", "YWI=", "ab"}, {"abc", "YWJj", "abc"},
      {"è", "6A==", "è"}, {"€", "Pw==", "?"},  // € is not Latin-1
      {"<a>è</a>", "PGE+6DwvYT4=", "<a>è</a>"},
  };
  // clang-format on
  const clsBase64 b;
  for (const auto& c : casi) {
    EXPECT_EQ(b.Encode(c.testo), c.b64) << c.testo;
    EXPECT_EQ(b.Decode(c.b64), c.riletto) << c.b64;
  }
  EXPECT_EQ(b.Base64ToHex("6A=="), "E8");
  EXPECT_EQ(clsBase64::ToHex({0x00, 0xAB, 0xFF}), "00ABFF");
  EXPECT_EQ(clsBase64::FromHex("00aBfF"), (Bytes{0x00, 0xAB, 0xFF}));
  EXPECT_EQ(clsBase64::DecodeBytes(" Y W\tJ\r\nj "), ComeByte("abc"));
}

TEST(clsBase64Test, LinesOf64NeverEndWithABreak) {
  const std::string x64(64, 'x');
  EXPECT_EQ(clsBase64::WrapLines64(""), "");
  EXPECT_EQ(clsBase64::WrapLines64(x64), x64);
  EXPECT_EQ(clsBase64::WrapLines64(x64 + "y"), x64 + "\r\ny");
  EXPECT_EQ(clsBase64::WrapLines64(x64 + x64), x64 + "\r\n" + x64);

  const clsBase64 b;
  EXPECT_EQ(b.EncodeL64(std::string(48, 'a')), b.Encode(std::string(48, 'a')));  // 64 characters
  const std::string due_righe = b.EncodeL64(std::string(49, 'a'));               // 68 characters
  EXPECT_EQ(due_righe.substr(64), "\r\nYQ==");
  EXPECT_EQ(b.Decode(due_righe), std::string(49, 'a'));
}

TEST(clsBase64Test, InvalidTextGivesNothing) {
  for (const char* cattivo : {"Y", "YQ=", "Y===", "====", "YQ==YQ==", "Y!==", "=YQ=", "YQ=a"}) {
    EXPECT_FALSE(clsBase64::DecodeBytes(cattivo).has_value()) << cattivo;
    EXPECT_EQ(clsBase64().Decode(cattivo), "") << cattivo;
    EXPECT_EQ(clsBase64().Base64ToHex(cattivo), "") << cattivo;
  }
  for (const char* cattivo : {"0", "ABC", "GG", "0x00"}) {
    EXPECT_FALSE(clsBase64::FromHex(cattivo).has_value()) << cattivo;
  }
}

TEST(clsBase64Test, FilesRoundTripByteForByte) {
  CartellaTemporanea dir;
  auto percorso = [&](const char* nome) { return (dir.Path() / nome).string(); };
  // Large enough to cross the blocks handed to OpenSSL, not a multiple of 3.
  Bytes dati(200003);
  for (std::size_t i = 0; i < dati.size(); ++i)
    dati[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  ASSERT_TRUE(ScriviFile(percorso("orig.bin"), dati));

  clsBase64 b;
  const std::string b64 = b.EncodeFile(percorso("orig.bin"));
  EXPECT_EQ(b64.size(), (dati.size() + 2) / 3 * 4);
  EXPECT_EQ(b.EncodeFromFile(percorso("orig.bin")), b64);
  const Bytes testa(dati.begin(), dati.begin() + 3 * 40000);
  const Bytes coda(dati.begin() + 3 * 40000, dati.end());
  EXPECT_EQ(b64, clsBase64::EncodeBytes(testa) + clsBase64::EncodeBytes(coda));

  ASSERT_TRUE(b.DecodeFile(b64, percorso("da_b64.bin")));
  ASSERT_TRUE(ScriviFile(percorso("righe.txt"), ComeByte(b.EncodeFileL64(percorso("orig.bin")))));
  ASSERT_TRUE(b.DecodeFileToFile(percorso("righe.txt"), percorso("da_righe.bin")));
  ASSERT_TRUE(b.DecodeFileHex(b.EncodeFileHex(percorso("orig.bin")), percorso("da_hex.bin")));
  for (const char* copia : {"da_b64.bin", "da_righe.bin", "da_hex.bin"}) {
    EXPECT_EQ(LeggiFile(percorso(copia)), dati) << copia;
  }

  EXPECT_EQ(b.EncodeFile(percorso("manca")), "");
  EXPECT_EQ(b.EncodeFileHex(percorso("manca")), "");
  EXPECT_FALSE(b.DecodeFileToFile(percorso("manca"), percorso("x")));
  EXPECT_FALSE(b.DecodeFile("Y", percorso("x")));
  EXPECT_FALSE(b.DecodeFileHex("0", percorso("x")));
  EXPECT_FALSE(fs::exists(percorso("x")));
  EXPECT_EQ(b.LastError(), "");
}

TEST(clsBase64Test, ZippedPayloadsRoundTripAndReportFailures) {
  CartellaTemporanea dir;
  const std::string testo = "perché € <x/>";
  const auto doc = dir.Scrivi("Doc.XML", "<doc>è</doc>").string();
  for (const std::string password : {"", "segreta"}) {
    clsBase64 b;
    const std::string zip64 = b.EncodeZipString(testo, password);
    EXPECT_EQ(b.DecodeZipString(zip64, password), testo);
    EXPECT_EQ(b.DecodeZipStringHex(b.Base64ToHex(zip64), password), testo);

    std::vector<std::string> lista;
    const auto uscita = dir.Path() / ("out" + password);
    ASSERT_TRUE(
        b.DecodeZipFileHex(b.EncodeZipFileHex(doc, password), uscita.string(), lista, password));
    EXPECT_EQ(lista, std::vector<std::string>{(uscita / "Doc.XML").string()});
    EXPECT_EQ(LeggiFile(lista[0]), LeggiFile(doc));
    EXPECT_EQ(b.LastError(), "");
  }

  clsBase64 b;
  EXPECT_EQ(b.DecodeZipString(b.EncodeZipString(testo, "segreta"), "altra"), "");
  EXPECT_EQ(b.LastError().rfind("Errore zip: ", 0), 0u) << b.LastError();
  EXPECT_EQ(b.DecodeZipString("Y"), "");
  EXPECT_EQ(b.LastError(), "Testo Base64 non valido");
  EXPECT_EQ(b.EncodeZipFile((dir.Path() / "manca").string()), "");
  EXPECT_EQ(b.LastError(), "File non trovato: " + (dir.Path() / "manca").string());

  const Bytes vuoto = {0x50, 0x4B, 0x05, 0x06, 0, 0, 0, 0, 0, 0, 0,
                       0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0};
  std::vector<std::string> lista{"vecchio"};
  EXPECT_FALSE(b.DecodeZipFile(clsBase64::EncodeBytes(vuoto), dir.Path().string(), lista));
  EXPECT_EQ(b.LastError(), "Nessun file contenuto nello zip");
  EXPECT_TRUE(lista.empty());
}

TEST(clsBase64Test, SingleFileIsCopiedOnlyUnderAnotherName) {
  CartellaTemporanea dir;
  const auto temp = dir.Path() / "temp";
  clsBase64 b;
  const std::string zip64 = b.EncodeZipFile(dir.Scrivi("Doc.XML", "<doc/>").string());

  ASSERT_TRUE(b.DecodeSingleZipFile(zip64, (dir.Path() / "altro.xml").string(), temp.string()));
  EXPECT_EQ(LeggiFile((dir.Path() / "altro.xml").string()), ComeByte("<doc/>"));
  // Same name in another letter case: nothing is copied.
  ASSERT_TRUE(b.DecodeSingleZipFile(zip64, (temp / "doc.xml").string(), temp.string()));
  EXPECT_FALSE(fs::exists(temp / "doc.xml"));
  EXPECT_FALSE(b.DecodeSingleZipFile("Y", (dir.Path() / "x").string(), temp.string()));
}

TEST(clsBase64Test, MimeBodyIsExact) {
  EXPECT_EQ(clsBase64().EncodeMimeXML("<a>è</a>"),
            "MIME-Version: 1.0\r\n"
            "Content-Type: multipart/mixed; boundary=----------------314159265358979323846\r\n"
            "\r\n"
            "------------------314159265358979323846\r\n"
            "Content-Disposition: form-data; name=\"document.xml\"; filename=\"document.xml\"\r\n"
            "Content-Type: application/xml; charset=ISO-8859-1\r\n"
            "Content-Transfer-Encoding: base64\r\n"
            "\r\n"
            "PGE+6DwvYT4=\r\n"
            "------------------314159265358979323846--\r\n");
}

}  // namespace
}  // namespace qzkiro::util
