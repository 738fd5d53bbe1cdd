#include "consent/InvioConsenso.h"

#include <gtest/gtest.h>

#include "consent/CaricaConsenso.h"
#include "consent/InfoConsenso.h"
#include "core/UiRegistrata.h"

namespace qzkiro::consent {
namespace {

using cda::TipoConsenso;

// A consent document as the registry's repository holds it: two guardians,
// and a participant that only looks like one.
const char* const kDocumento = R"(<?xml version="1.0"?>
<ClinicalDocument xmlns="urn:hl7-org:v3"><recordTarget><patientRole classCode="PAT">
 <id root="2.16.840.1.113883.2.9.4.3.2" extension="RSSLCU10C05L736K"/>
 <patient><name><family>ROSSI</family><given>LUCA</given></name>
  <guardian classCode="GUARD">
   <id root="2.16.840.1.113883.2.9.4.3.2" extension="BNCNNA80A41L736X"/>
   <id root="2.16.840.1.113883.2.9.2.50.4.1.2" extension="MPI0000042"/>
   <telecom use="MC" value="tel:3401234567"/><telecom value="mailto:anna@example.it"/>
   <guardianPerson><name><family> BIANCHI </family><given>ANNA</given></name></guardianPerson>
  </guardian>
  <guardian classCode="GUARD">
   <id root="2.16.840.1.113883.2.9.4.3.2" extension="RSSMRC78B02L736Y"/>
   <telecom nullFlavor="ASKU"/>
   <guardianPerson><name><family>ROSSI</family><given>MARCO</given></name></guardianPerson>
  </guardian>
  <guardian classCode="PRS"><guardianPerson><name><family>X</family></name></guardianPerson>
  </guardian>
 </patient></patientRole></recordTarget></ClinicalDocument>)";

xds::ConsensiInVigore InVigore() {
  xds::ConsensiInVigore c;
  c.per_tipo[0] = {"20250110093000", false, "ID-ALIM", "REP", {}};
  c.per_tipo[1] = {"20250110093000", false, "ID-CONS", "REP", {}};
  c.per_tipo[2] = {"20250215120000", true, "ID-PREG", "REP", {}};
  c.ultimo = c.per_tipo[2];
  c.ultimo.info_paziente = {"PID-5|ROSSI^LUCA^^^", "PID-13|^^^luca@example.it"};
  return c;
}

// The form of a patient born on 10 March 2008, loaded on `oggi`.
frmConsensoFSE Caricato(util::DataOra oggi = {2026, 3, 9}) {
  frmConsensoFSE f;
  CaricaModulo(f, {"", InVigore(), kDocumento, "3331234567", "vecchia@example.it",
                   util::DataOra{2008, 3, 10}, oggi});
  return f;
}

TEST(CaricaConsensoTest, TheFormShowsTheConsentsContactsAndGuardiansInForce) {
  frmConsensoFSE f = Caricato();
  EXPECT_EQ(f.Stato(), "1:1;2:;3:1;4:;5:;6:1");
  EXPECT_EQ(f.Cellulare, "3331234567");
  EXPECT_EQ(f.Email, "luca@example.it");
  EXPECT_TRUE(f.Minorenne);
  EXPECT_FALSE(f.ScadutoPerMaggioreEta);
  EXPECT_EQ(f.Tutori,
            (std::vector<SchedaTutore>{{"BIANCHI", "ANNA", "BNCNNA80A41L736X", "3401234567",
                                        "anna@example.it", "MPI0000042"},
                                       {"ROSSI", "MARCO", "RSSMRC78B02L736Y", "", "", ""}}));
  EXPECT_EQ(f.TitoloScheda(1), "Genitore/Tutore legale #2");
  EXPECT_EQ(f.Didascalia(),
            "E' possibile modificare ora il consenso al FSEr mettendo il segno di spunta sulle "
            "scelte del cittadino.");
}

TEST(CaricaConsensoTest, GuardiansConsentLapsesOnTheEighteenthBirthday) {
  frmConsensoFSE f = Caricato({2026, 3, 10});
  EXPECT_FALSE(f.Minorenne);
  EXPECT_TRUE(f.ScadutoPerMaggioreEta);
  EXPECT_TRUE(f.Tutori.empty());
  EXPECT_EQ(f.Didascalia(),
            "Per raggiunta maggiore età, è possibile rinnovare ora il consenso al FSEr mettendo "
            "il segno di spunta sulle scelte del cittadino.");
  // A consent given when already of age does not lapse.
  EXPECT_FALSE(MaggioreEtaRaggiunta({2008, 3, 10}, "20260310", {2030, 1, 1}));
  EXPECT_EQ(RecapitiDaInfo({"PID-13|^NET^Internet^a@b.it", "PID-13|^PRN^CP^^^^^^^^^3471112223",
                            "PID-130|^^^x@y.it"})
                .cellulare,
            "3471112223");
}

TEST(InvioConsensoTest, PressingOkUnchangedAfterLoadingSendsNothing) {
  frmConsensoFSE f = Caricato();
  core::UiRegistrata ui(core::UiRegistrata::Modo::Scriptata);
  ui.Rispondi(core::risposta::kSi);  // the earlier documents stay denied
  ui.Rispondi(core::risposta::kSi);  // the second guardian has no contacts
  ASSERT_TRUE(f.Conferma(ui, [](const std::string&) { return true; }));
  cda::DatiConsenso c;
  c.Alimentazione = true;
  EXPECT_EQ(CompilaConsenso(f, InVigore(), c), "Nessuna modifica apportata");
  EXPECT_FALSE(c.Alimentazione || c.Consultazione || c.Pregresso);
}

TEST(InvioConsensoTest, OnlyChangedKindsAreSentUnlessContactsChanged) {
  frmConsensoFSE f = Caricato();
  f.Scegli(TipoConsenso::Consultazione, false);
  cda::DatiConsenso c;
  ASSERT_EQ(CompilaConsenso(f, InVigore(), c), "");
  EXPECT_EQ(c.Alimentazione, std::nullopt);
  EXPECT_EQ(c.Consultazione, false);
  EXPECT_EQ(c.IDConsultazione, "ID-CONS");
  EXPECT_EQ(c.Pregresso, std::nullopt);
  EXPECT_EQ(c.IDPregresso, "");
  ASSERT_EQ(c.Tutori.size(), 2u);
  EXPECT_EQ(c.Tutori[0].Cognome, "BIANCHI");
  EXPECT_EQ(c.Tutori[0].MPI, "MPI0000042");

  f.Tutori[1].Email = " marco@example.it ";
  ASSERT_EQ(CompilaConsenso(f, InVigore(), c), "");
  EXPECT_EQ(c.Alimentazione, true);
  EXPECT_EQ(c.IDAlimentazione, "ID-ALIM");
  EXPECT_EQ(c.Pregresso, false);
  EXPECT_EQ(c.IDPregresso, "ID-PREG");
  EXPECT_EQ(c.Tutori[1].Email, "marco@example.it");
  EXPECT_EQ(c.Email, "luca@example.it");
}

TEST(InvioConsensoTest, TheAnswerGivesTheResultLinesOrTheFailureText) {
  cda::DatiConsenso inviato;
  inviato.Alimentazione = false;
  inviato.Pregresso = true;
  const EsitoInvio ok = LeggiEsitoInvio(
      R"(<s:Envelope xmlns:s="http://www.w3.org/2003/05/soap-envelope"><s:Body>
      <RegistryResponse xmlns="urn:oasis:names:tc:ebxml-regrep:xsd:rs:3.0"
       status="urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:Success"/></s:Body></s:Envelope>)",
      inviato);
  EXPECT_TRUE(ok.riuscito);
  EXPECT_EQ(ok.righe, (std::vector<std::string>{
                          "Revocato Consenso all'alimentazione del FSEr",
                          "Consenso all'alimentazione del FSEr con documenti pregressi"}));
  const EsitoInvio ko = LeggiEsitoInvio(
      R"(<RegistryResponse xmlns="urn:oasis:names:tc:ebxml-regrep:xsd:rs:3.0"
       status="urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:Failure"><RegistryErrorList>
       <RegistryError errorCode="XDSPatientIdDoesNotMatch" codeContext="Paziente sconosciuto"/>
       </RegistryErrorList></RegistryResponse>)",
      inviato);
  EXPECT_FALSE(ko.riuscito);
  EXPECT_TRUE(ko.righe.empty());
  EXPECT_EQ(ko.messaggio,
            "L'invio del consenso ha dato esito negativo\r\n"
            "XDSPatientIdDoesNotMatch:Paziente sconosciuto");
  const EsitoInvio vuota = LeggiEsitoInvio(" \r\n", inviato);
  EXPECT_FALSE(vuota.riuscito);
  EXPECT_EQ(vuota.messaggio, "Il servizio ha restituito una risposta vuota");
  EXPECT_FALSE(LeggiEsitoInvio("<RegistryResponse status=\"Success\"/>", inviato).riuscito);
  EXPECT_FALSE(LeggiEsitoInvio("non XML", inviato).riuscito);
}

TEST(InfoConsensoTest, OneLinePerKindWithDateNeverGivenOrWithdrawn) {
  xds::ConsensiInVigore c;
  c.per_tipo[0] = {"20250110093000", false, "ID-ALIM", "REP", {}};
  c.per_tipo[2] = {"20250215120000", true, "ID-PREG", "REP", {}};
  const auto righe = RigheInfoConsenso(c);
  std::vector<std::pair<std::string, IconaConsenso>> stati;
  for (const auto& riga : righe) stati.emplace_back(riga.stato, riga.icona);
  ASSERT_EQ(stati, (decltype(stati){{"10/01/2025", IconaConsenso::Rilasciato},
                                    {"Non rilasciato", IconaConsenso::NonRilasciato},
                                    {"Revocato", IconaConsenso::Revocato}}));
  EXPECT_EQ(righe[0].tipo, "Consenso all'alimentazione del FSEr");
}

}  // namespace
}  // namespace qzkiro::consent
