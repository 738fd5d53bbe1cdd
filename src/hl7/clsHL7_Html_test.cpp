#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "hl7/LettoreHL7_test.h"
#include "refhost/Base64.h"
#include "refhost/Input.h"

namespace qzkiro::hl7 {
namespace {

namespace fs = std::filesystem;
using prove::AmbienteConHost;
using prove::CaricaFile;
using prove::FileProva;
using prove::Lettore;
using prove::Messaggio;
using prove::Segmenti;

std::string Riga(const std::string& etichetta, const std::string& valore) {
  return "<tr><td style=\"background-color: rgb(240, 240, 240)\">" + etichetta + "</td><td>" +
         valore + "</td></tr>";
}

TEST(clsHL7AggiungiRiga, EscapesLabelAndValueAndBreaksLines) {
  AmbienteConHost env;
  // clang-format off
  struct Caso { const char* etichetta; const char* valore; std::string atteso; } casi[] = {
      {"Esito", "7 < 8 & ok", Riga("Esito", "7 &lt; 8 &amp; ok")},
      {"A<B", "uno\r\ndue\ntre", Riga("A&lt;B", "uno<br>due\ntre")},
      {"Vuoto", "", ""}, {"Spazi", "   ", ""}, {"Con spazi", " x ", Riga("Con spazi", " x ")},
  };
  // clang-format on
  for (const auto& caso : casi) {
    std::string html = "prima";
    clsHL7(core::AccessoDelContesto()).AggiungiRiga(html, caso.etichetta, caso.valore);
    EXPECT_EQ(html, "prima" + caso.atteso) << caso.etichetta;
  }
}

TEST(clsHL7Diabete, ReportPageListsVisitObservationsAndAdmissions) {
  AmbienteConHost env;
  Lettore l(CaricaFile(FileProva("diabete.xml")));
  auto& [xml, hl7] = l;
  hl7.InitParentNode(xml->SelectNode(xml->rootNode(),
                                     "ORU_R01.PIDPD1NK1NTEPV1PV2ORCOBRNTEOBXNTECTI_SUPPGRP/"
                                     "ORU_R01.ORCOBRNTEOBXNTECTI_SUPPGRP"));
  const std::string atteso =
      "<html><head><meta content=\"text/html; charset=UTF-8\" http-equiv=\"content-type\">"
      "<title>Report diabetologico</title></head><body><table border=\"1\">" +
      Riga("Codice Report", "DIA-2026-0042") + Riga("Data della visita", "01/12/2026") +
      Riga("Medico", "ROSSI MARIO") + Riga("Tipo Visita", "Controllo periodico") +
      Riga("Motivo Visita", "Follow-up diabete tipo 2") +
      Riga("Mobilit&#224;", "Paziente ambulabile") +
      Riga("Tipo paziente", "Paziente di nuova diagnosi") + Riga("Data inizio GI", "10/01/2025") +
      Riga("Motivo fine GI", "Trasferimento ad altro centro") +
      Riga("Data presa in carico", "10/01/2025") + Riga("Motivo fine carico", "Decesso") +
      Riga("HbA1c: Emoglobina glicata", "7.2 %") + Riga("Retinopatia", "Assente") +
      Riga("Note", "Paziente &lt;stabile&gt; &amp; collaborante<br>Dieta rispettata") +
      Riga("Ricovero",
           "Data ricovero: 01/03/2026<br>Data dimissione: 10/03/2026<br>"
           "Struttura: Ospedale dell&#39;Angelo - Mestre<br>Reparto: MEDICINA<br>"
           "Diagnosi ricovero: Iperglicemia<br>Diagnosi dimissione: Diabete scompensato") +
      "</table></body></html>";
  EXPECT_EQ(hl7.HTMLDiabete(), atteso);
  // The reader is left on the visit group.
  EXPECT_EQ(hl7.Mobilita(), "Paziente ambulabile");
  EXPECT_TRUE(fs::is_empty(env.CartellaHost().Path() / "temp"));
}

TEST(clsHL7Diabete, MessageWithoutTheGroupsGivesAnEmptyTable) {
  core::NuovoContesto();
  Lettore l(Messaggio("<PID/>", "ORU_R01"));
  EXPECT_EQ(l.hl7.HTMLDiabete(),
            "<html><head><meta content=\"text/html; charset=UTF-8\" "
            "http-equiv=\"content-type\"><title>Report diabetologico</title></head><body>"
            "<table border=\"1\"></table></body></html>");
  EXPECT_EQ(l.hl7.ParentNode(), nullptr);
}

TEST(clsHL7SalvaHTML, WritesTheBufferInAsciiUnderATimeName) {
  AmbienteConHost env;  // 6 December 2026, 10:30:00
  const fs::path cartella = env.CartellaHost().Path();
  std::string file = "invariato";
  EXPECT_FALSE(clsHL7(core::AccessoDelContesto()).SalvaHTML("", cartella.string(), file));
  EXPECT_EQ(file, "invariato");
  EXPECT_FALSE(clsHL7(core::AccessoDelContesto()).SalvaHTML("x", (cartella / "manca" / "qui").string(), file));
  EXPECT_EQ(file, "invariato");

  ASSERT_TRUE(clsHL7(core::AccessoDelContesto()).SalvaHTML("<p>Mobilità \u2013 ok</p>", cartella.string(), file));
  EXPECT_EQ(fs::path(file).parent_path(), cartella);
  EXPECT_TRUE(std::regex_match(fs::path(file).filename().string(),
                               std::regex("20261206103000[0-9]{3}\\.html")))
      << file;
  EXPECT_EQ(prove::LeggiTesto(file), "<p>Mobilit&#224; &#8211; ok</p>\r\n")
      << "every character beyond ASCII, above U+00FF too, as a reference";
}

TEST(clsHL7DatiRicovero, TheMessageTextsAreEscaped) {
  testsupport::AmbientePlugin env;
  Segmenti s(
      "<PV1><PV1.3><PL.9>A &amp; B &lt;i&gt;</PL.9></PV1.3></PV1>"
      "<PV2><PV2.2><CE.1>&lt;b&gt;RIC&lt;/b&gt;</CE.1></PV2.2></PV2>");
  EXPECT_EQ(s.hl7.DatiRicovero(),
            "Ricovero (ID: &lt;b&gt;RIC&lt;/b&gt;)<BR><BR>Reparto: A &amp; B &lt;i&gt;<BR>"
            "Regime: Ricovero<BR>");
}

TEST(clsHL7SalvaHTML, WithoutAHostTheNameHasNoMilliseconds) {
  testsupport::AmbientePlugin env;  // no host application set
  std::string file;
  ASSERT_TRUE(clsHL7(core::AccessoDelContesto()).SalvaHTML("<p/>", env.CartellaHost().Path().string(), file));
  EXPECT_EQ(fs::path(file).filename(), "20261206103000.html");
}

TEST(clsHL7RefertoDiabete, EachReportBecomesAPatientWithTheReportAttached) {
  AmbienteConHost env;
  auto xml = CaricaFile(FileProva("diabete.xml"));
  refhost::Input input;
  clsHL7 hl7{core::AccessoDelContesto()};
  ASSERT_TRUE(hl7.RefertoDiabeteToInput(*xml, input)) << hl7.LastError();
  const auto& chiamate = input.Chiamate();
  ASSERT_EQ(chiamate.size(), 2u);
  EXPECT_EQ(chiamate[0].membro, "AddPaziente");
  std::vector<std::string> valori;
  for (const auto& v : chiamate[0].argomenti) valori.push_back(v.ToText());
  // clang-format off
  EXPECT_EQ(valori, (std::vector<std::string>{
      "GLLLNE62D55G224W", "0509876543", "GIALLI", "ELENA", "F", "19620415", "PADOVA", "PD",
      "Via Po", "3", "PADOVA", "35121", "PD", "Via Dante", "8", "ABANO TERME", "35031", "PD",
      "elena.gialli@example.invalid", "049123456", "050106", "050106"}));
  // clang-format on
  EXPECT_EQ(chiamate[1].membro, "AddCustom");
  ASSERT_EQ(chiamate[1].argomenti.size(), 4u);
  auto record = chiamate[1].argomenti[0].As<refhost::RecordInput>();
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->Numero(), 1);
  EXPECT_EQ(chiamate[1].argomenti[1].ToText(), "Report diabetologico");
  EXPECT_EQ(chiamate[1].argomenti[2].ToText(), "20261201");
  EXPECT_EQ(refhost::Base64::Decodifica(chiamate[1].argomenti[3].ToText()), xml->XML());
}

TEST(clsHL7RefertoDiabete, ReportWithoutPatientDataIsRejected) {
  AmbienteConHost env;
  for (const std::string segmenti :
       {"<ORU_R01.X><ORU_R01.PIDPD1NK1NTEPV1PV2_SUPPGRP><PID><PID.8>F</PID.8></PID>"
        "</ORU_R01.PIDPD1NK1NTEPV1PV2_SUPPGRP></ORU_R01.X>",
        "<MSH/>"}) {
    auto xml = Messaggio(segmenti, "ORU_R01");
    refhost::Input input;
    clsHL7 hl7{core::AccessoDelContesto()};
    EXPECT_FALSE(hl7.RefertoDiabeteToInput(*xml, input)) << segmenti;
    EXPECT_EQ(hl7.LastError(), "Report diabetologico: Dati anagrafici assenti");
    EXPECT_TRUE(input.Chiamate().empty());
  }
}

}  // namespace
}  // namespace qzkiro::hl7
