// The PDTA indicator files end to end: the indicators computed over the
// stand-in host's workspace on a throw-away PostgreSQL server, the file sent
// to a real OpenSSH server (password login, its host key checked) started
// here on loopback, directly and through a real HTTP proxy, and the file of
// unit 050507 saved through the host's dialog.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "core/Contesto.h"
#include "core/modLog.h"
#include "flows/pdta/CostantiPdta.h"
#include "flows/pdta/FilePDTA.h"
#include "flows/pdta/StiliPDTA.h"
#include "sandbox/server/ServerSftp.h"
#include "qzkiro/Plugin.h"
#include "refhost/Oggetti.h"
#include "support/AmbientePlugin.h"
#include "sandbox/server/CartellaTemporanea.h"
#include "support/PostgresServer.h"
#include "sandbox/server/ServerProxy.h"
#include "util/File.h"

namespace qzkiro {
namespace {

namespace fs = std::filesystem;
using host::Collection;
using host::Variant;

constexpr const char* kMedico = "RSSMRA70A01L736S";

// The doctor's list for 2025 (ages reached in 2025) and a patient of
// another doctor, who never counts.
constexpr const char* kPazienti = R"({"Versione": "1", "Voci": [
  {"ID": "11", "CodiceFiscale": "AAAAAA55A41L736A", "Cognome": "A", "Nome": "A", "Sesso": "F",
   "DataNascita": "19551231", "Medico": "RSSMRA70A01L736S"},
  {"ID": "12", "CodiceFiscale": "BBBBBB60A01L736B", "Cognome": "B", "Nome": "B", "Sesso": "M",
   "DataNascita": "19600101", "Medico": "rssmra70a01l736s"},
  {"ID": "13", "CodiceFiscale": "CCCCCC96A41L736C", "Cognome": "C", "Nome": "C", "Sesso": "F",
   "DataNascita": "19960101", "Medico": "RSSMRA70A01L736S"},
  {"ID": "14", "CodiceFiscale": "DDDDDD90A41L736D", "Cognome": "D", "Nome": "D", "Sesso": "F",
   "DataNascita": "19900101", "Medico": "RSSMRA70A01L736S"},
  {"ID": "15", "CodiceFiscale": "EEEEEE75A01L736E", "Cognome": "E", "Nome": "E", "Sesso": "M",
   "DataNascita": "19750101", "Medico": "RSSMRA70A01L736S"},
  {"ID": "16", "CodiceFiscale": "GGGGGG65A41L736G", "Cognome": "G", "Nome": "G", "Sesso": "F",
   "DataNascita": "19650101", "Medico": "RSSMRA70A01L736S"},
  {"ID": "17", "CodiceFiscale": "HHHHHH93A41L736H", "Cognome": "H", "Nome": "H", "Sesso": "F",
   "DataNascita": "19930101", "Medico": "RSSMRA70A01L736S"},
  {"ID": "18", "CodiceFiscale": "KKKKKK12A01L736K", "Cognome": "K", "Nome": "K", "Sesso": "M",
   "DataNascita": "20120101", "Medico": "RSSMRA70A01L736S"},
  {"ID": "19", "CodiceFiscale": "FFFFFF55A41L736F", "Cognome": "F", "Nome": "F", "Sesso": "F",
   "DataNascita": "19550101", "Medico": "BNCLCU65B12F205Z"}
]})";

struct Riga {
  int paziente;
  int tipo;
  const char* data;
  const char* descrizione;
  const char* t5 = "";
  const char* d1 = "";
  const char* idrif1 = "";
  int partizione = 0;
};

