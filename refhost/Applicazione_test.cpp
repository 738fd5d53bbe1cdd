#include "refhost/Applicazione.h"

#include <gtest/gtest.h>

#include "qzkiro/Failure.h"
#include "refhost/ConfigXML.h"
#include "sandbox/server/CartellaTemporanea.h"

namespace qzkiro::refhost {
namespace {

class ApplicazioneTest : public ::testing::Test {
 protected:
  ApplicazioneTest() {
    std::filesystem::copy(QZKIRO_REFHOST_DATI, dati_.Path(),
                          std::filesystem::copy_options::recursive);
  }
  sandbox::CartellaTemporanea dati_;
};

TEST_F(ApplicazioneTest, UserSetupAndEventsKeepTypesAndOrder) {
  Applicazione app(dati_.Path());
  EXPECT_EQ(app.Utente().CodiceFiscale(), "RSSMRA70A01L736S");
  EXPECT_EQ(app.Utente().NomeCompleto(), "ROSSI MARIO");
  EXPECT_EQ(app.Utente().Items().GetItem("KIRO.CodiceStruttura"), "050503");
  EXPECT_EQ(app.Utente().Items().GetItem("assente"), "");
  EXPECT_TRUE(std::filesystem::is_directory(app.Utente().TempDir()));
  app.SetSetup("NRE", true);
  app.SetSetup("ModuloPromemoria", "X");
  app.SetSetup("NRE", false);
  EXPECT_EQ(app.Setup("NRE"), host::Variant(false));
  EXPECT_TRUE(app.Setup("Mai").IsEmpty());
  ASSERT_EQ(app.ScrittureSetup().size(), 3u);
  EXPECT_EQ(app.ScrittureSetup()[1].first, "ModuloPromemoria");
  app.GeneraEvento("plgQZCoopApp.Enabled", "1");
  EXPECT_EQ(app.Eventi().at(0).second, "1");
}

TEST_F(ApplicazioneTest, RegistryPersistsAcrossHostObjects) {
  {
    Applicazione app(dati_.Path());
    EXPECT_EQ(app.Registry().ReadReg("HKEY_CURRENT_USER", "Software\\X\\", "Credenziali"), "");
    app.Registry().WriteReg("HKEY_CURRENT_USER", "Software\\Telvora\\Curalis V6\\KIRO\\",
                            "Credenziali", "cifrato==");
  }
  Applicazione riaperta(dati_.Path());
  EXPECT_EQ(riaperta.Registry().ReadReg("HKEY_CURRENT_USER", "Software\\Telvora\\Curalis V6\\KIRO",
                                        "Credenziali"),
            "cifrato==");
  EXPECT_EQ(riaperta.Registry().ReadReg("HKEY_LOCAL_MACHINE", "Software\\Telvora\\Curalis V6\\KIRO",
                                        "Credenziali"),
            "");
}

TEST_F(ApplicazioneTest, TheOpenPatientHasItsDoctorAndKeepsItsSavedItems) {
  {
    Applicazione app(dati_.Path());
    EXPECT_EQ(app.Paziente(), nullptr) << "no patient open at start";
    EXPECT_FALSE(app.ApriPaziente("99"));
    ASSERT_TRUE(app.ApriPaziente("VRDLCU55C12F205S"));
    auto paziente = app.Paziente();
    EXPECT_EQ(paziente->ID(), "2");
    EXPECT_EQ(paziente->Medico()->CodiceFiscale(), "BNCLCU65B12F205Z");
    EXPECT_FALSE(paziente->Proprio());
    ASSERT_TRUE(app.ApriPaziente("1"));
    EXPECT_TRUE(app.Paziente()->Proprio());
    auto& items = app.Paziente()->Items();
    EXPECT_EQ(items.GetItem("MPI"), "MPI: MPI0000002 ");
    items.SetItem("MPI", "MPI:2000002");
    items.SetItem("Nota", "à");
    items.Salva();
    app.ImpostaPaziente(nullptr);
    EXPECT_EQ(app.Paziente(), nullptr);
  }
  Applicazione riaperta(dati_.Path());
  ASSERT_TRUE(riaperta.ApriPaziente("1"));
  EXPECT_EQ(riaperta.Paziente()->Items().GetItem("MPI"), "MPI:2000002")
      << "saved, not the archive's";
  EXPECT_EQ(riaperta.Paziente()->Items().GetItem("Nota"), "à");
  ASSERT_TRUE(riaperta.ApriPaziente("3"));
  riaperta.Paziente()->Items().SetItem("MPI", "MPI:3");
  Applicazione senza_salvare(dati_.Path());
  ASSERT_TRUE(senza_salvare.ApriPaziente("3"));
  EXPECT_EQ(senza_salvare.Paziente()->Items().GetItem("MPI"), "") << "kept only when saved";
}

TEST_F(ApplicazioneTest, ArchivesReadTheirFilesAndRefuseUnknownNames) {
  Applicazione app(dati_.Path());
  auto pazienti = host::Come<host::IArchivioPazienti>(app.Archivio("Pazienti"), "Pazienti");
  EXPECT_EQ(pazienti->DaiPaziente("2")->Cognome(), "VERDI");
  EXPECT_EQ(pazienti->DaiPaziente("NREPLA91M50H501B")->DataNascita(), "19910810");
  EXPECT_EQ(pazienti->DaiPaziente("99"), nullptr);
  EXPECT_EQ(app.Archivio("Esami")->Versione(), "CVP 2026.10");
  EXPECT_EQ(host::Come<host::IArchivioPPIP>(app.Archivio("PPIP"), "PPIP")->DaiCodice("101"),
            "A112");
  EXPECT_EQ(host::Come<host::IArchivioStrutture>(app.Archivio("Strutture"), "Strutture")
                ->Denominazione("050101"),
            "Ospedale di Belluno");
  auto comuni = host::Come<host::IArchivioComuni>(app.Archivio("Comuni"), "Comuni");
  EXPECT_EQ(comuni->CaricaCF("Z404")->Comune, "STATI UNITI D'AMERICA");
  EXPECT_EQ(comuni->CaricaIstat("028060", "20200101")->Provincia, "PD");
  EXPECT_FALSE(comuni->CaricaIstat("000000").has_value());
  EXPECT_THROW(host::Come<host::IArchivioPPIP>(app.Archivio("Esami"), "Esami"), Failure);
  EXPECT_THROW(app.Archivio("Farmaci"), Failure);

  dati_.Scrivi("archivi/Strutture.json", "{ non json");
  Applicazione guasta(dati_.Path());
  EXPECT_THROW(guasta.Archivio("Strutture"), Failure);
  std::filesystem::remove(dati_.Path() / "archivi" / "Visite.json");
  EXPECT_EQ(guasta.Archivio("Visite")->Versione(), "") << "a missing archive was never updated";
}

TEST_F(ApplicazioneTest, Base64EncodesTextAsLatin1) {
  Applicazione app(dati_.Path());
  EXPECT_EQ(app.Base64().Encode("è"), "6A==");
  EXPECT_EQ(app.Base64().Encode("perché"), "cGVyY2jp");
  EXPECT_EQ(app.Base64().Decode("cGVyY2jp"), "perché");
  EXPECT_EQ(app.Base64().Decode("QU\r\nJD"), "ABC");
  EXPECT_EQ(app.Base64().Encode(""), "");
  EXPECT_THROW(app.Base64().Decode("QUJ"), Failure);
}

TEST(ConfigXMLTest, ReadsPathsChangesAttributesAndRejectsBadDocuments) {
  auto xml = ConfigXML::DaTesto(
      "<c><client><iap>https://a</iap></client><services><service id=\"A\"/>"
      "<service id=\"B\">b</service></services></c>");
  EXPECT_EQ(xml->GetTextNode(xml->rootNode(), "client/iap"), "https://a");
  EXPECT_EQ(xml->GetTextNode(xml->rootNode(), "client/manca"), "");
  auto servizi = xml->rootNode()->SelectNodes("services/service");
  ASSERT_EQ(servizi.size(), 2u);
  servizi[1]->SetAttribute("id", "_B");
  EXPECT_NE(xml->Testo().find("id=\"_B\""), std::string::npos);
  EXPECT_THROW(ConfigXML::DaTesto("<c><aperto></c>"), Failure);
  EXPECT_THROW(ConfigXML::DaFile("/nessuna/cartella/config.xml"), Failure);
  // An external entity is neither fetched nor expanded.
  auto xxe = ConfigXML::DaTesto(
      "<!DOCTYPE c [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><c><iap>&e;</iap></c>");
  EXPECT_EQ(xxe->GetTextNode(xxe->rootNode(), "iap").find("root:"), std::string::npos);
}

}  // namespace
}  // namespace qzkiro::refhost
