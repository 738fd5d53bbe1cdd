#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "cda/ProveCDA_test.h"
#include "cda/clsCDA2.h"
#include "core/AccessoContesto.h"
#include "refhost/Input.h"
#include "support/AmbientePlugin.h"
#include "util/Testo.h"
#include "util/clsBase64.h"

namespace qzkiro::cda {
namespace {

namespace fs = std::filesystem;
using prove::Carica;
using prove::DaTesto;
using prove::Documento;
using prove::Fixture;
using prove::Pubblico;
using prove::Sezione;

// The text as it travels in the host's Base64: one byte per character.
std::string ComeLatin1(const std::string& testo) {
  return util::Latin1ToUtf8(util::Utf8ToLatin1(testo));
}

class CDA2InputTest : public ::testing::Test {
 protected:
  fs::path TempDir() { return env_.Host()->Utente().TempDir(); }

  // Loads `xml` and imports it; the calls the host received, member names only.
  std::vector<std::string> Importa(std::shared_ptr<util::clsXML> xml,
                                   const std::string& codifica = {}) {
    cda_.SetCodificaCatalogo(codifica);
    EXPECT_TRUE(cda_.InitXML(std::move(xml)));
    EXPECT_TRUE(cda_.AddToInput(input_)) << cda_.LastError();
    std::vector<std::string> membri;
    for (const auto& c : input_.Chiamate()) membri.push_back(c.membro);
    return membri;
  }
  // The arguments of the `n`-th call to `membro`, as JSON.
  nlohmann::json Argomenti(const std::string& membro, int n = 0) {
    for (const auto& c : input_.ToJson()) {
      if (c["member"] == membro && n-- == 0) return c["args"];
    }
    ADD_FAILURE() << "nessuna chiamata " << membro;
    return nlohmann::json::array();
  }