// Each selection with a record that counts and one just outside its window
// (or otherwise not to count): A 70 F, B 65 M, C 29 F, D 35 F, E 50 M, G 60 F,
// H 32 F, K 13 M, F another doctor's.
const Riga kRighe[] = {
    // influenza: B outside the year, B's second one set aside, K too young, F not ours
    {11, 205, "2025-10-15 10:00:00", "VACCINO ANTINFLUENZALE"},
    {12, 205, "2024-12-31 23:59:59", "VACCINO ANTINFLUENZALE"},
    {12, 205, "2025-11-02 10:00:00", "VACCINO ANTINFLUENZALE", "", "", "", 31},
    {19, 205, "2025-11-01 10:00:00", "VACCINO ANTINFLUENZALE"},
    {12, 300, "2025-11-03 10:00:00", "VACCINO ANTINFLUENZALE"},  // not the type counted
    // mammography: from 2024-01-01; G's is a second too early
    {11, 0, "2024-01-01 00:00:00", "Esame", "87.37.1"},
    {16, 0, "2023-12-31 23:59:59", "MAMMOGRAFIA BILATERALE"},
    {13, 0, "2025-05-01 00:00:00", "MAMMOGRAFIA BILATERALE"},  // C is 29
    // faecal occult blood: E on the last second, B on the first of the next year
    {15, 0, "2025-12-31 23:59:59", "Ricerca feci sangue occulto"},
    {12, 0, "2026-01-01 00:00:00", "Esame", "90.21.4"},
    // cervical screening: C (25-29) three years back, D (30-64) five years back,
    // H's HPV test a second before the five years
    {13, 0, "2022-01-01 00:00:00", "Pap test"},
    {14, 0, "2020-01-01 00:00:00", "Citologico", "91.38.5"},
    {17, 0, "2019-12-31 23:59:59", "TEST HPV"},
    {16, 0, "2021-06-01 00:00:00", "Ricerca HPV"},  // G is 60: in the five years
    // enrolment: B open, E closed before 2025, A starting in 2026, A's diabetes
    // ending on the first second of 2025
    {12, 614, "2025-06-01 00:00:00", "Arruolamento PDTA TAO"},
    {15, 614, "2020-01-01 00:00:00", "Arruolamento PDTA TAO", "", "2024-12-31 23:59:59"},
    {11, 614, "2026-01-01 00:00:00", "Arruolamento PDTA TAO"},
    {11, 614, "2019-05-01 00:00:00", "PDTA Diabete mellito", "", "2025-01-01 00:00:00"},
    {18, 614, "2025-01-01 00:00:00", "PDTA Diabete mellito"},  // K is 13
    // anticoagulant therapy, INR visit, glycated haemoglobin
    {12, 105, "2025-03-01 00:00:00", "Warfarin", "B01AA03"},
    {15, 105, "2025-03-01 00:00:00", "Clopidogrel", "B01AC04"},
    {12, 103, "2025-04-01 00:00:00", "Visita INR", "", "",
     "{E713F7FE-35EA-4DED-8AF8-D90DA9BF26FC}"},
    {11, 401, "2024-12-31 00:00:00", "HbA1c", "", "", "{772C66C4-3B34-4B2A-B3EE-05F16ECAA042}"},
    // the pathways of unit 050507
    {13, 614, "2025-02-01 00:00:00", "PDTA Stili di vita"},
    {14, 614, "2024-02-01 00:00:00", "PDTA stili di vita", "", "2025-03-01 00:00:00"},
    {16, 614, "2025-02-01 00:00:00", "PDTA BPCO"},
    {19, 614, "2025-02-01 00:00:00", "PDTA BPCO"},
    {17, 614, "2025-07-01 00:00:00", "PDTA Scompenso cardiaco"},
};

std::string Testo(const char* t) {
  return *t ? "'" + std::string(t) + "'" : "NULL";
}

class PdtaTest : public ::testing::Test {
 protected:
  PdtaTest() {
    env_.CartellaHost().Scrivi("archivi/Pazienti.json", kPazienti);
    env_.RicreaHost();
    std::shared_ptr<host::IApplication> app = env_.App();
    auto config = env_.Config();
    std::string log = log_.Path().string();
    EXPECT_TRUE(plugin_.Init(app, config, log)) << plugin_.LastError();
    Db().Execute("DELETE FROM medico01.tblworkspace");
  }
  ~PdtaTest() override { Db().Execute("DROP SCHEMA IF EXISTS medico01 CASCADE"); }

  host::IDB& Db() { return env_.Host()->DB(); }
  core::Contesto& C() { return env_.Contesto(); }
  refhost::Applicazione& Host() { return *env_.Host(); }

