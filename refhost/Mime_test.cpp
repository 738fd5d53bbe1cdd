#include "refhost/Mime.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "qzkiro/Failure.h"
#include "refhost/Base64.h"
#include "refhost/TestoMime.h"
#include "sandbox/server/CartellaTemporanea.h"

namespace qzkiro::refhost {
namespace {

const std::string kXml =
    "<?xml version=\"1.0\"?><ClinicalDocument><title>Esame</title></ClinicalDocument>";
const std::string kPdf("%PDF-1.4\n\0\xff\xe2", 12);

// Base64 in lines of 16 characters, as mailers wrap it.
std::string Base64ARighe(const std::string& bytes, const std::string& a_capo = "\r\n") {
  const auto testo = Base64::Codifica(bytes);
  std::string out;
  for (std::size_t i = 0; i < testo.size(); i += 16) out += testo.substr(i, 16) + a_capo;
  return out;
}

// The parts of a message, failing the test when it is not MIME.
std::vector<std::shared_ptr<MimeParte>> Parti(const std::string& testo,
                                              const std::string& prefisso = "--") {
  Mime mime;
  EXPECT_TRUE(mime.InitStr(testo, prefisso)) << testo;
  return mime.Parti();
}

std::string LeggiTutto(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream testo;
  testo << in.rdbuf();
  return testo.str();
}

TEST(MimeTest, MultipartMixedGivesEachPartDecoded) {
  const std::string messaggio =
      "MIME-Version: 1.0\r\nContent-Type: multipart/mixed;\r\n\tboundary=\"----=_Parte_001\"\r\n"
      "\r\nPreambolo da ignorare.\r\n------=_Parte_001\r\n"
      "Content-Type: application/xml; name=\"referto.xml\"\r\nContent-Transfer-Encoding: base64\r\n"
      "\r\n" +
      Base64ARighe(kXml) +
      "------=_Parte_001  \r\n"
      "Content-Type: APPLICATION/PDF\r\nContent-Transfer-Encoding: BASE64\r\n"
      "Content-Disposition: attachment; filename*=UTF-8''esito%20%E2%82%AC.pdf\r\n"
      "\r\n" +
      Base64ARighe(kPdf) +
      "------=_Parte_001\r\n"
      "content-type: text/plain; charset=ISO-8859-1\r\n"
      "content-transfer-encoding: quoted-printable\r\n\r\n"
      "Citt=E0 e una riga lunga che conti=\r\nnua qui.   \r\nFine=3D=e8=Z1\r\n"
      "------=_Parte_001--\r\nEpilogo da ignorare.\r\n";
  const auto parti = Parti(messaggio);
  ASSERT_EQ(parti.size(), 3u);
  EXPECT_EQ(parti[0]->ContentType(), "application/xml");
  EXPECT_EQ(parti[0]->FileName(), "referto.xml");
  EXPECT_EQ(parti[0]->Decode(), kXml);
  EXPECT_EQ(parti[1]->ContentType(), "application/pdf");
  EXPECT_EQ(parti[1]->FileName(), "esito €.pdf");
  EXPECT_EQ(parti[1]->Decode(), kPdf);
  EXPECT_EQ(parti[2]->FileName(), "");
  EXPECT_EQ(parti[2]->Decode(), "Citt\xe0 e una riga lunga che continua qui.\r\nFine=\xe8=Z1");
}

TEST(MimeTest, NamesComeFromFilenameNameAndTheirEncodings) {
  struct Caso {
    std::string intestazioni, file_name, name;
  };
  const std::vector<Caso> casi = {
      {"Content-Disposition: attachment; filename=\"a.pdf\"\nContent-Type: x/y; name=b.pdf",
       "a.pdf", "b.pdf"},
      {"Content-Type: x/y; name=\"b c.pdf\"", "b c.pdf", "b c.pdf"},
      {"Content-Disposition: inline; filename=a.pdf", "a.pdf", "a.pdf"},
      {"Content-Type: x/y; name=\"=?UTF-8?B?cmVmZXJ0b19jaXR0w6AueG1s?=\"", "referto_città.xml",
       "referto_città.xml"},
      {"Content-Disposition: a; filename=\"=?iso-8859-1?q?perch=E9?= =?UTF-8?Q?_s=C3=AC?=.txt\"",
       "perché sì.txt", "perché sì.txt"},
      {"Content-Disposition: a; filename*=iso-8859-1'it'perch%E9.txt", "perché.txt", "perché.txt"},
      {"Content-Disposition: a; filename*0*=UTF-8''citt%C3%A0_;\n filename*1=\"lunga.pdf\"",
       "città_lunga.pdf", "città_lunga.pdf"},
      {"Content-Disposition: a; filename=\"vecchio.txt\"; FILENAME*=utf-8''nuovo.txt", "nuovo.txt",
       "nuovo.txt"},
      {"Content-Type: x/y; name=\"=?KOI8-R?B?5sHK?=.txt\"", "=?KOI8-R?B?5sHK?=.txt",
       "=?KOI8-R?B?5sHK?=.txt"},
      {"Content-Type: x/y; name=\"a\\\"b.txt\"", "a\"b.txt", "a\"b.txt"},
  };
  for (const auto& caso : casi) {
    const auto parti = Parti(caso.intestazioni + "\n\ncorpo");
    ASSERT_EQ(parti.size(), 1u);
    EXPECT_EQ(parti[0]->FileName(), caso.file_name) << caso.intestazioni;
    EXPECT_EQ(parti[0]->Name(), caso.name) << caso.intestazioni;
  }
}

TEST(MimeTest, NestedMultipartsAreFlattenedInOrderWithLfLineEnds) {
  const std::string messaggio =
      "Content-Type: multipart/mixed; boundary=esterno\n\n--esterno\n"
      "Content-Type: multipart/alternative; boundary=\"interno\"\n\npreambolo\n--interno\n"
      "Content-Type: text/plain\n\ntesto\n--interno\nContent-Type: text/html\n\n<p>testo</p>\n"
      "--interno--\n--esterno\nContent-Type: application/pdf; name=r.pdf\n"
      "Content-Transfer-Encoding: base64\n\n" +
      Base64ARighe(kPdf, "\n") + "--esterno--\n";
  const auto parti = Parti(messaggio);
  ASSERT_EQ(parti.size(), 3u);
  EXPECT_EQ(parti[0]->ContentType(), "text/plain");
  EXPECT_EQ(parti[0]->Decode(), "testo");
  EXPECT_EQ(parti[1]->ContentType(), "text/html");
  EXPECT_EQ(parti[1]->Decode(), "<p>testo</p>");
  EXPECT_EQ(parti[2]->Name(), "r.pdf");
  EXPECT_EQ(parti[2]->Decode(), kPdf);
}

TEST(MimeTest, AnyOtherMessageIsOnePartAndNonMimeTextIsRefused) {
  auto parti = Parti(
      "\r\n  Content-Type: application/pdf; name=x.pdf\r\n"
      "Content-Transfer-Encoding: base64\r\n\r\nJVBE\r\nRi0=\r\n");
  ASSERT_EQ(parti.size(), 1u);
  EXPECT_EQ(parti[0]->Decode(), "%PDF-");
  parti = Parti("MIME-Version: 1.0\nX-Nota: piegata\n su due righe\n\nciao");
  ASSERT_EQ(parti.size(), 1u);
  EXPECT_EQ(parti[0]->ContentType(), "text/plain");
  EXPECT_EQ(parti[0]->Decode(), "ciao");
  parti = Parti("Content-Type: multipart/mixed\n\n--x\n\ncorpo\n--x--\n");
  ASSERT_EQ(parti.size(), 1u) << "a multipart without boundary stays whole";

  Mime mime;
  ASSERT_TRUE(mime.InitStr("Content-Type: text/plain\n\nx"));
  for (const std::string testo :
       {"", "   \r\n", "<?xml version=\"1.0\"?><a b=\"c:d\"/>", "\r\n\r\ncorpo senza intestazioni",
        "riga qualsiasi\nContent-Type: x/y\n\n"}) {
    EXPECT_FALSE(mime.InitStr(testo)) << testo;
    EXPECT_TRUE(mime.Items().empty());
  }
}

TEST(MimeTest, TruncatedMultipartKeepsWhatArrivedAndPrefixIsConfigurable) {
  auto parti = Parti(
      "Content-Type: multipart/related; boundary=b\r\n\r\n--b\r\n\r\nuno\r\n--b\r\n"
      "Content-Type: text/xml\r\n\r\n<a>\r\n<b/>");
  ASSERT_EQ(parti.size(), 2u);
  EXPECT_EQ(parti[0]->Decode(), "uno");
  EXPECT_EQ(parti[1]->Decode(), "<a>\r\n<b/>");
  EXPECT_EQ(Parti("Content-Type: multipart/related; boundary=b\n\n--b\nuno\n--b\n\n").size(), 1u)
      << "nothing arrived of the last part";

  const std::string senza_trattini =
      "Content-Type: multipart/mixed; boundary=\"==SEP==\"\n\n==SEP==\n\nuno\n==SEP==\n\ndue\n"
      "==SEP==--\n";
  parti = Parti(senza_trattini, "");
  ASSERT_EQ(parti.size(), 2u);
  EXPECT_EQ(parti[1]->Decode(), "due");
  EXPECT_TRUE(Parti(senza_trattini).empty()) << "no line is \"--==SEP==\"";
  EXPECT_EQ(
      Parti("Content-Type: multipart/mixed; boundary=b\n\n--b\nuno\n--bb\n--b--\n").at(0)->Decode(),
      "uno\n--bb")
      << "a longer boundary is not a delimiter";
}

TEST(MimeTest, InitFileReadsTheMessageAndExtractFileStaysInItsFolder) {
  sandbox::CartellaTemporanea cartella;
  const auto file =
      cartella.Scrivi("messaggio.mime",
                      "Content-Type: multipart/mixed; boundary=b\n\n--b\n"
                      "Content-Disposition: attachment; filename=\"referto.pdf\"\n"
                      "Content-Transfer-Encoding: base64\n\n" +
                          Base64::Codifica(kPdf) +
                          "\n--b\nContent-Type: text/plain; name=\"../fuori.txt\"\n\nx\n--b\n"
                          "Content-Transfer-Encoding: base64\nContent-Type: x/y; name=r.bin\n\n"
                          "non base64!\n--b--\n");
  Mime mime;
  EXPECT_FALSE(mime.InitFile((cartella.Path() / "manca.mime").string()));
  ASSERT_TRUE(mime.InitFile(file.string()));
  const auto parti = mime.Items();
  ASSERT_EQ(parti.size(), 3u);
  const auto uscita = cartella.Path() / "uscita";
  std::filesystem::create_directories(uscita / "a");
  EXPECT_TRUE(parti[0]->ExtractFile(uscita.string()));
  EXPECT_EQ(LeggiTutto(uscita / "referto.pdf"), kPdf);
  EXPECT_TRUE(parti[0]->ExtractFile(uscita.string(), "copia.pdf"));
  EXPECT_EQ(LeggiTutto(uscita / "copia.pdf"), kPdf);
  for (const std::string nome : {"../x", "a/b", "a\\b", "..", "."}) {
    EXPECT_FALSE(parti[0]->ExtractFile(uscita.string(), nome)) << nome;
  }
  EXPECT_FALSE(parti[1]->ExtractFile(uscita.string())) << "its own name leaves the folder";
  EXPECT_FALSE(std::filesystem::exists(cartella.Path() / "fuori.txt"));
  EXPECT_FALSE(std::filesystem::exists(uscita / "a" / "b"));
  EXPECT_THROW(parti[2]->Decode(), Failure);
  EXPECT_FALSE(parti[2]->ExtractFile(uscita.string()));
  EXPECT_FALSE(parti[0]->ExtractFile((cartella.Path() / "manca").string()));
  EXPECT_FALSE(Parti("Content-Type: x/y\n\nz").at(0)->ExtractFile(uscita.string()))
      << "no name to write under";
}

TEST(TestoMimeTest, EncodingsDecodeAndLeaveMalformedTextAlone) {
  EXPECT_EQ(DecodificaQuotedPrintable("a=\nb=20 \t\nc=3d=\r\n"), "ab \nc=");
  EXPECT_EQ(DecodificaQuotedPrintable("=4"), "=4");
  EXPECT_EQ(DecodificaParoleCodificate("=?UTF-8?B?w6A?= x =?UTF-8?Q?=C3=A8_?=  =?utf-8?q?z?="),
            "à x è z");
  for (const std::string guasto :
       {"=?UTF-8?X?abc?=", "=?UTF-8?B?a b?=", "=?UTF-8?Q?abc", "=??Q?a?=", "=?UTF-8?B?!!!!?="}) {
    EXPECT_EQ(DecodificaParoleCodificate(guasto), guasto);
  }
  EXPECT_EQ(DecodificaValoreEsteso("''a%20b"), "a b");
  EXPECT_FALSE(DecodificaValoreEsteso("utf-8'a%20b").has_value());
  EXPECT_FALSE(DecodificaValoreEsteso("koi8-r''a").has_value());
}

}  // namespace
}  // namespace qzkiro::refhost
