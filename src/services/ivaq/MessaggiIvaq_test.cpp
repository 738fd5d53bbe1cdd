#include "services/ivaq/MessaggiIvaq.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace qzkiro::ivaq {
namespace {

using Tipo = EsitoIvaq::Tipo;

TEST(MessaggiIvaqTest, TheFlowIsCutToTheContentOfItsElement) {
  const std::pair<std::string, std::optional<std::string>> casi[] = {
      {"<?xml version=\"1.0\"?><FlussoIVAQC xmlns=\"urn:rve:indiceivaqc\" versione=\"1\">"
       "<Testata><CodiceMedico>123</CodiceMedico></Testata><Indice>4</Indice></FlussoIVAQC>",
       "<Testata><CodiceMedico>123</CodiceMedico></Testata><Indice>4</Indice>"},
      {"<Invio><FlussoIVAQC>\r\n  <A/>\r\n</FlussoIVAQC></Invio>", "\r\n  <A/>\r\n"},
      {"<FlussoIVAQC></FlussoIVAQC>", ""},
      {"<FlussoIVAQC/>", std::nullopt},
      {"<FlussoIVAQC><A/>", std::nullopt},
      {"<FlussoPDTA><A/></FlussoPDTA>", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [documento, contenuto] : casi) {
    EXPECT_EQ(ContenutoFlusso(documento), contenuto) << documento;
  }
}

TEST(MessaggiIvaqTest, TheEnvelopeIsSoap12WithSecurityAndAddressingHeaders) {
  EXPECT_EQ(BustaIvaq("<Indice>4</Indice>", "urn:uuid:0f8fad5b-d9cb-469f-a165-70867728950e"),
            "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" "
            "xmlns:urn=\"urn:rve:indiceivaqc\" "
            "xmlns:oas=\"http://docs.oasis-open.org/wss/2004/01/"
            "oasis-200401-wss-wssecurity-secext-1.0.xsd\" "
            "xmlns:add=\"http://www.w3.org/2005/08/addressing\">"
            "<soap:Header><oas:Security>[Asserzione]</oas:Security>"
            "<add:MessageID>urn:uuid:0f8fad5b-d9cb-469f-a165-70867728950e</add:MessageID>"
            "<add:To>http://SAR</add:To></soap:Header>"
            "<soap:Body><urn:FlussoIVAQC xmlns=\"urn:rve:indiceivaqc\"><Indice>4</Indice>"
            "</urn:FlussoIVAQC></soap:Body></soap:Envelope>");
}

std::string Busta12(const std::string& corpo) {
  return "<env:Envelope xmlns:env=\"http://www.w3.org/2003/05/soap-envelope\"><env:Body>" + corpo +
         "</env:Body></env:Envelope>";
}

std::string Ricevuta(const std::string& contenuto) {
  return Busta12("<r:FlussoIVAQCRicevuta xmlns:r=\"urn:rve:indiceivaqc\">" + contenuto +
                 "</r:FlussoIVAQCRicevuta>");
}

TEST(MessaggiIvaqTest, EachAnswerGivesItsOutcomeAndText) {
  struct Caso {
    const char* nome;
    std::string risposta;
    Tipo tipo;
    const char* testo;
  };
  const Caso casi[] = {
      {"accepted", Ricevuta("<r:codEsito>0000</r:codEsito>"), Tipo::kAccettato, ""},
      {"refused with errors and messages",
       Ricevuta("<r:codEsito>2222</r:codEsito><r:ElencoErrori><r:ErroreFlusso><r:codEsito>E01"
                "</r:codEsito><r:esito>Indice fuori intervallo</r:esito></r:ErroreFlusso>"
                "<r:ErroreFlusso><r:codEsito>E02</r:codEsito><r:esito>Periodo errato</r:esito>"
                "</r:ErroreFlusso></r:ElencoErrori><r:ElencoComunicazioni><r:Comunicazione>"
                "<r:codice>INFO</r:codice><r:messaggio>Riprovare domani</r:messaggio>"
                "</r:Comunicazione></r:ElencoComunicazioni>"),
       Tipo::kRifiutato,
       "Codice Esito: 2222\r\nE01 - Indice fuori intervallo\r\nE02 - Periodo errato\r\n"
       "INFO - Riprovare domani"},
      {"refused alone", Ricevuta("<r:codEsito>9999</r:codEsito>"), Tipo::kRifiutato,
       "Codice Esito: 9999"},
      {"SOAP 1.2 fault",
       Busta12("<env:Fault><env:Code><env:Value>env:Receiver</env:Value></env:Code><env:Reason>"
               "<env:Text xml:lang=\"it\">Errore interno</env:Text></env:Reason><env:Detail>"
               "<error><code>500</code><text>Flusso non elaborato</text></error></env:Detail>"
               "</env:Fault>"),
       Tipo::kFault, "env:Receiver - Flusso non elaborato"},
      {"SOAP 1.2 fault without detail",
       Busta12("<env:Fault><env:Code><env:Value>env:Sender</env:Value></env:Code><env:Reason>"
               "<env:Text xml:lang=\"it\">Asserzione mancante</env:Text></env:Reason></env:Fault>"),
       Tipo::kFault, "env:Sender - Asserzione mancante"},
      {"SOAP 1.1 fault",
       "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body><s:Fault>"
       "<faultcode>s:Server</faultcode><faultstring>Servizio sospeso</faultstring></s:Fault>"
       "</s:Body></s:Envelope>",
       Tipo::kFault, "Servizio sospeso"},
      {"empty", "", Tipo::kVuota, "Il servizio ha restituito una risposta vuota"},
      {"not XML", "<html><body>Bad gateway", Tipo::kIlleggibile,
       "Non è stato possibile leggere la risposta"},
      {"no receipt", Busta12("<Altro/>"), Tipo::kIlleggibile,
       "Non è stato possibile leggere la risposta"},
      {"receipt without outcome", Ricevuta(""), Tipo::kIlleggibile,
       "Non è stato possibile leggere la risposta"},
  };
  for (const Caso& caso : casi) {
    const EsitoIvaq esito = LeggiRispostaIvaq(caso.risposta);
    EXPECT_EQ(esito.tipo, caso.tipo) << caso.nome;
    EXPECT_EQ(esito.testo, caso.testo) << caso.nome;
  }
}

}  // namespace
}  // namespace qzkiro::ivaq
