#include "flows/asl/ContattiAsl.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "flows/asl/RecordContatti.h"
#include "refhost/GrigliaContatti.h"
#include "refhost/Ricetta.h"

namespace qzkiro::asl {
namespace {

TEST(ContattiAsl, TheUnitsListDecidesTheServiceAndTheCodesItTakes) {
  EXPECT_EQ(ServizioDellaAsl("050103"), ServizioAsl::kAziendale);
  for (const char* regionale : {"050507", "050118", "050119", "050505"}) {
    EXPECT_EQ(ServizioDellaAsl(regionale), ServizioAsl::kRegionale) << regionale;
  }
  for (const char* altra : {"050104", "050501", "", "50103"}) {
    EXPECT_EQ(ServizioDellaAsl(altra), ServizioAsl::kNessuno) << altra;
  }
  // Each range on both sides of both ends, for a unit with the new codes and
  // for 050103, which lacks A110..A115.
  struct Caso {
    const char* codice;
    bool regionale, aziendale;
  } casi[] = {{"N000", false, false}, {"N001", true, true},    {"N019", true, true},
              {"N020", false, false}, {"R019", false, false},  {"R020", true, true},
              {"R047", true, true},   {"R048", false, false},  {"A069", false, false},
              {"A070", true, true},   {"A071", true, true},    {"A072", false, false},
              {"R100", false, false}, {"R101", true, true},    {"R116", true, true},
              {"R117", false, false}, {"A100", false, false},  {"A101", true, true},
              {"A108", true, true},   {"A109", false, false},  {"A110", true, false},
              {"A112", true, false},  {"A115", true, false},   {"A116", false, false},
              {"a112", false, false}, {"A1120", false, false}, {"N01X", false, false},
              {"", false, false}};
  for (const auto& c : casi) {
    EXPECT_EQ(CodicePPIPAccettato("050118", c.codice), c.regionale) << c.codice;
    EXPECT_EQ(CodicePPIPAccettato("050103", c.codice), c.aziendale) << c.codice;
    EXPECT_FALSE(CodicePPIPAccettato("050999", c.codice)) << "no code for another unit";
  }
}

TEST(ContattiAsl, AVaccinationIsNamedByTheFirstKindItsDescriptionMentions) {
  EXPECT_EQ(IdentificativoVaccinazione("Vaccino ANTITETANICA adulti"),
            "{6ADBD284-5EEB-4710-8396-816B4F29DFB2}");
  EXPECT_EQ(IdentificativoVaccinazione("antipneumococcica coniugata"),
            "{80D40A7C-B853-4702-A9EE-18191ABCB6FC}");
  EXPECT_EQ(IdentificativoVaccinazione("Antinfluenzale e antitetanica"),
            "{BECCCDED-134E-4103-A9F6-34CEE66B52C3}");
  EXPECT_EQ(IdentificativoVaccinazione("antipneumococcica + antitetanica"),
            "{80D40A7C-B853-4702-A9EE-18191ABCB6FC}");
  EXPECT_EQ(IdentificativoVaccinazione("Herpes zoster"), "{7B634B51-08FC-466C-AEE0-A90B76A8308F}");
}

std::shared_ptr<host::IRecordContatto> Record(std::map<std::string, std::string> valori) {
  return std::make_shared<refhost::RecordContatto>(valori);
}

std::map<std::string, std::string> Paziente(const std::string& cf, const std::string& cognome) {
  return {{"CodiceFiscale", cf}, {"Cognome", cognome},        {"Nome", "Anna"},
          {"Sesso", "f"},        {"DataNascita", "19600102"}, {"ComuneNascita", "Venezia"}};
}

std::shared_ptr<host::IRecordContatto> Con(std::map<std::string, std::string> paziente,
                                           std::map<std::string, std::string> contatto) {
  paziente.insert(contatto.begin(), contatto.end());
  return Record(paziente);
}

class RaccoltaContatti : public ::testing::Test {
 protected:
  RaccoltaContatti() {
    archivi_.ppip = [](const std::string& id) -> std::optional<host::VocePPIP> {
      if (id == "101") return host::VocePPIP{id, "A112", "Medicazione semplice"};
      if (id == "102") return host::VocePPIP{id, "A205", "Rimozione punti"};
      if (id == "{6ADBD284-5EEB-4710-8396-816B4F29DFB2}") {
        return host::VocePPIP{id, "N003", "Vaccinazione antitetanica"};
      }
      return std::nullopt;
    };
    archivi_.catastale = [](const std::string& nome) { return nome == "Venezia" ? "L736" : ""; };
    archivi_.istat = [](const std::string& nome) { return nome == "Venezia" ? "027042" : ""; };
    archivi_.ricetta = [](const std::string& testo) -> std::shared_ptr<host::IRicetta> {
      auto r = std::make_shared<refhost::Ricetta>();
      return r->FromString(testo) ? r : nullptr;
    };
  }
  static std::string Ricovero(bool suggerito, const std::string& priorita) {
    refhost::Ricetta r;
    r.Imposta("Data", host::Variant("2026-11-03 10:00:00"));
    r.Imposta("FlagSug", host::Variant(suggerito));
    r.Imposta("Priorita", host::Variant(priorita));
    r.Imposta("Diagnosi", host::Variant("Dolore toracico"));
    r.Imposta("ICD9", host::Variant("786.50"));
    return r.ToString();
  }
  ArchiviContatti archivi_;
};

TEST_F(RaccoltaContatti, RecordsAreGroupedByPatientAndEachCategoryGivesItsLine) {
  const auto rossi = Paziente("rssnna60a42l736x", "ROSSI"),
             bianchi = Paziente("BNCGLI80A41L736C", "BIANCHI");
  // clang-format off
  const auto assistiti = RaccogliContatti(
      {Con(rossi, {{"categoria", "ACCESSO CON VISITA"}, {"Data", "20261102"},
                   {"Motivo", "Controllo"}, {"CodiceIcpc2", "K86"}}),
       Con(bianchi, {{"categoria", "PPIP"}, {"Data", "20261104"}, {"IDRif1", "101"}}),
       Con(rossi, {{"categoria", "RICOVERO"}, {"Data", "20261101"},
                   {"Ricetta", Ricovero(false, "B")}, {"CodiceIcpc2", "K74"}}),
       Con(rossi, {{"categoria", "VACCINAZIONE"}, {"Data", "20261105"},
                   {"Descrizione", "Antitetanica richiamo"}}),
       Con(rossi, {{"categoria", "PPIP"}, {"Data", "20261106"}, {"IDRif1", "102"}}),
       Con(bianchi, {{"categoria", "REFERTO"}, {"Data", "20261107"}}),
       Con(bianchi, {{"categoria", "ricovero"}, {"Ricetta", Ricovero(true, "U")}}),
       Con(bianchi, {{"categoria", "RICOVERO"}, {"Ricetta", "non una ricetta"}})},
      "050118", archivi_);
  // clang-format on
  ASSERT_EQ(assistiti.size(), 2u);
  const auto& a = assistiti[0];
  EXPECT_EQ(a.codice_fiscale + "|" + a.sesso + "|" + a.comune_catastale + "|" + a.comune_istat,
            "RSSNNA60A42L736X|F|L736|027042");
  ASSERT_EQ(a.contatti.size(), 3u) << "A205 is not a code of the unit";
  EXPECT_EQ(a.contatti[0].tipologia, "ACCESSO CON VISITA");
  EXPECT_EQ(a.contatti[0].codice_icpc2, "K86");
  const auto& ricovero = a.contatti[1];
  EXPECT_TRUE(ricovero.richiesta_ricovero);
  EXPECT_EQ(ricovero.data + "|" + ricovero.tipologia + "|" + ricovero.motivo + "|" +
                ricovero.ipotesi + "|" + ricovero.codice_icd9 + "|" + ricovero.codice_icpc2,
            "20261103|B|Dolore toracico|Non specificata|786.50|K74")
      << "the request's own date";
  EXPECT_EQ(a.contatti[2].tipo, Contatto::Tipo::kPpip);
  EXPECT_EQ(a.contatti[2].tipologia + "|" + a.contatti[2].motivo, "N003|Vaccinazione antitetanica");
  const auto& b = assistiti[1];
  ASSERT_EQ(b.contatti.size(), 2u) << "a report and an unreadable request add nothing";
  EXPECT_EQ(b.contatti[0].tipologia, "A112");
  EXPECT_EQ(b.contatti[1].tipologia, "S") << "a suggested admission";

  const auto aziendale = RaccogliContatti(
      {Con(bianchi, {{"categoria", "PPIP"}, {"Data", "20261104"}, {"IDRif1", "101"}})}, "050103",
      archivi_);
  EXPECT_TRUE(aziendale.empty()) << "A112 is not reported to 050103";
}

// The file read back with libxml2 alone, as "name=text" per element in
// document order.
std::string Elementi(const std::string& file) {
  std::unique_ptr<xmlDoc, void (*)(xmlDoc*)> doc(
      xmlReadFile(file.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOBLANKS), xmlFreeDoc);
  if (!doc) return "illeggibile";
  std::ostringstream out;
  std::function<void(xmlNode*)> visita = [&](xmlNode* n) {
    for (; n; n = n->next) {
      if (n->type != XML_ELEMENT_NODE) continue;
      out << n->name;
      if (!n->children || n->children->type == XML_TEXT_NODE) {
        xmlChar* t = xmlNodeGetContent(n);
        out << '=' << reinterpret_cast<const char*>(t);
        xmlFree(t);
      }
      out << ';';
      visita(n->children);
    }
  };
  visita(xmlDocGetRootElement(doc.get()));
  return out.str();
}

TEST(FileContatti, TheFileHasTheUnitsElementsInOrderWithTextsEscaped) {
  const auto file = std::filesystem::temp_directory_path() / "contatti_prova.xml";
  // clang-format off
  TestataContatti t{"20261201093000", "20261101", "20261130", "050118",
                    {"004321", "RSSMRA70A01L736S", "ROSSI", "MARIO"}};
  AssistitoContatti a{"BNCGLI80A41L736C", "D'ANDREA & FIGLI", "Niccolò", "F", "19800101",
                      "Estero", "Z4040", "999215", {}};
  // clang-format on
  Contatto accesso;
  accesso.data = "20261102";
  accesso.tipologia = "ACCESSO SENZA VISITA";
  accesso.motivo = "<ricetta>";
  accesso.richiesta_ricovero = true;
  Contatto ppip;
  ppip.tipo = Contatto::Tipo::kPpip;
  ppip.data = "20261103";
  ppip.tipologia = "A112";
  ppip.motivo = "Medicazione";
  a.contatti = {accesso, ppip};
  ScriviFileContatti(file.string(), t, {a});
  EXPECT_EQ(Elementi(file.string()),
            "records;dataoraproduzione=20261201093000;periodo;datainizio=20261101;"
            "datafine=20261130;codiceasl=050118;medico;codiceregionalemedico=004321;"
            "codicefiscalemedico=RSSMRA70A01L736S;cognomemedico=ROSSI;nomemedico=MARIO;"
            "assistito;codicefiscale=BNCGLI80A41L736C;cognome=D'ANDREA & FIGLI;"
            "nome=Niccolò;sesso=F;datanascita=19800101;comuneNascita;nome=Estero;"
            "codiceCatastale=;codiceIstat=999215;accesso;richiestaRicovero=S;data=20261102;"
            "tipologia=ACCESSO SENZA VISITA;motivo=<ricetta>;ipotesi=;codiceIcpc2=;"
            "codiceIcd9=;ppip;data=20261103;tipologia=A112;descrizione=Medicazione;")
      << "a cadastral code that is not four characters long is left empty";
  std::filesystem::remove(file);
  EXPECT_THROW(ScriviFileContatti("/cartella/che/non/esiste/ACN.xml", t, {a}), std::runtime_error);
}

}  // namespace
}  // namespace qzkiro::asl