  void Inserisci(const Riga& r) {
    Db().Execute(
        "INSERT INTO medico01.tblworkspace (idpaziente, tiporecord, data, descrizione, t5, d1,"
        " idrif1, idpartizione) VALUES (" +
        std::to_string(r.paziente) + ", " + std::to_string(r.tipo) + ", '" + r.data + "', " +
        Testo(r.descrizione) + ", " + Testo(r.t5) + ", " + Testo(r.d1) + ", " + Testo(r.idrif1) +
        ", " + std::to_string(r.partizione) + ")");
  }
  static Collection Anno(const std::string& anno) {
    auto voce = std::make_shared<refhost::Membri>();
    voce->Imposta("Value", Variant(anno));
    Collection param;
    param.Add(Variant(voce), "Parametro.Anno");
    return param;
  }

  // The log's entries in order: titles, and details as "  " + detail.
  std::vector<std::string> Log() {
    std::vector<std::string> voci;
    for (const auto& f : fs::directory_iterator(log_.Path())) {
      const auto bytes = util::LeggiFile(f.path().string());
      for (const auto& r : core::modLog::LeggiRecord(util::ComeTesto(*bytes))) {
        std::string testo = r.testo.substr(r.testo.find(": ") + 2);
        if (r.tipo == '1') voci.push_back(testo.substr(testo.find_first_not_of(' ')));
        if (r.tipo == '2') voci.push_back("  " + testo);
      }
    }
    return voci;
  }

  sandbox::CartellaTemporanea log_;
  testsupport::AmbientePlugin env_;
  Plugin plugin_;
};

TEST_F(PdtaTest, IndicatorsCountTheDoctorsPatientsInsideEachWindowOnly) {
  for (const auto& r : kRighe) Inserisci(r);
  Collection param = Anno("2025");
  Variant t;
  const std::string file = plugin_.QZ04048_Carica(param, t);
  ASSERT_FALSE(file.empty()) << plugin_.LastError();
  const auto righe = pdta::LeggiFilePDTA(file);
  ASSERT_TRUE(righe);
  // Description, numerator, denominator and value of each line.
  using Atteso = std::tuple<std::string, std::string, std::string, std::string>;
  // Over 65: A, B. Women 50-74: A, G. 50-69: B, E, G. Women 25-29: C;
  // 30-64: D, G, H. 14 and over: all but K and F (7).
  const std::vector<Atteso> attesi = {
      {"Copertura Vaccinazione Antinfluenzale", "1", "2", "50.00"},
      {"Registrazione Mammografia", "1", "2", "50.00"},
      {"Registrazione PAPTEST", "3", "4", "75.00"},
      {"Registrazione SOF", "1", "3", "33.33"},
      {"Prevalenza Pazienti in TAO", "1", "7", "14.29"},
      {"Prevalenza Pazienti Arruolati per il PDTA TAO", "1", "7", "14.29"},
      {"Registrazione visita specialistica per controllo INR", "1", "1", "100.00"},
      {"Prevalenza Pazienti Arruolati per il PDTA Diabete Mellito tipo 2", "1", "7", "14.29"},
      {"Registrazione Emoglobina Glicata", "0", "1", "00.00"},
      {"Registro Arruolati TAO", "1", "7", "BBBBBB60A01L736B"},
      {"Registro Arruolati Diabete", "1", "7", "AAAAAA55A41L736A"},
  };
  std::vector<Atteso> letti;
  for (const auto& r : *righe) {
    letti.emplace_back(r.descrizione, r.numeratore, r.denominatore, r.valore);
  }
  EXPECT_EQ(letti, attesi) << file;
  EXPECT_NE(file.find("<data_estrazione>2026-12-06</data_estrazione>"), std::string::npos);
  EXPECT_NE(file.find("<CF_medico>RSSMRA70A01L736S</CF_medico>"), std::string::npos);

  // A year later the same records fall out of the yearly windows.
  Collection dopo = Anno("2026");
  const auto righe_2026 = pdta::LeggiFilePDTA(plugin_.QZ04048_Carica(dopo, t));
  ASSERT_TRUE(righe_2026);
  EXPECT_EQ((*righe_2026)[0].numeratore, "0");  // influenza
  EXPECT_EQ((*righe_2026)[3].numeratore, "2");  // B's 2026 test, E's of 2025
  EXPECT_EQ((*righe_2026)[5].numeratore, "2");  // B and, from 2026, A
}

