#include "cda/AllegatiPdf.h"
#include "cda/FlussoPdf.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace qzkiro::cda {
namespace {

std::string Comprimi(const std::string& dati) {
  uLongf lunghezza = compressBound(dati.size());
  std::string uscita(lunghezza, '\0');
  compress(reinterpret_cast<Bytef*>(uscita.data()), &lunghezza,
           reinterpret_cast<const Bytef*>(dati.data()), dati.size());
  uscita.resize(lunghezza);
  return uscita;
}

// zlib data that inflate to `zeri` zero bytes, made without holding them.
std::string BombaZlib(std::size_t zeri) {
  z_stream z{};
  deflateInit(&z, 1);
  const std::string blocco(1 << 20, '\0');
  std::string uscita;
  char buffer[1 << 16];
  for (std::size_t resto = zeri; resto > 0 || z.avail_in > 0;) {
    if (z.avail_in == 0) {
      const std::size_t n = std::min(resto, blocco.size());
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(blocco.data()));
      z.avail_in = static_cast<uInt>(n);
      resto -= n;
    }
    z.next_out = reinterpret_cast<Bytef*>(buffer);
    z.avail_out = sizeof buffer;
    deflate(&z, Z_NO_FLUSH);
    uscita.append(buffer, sizeof buffer - z.avail_out);
  }
  for (int esito = Z_OK; esito != Z_STREAM_END;) {
    z.next_out = reinterpret_cast<Bytef*>(buffer);
    z.avail_out = sizeof buffer;
    esito = deflate(&z, Z_FINISH);
    uscita.append(buffer, sizeof buffer - z.avail_out);
  }
  deflateEnd(&z);
  return uscita;
}

std::string Dieci(std::size_t n) {
  char testo[16];
  std::snprintf(testo, sizeof testo, "%010zu", n);
  return testo;
}

// Writes small PDF files object by object: with a classic cross-reference
// table, or (PDF 1.5) with the objects that are not streams packed into a
// compressed object stream and a cross-reference stream whose rows use the
// PNG "up" predictor, as current producers write them.
class ScrittorePdf {
 public:
  int Aggiungi(std::string corpo) {
    oggetti_.push_back({std::move(corpo), false});
    return static_cast<int>(oggetti_.size());
  }
  void Imposta(int numero, std::string corpo) { oggetti_[numero - 1].corpo = std::move(corpo); }
  // A stream; `lunghezza` replaces the true /Length when given.
  int Flusso(const std::string& dati, bool comprimi, const std::string& lunghezza = "") {
    const std::string byte = comprimi ? Comprimi(dati) : dati;
    oggetti_.push_back(
        {"<< /Length " + (lunghezza.empty() ? std::to_string(byte.size()) : lunghezza) +
             (comprimi ? " /Filter /FlateDecode" : "") + " >>\nstream\n" + byte + "\nendstream",
         true});
    return static_cast<int>(oggetti_.size());
  }

