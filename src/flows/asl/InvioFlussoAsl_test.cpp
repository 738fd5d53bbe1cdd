#include "flows/asl/InvioFlussoAsl.h"

#include <gtest/gtest.h>

#include "flows/asl/CredenzialiACN.h"

namespace qzkiro::asl {
namespace {

TEST(BustaFlussoAsl, TheContactUploadIsWrittenFieldByFieldInTheServicesOrder) {
  EXPECT_EQ(BustaInvioFlusso("PD94\r\nbWw=", "nome_file.xml", "utente", "p<&>\"w"),
            "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
            "xmlns:ws=\"it/insielmercato/flussocontattimmg/ws\"><soapenv:Header/><soapenv:Body>"
            "<ws:invioFlusso><arg0><data>PD94\r\nbWw=</data><mimeType>text/xml</mimeType>"
            "<fileName>nome_file.xml</fileName><tipoFlusso>MMG</tipoFlusso>"
            "<password>p&lt;&amp;&gt;&quot;w</password><username>utente</username>"
            "<zipped>false</zipped></arg0></ws:invioFlusso></soapenv:Body></soapenv:Envelope>");
  EXPECT_EQ(BustaInvioPdta("RSSMRA70A01L736S", "u", "p", "RSSMRA70A01L736S_01012022_31122022",
                           "<?xml version=\"1.0\"?><records/>"),
            "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
            "xmlns:ws=\"it/insielmercato/flussocontattimmg/ws\"><soapenv:Header/><soapenv:Body>"
            "<ws:invioPdta><arg0><cfMedico>RSSMRA70A01L736S</cfMedico><username>u</username>"
            "<password>p</password><idFile>RSSMRA70A01L736S_01012022_31122022</idFile>"
            "<file>&lt;?xml version=&quot;1.0&quot;?&gt;&lt;records/&gt;</file></arg0>"
            "</ws:invioPdta></soapenv:Body></soapenv:Envelope>");
}

TEST(EsitoFlussoAsl, TheAnswerGivesItsCodeDescriptionAndEveryError) {
  const std::string rifiuto =
      "<S:Envelope xmlns:S=\"http://schemas.xmlsoap.org/soap/envelope/\"><S:Body>"
      "<ns2:invioFlussoResponse xmlns:ns2=\"it/insielmercato/flussocontattimmg/ws\"><return>"
      "<codice>2</codice><descrizione>Flusso scartato</descrizione>"
      "<errori><descrizioneErrore>assistito 1: sesso non valido</descrizioneErrore>"
      "<descrizioneErrore>assistito 2: nessun contatto</descrizioneErrore></errori>"
      "<errori><descrizioneErrore>periodo non valido</descrizioneErrore></errori>"
      "</return></ns2:invioFlussoResponse></S:Body></S:Envelope>";
  const auto esito = LeggiEsitoFlussoAsl(rifiuto, "invioFlusso");
  EXPECT_FALSE(esito.Accettato());
  EXPECT_EQ(esito.Messaggio("/tmp/ACN.xml"),
            "Flusso scartato\r\nassistito 1: sesso non valido\r\nassistito 2: nessun contatto\r\n"
            "periodo non valido\r\nFile di origine: /tmp/ACN.xml");
  EXPECT_FALSE(LeggiEsitoFlussoAsl(rifiuto, "invioPdta").Accettato())
      << "another operation's answer is no acceptance";

  std::string accettato = rifiuto;
  accettato.replace(accettato.find("<codice>2"), 9, "<codice>0");
  EXPECT_FALSE(LeggiEsitoFlussoAsl(accettato, "invioFlusso").Accettato()) << "errors listed";
  const auto ok = LeggiEsitoFlussoAsl(
      "<S:Envelope xmlns:S=\"http://schemas.xmlsoap.org/soap/envelope/\"><S:Body>"
      "<invioPdtaResponse><return><codice>0</codice></return></invioPdtaResponse></S:Body>"
      "</S:Envelope>",
      "invioPdta");
  EXPECT_TRUE(ok.Accettato());
  EXPECT_EQ(ok.Messaggio("x"), "Codice 0\r\nFile di origine: x");

  const auto html = LeggiEsitoFlussoAsl("<html><body>Bad gateway", "invioFlusso");
  EXPECT_FALSE(html.letto);
  EXPECT_FALSE(html.Accettato());
}

TEST(CredenzialiACN, OnlyAThreeFieldRecordOfTheProgramIsTakenBack) {
  frmAccessoACN form;
  form.Testo1 = "mario.rossi";
  form.Testo2 = "pass word";
  const std::string record = RecordCredenzialiACN(form);
  EXPECT_EQ(record, "Curalis\tpass word\tmario.rossi") << "the second field first";
  const auto letto = LeggiRecordCredenzialiACN(record);
  ASSERT_TRUE(letto);
  EXPECT_EQ(letto->Testo1, "mario.rossi");
  EXPECT_EQ(letto->Testo2, "pass word");
  for (const char* rifiutato :
       {"Altro\tp\tu", "Curalis\tp", "Curalis\tp\tu\tx", "curalis\tp\tu", "", "Curalis p u"}) {
    EXPECT_FALSE(LeggiRecordCredenzialiACN(rifiutato)) << rifiutato;
  }
  EXPECT_TRUE(LeggiRecordCredenzialiACN("Curalis\t\t")) << "empty fields are still a record";
}

}  // namespace
}  // namespace qzkiro::asl