TEST_F(PdtaTest, ADatabaseFailureOrABadYearGivesNoFileAndAMessage) {
  Collection param = Anno("duemila");
  Variant t;
  EXPECT_EQ(plugin_.QZ04048_Carica(param, t), "");
  EXPECT_EQ(plugin_.LastError(), "Anno degli indicatori non valido: duemila");
  Host().Utente().SetIDSchema("assente");  // no such workspace table
  Collection anno = Anno("2025");
  EXPECT_EQ(plugin_.QZ04048_Carica(anno, t), "");
  EXPECT_EQ(plugin_.LastError().rfind("Calcolo degli indicatori PDTA non riuscito: ", 0), 0u)
      << plugin_.LastError();
  Host().Utente().SetIDSchema("medico01");
}

TEST_F(PdtaTest, Unit050507CountsThePathwaysAndSavesTheFileWhereTheUserSays) {
  for (const auto& r : kRighe) Inserisci(r);
  Host().Utente().SetCodiceRegioneASL("050507");
  Collection param = Anno("2025");
  Variant t;
  const std::string file = plugin_.QZ04059_Carica(param, t);
  const auto righe = pdta::LeggiFileStili(file);
  ASSERT_TRUE(righe) << plugin_.LastError();
  EXPECT_EQ(*righe, (std::vector<std::pair<std::string, std::string>>{{"Stili di vita:", "2"},
                                                                      {"Diabete:", "1"},
                                                                      {"BPCO:", "1"},
                                                                      {"Scompenso:", "1"},
                                                                      {"TAO:", "1"}}));
  sandbox::CartellaTemporanea scelta;
  Host().Framework().ImpostaCartellaSalvataggio(scelta.Path());
  Variant g, dati(file);
  ASSERT_TRUE(plugin_.QZ04059_Salva(param, t, g, dati)) << plugin_.LastError();
  const auto salvato =
      util::LeggiFile((scelta.Path() / "RSSMRA70A01L736S_PDTA_AULSS507.xml").string());
  ASSERT_TRUE(salvato);
  EXPECT_EQ(util::ComeTesto(*salvato), file);
}

// The SFTP side: the add-on's own account (deciphered from its constants by
// the host, as the add-on does) on a server of this test.
class PdtaSftpTest : public PdtaTest {
 protected:
  PdtaSftpTest()
      : account_(Decifra(pdta::kUtenteSftpCifrato), Decifra(pdta::kPasswordSftpCifrata)) {}

  std::string Decifra(std::string_view cifrato) {
    return Host().Framework().DecodeBF(std::string(cifrato), C().chiave_protezione_1);
  }
  void Punta(const sandbox::ServerSftp& server, const std::string& impronta = {}) {
    C().settings.server_pdta = "127.0.0.1:" + std::to_string(server.Porta());
    C().settings.impronta_pdta = impronta.empty() ? server.Impronta() : impronta;
  }
  bool Invia(const std::string& dati, const std::string& anno = "2025") {
    Collection param = Anno(anno);
    Variant t, g, d(dati);
    return plugin_.QZ04048_Invio(param, t, g, d);
  }
  static std::string Leggi(const fs::path& file) {
    return util::ComeTesto(util::LeggiFile(file.string()).value_or(util::Bytes{}));
  }
  std::string Remoto() const { return "RSSMRA70A01L736S_01012025_31122025.xml"; }

  sandbox::AccountSftp account_;
};

TEST_F(PdtaSftpTest, TheFileArrivesInLatin1AndIsLoggedAndJournaled) {
  sandbox::ServerSftp server(account_);
  Punta(server);
  const std::string dati =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<records><medico><cognome_medico>"
      "Nicolò</cognome_medico></medico></records>\r\n";
  ASSERT_TRUE(Invia(dati)) << plugin_.LastError() << "\n" << server.Log();
  const std::string arrivato = Leggi(server.Upload() / Remoto());
  EXPECT_EQ(arrivato,
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<records><medico><cognome_medico>"
            "Nicol\xF2</cognome_medico></medico></records>\r\n");
  EXPECT_EQ(Log(), (std::vector<std::string>{"Invio PDTA 2025", "Filedest " + Remoto(),
                                             "Host: 127.0.0.1:" + std::to_string(server.Porta()),
                                             "Data", "  " + dati}));
  EXPECT_EQ(Host().Giornale().Voci(),
            std::vector<std::string>{"Indicatori 2025 inviati con successo"});

  // A second send of the year replaces the file (created or truncated).
  ASSERT_TRUE(Invia("<records/>")) << plugin_.LastError();
  EXPECT_EQ(Leggi(server.Upload() / Remoto()), "<records/>");
}