  std::string Classico(int radice) const {
    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> posizioni;
    for (std::size_t i = 0; i < oggetti_.size(); ++i)
      Scrivi(pdf, posizioni, i + 1, oggetti_[i].corpo);
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(oggetti_.size() + 1) + "\n0000000000 65535 f\r\n";
    for (std::size_t p : posizioni) pdf += Dieci(p) + " 00000 n\r\n";
    return pdf + "trailer\n<< /Size " + std::to_string(oggetti_.size() + 1) + " /Root " +
           std::to_string(radice) + " 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  }

  std::string Compresso(int radice) const {
    std::string pdf = "%PDF-1.5\n%\xE2\xE3\xCF\xD3\n", indice, corpi;
    std::vector<std::size_t> posizioni;
    std::vector<int> righe(oggetti_.size() + 3, -1);  // -1: at an offset, else index in the stream
    int impacchettati = 0;
    for (std::size_t i = 0; i < oggetti_.size(); ++i) {
      if (oggetti_[i].flusso) {
        Scrivi(pdf, posizioni, i + 1, oggetti_[i].corpo);
        continue;
      }
      posizioni.push_back(0);
      indice += std::to_string(i + 1) + " " + std::to_string(corpi.size()) + " ";
      corpi += oggetti_[i].corpo + "\n";
      righe[i + 1] = impacchettati++;
    }
    const std::size_t n_flusso = oggetti_.size() + 1, n_xref = n_flusso + 1;
    const std::string compresso = Comprimi(indice + corpi);
    Scrivi(pdf, posizioni, n_flusso,
           "<< /Type /ObjStm /N " + std::to_string(impacchettati) + " /First " +
               std::to_string(indice.size()) + " /Length " + std::to_string(compresso.size()) +
               " /Filter /FlateDecode >>\nstream\n" + compresso + "\nendstream");
    posizioni.push_back(pdf.size());
    // Rows of W [1 4 2]: type, offset or stream number, generation or index.
    std::string tabella, sopra(7, '\0');
    for (std::size_t n = 0; n <= n_xref; ++n) {
      const bool in_flusso = n > 0 && righe[n] >= 0;
      const std::size_t campo = n == 0 ? 0 : in_flusso ? n_flusso : posizioni[n - 1];
      const std::size_t terzo = in_flusso ? static_cast<std::size_t>(righe[n]) : n == 0 ? 65535 : 0;
      const std::string riga = {static_cast<char>(n == 0      ? 0
                                                  : in_flusso ? 2
                                                              : 1),
                                static_cast<char>(campo >> 24),
                                static_cast<char>(campo >> 16),
                                static_cast<char>(campo >> 8),
                                static_cast<char>(campo),
                                static_cast<char>(terzo >> 8),
                                static_cast<char>(terzo)};
      tabella += '\x02';  // PNG "up": each byte minus the one above it
      for (int b = 0; b < 7; ++b) tabella += static_cast<char>(riga[b] - sopra[b]);
      sopra = riga;
    }
    const std::string xref = Comprimi(tabella);
    const std::size_t inizio_xref = pdf.size();
    pdf += std::to_string(n_xref) + " 0 obj\n<< /Type /XRef /Size " + std::to_string(n_xref + 1) +
           " /Root " + std::to_string(radice) + " 0 R /W [1 4 2] /Length " +
           std::to_string(xref.size()) +
           " /Filter /FlateDecode /DecodeParms << /Predictor 12 /Columns 7 >> >>\nstream\n" + xref +
           "\nendstream\nendobj\n";
    return pdf + "startxref\n" + std::to_string(inizio_xref) + "\n%%EOF\n";
  }

 private:
  struct Voce {
    std::string corpo;
    bool flusso;
  };
  static void Scrivi(std::string& pdf, std::vector<std::size_t>& posizioni, std::size_t numero,
                     const std::string& corpo) {
    posizioni.push_back(pdf.size());
    pdf += std::to_string(numero) + " 0 obj\n" + corpo + "\nendobj\n";
  }
  std::vector<Voce> oggetti_;
};

std::string R(int numero) {
  return std::to_string(numero) + " 0 R";
}

// Text of a file descrittoretion of the embedded stream `flusso`.
std::string Descrittore(int flusso, const std::string& nomi) {
  return "<< /Type /Filespec " + nomi + " /EF << /F " + R(flusso) + " >> >>";
}

// A catalog with an empty page tree and `extra` entries.
int Catalogo(ScrittorePdf& w, const std::string& extra, const std::string& pagine = "[]") {
  const int p = w.Aggiungi("<< /Type /Pages /Kids " + pagine + " /Count 0 >>");
  return w.Aggiungi("<< /Type /Catalog /Pages " + R(p) + " " + extra + " >>");
}

// Bytes that a careless reader would damage: NUL, CR LF, a high byte, a
// line end at the very end, and the keyword that closes a stream.
constexpr char kTestaCda[] = "<?xml version=\"1.0\"?><ClinicalDocument>\0\r\n\xFF";
const std::string kCda = std::string(kTestaCda, sizeof kTestaCda - 1) +
                         "endstream</ClinicalDocument>\r\n";
const std::string kReferto = "%PDF-1.4 referto\n";

// The two attachments of the health record's documents: the CDA with an
// indirect /Length, named in UTF-16 by /UF; the report stored as it is,
// named by /F; the name tree split into two leaves.
struct Referto {
  ScrittorePdf w;
  int radice = 0;
  int descrittore_cda = 0;
  int flusso_cda = 0;
};

Referto RefertoConCda(bool comprimi_cda) {
  Referto r;
  ScrittorePdf& w = r.w;
  const int lunghezza = w.Aggiungi("0");
  r.flusso_cda = w.Flusso(kCda, comprimi_cda, R(lunghezza));
  w.Imposta(lunghezza, std::to_string(comprimi_cda ? Comprimi(kCda).size() : kCda.size()));
  const int referto = w.Flusso(kReferto, false);
  r.descrittore_cda = w.Aggiungi(
      Descrittore(r.flusso_cda, "/F (CDA2.xml) /UF <FEFF0043004400410032002D00E8002E0078006D006C>"));
  const int s2 = w.Aggiungi(Descrittore(referto, "/F (Referto.pdf)"));
  const int foglia1 = w.Aggiungi("<< /Names [(a) " + R(r.descrittore_cda) + "] >>");
  const int foglia2 = w.Aggiungi("<< /Names [(b) " + R(s2) + "] >>");
  const int albero = w.Aggiungi("<< /Kids [" + R(foglia1) + " " + R(foglia2) + "] >>");
  r.radice = Catalogo(w, "/Names << /EmbeddedFiles " + R(albero) + " >>");
  return r;
}

void AttesiDueAllegati(const std::vector<AllegatoPdf>& allegati, const std::string& caso) {
  ASSERT_EQ(allegati.size(), 2u) << caso;
  EXPECT_EQ(allegati[0].nome, "CDA2-\xC3\xA8.xml") << caso;
  EXPECT_EQ(allegati[0].contenuto, kCda) << caso;
  EXPECT_EQ(allegati[1].nome, "Referto.pdf") << caso;
  EXPECT_EQ(allegati[1].contenuto, kReferto) << caso;
}

TEST(AllegatiPdfTest, EmbeddedFilesComeOutByteForByteWithTheirNames) {
  for (const bool comprimi : {false, true}) {
    const Referto r = RefertoConCda(comprimi);
    // An old copy of the CDA's file descrittoretion after the end of the file,
    // where no cross-reference points: found only by a reader that scans the
    // file instead of following its cross-reference data.
    const std::string vecchia = std::to_string(r.descrittore_cda) + " 0 obj\n" +
                                Descrittore(r.flusso_cda, "/F (vecchio.xml)") + "\nendobj\n";
    const std::string caso = comprimi ? "compressed CDA, " : "CDA as it is, ";
    AttesiDueAllegati(AllegatiPdf(r.w.Classico(r.radice) + vecchia), caso + "table");
    AttesiDueAllegati(AllegatiPdf(r.w.Compresso(r.radice) + vecchia), caso + "object stream");
  }
  EXPECT_TRUE(EPdf(RefertoConCda(true).w.Classico(1)));
  EXPECT_FALSE(EPdf(" %PDF"));
}

TEST(AllegatiPdfTest, AttachmentAnnotationsAddTheFilesTheTreeDoesNotList) {
  for (const bool anche_nell_albero : {false, true}) {
    ScrittorePdf w;
    const int dati = w.Flusso(kCda, true);
    const int descrittore = w.Aggiungi(Descrittore(dati, "/F (CDA2.xml)"));
    const int annotazione =
        w.Aggiungi("<< /Type /Annot /Subtype /FileAttachment /FS " + R(descrittore) + " >>");
    const int pagina = w.Aggiungi("<< /Type /Page /Annots [" + R(annotazione) + "] >>");
    const std::string albero =
        "/Names << /EmbeddedFiles << /Names [(x) " + R(descrittore) + "] >> >>";
    const int radice = Catalogo(w, anche_nell_albero ? albero : "", "[" + R(pagina) + "]");
    const auto allegati = AllegatiPdf(w.Classico(radice));
    ASSERT_EQ(allegati.size(), 1u) << "listed in the tree too: " << anche_nell_albero;
    EXPECT_EQ(allegati[0].nome, "CDA2.xml");
    EXPECT_EQ(allegati[0].contenuto, kCda);
  }
}

TEST(AllegatiPdfTest, TruncatedFilesNeverYieldPartOfAFile) {
  // The streams last, so that a cut inside one leaves the objects that
  // point to them; the CDA stored as it is, with the word that closes a
  // stream inside its data.
  ScrittorePdf w;
  const int descrittori[2] = {w.Aggiungi("null"), w.Aggiungi("null")};
  const int radice = Catalogo(w, "/Names << /EmbeddedFiles << /Names [(a) " + R(descrittori[0]) +
                                     " (b) " + R(descrittori[1]) + "] >> >>");
  const int lunghezza = w.Aggiungi(std::to_string(kCda.size()));
  w.Imposta(descrittori[0], Descrittore(w.Flusso(kCda, false, R(lunghezza)), "/F (CDA2.xml)"));
  w.Imposta(descrittori[1], Descrittore(w.Flusso(kReferto, true), "/F (Referto.pdf)"));
  for (const std::string& intero : {w.Classico(radice), w.Compresso(radice)}) {
    std::set<std::string> letti;
    for (std::size_t n = 0; n < intero.size(); ++n) {
      for (const auto& allegato : AllegatiPdf(std::string_view(intero).substr(0, n))) {
        EXPECT_TRUE(allegato.contenuto == kCda || allegato.contenuto == kReferto) << n;
        letti.insert(allegato.contenuto);
      }
    }
    // Without its cross-reference data the file is scanned: both come out.
    EXPECT_EQ(letti.size(), 2u);
  }
}

std::string Albero(int descrittore) {
  return "/Names << /EmbeddedFiles << /Names [(a) " + R(descrittore) + "] >> >>";
}

TEST(AllegatiPdfTest, DamagedOrCyclicStructuresEndWithWhatCanBeRead) {
  struct Caso {
    const char* nome;
    std::function<std::string(ScrittorePdf&)> pdf;
    std::size_t attesi;
  };
  const auto cda = [](ScrittorePdf& w, const std::string& lunghezza = "") {
    return w.Aggiungi(Descrittore(w.Flusso(kCda, true, lunghezza), "/F (CDA2.xml)"));
  };
  const std::vector<Caso> casi = {
      {"length in a cycle of references",
       [&](ScrittorePdf& w) {
         const int a = w.Aggiungi("null"), b = w.Aggiungi(R(a));
         w.Imposta(a, R(b));
         return w.Classico(Catalogo(w, Albero(cda(w, R(a)))));
       },
       1},
      {"tree node that is its own kid",
       [&](ScrittorePdf& w) {
         const int nodo = w.Aggiungi("null");
         w.Imposta(nodo, "<< /Kids [" + R(nodo) + "] /Names [(a) " + R(cda(w)) + "] >>");
         return w.Classico(Catalogo(w, "/Names << /EmbeddedFiles " + R(nodo) + " >>"));
       },
       1},
      {"page tree that is its own kid",
       [&](ScrittorePdf& w) {
         const int pagine = w.Aggiungi("null");
         w.Imposta(pagine, "<< /Type /Pages /Kids [" + R(pagine) + "] >>");
         return w.Classico(
             w.Aggiungi("<< /Type /Catalog /Pages " + R(pagine) + " " + Albero(cda(w)) + " >>"));
       },
       1},
      {"stream that is missing",
       [&](ScrittorePdf& w) {
         return w.Classico(Catalogo(w, Albero(w.Aggiungi(Descrittore(99, "/F (CDA2.xml)")))));
       },
       0},
      {"cross-reference data that is missing",
       [&](ScrittorePdf& w) {
         std::string pdf = w.Classico(Catalogo(w, Albero(cda(w))));
         return pdf.replace(pdf.rfind("startxref"), 9, "startxrif");
       },
       1},
      {"offsets that point elsewhere",
       [&](ScrittorePdf& w) {
         std::string pdf = w.Classico(Catalogo(w, Albero(cda(w))));
         return pdf.insert(pdf.find("1 0 obj"), "% a comment the offsets ignore\n");
       },
       1},
  };
  for (const auto& c : casi) {
    ScrittorePdf w;
    const auto allegati = AllegatiPdf(c.pdf(w));
    ASSERT_EQ(allegati.size(), c.attesi) << c.nome;
    if (c.attesi) {
      EXPECT_EQ(allegati[0].contenuto, kCda) << c.nome;
    }
  }
}

TEST(AllegatiPdfTest, OnlyThePngPredictorsAreUndone) {
  // A row of two bytes after its filter byte (0: none).
  const std::string righe("\0ab\0cd", 6);
  for (long long tipo : {10LL, 15LL}) {
    EXPECT_EQ(pdf::AnnullaPredittore(righe, {tipo, 1, 8, 2}), "abcd") << tipo;
  }
  EXPECT_EQ(pdf::AnnullaPredittore(righe, {1, 1, 8, 2}), righe) << "no predictor";
  for (long long tipo : {2LL, 9LL, 16LL}) {
    EXPECT_EQ(pdf::AnnullaPredittore(righe, {tipo, 1, 8, 2}), std::nullopt) << tipo;
  }
}

TEST(AllegatiPdfTest, ADecompressionBombIsStoppedAtTheBound) {
  ScrittorePdf w;
  const std::string bomba = BombaZlib((256u << 20) + 1024);
  const int grande = w.Aggiungi("<< /Length " + std::to_string(bomba.size()) +
                                " /Filter /FlateDecode >>\nstream\n" + bomba + "\nendstream");
  const int piccolo = w.Flusso(kCda, true);
  const int s1 = w.Aggiungi(Descrittore(grande, "/F (bomba.xml)"));
  const int s2 = w.Aggiungi(Descrittore(piccolo, "/F (CDA2.xml)"));
  const int radice =
      Catalogo(w, "/Names << /EmbeddedFiles << /Names [(a) " + R(s1) + " (b) " + R(s2) + "] >> >>");
  const auto allegati = AllegatiPdf(w.Classico(radice));
  ASSERT_EQ(allegati.size(), 1u);
  EXPECT_EQ(allegati[0].nome, "CDA2.xml");
}

}  // namespace
}  // namespace qzkiro::cda
