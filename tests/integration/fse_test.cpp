// The regional health record against the sandbox's registry, repository and
// patient index over mutual TLS, with assertions of its identity provider.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>

#include "consent/VerificaConsenso.h"
#include "integration/AmbienteFse.h"
#include "refhost/Oggetti.h"
#include "sandbox/Fse.h"
#include "sandbox/RegioneHl7.h"
#include "services/fse/ClienteFse.h"
#include "services/fse/ConsensiFse.h"
#include "services/fse/InvioConsensoFse.h"
#include "support/RisultatoHost.h"
#include "sandbox/server/ServerPosta.h"
#include "util/clsXML.h"

namespace qzkiro {
namespace {

namespace fs = std::filesystem;
namespace f = sandbox::fse;
using host::Collection;
using host::Variant;
using nlohmann::json;
using sandbox::ServiziFse;
using testsupport::Campi;
using testsupport::Di;

class FseTest : public ::testing::Test, protected testsupport::AmbienteFse {
 protected:
  std::shared_ptr<host::IPaziente> Apri(const std::string& cf) {
    EXPECT_TRUE(env_.Host()->ApriPaziente(cf));
    return env_.Host()->Paziente();
  }
  json Risultato() { return testsupport::UltimoRisultato(*env_.Host()); }
  std::size_t Richieste(ServiziFse::Servizio s) const {
    return server_.Richieste(fse_.Percorso(s)).size();
  }

  // Retrieves one document of the repository as the host's callback does.
  bool Recupera(const std::string& id) {
    auto riga = std::make_shared<Collection>();
    riga->Add(Variant(id), "Parametro.idDocumento");
    riga->Add(Variant(f::kRepository), "Parametro.idRepository");
    auto lista = std::make_shared<Collection>();
    lista->Add(Variant(riga));
    auto richiesta = std::make_shared<refhost::Membri>();
    richiesta->Imposta("Lista", Variant(lista));
    std::vector<Variant> param{Variant(), Variant(richiesta)};
    return plugin_.Execute("QZKiroGetContenutoDocumento", param);
  }