TEST_F(PdtaSftpTest, TheComputedFileGoesThroughTheProxyOfTheSettings) {
  for (const auto& r : kRighe) Inserisci(r);
  sandbox::ServerSftp server(account_);
  sandbox::ServerProxy proxy("kiro", "proxypw");
  Punta(server);
  C().settings.proxy_host = "127.0.0.1";
  C().settings.proxy_port = proxy.Porta();
  C().settings.proxy_username = "kiro";
  C().settings.proxy_password = "sbagliata";
  Collection param = Anno("2025");
  Variant t, g;
  Variant dati(plugin_.QZ04048_Carica(param, t));
  ASSERT_FALSE(dati.ToText().empty()) << plugin_.LastError();
  EXPECT_FALSE(plugin_.QZ04048_Invio(param, t, g, dati));
  EXPECT_EQ(plugin_.LastError().rfind("Il proxy ha rifiutato le credenziali (HTTP 40", 0), 0u)
      << plugin_.LastError();
  EXPECT_FALSE(fs::exists(server.Upload() / Remoto()));
  C().settings.proxy_password = "proxypw";
  ASSERT_TRUE(plugin_.QZ04048_Invio(param, t, g, dati)) << plugin_.LastError() << proxy.Log();
  EXPECT_EQ(Leggi(server.Upload() / Remoto()), pdta::TestoAnsi(dati.ToText()));
  EXPECT_NE(proxy.Log().find("127.0.0.1:" + std::to_string(server.Porta())), std::string::npos)
      << proxy.Log();
}

TEST_F(PdtaSftpTest, FailuresAreReportedJournaledAndLeaveNoFile) {
  const struct {
    const char* nome;
    bool chiave_estranea;  // else the account's password changed
    const char* errore;
  } casi[] = {
      {"chiave del server diversa", true, "La chiave del server SFTP 127.0.0.1:"},
      {"accesso rifiutato", false,
       "Accesso al server SFTP rifiutato: nome utente o password non validi"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    sandbox::ServerSftp server(account_);
    Punta(server, c.chiave_estranea ? server.ImprontaEstranea() : std::string());
    if (!c.chiave_estranea) account_.CambiaPassword("un'altra password");
    const bool ok = Invia("<records/>");
    if (!c.chiave_estranea) account_.CambiaPassword(Decifra(pdta::kPasswordSftpCifrata));
    EXPECT_FALSE(ok);
    EXPECT_EQ(plugin_.LastError().rfind(c.errore, 0), 0u) << plugin_.LastError();
    EXPECT_FALSE(fs::exists(server.Upload() / Remoto()));
    EXPECT_EQ(Host().Giornale().Voci().back(), "Indicatori non inviati");
    const auto log = Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "ERR Errore");
    EXPECT_EQ(log.back(), "  " + plugin_.LastError());
    if (c.chiave_estranea) {
      // The password never reached a server that showed another key.
      EXPECT_EQ(server.Log().find("password"), std::string::npos) << server.Log();
    }
  }
}

TEST_F(PdtaSftpTest, AnUploadCutShortByTheServerIsAFailure) {
  // The server may write 64 KiB per file: past that its writes fail (EFBIG),
  // as on a server whose disk fills during the upload.
  sandbox::ServerSftp server(account_, 64 * 1024);
  Punta(server);
  std::string dati = "<records>";
  while (dati.size() < 1024 * 1024) dati += "<indicatore>0123456789</indicatore>";
  dati += "</records>";
  EXPECT_FALSE(Invia(dati));
  EXPECT_EQ(plugin_.LastError().rfind("Trasferimento interrotto", 0), 0u) << plugin_.LastError();
  EXPECT_LT(fs::file_size(server.Upload() / Remoto()), dati.size());
  EXPECT_EQ(Host().Giornale().Voci(), std::vector<std::string>{"Indicatori non inviati"});
}

}  // namespace
}  // namespace qzkiro

int main(int argc, char** argv) {
  return qzkiro::testsupport::RunAllTestsUnderPostgres(argc, argv);
}