  testsupport::AmbienteConHost env_;
  clsCDA2 cda_{core::AccessoDelContesto()};
  refhost::Input input_;
};

// The same fixture for the tests on the public samples.
using CDA2InputCampioni = CDA2InputTest;

TEST_F(CDA2InputTest, LabReportGivesGenericReportAndOneTestPerResult) {
  const auto membri = Importa(Carica(Fixture("referto_laboratorio.xml")), "DNLAB");
  EXPECT_EQ(membri,
            (std::vector<std::string>{"AddRefertoGenerico", "AddAllegato", "AddDettagli",
                                      "AddSostituzione", "AddRefertoLaboratorio", "AddEsame",
                                      "AddEsame", "AddEsame", "AddEsame", "AddEsame", "AddEsame"}));
  EXPECT_EQ(Argomenti("AddRefertoGenerico"),
            nlohmann::json::parse(R"(["Referto laboratorio", "20261205093000", ""])"));
  EXPECT_EQ(Argomenti("AddDettagli")[1], "StrutturaRefertante");
  EXPECT_EQ(Argomenti("AddDettagli")[2], "Azienda ULSS 3 Serenissima");
  EXPECT_EQ(Argomenti("AddSostituzione")[1], "LAB.2026.0041");
  EXPECT_EQ(
      Argomenti("AddRefertoLaboratorio"),
      nlohmann::json::parse(R"(["LAB.2026.0042", "050A00000001,050A00000002", "20261205093000"])"));

  auto glucosio = Argomenti("AddEsame");
  const std::string commento = util::clsBase64().Decode(glucosio[12]);
  glucosio.erase(12);
  EXPECT_EQ(glucosio, nlohmann::json::parse(R"([null, "DNLAB", "GLU", "Glucosio", "95.5", 95.5, 1,
      "mg/dL", 65.5, 95.1235, false, "Gruppo chimica"])"))
      << "the female range of the document's own patient";
  EXPECT_EQ(commento, "<p ID=\"nota.glu\">Valore<br>nella norma</p>\r\nPrelievo: 05/12/2026 07:30");
  EXPECT_EQ(Argomenti("AddEsame", 2)[4], "Giallo paglierino") << "result from a translation";
  EXPECT_EQ(Argomenti("AddEsame", 3)[6], 7) << "ratio";
  EXPECT_EQ(Argomenti("AddEsame", 3)[7], "mmol");

  const fs::path html = Argomenti("AddAllegato")[1].get<std::string>();
  EXPECT_EQ(html.parent_path(), TempDir());
  EXPECT_TRUE(
      std::regex_match(html.filename().string(), std::regex(R"(20261206103000\d{3}_CDA2\.html)")))
      << html;
  EXPECT_EQ(prove::LeggiTesto(html), cda_.Text());
}

// A container whose reports are containers of their own, as a host may give.
class ContenitoreConVoci : public refhost::Input {
 public:
  host::Variant Add(const std::string& member, const std::vector<host::Variant>& args) override {
    refhost::Input::Add(member, args);
    if (!member.starts_with("AddReferto")) return {};
    voci.push_back(std::make_shared<refhost::Input>());
    return host::Variant(voci.back());
  }
  std::vector<std::shared_ptr<refhost::Input>> voci;
};

// A host whose record refuses every entry.
class InputCheRifiuta : public host::IInput {
 public:
  host::Variant Add(const std::string&, const std::vector<host::Variant>&) override {
    throw std::runtime_error("archivio bloccato");
  }
};

TEST_F(CDA2InputTest, AHostThatRefusesTheEntriesMakesTheImportFail) {
  ASSERT_TRUE(cda_.InitXML(Carica(Fixture("referto_laboratorio.xml"))));
  InputCheRifiuta rifiuta;
  EXPECT_FALSE(cda_.AddToInput(rifiuta));
  EXPECT_EQ(cda_.LastError(), "CDA2: archivio bloccato");
}

TEST_F(CDA2InputTest, EntriesThatAreContainersReceiveTheirOwnMembers) {
  ContenitoreConVoci contenitore;
  cda_.InitXML(Carica(Fixture("referto_laboratorio.xml")));
  ASSERT_TRUE(cda_.AddToInput(contenitore)) << cda_.LastError();
  ASSERT_EQ(contenitore.voci.size(), 2u);
  EXPECT_EQ(contenitore.Chiamate().size(), 2u) << "only the two reports on the container";
  EXPECT_EQ(contenitore.voci[0]->ToJson()[1]["args"],
            nlohmann::json::parse(R"(["StrutturaRefertante", "Azienda ULSS 3 Serenissima"])"));
  const auto esami = contenitore.voci[1]->Chiamate();
  ASSERT_EQ(esami.size(), 6u);
  EXPECT_EQ(esami[0].membro, "AddEsame");
  EXPECT_EQ(esami[0].argomenti[1].ToText(), "2345-7") << "no record before the code system";
}

TEST_F(CDA2InputTest, RadiologyGivesVisitsAndAttachesTheEmbeddedPdf) {
  const auto membri = Importa(Carica(Fixture("referto_media.xml")));
  EXPECT_EQ(membri, (std::vector<std::string>{"AddRefertoGenerico", "AddAllegato", "AddDettagli",
                                              "AddRefertoVisita", "AddVisita", "AddAllegato"}));
  EXPECT_EQ(Argomenti("AddRefertoGenerico")[0], "Referto radiologia");
  EXPECT_EQ(Argomenti("AddRefertoVisita"),
            nlohmann::json::parse(R"(["MEDIA.1", "Referto di radiologia", "", "20261204000000"])"));
  EXPECT_EQ(Argomenti("AddVisita"),
            nlohmann::json::parse(R"([null, "CATALOGO", "87.44.1", "RX torace"])"));
  const auto pdf = Argomenti("AddAllegato", 1);
  EXPECT_EQ(pdf[1], (TempDir() / "Referto.pdf").string());
  EXPECT_EQ(pdf[2], "Referto");
  EXPECT_EQ(prove::LeggiTesto(TempDir() / "Referto.pdf"), "%PDF-1.4\n%%EOF\n");
}

TEST_F(CDA2InputTest, SpecialistVisitDescribedByTheHostCatalogue) {
  const std::string visite =
      "<entry><act><entryRelationship><procedure><code code=\"201\" codeSystemName=\"CVP\"/>"
      "</procedure></entryRelationship></act></entry>";
  Importa(DaTesto(Documento("34104-0", Sezione("11528-7", visite))));
  EXPECT_EQ(Argomenti("AddRefertoGenerico")[0], "Referto specialistica");
  EXPECT_EQ(Argomenti("AddVisita"),
            nlohmann::json::parse(R"([null, "CVP", "201", "Prima visita cardiologica"])"));
}

TEST_F(CDA2InputTest, MicrobiologyGivesOnlyTheGenericReport) {
  const auto membri = Importa(DaTesto(
      Documento("E", Sezione("18725-2", "<title>Urinocoltura</title><text>Sterile</text>"))));
  EXPECT_EQ(membri, (std::vector<std::string>{"AddRefertoGenerico", "AddAllegato", "AddDettagli"}));
  EXPECT_EQ(Argomenti("AddRefertoGenerico")[0], "Referto Microbiologia");
}

TEST_F(CDA2InputCampioni, DischargeLetterGivesTheAdmission) {
  QZKIRO_RICHIEDE_CAMPIONI();
  const auto membri = Importa(Carica(Pubblico("LDO.xml")));
  ASSERT_GE(membri.size(), 10u);
  EXPECT_EQ(membri.front(), "AddRicovero");
  const auto ricovero = Argomenti("AddRicovero");
  EXPECT_EQ(ricovero[0], cda_.ID());
  EXPECT_EQ(util::clsBase64().Decode(ricovero[3]), ComeLatin1(cda_.Text()));
  std::map<std::string, nlohmann::json> valori;
  for (int i = 0; i < 8; ++i) {
    auto a = Argomenti("Imposta", i);
    EXPECT_EQ(a[0], nlohmann::json({{"record", 1}}));
    valori[a[1]] = a[2];
  }
  EXPECT_EQ(valori["DataRicovero"], "20220317000000");
  EXPECT_EQ(valori["DataDimissione"], "20220417100000");
  EXPECT_EQ(valori["Struttura"], "Ospedale Sant'Eugenio");
  EXPECT_EQ(valori["Reparto"], "Terapia Intensiva");
  EXPECT_EQ(valori["DiagnosiRicovero"], "Disturbo di panico Ipertiroidismo");
  EXPECT_EQ(valori["DayHospital"], false);
  EXPECT_EQ(Argomenti("AddDettagli")[0], nlohmann::json({{"record", 1}}));
}

TEST_F(CDA2InputCampioni, EmergencyRoomAndPatientSummary) {
  QZKIRO_RICHIEDE_CAMPIONI();
  auto membri = Importa(Carica(Pubblico("VPS.xml")));
  EXPECT_EQ(membri, (std::vector<std::string>{"AddProntoSoccorso", "AddDettagli"}));
  EXPECT_EQ(Argomenti("AddProntoSoccorso")[2], "20220418123000");

  input_ = refhost::Input();
  membri = Importa(Carica(Pubblico("PSS.xml")));
  EXPECT_EQ(membri, (std::vector<std::string>{"AddPatientSummary", "AddDettagli"}));
  const auto sommario = Argomenti("AddPatientSummary");
  EXPECT_EQ(sommario[3], "Documento PaS");
  EXPECT_EQ(util::clsBase64().Decode(sommario[2]), ComeLatin1(cda_.Text()));
}

TEST_F(CDA2InputCampioni, MissingOrUnknownFamilyStopsTheImport) {
  QZKIRO_RICHIEDE_CAMPIONI();
  cda_.InitXML(Carica(Pubblico("CERT_VACC.xml")));
  EXPECT_FALSE(cda_.AddToInput(input_));
  EXPECT_EQ(cda_.LastError(), "CDA2: Tipo referto non specificato");

  env_.CartellaHost().Scrivi("archivi/AffinityDomain.json",
                             R"({"Voci": [{"Codice": "11502-2", "Famiglia": "VAC"}]})");
  env_.RicreaHost();
  cda_.InitXML(Carica(Pubblico("LAB.xml")));
  EXPECT_FALSE(cda_.AddToInput(input_));
  EXPECT_EQ(cda_.LastError(), "CDA2: Il referto di tipo VAC non è riconosciuto");
  EXPECT_TRUE(input_.Chiamate().empty());
}

TEST_F(CDA2InputCampioni, WithoutHostTheImportFails) {
  QZKIRO_RICHIEDE_CAMPIONI();
  env_.Contesto().app = nullptr;
  cda_.InitXML(Carica(Pubblico("LAB.xml")));
  EXPECT_FALSE(cda_.AddToInput(input_));
  EXPECT_EQ(cda_.LastError(), "CDA2: Applicazione host non impostata: chiamare Init");
}

TEST_F(CDA2InputTest, OpenPdfIsNotReplacedAndTheUserIsTold) {
  fs::create_directories(TempDir() / "Referto.pdf" / "aperto");
  Importa(Carica(Fixture("referto_media.xml")));
  EXPECT_EQ(input_.Chiamate().back().membro, "AddVisita") << "nothing attached";
  ASSERT_EQ(env_.Ui().Mostrati().size(), 1u);
  EXPECT_EQ(env_.Ui().Mostrati()[0].testo,
            "Attenzione: Non è possibile generare il file PDF in quanto risulta ancora aperto.\r\n"
            "Chiudere il PDF e riprovare");
  EXPECT_EQ(env_.Ui().Mostrati()[0].stile, core::stile::kAvviso);
  EXPECT_EQ(env_.Ui().Mostrati()[0].titolo, "KIRO");
}

TEST_F(CDA2InputTest, StylesheetRenditionIsConvertedByTheHost) {
  const auto foglio = env_.CartellaHost().Scrivi(
      "referto.xsl",
      "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
      "<xsl:template match=\"/\"><html><body><xsl:value-of select=\"//*[local-name()='title']\"/>"
      "</body></html></xsl:template></xsl:stylesheet>");
  Importa(DaTesto("<?xml-stylesheet type=\"text/xsl\" href=\"" + foglio.string() + "\"?>" +
                  Documento("E", "")));
  const auto allegato = Argomenti("AddAllegato");
  EXPECT_EQ(allegato[2], "Referto");
  EXPECT_TRUE(prove::LeggiTesto(allegato[1].get<std::string>()).starts_with("%PDF"));
}

// A MIME message whose parts are `parti` (headers and body each).
std::string Messaggio(const std::vector<std::string>& parti) {
  std::string testo =
      "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"confine\"\r\n\r\n";
  for (const auto& parte : parti) testo += "--confine\r\n" + parte + "\r\n";
  return testo + "--confine--\r\n";
}

std::string ParteXml(const std::string& nome, const std::string& xml) {
  return "Content-Type: text/xml; name=\"" + nome +
         "\"\r\nContent-Transfer-Encoding: base64\r\n\r\n" +
         util::clsBase64::EncodeBytes(util::ComeByte(xml));
}

const std::string kPartePdf =
    "Content-Type: application/pdf; name=\"referto.pdf\"\r\n"
    "Content-Transfer-Encoding: base64\r\n\r\nJVBERi0xLjQKJSVFT0YK";

TEST_F(CDA2InputTest, MimeMessageWithItsXmlPartIsLoadedAndSaved) {
  const std::string xml = prove::LeggiTesto(Fixture("referto_laboratorio.xml"));
  const std::string mime = Messaggio({kPartePdf, ParteXml("CDA.XML", xml)});
  ASSERT_TRUE(cda_.InitMIME(mime)) << cda_.LastError();
  EXPECT_EQ(cda_.Tipo(), "LAB");
  EXPECT_EQ(cda_.ListaObservationsLAB().size(), 6u);
  std::string file;
  ASSERT_TRUE(cda_.SalvaMime(TempDir().string(), file));
  EXPECT_TRUE(file.ends_with("_CDA2.mime"));
  EXPECT_EQ(prove::LeggiTesto(file), mime);

  EXPECT_TRUE(cda_.AddToInput(input_));
  const std::string allegato = Argomenti("AddAllegato", 1)[1];
  EXPECT_TRUE(allegato.ends_with("_CDA2.mime")) << "the message goes with the report";
  EXPECT_EQ(prove::LeggiTesto(allegato), mime);
}

TEST_F(CDA2InputTest, MimeMessageWithoutUsableXmlPart) {
  EXPECT_FALSE(cda_.InitMIME(Messaggio({kPartePdf})));
  EXPECT_FALSE(cda_.InitMIME("non un messaggio"));

  EXPECT_FALSE(cda_.InitMIME(Messaggio({kPartePdf, ParteXml("cda.xml", "<ClinicalDocument>")})));
  EXPECT_TRUE(cda_.LastError().starts_with("CDA2:     Parse Error: ")) << cda_.LastError();

  ASSERT_TRUE(cda_.InitMIME(Messaggio({ParteXml("cda.xml", Documento("E", ""))})));
  std::string file;
  EXPECT_FALSE(cda_.SalvaMime(TempDir().string(), file)) << "a single part is not saved";
  EXPECT_EQ(file, "");
}

TEST_F(CDA2InputTest, SavedHtmlIsTheTextPage) {
  cda_.InitXML(Carica(Fixture("referto_laboratorio.xml")));
  std::string file;
  ASSERT_TRUE(cda_.SalvaHTML(TempDir().string(), file, "Dott. Rossi", "Fine"));
  const std::string pagina = prove::LeggiTesto(file);
  EXPECT_TRUE(
      pagina.starts_with("<html><meta content=\"text/html; charset=UTF-8\" "
                         "http-equiv=\"content-type\"><b>05/12/2026 09:30 - Referto di "
                         "laboratorio analisi</b><br>(ID: LAB.2026.0042)<br><br>Dott. Rossi<br>"))
      << pagina;
  EXPECT_TRUE(pagina.ends_with("<br><br>Fine<p></html>"));

  cda_.InitXML(DaTesto(Documento("E", "")));
  EXPECT_FALSE(cda_.SalvaHTML(TempDir().string(), file)) << "an empty page is not saved";
}

}  // namespace
}  // namespace qzkiro::cda