  Collection param_;
  Variant modello_;
};

TEST_F(FseTest, TheDocumentListLooksThePatientUpOnceAndLeavesOutOrdersWorkflowsAndDispensations) {
  auto paziente = Apri(sandbox::regione::kPazienteRossi);
  ASSERT_TRUE(plugin_.QZ02022(param_, modello_)) << plugin_.LastError();
  EXPECT_EQ(Richieste(ServiziFse::Servizio::kAnagrafica), 1u);
  EXPECT_EQ(paziente->Items().GetItem("MPI"), std::string("MPI:") + f::kMpiRossi);
  EXPECT_EQ(ContestoIdp(), "C.1.1") << "own patient of the user";
  json risultato = Risultato();
  const auto righe = Di(risultato, "AddRefertoParziale");
  ASSERT_EQ(Di(risultato, "AddPaziente").size(), 1u);
  std::set<std::string> ids;
  for (const auto& r : righe) {
    ids.insert(r[1].get<std::string>());
    // The row's description is the document's name.
    EXPECT_EQ(Campi(r, {3, 4, 5, 17, 18, 20}),
              json::array({r[10], "QZKiroGetContenutoDocumento", "Parametro.formato",
                           "Parametro.idDocumento", r[1], f::kRepository}));
  }
  for (const char* escluso : {f::kDocRichiesta, f::kDocProcesso, f::kDocDispensazione}) {
    EXPECT_EQ(ids.count(escluso), 0u) << escluso;
  }
  EXPECT_EQ(ids.count(f::kDocCdaFirmato), 1u);
  EXPECT_EQ(ids.count(f::kDocTipoIgnoto), 1u);

  // The identifier is kept: the second list asks the registry only, and the
  // type filter reaches it.
  param_.Add(Variant("11502-2"), "Parametro.TipoDoc");
  ASSERT_TRUE(plugin_.QZ02022(param_, modello_)) << plugin_.LastError();
  EXPECT_EQ(Richieste(ServiziFse::Servizio::kAnagrafica), 1u);
  EXPECT_LT(Di(Risultato(), "AddRefertoParziale").size(), righe.size());
  // A patient whose identifier is kept: the record is the host's own data.
  Apri(sandbox::regione::kPazienteBianchi);
  ASSERT_TRUE(plugin_.QZ02022(param_, modello_)) << plugin_.LastError();
  const auto anagrafica = Di(Risultato(), "AddAnagrafica");
  ASSERT_EQ(anagrafica.size(), 1u);
  EXPECT_EQ(anagrafica[0].size(), 28u);
  EXPECT_EQ(anagrafica[0][2], sandbox::regione::kPazienteBianchi);
  EXPECT_EQ(Richieste(ServiziFse::Servizio::kAnagrafica), 1u);

  // Not one of the practice's patients: the assertion is asked as "C.1.2".
  Apri(sandbox::regione::kPazienteVerdi);
  param_.Remove(1);
  ASSERT_TRUE(plugin_.QZ02022(param_, modello_)) << plugin_.LastError();
  EXPECT_EQ(ContestoIdp(), "C.1.2");

  // The envelope prefixes the services are used to.
  for (auto s : {ServiziFse::Servizio::kRegistry, ServiziFse::Servizio::kAnagrafica}) {
    EXPECT_EQ(server_.Richieste(fse_.Percorso(s)).back().corpo.rfind("<soap:Envelope ", 0), 0u);
  }
  for (auto s : {ServiziFse::Servizio::kRegistry, ServiziFse::Servizio::kAnagrafica}) {
    for (const auto& r : server_.Richieste(fse_.Percorso(s)))
      EXPECT_EQ(r.esito_validazione, Validazione());
  }
}

TEST_F(FseTest, ThePatientIndexGivesTheHealthUnitAndTheDoctorRelationEvent) {
  auto neri = Apri(sandbox::regione::kPazienteNeri);
  Variant paziente(neri);
  ASSERT_TRUE(plugin_.QZ03002(paziente, param_, modello_)) << plugin_.LastError();
  EXPECT_EQ(neri->Items().GetItem("MPI"), std::string("MPI:") + f::kMpiNeri);
  const json risultato = Risultato();
  ASSERT_EQ(Di(risultato, "AddNotifica").size(), 1u) << risultato.dump();
  EXPECT_EQ(Di(risultato, "AddNotifica")[0][6], "Scelta nuovo medico (aggiunto paziente)");
  EXPECT_EQ(Di(risultato, "AddRapportoSSN").size(), 1u);
  EXPECT_TRUE(Di(risultato, "AddPrivacy").empty()) << "the index gives no consent level";

  // Unknown to the index: the index's own error, and nothing for the host.
  param_.Add(Variant("XXXXXX00X00X000X"), "Parametro.Paziente.CodiceFiscale");
  EXPECT_FALSE(plugin_.QZ02003(param_, modello_));
  EXPECT_EQ(plugin_.LastError().rfind("Errore HL7: ", 0), 0u) << plugin_.LastError();
  EXPECT_EQ(plugin_.LastResponse(), nullptr);
}

TEST_F(FseTest, WithoutAnAssertionNothingIsAskedAndTheHostGetsNothing) {
  env_.Contesto().settings.endpoint["iap"] = "https://" + sandbox::IndirizzoChiuso() + "/iap";
  param_.Add(Variant(sandbox::regione::kPazienteRossi), "Parametro.Paziente.CodiceFiscale");
  EXPECT_FALSE(plugin_.QZ02003(param_, modello_));
  EXPECT_FALSE(plugin_.LastError().empty());
  EXPECT_EQ(plugin_.LastResponse(), nullptr);
  EXPECT_EQ(Richieste(ServiziFse::Servizio::kAnagrafica), 0u);
}

TEST_F(FseTest, RegistryFailuresReachTheUserAndTheHostGetsNothing) {
  Apri(sandbox::regione::kPazienteBianchi);  // identifier already kept
  struct Caso {
    ServiziFse::Esito esito;
    std::string inizio;
  } casi[] = {{ServiziFse::Esito::kFault, ""},
              {ServiziFse::Esito::kVuota,
               "Errore servizio ConsultaDocumentiFSE: Nessuna risposta ricevuta."}};
  for (const auto& c : casi) {
    const std::size_t prima = env_.Host()->Framework().Inputs().size();
    fse_.Programma(ServiziFse::Servizio::kRegistry, c.esito);
    EXPECT_FALSE(plugin_.QZ02022(param_, modello_));
    EXPECT_EQ(plugin_.LastResponse(), nullptr);
    EXPECT_FALSE(plugin_.LastError().empty());
    if (!c.inizio.empty()) {
      EXPECT_EQ(plugin_.LastError().rfind(c.inizio, 0), 0u) << plugin_.LastError();
    }
    EXPECT_LE(env_.Host()->Framework().Inputs().size(), prima + 1);
  }
  env_.Contesto().settings.fse_attivo = false;
  EXPECT_FALSE(plugin_.QZ02022(param_, modello_));
  EXPECT_EQ(plugin_.LastError(),
            "Servizio FSEr non installato. Contattare il supporto tecnico di Curalis");
}

TEST_F(FseTest, EachMimeTypeOfTheRepositoryReachesTheHostItsOwnWay) {
  Apri(sandbox::regione::kPazienteRossi);
  ASSERT_TRUE(Recupera(f::kDocCdaFirmato)) << plugin_.LastError();
  EXPECT_EQ(Di(Risultato(), "AddRefertoLaboratorio").size(), 1u) << Risultato().dump();
  EXPECT_EQ(ContestoIdp(), "C.1.1");
  EXPECT_EQ(server_.Richieste(fse_.Percorso(ServiziFse::Servizio::kRetrieve))
                .back()
                .corpo.rfind("<soapenv:Envelope ", 0),
            0u);

  ASSERT_TRUE(Recupera(f::kDocPdf)) << plugin_.LastError();
  auto generici = Di(Risultato(), "AddRefertoGenerico");
  ASSERT_EQ(generici.size(), 1u);
  EXPECT_EQ(generici[0][0], "Referto") << "a plain PDF is no laboratory report";
  EXPECT_EQ(Di(Risultato(), "AddAllegato").back()[2], "Referto");
  const fs::path temp = env_.Host()->Utente().TempDir();
  // The attachment is the report's own file, written under its name.
  const auto allegato = [&] {
    return fs::path(Di(Risultato(), "AddAllegato").back()[1].get<std::string>());
  };
  EXPECT_EQ(allegato(), temp / "Referto.pdf");
  fs::remove(temp / "Referto.pdf");
  ASSERT_TRUE(Recupera(f::kDocPdfFirmato)) << plugin_.LastError();
  EXPECT_EQ(Di(Risultato(), "AddRefertoGenerico").size(), 1u);
  EXPECT_EQ(allegato(), temp / "Referto.pdf");
  EXPECT_TRUE(fs::exists(temp / "Referto.pdf"));
  EXPECT_TRUE(fs::exists(temp / "Part2.p7m"));

  // A CDA without a PDF of its own is printed through the add-on's page.
  fs::copy_file(fs::path(QZKIRO_DATA_DIR) / "CDASiavr.xsl",
                env_.CartellaPlugin().Path() / "CDASiavr.xsl");
  ASSERT_TRUE(Recupera(f::kDocCda)) << plugin_.LastError();
  const auto allegati = Di(Risultato(), "AddAllegato");
  ASSERT_FALSE(allegati.empty()) << Risultato().dump();
  const std::string stampa = allegati.back()[1].get<std::string>();
  EXPECT_EQ(allegati.back()[2], "Referto");
  std::ifstream pdf(stampa, std::ios::binary);
  char inizio[5] = {};
  pdf.read(inizio, 4);
  EXPECT_STREQ(inizio, "%PDF") << stampa;

  // The PDF and the CDA it carries: the laboratory report with the PDF attached.
  fs::remove(temp / "Referto.pdf");
  ASSERT_TRUE(Recupera(f::kDocPdfConCda)) << plugin_.LastError();
  EXPECT_TRUE(fs::exists(temp / "Referto.pdf"));
  EXPECT_EQ(Di(Risultato(), "AddRefertoLaboratorio").size(), 1u) << Risultato().dump();
  EXPECT_EQ(Di(Risultato(), "AddRefertoGenerico").back()[0], "Referto Laboratorio Analisi");
  EXPECT_EQ(Di(Risultato(), "AddAllegato").back()[2], "Referto di Laboratorio");
  EXPECT_TRUE(fs::exists(temp / "CDA2.xml"));

  // A signature that does not verify: nothing reaches the host, no content is left.
  fs::remove(temp / "CDA2.xml");
  fse_.Programma(ServiziFse::Servizio::kRetrieve, ServiziFse::Esito::kFirmaAlterata);
  EXPECT_FALSE(Recupera(f::kDocCdaFirmato));
  EXPECT_EQ(plugin_.LastError(), "La firma del documento non è valida");
  EXPECT_EQ(plugin_.LastResponse(), nullptr);
  EXPECT_FALSE(fs::exists(temp / "CDA2.xml"));

  EXPECT_FALSE(Recupera(f::kDocTipoIgnoto));
  EXPECT_EQ(plugin_.LastError(), "Tipo documento application/x-ignoto non previsto");
  EXPECT_EQ(plugin_.LastResponse(), nullptr);

  EXPECT_FALSE(Recupera("2.16.9.9.9"));
  EXPECT_EQ(plugin_.LastError().rfind("Il server ha restituito il seguente errore: ", 0), 0u)
      << plugin_.LastError();
  for (auto guasto : {ServiziFse::Esito::kSenzaChiusura, ServiziFse::Esito::kTroncata}) {
    fse_.Programma(ServiziFse::Servizio::kRetrieve, guasto);
    EXPECT_FALSE(Recupera(f::kDocPdf));
    EXPECT_EQ(plugin_.LastResponse(), nullptr);
  }
}

TEST_F(FseTest, ConsentsInForceAndTheLinkedProcessDocument) {
  auto rossi = Apri(sandbox::regione::kPazienteRossi);
  xds::ConsensiInVigore consensi;
  ASSERT_TRUE(fse::LeggiConsensi(*rossi, consensi)) << plugin_.LastError();
  EXPECT_EQ(consensi[xds::TipoConsenso::Alimentazione].id_documento, f::kConsensoAlimentazione)
      << "the later of the two feeding consents";
  EXPECT_FALSE(consensi[xds::TipoConsenso::Consultazione].data.empty());
  EXPECT_FALSE(consensi[xds::TipoConsenso::Pregresso].data.empty());
  EXPECT_EQ(ContestoIdp(), "C.6.5");

  auto verdi = Apri(sandbox::regione::kPazienteVerdi);
  ASSERT_TRUE(fse::LeggiConsensi(*verdi, consensi)) << plugin_.LastError();
  EXPECT_TRUE(consensi.ultimo.revocato);

  auto ricetta = std::make_shared<refhost::Ricetta>();
  ricetta->Imposta("PazienteCodiceFiscale", sandbox::regione::kPazienteRossi);
  ricetta->Imposta("NRE", f::kNreProcesso);
  Variant r(ricetta), ricevuta;
  env_.Ui().Rispondi(core::risposta::kNo);
  EXPECT_FALSE(plugin_.QZ02023(r, ricevuta)) << "the doctor said no";
  EXPECT_TRUE(ricevuta.IsEmpty());
  ASSERT_FALSE(env_.Ui().Mostrati().empty());
  EXPECT_EQ(env_.Ui().Mostrati().back().testo,
            std::string("Collegare la prescrizione al Documento di Processo con NRE ") +
                f::kNreProcesso + "?");
  EXPECT_EQ(env_.Ui().Mostrati().back().titolo, "KIRO");
  env_.Ui().Rispondi(core::risposta::kSi);
  ASSERT_TRUE(plugin_.QZ02023(r, ricevuta)) << core::Ctx().last_error;
  EXPECT_EQ(ricevuta.ToText(), f::kWorkflowInstanceId);
  ricetta->Imposta("NRE", "050A99999999999");
  EXPECT_FALSE(plugin_.QZ02023(r, ricevuta));
  EXPECT_EQ(plugin_.LastError(), "Documento non trovato nel Registry");
  ricetta->Imposta("PazienteCodiceFiscale", sandbox::regione::kPazienteNeri);
  EXPECT_FALSE(plugin_.QZ02023(r, ricevuta));
  EXPECT_EQ(plugin_.LastError(), "Codice MPI del paziente non trovato");
}

TEST_F(FseTest, APatientSummaryReplacesTheOneInForceAndThenItsOwnPredecessor) {
  auto rossi = Apri(sandbox::regione::kPazienteRossi);
  Variant paziente(rossi), ricevuta;
  EXPECT_FALSE(plugin_.QZ04020(paziente, modello_, ricevuta));
  EXPECT_EQ(plugin_.LastError().rfind("Codice MPI del paziente non trovato. Effettuare prima", 0),
            0u);
  fse::SalvaCodiceMPI(*rossi, f::kMpiRossi);
  // The summary in force cannot be read: nothing is published.
  fse_.Programma(ServiziFse::Servizio::kRegistry, ServiziFse::Esito::kFault);
  EXPECT_FALSE(plugin_.QZ04020(paziente, modello_, ricevuta));
  EXPECT_TRUE(fse_.Pubblicati().empty());

  ASSERT_TRUE(plugin_.QZ04020(paziente, modello_, ricevuta)) << plugin_.LastError();
  const std::string primo = ricevuta.ToText();
  EXPECT_EQ(fse_.Pubblicati(), std::vector<std::string>{primo});
  xds::VoceRegistro in_vigore;
  bool trovato = false;
  ASSERT_TRUE(fse::LeggiPatientSummary(*rossi, "", in_vigore, trovato));
  EXPECT_EQ(in_vigore.id_documento, primo) << "the sandbox's earlier summary is replaced";
  EXPECT_EQ(ContestoIdp(), "C.1.1");

  env_.Orologio().Imposta({2026, 12, 6, 11, 0, 0});
  ASSERT_TRUE(plugin_.QZ04020(paziente, modello_, ricevuta)) << plugin_.LastError();
  ASSERT_TRUE(fse::LeggiPatientSummary(*rossi, "", in_vigore, trovato));
  EXPECT_EQ(in_vigore.id_documento, ricevuta.ToText());
  // The new version names the one it replaces.
  const std::string documento = fse_.Documento(ricevuta.ToText()).value_or("");
  EXPECT_NE(documento.find("<relatedDocument typeCode=\"RPLC\">"), std::string::npos);
  EXPECT_NE(documento.find("extension=\"" + primo.substr(primo.find('^') + 1) + "\""),
            std::string::npos);
  for (const auto& r : server_.Richieste(fse_.Percorso(ServiziFse::Servizio::kPubblicazione))) {
    EXPECT_EQ(r.esito_validazione, Validazione());
  }

  auto bianchi = Apri(sandbox::regione::kPazienteBianchi);
  ASSERT_TRUE(fse::LeggiPatientSummary(*bianchi, "", in_vigore, trovato));
  EXPECT_FALSE(trovato) << "no summary in the registry";

  auto verdi = Apri(sandbox::regione::kPazienteVerdi);
  Variant altro(verdi);
  EXPECT_FALSE(plugin_.QZ04020(altro, modello_, ricevuta)) << "250.01 is excluded";
}

TEST_F(FseTest, TheSilentCheckStoresTheConsentStateAndTellsOfASilentServer) {
  auto rossi = Apri(sandbox::regione::kPazienteRossi);
  Variant paziente(rossi), modello, check(true), nessuno;
  EXPECT_FALSE(plugin_.QZ01015(nessuno, modello, check));
  EXPECT_EQ(plugin_.LastError(), "Paziente non valido");
  ASSERT_TRUE(plugin_.QZ01015(paziente, modello, check)) << plugin_.LastError();
  EXPECT_EQ(rossi->Privacy().ConsensoFSEr(), "1:1;2:;3:1;4:;5:1;6:");
  EXPECT_EQ(rossi->Cellulare(), "0415200001") << "the registry's contact copied";
  EXPECT_TRUE(env_.Ui().Mostrati().empty());

  // A registry that does not answer: the message of the paused check.
  env_.Contesto().settings.endpoint["registryreg"] =
      "https://" + sandbox::IndirizzoChiuso() + "/fse/registry";
  EXPECT_FALSE(plugin_.QZ01015(paziente, modello, check));
  ASSERT_EQ(env_.Ui().Mostrati().size(), 1u);
  EXPECT_EQ(env_.Ui().Mostrati()[0].testo, consent::kVerificaSospesa);
}

using Pulsante = core::GestoConsenso::Pulsante;

TEST_F(FseTest, TheConsentFormWithdrawsAConsentWhichIsThenTheOneInForce) {
  auto rossi = Apri(sandbox::regione::kPazienteRossi);
  Variant paziente(rossi), modello, modulo(false);
  env_.Host()->Framework().SetOggi("20261207");
  auto& ui = env_.Ui();
  ui.RispondiConsenso({nullptr, Pulsante::OK});  // nothing changed
  ui.RispondiConsenso({nullptr, Pulsante::Riepilogo});
  ui.RispondiConsenso(
      {[](ModuloConsensoFSE& m) { m.Opzioni[0] = false, m.Opzioni[1] = true; }, Pulsante::OK});
  ui.Rispondi(core::risposta::kOK);  // "Nessuna modifica apportata"
  ui.Rispondi(core::risposta::kSi);  // the denial confirmed
  ASSERT_TRUE(plugin_.QZ01015(paziente, modello, modulo)) << plugin_.LastError();

  ASSERT_EQ(ui.ConsensiMostrati().size(), 1u);
  const ModuloConsensoFSE& aperto = ui.ConsensiMostrati()[0];
  EXPECT_EQ(aperto.Titolo, "Consenso FSEr di ROSSI MARIA");
  EXPECT_EQ(aperto.Cellulare, "0415200001") << "the registry's contacts";
  ASSERT_EQ(ui.Mostrati().size(), 2u);
  EXPECT_EQ(ui.Mostrati()[0].testo, "Nessuna modifica apportata");
  EXPECT_EQ(ui.Mostrati()[0].titolo, "KIRO");
  EXPECT_NE(ui.Mostrati()[1].testo.find("Confermare la NEGAZIONE DEL CONSENSO?"),
            std::string::npos);
  ASSERT_EQ(ui.RiepiloghiMostrati().size(), 1u);
  EXPECT_EQ(ui.RiepiloghiMostrati()[0].righe[0].stato, "01/03/2026");
  EXPECT_EQ(ui.RiepiloghiMostrati()[0].eta, 81);
  ASSERT_EQ(ui.EsitiMostrati().size(), 1u);
  ASSERT_EQ(ui.EsitiMostrati()[0].size(), 1u) << "only the kind that changed";
  EXPECT_EQ(ui.EsitiMostrati()[0][0].rfind("Revocato ", 0), 0u) << ui.EsitiMostrati()[0][0];
  EXPECT_EQ(rossi->Privacy().ConsensoFSEr(), "1:;2:1;3:1;4:;5:1;6:");
  EXPECT_EQ(ui.PortaleMostrato(), 1);
  EXPECT_EQ(env_.Host()->Utente().Items().GetItem("KIRO.InfoAccessoPortale"), "0");
  ASSERT_EQ(fse_.Pubblicati().size(), 1u) << "the unchanged press sent nothing";

  xds::ConsensiInVigore dopo;
  ASSERT_TRUE(fse::LeggiConsensi(*rossi, dopo));
  EXPECT_TRUE(dopo[xds::TipoConsenso::Alimentazione].revocato);
  EXPECT_EQ(dopo[xds::TipoConsenso::Alimentazione].id_documento, fse_.Pubblicati()[0]);
  EXPECT_FALSE(dopo[xds::TipoConsenso::Consultazione].revocato) << "untouched kinds stay";
  EXPECT_EQ(server_.Richieste(fse_.Percorso(ServiziFse::Servizio::kPubblicazione))
                .back()
                .esito_validazione,
            Validazione());
}

TEST_F(FseTest, AMinorNeedsAGuardianAndAFailedSendChangesNothing) {
  auto bruni = Apri(f::kCfBruni);
  Variant paziente(bruni), modello, modulo(false);
  auto& ui = env_.Ui();
  ui.RispondiPortale(true);
  auto tutti = [](ModuloConsensoFSE& m) { m.Opzioni = {true, false, true, false, true, false}; };
  ui.RispondiConsenso({tutti, Pulsante::OK});  // no guardian yet
  ui.RispondiConsenso({[](ModuloConsensoFSE& m) {
                         m.Tutori.push_back({"BRUNI", "MARCO", "BRNMRC80A01L736V", "3331234567",
                                             "marco.bruni@example.it", ""});
                       },
                       Pulsante::OK});  // the repository fails
  ui.RispondiConsenso({nullptr, Pulsante::OK});
  fse_.Programma(ServiziFse::Servizio::kPubblicazione, ServiziFse::Esito::kFault);
  // Boxes in turn: no guardian; no contacts of the patient, confirmed; the
  // fault; the same question, confirmed.
  for (int i = 0; i < 4; ++i) ui.Rispondi(core::risposta::kSi);
  ASSERT_TRUE(plugin_.QZ01015(paziente, modello, modulo)) << plugin_.LastError();

  ASSERT_EQ(ui.ConsensiMostrati().size(), 1u);
  EXPECT_TRUE(ui.ConsensiMostrati()[0].Minorenne);
  std::vector<std::string> testi;
  for (const auto& box : ui.Mostrati()) testi.push_back(box.testo.substr(0, 40));
  ASSERT_GE(testi.size(), 4u);
  EXPECT_EQ(testi[0], std::string("Per i cittadini minorenni è necessario indicare").substr(0, 40));
  EXPECT_EQ(ui.Mostrati()[2].testo.rfind("L'invio del consenso ha dato esito negativo", 0), 0u)
      << ui.Mostrati()[2].testo;
  ASSERT_EQ(fse_.Pubblicati().size(), 3u) << "the three kinds, after the failure";
  EXPECT_EQ(bruni->Privacy().ConsensoFSEr(), "1:1;2:;3:1;4:;5:1;6:");
  EXPECT_EQ(ui.PortaleMostrato(), 1);
  EXPECT_EQ(env_.Host()->Utente().Items().GetItem("KIRO.InfoAccessoPortale"), "1");

  // Loaded again: the three consents in force, the guardian from the last document.
  ui.RispondiConsenso({nullptr, Pulsante::Chiudi});
  EXPECT_FALSE(plugin_.QZ01015(paziente, modello, modulo));
  ASSERT_EQ(ui.ConsensiMostrati().size(), 2u);
  const ModuloConsensoFSE& di_nuovo = ui.ConsensiMostrati()[1];
  EXPECT_EQ(di_nuovo.Opzioni, (std::array<bool, 6>{true, false, true, false, true, false}));
  ASSERT_EQ(di_nuovo.Tutori.size(), 1u);
  EXPECT_EQ(di_nuovo.Tutori[0].CodiceFiscale, "BRNMRC80A01L736V");
  EXPECT_EQ(di_nuovo.TitoloScheda(0), "Genitore/Tutore legale #1");
  EXPECT_EQ(ui.PortaleMostrato(), 1) << "not shown again once ticked";
}

TEST_F(FseTest, APatientOutsideTheRegionIsRefusedBeforeAnyRequest) {
  auto verdi = Apri(sandbox::regione::kPazienteVerdi);
  Variant paziente(verdi), modello, modulo(false);
  EXPECT_FALSE(plugin_.QZ01015(paziente, modello, modulo));
  EXPECT_EQ(plugin_.LastError(),
            "Il paziente deve avere la propria ASL di Assistenza nella Regione Veneto");
  EXPECT_EQ(Richieste(ServiziFse::Servizio::kRegistry), 0u);
  EXPECT_TRUE(env_.Ui().ConsensiMostrati().empty());
}

// The add-on's page of a document shows its texts, never its markup.
TEST(PaginaCdaTest, ThePrintablePageCopiesTextOnly) {
  util::clsXML cda;
  ASSERT_TRUE(cda.LoadXML(
      "<ClinicalDocument xmlns=\"urn:hl7-org:v3\"><title>Referto &lt;b&gt;</title>"
      "<effectiveTime value=\"20260105\"/><recordTarget><patientRole><id "
      "root=\"2.16.840.1.113883.2.9.4.3.2\" extension=\"RSSMRA45M41L736K\"/><patient><name><family>"
      "ROSSI</family><given>MARIA</given></name></patient></patientRole></recordTarget><component>"
      "<structuredBody><component><section><title>Esami</title><text><paragraph>Glicemia 95"
      "</paragraph><renderMultiMedia referencedObject=\"x\"/><paragraph>&lt;script&gt;alert(1)"
      "&lt;/script&gt;</paragraph></text></section></component></structuredBody></component>"
      "</ClinicalDocument>"));
  const std::string html = cda.TransformXSL(std::string(QZKIRO_DATA_DIR) + "/CDASiavr.xsl");
  EXPECT_NE(html.find("ROSSI MARIA (RSSMRA45M41L736K)"), std::string::npos) << html;
  EXPECT_NE(html.find("05/01/2026"), std::string::npos);
  EXPECT_NE(html.find("<p>Glicemia 95</p>"), std::string::npos);
  EXPECT_EQ(html.find("<script"), std::string::npos) << html;
  EXPECT_EQ(html.find("<b>&lt;"), std::string::npos);
}

}  // namespace
}  // namespace qzkiro
