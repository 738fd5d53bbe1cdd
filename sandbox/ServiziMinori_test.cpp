// The therapeutic-plan, IVAQ and vaccine-lot services of the sandbox, asked
// with hand-written requests over TLS: what they refuse and how. What they
// accept is driven end to end by tests/integration/servizi_test.cpp.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "sandbox/IdentityProvider.h"
#include "sandbox/Ivaq.h"
#include "sandbox/LottiVaccino.h"
#include "sandbox/PianiTerapeutici.h"
#include "sandbox/prova/ClienteCurl.h"
#include "sandbox/prova/Strumenti.h"

namespace qzkiro::sandbox {
namespace {

using Campi = std::vector<std::pair<std::string, std::string>>;
using Testi = std::vector<std::string>;

constexpr const char* kMedico = "RSSMRA70A01L736S";
constexpr const char* kAccountProva = "prova01:Lotti.26";
constexpr const char* kBianchi = "BNCGLI80A41L736C";
constexpr const char* kRossi = "RSSMRA45M41L736K";
constexpr const char* kWsse =
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd";
constexpr const char* kNsElenco =
    "http://elencoprotocollipianiterapeuticirichiesta.xsd.sanita.finanze.it";
constexpr const char* kNsVisualizza =
    "http://visualizzazionepianoterapeuticoaifarichiesta.xsd.sanita.finanze.it";
constexpr const char* kIdMessaggio = "urn:uuid:0f8fad5b-d9cb-469f-a165-70867728950e";

std::string Figli(const Campi& campi) {
  std::string xml;
  for (const auto& [nome, valore] : campi) xml += "<p:" + nome + ">" + valore + "</p:" + nome + ">";
  return xml;
}

std::string Basic(const std::string& account) {
  return "Authorization: Basic " + prova::Base64(account);
}

class ServiziMinoriTest : public ::testing::Test {
 protected:
  ServiziMinoriTest() { idp.AggiungiUtente("demo", "Kiro.2026"); }

  prova::Esito Chiama(const std::string& percorso, const std::string& corpo,
                      const Testi& intestazioni, const std::string& metodo = "POST") {
    return prova::Esegui(
        {sandbox.Url(percorso), metodo, corpo, intestazioni, pki.ClientP12(), "kiro", pki.Ca()});
  }

  // ---- therapeutic plans
  // The request of the list (`elenco`) or of the view in its envelope, with
  // `sicurezza` in the WS-Security header.
  std::string BustaPT(bool elenco, const Campi& campi, const std::string& sicurezza) {
    const std::string radice = elenco ? "ElencoProtocolliPianiTerapeuticiRichiesta"
                                      : "VisualizzazionePianoTerapeuticoAifaRichiesta";
    return "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "xmlns:wsse=\"" +
           std::string(kWsse) + "\" xmlns:p=\"" + (elenco ? kNsElenco : kNsVisualizza) +
           "\"><soapenv:Header><wsse:Security>" + sicurezza +
           "</wsse:Security></soapenv:Header><soapenv:Body><p:" + radice + ">" + Figli(campi) +
           "</p:" + radice + "></soapenv:Body></soapenv:Envelope>";
  }
  Campi Elenco(const std::string& cf = kBianchi) {
    return {{"cfMedico", kMedico},
            {"codRegione", "050"},
            {"codASLAo", "503"},
            {"codSpecializzazione", "F"},
            {"cfAssistito", prova::Cifra(pki.Fse(), cf)},
            {"listaPiani", "U"},
            {"listaPiani", "T"},
            {"listaPiani", "P"},
            {"dataInizioPeriodo", "19000101"},
            {"dataFinePeriodo", ""}};
  }
  Campi Vista(const std::string& protocollo, const std::string& cf = kBianchi) {
    return {{"cfMedico", kMedico},
            {"codRegione", "050"},
            {"codASLAo", "503"},
            {"codStruttura", "050503"},
            {"codSpecializzazione", "F"},
            {"numProtocollo", protocollo},
            {"cfAssistito", prova::Cifra(pki.Fse(), cf)}};
  }
  prova::Esito PostaPT(const std::string& servizio, const Campi& campi) {
    return Chiama(
        "/pt/" + servizio, BustaPT(servizio == "elenco", campi, Asserzione()),
        {"Content-Type: text/xml; charset=utf-8",
         "SOAPAction: \"" + std::string(ServiziPianiTerapeutici::Azione(servizio)) + "\""});
  }
  const std::string& Asserzione() {
    if (asserzione_.empty()) {
      asserzione_ = prova::Accedi(
          sandbox, pki,
          "<env:Body><saml:AttributeStatement xmlns:saml=\"urn:oasis:names:tc:SAML:2.0:assertion\">"
          "<saml:Attribute Name=\"RequestContext\"><saml:AttributeValue>C.1.1</saml:AttributeValue>"
          "</saml:Attribute></saml:AttributeStatement></env:Body>");
    }
    return asserzione_;
  }

  // ---- IVAQ
  std::string BustaIvaq(const std::string& message_id, const std::string& to,
                        const std::string& contenuto, const std::string& sicurezza) {
    return "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" "
           "xmlns:oas=\"" +
           std::string(kWsse) +
           "\" xmlns:add=\"http://www.w3.org/2005/08/addressing\"><soap:Header><oas:Security>" +
           sicurezza + "</oas:Security><add:MessageID>" + message_id + "</add:MessageID><add:To>" +
           to +
           "</add:To></soap:Header><soap:Body><urn:FlussoIVAQC xmlns:urn=\"urn:rve:indiceivaqc\" "
           "xmlns=\"urn:rve:indiceivaqc\">" +
           contenuto + "</urn:FlussoIVAQC></soap:Body></soap:Envelope>";
  }

  Pki pki = Pki::DellaCompilazione();
  Sandbox sandbox{pki};
  IdentityProvider idp{sandbox, pki.ChiaveIdp(), "/iap"};
  ServiziPianiTerapeutici piani{sandbox, pki.ChiaveFse(), "/pt", &idp};
  ServizioIvaq ivaq{sandbox, "/ivaq", &idp};
  // A test account of its own: the add-on's is not written anywhere in clear.
  ServizioLottiVaccino lotti{sandbox, ServizioLottiVaccino::Impronta(kAccountProva)};
  std::string asserzione_;
};

TEST_F(ServiziMinoriTest, WrongDataIsAnsweredWithTheReceiptsErrorList) {
  Campi indecifrabile = Elenco();
  indecifrabile[4].second = prova::Cifra(pki.Idp(), kBianchi);
  Campi medico = Elenco();
  medico[0].second = "RSSMRA";
  medico[1].second = "05A";
  Campi periodo = Elenco();
  periodo[8].second = "20260231";
  Campi rovesciato = Elenco();
  rovesciato[8].second = "20260301";
  rovesciato[9].second = "20260201";
  const struct {
    const char* servizio;
    Campi campi;
    Testi codici;
  } casi[] = {
      {"elenco", indecifrabile, {"1060"}},
      {"elenco", medico, {"1010", "1020"}},
      {"elenco", periodo, {"1050"}},
      {"elenco", rovesciato, {"1050"}},
      {"visualizza", Vista("PT0000000000"), {"4040"}},
      {"visualizza", Vista(pt::kPianoRecente, kRossi), {"4041"}},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.codici.front());
    const prova::Esito e = PostaPT(caso.servizio, caso.campi);
    EXPECT_EQ(prova::Xpath(e.corpo, "//*[local-name()='Errore']/*[local-name()='codEsito']"),
              caso.codici);
    EXPECT_EQ(prova::Primo(e.corpo, "/*/*/*/*[local-name()='codEsito']"), "2222");
    EXPECT_EQ(
        prova::Primo(e.corpo, "//*[local-name()='documento' or local-name()='numProtocollo']"),
        "<assente>");
  }
}

TEST_F(ServiziMinoriTest, APlanRequestThatBreaksTheServicesRulesGetsAClientFault) {
  Campi disordine = Elenco();
  std::swap(disordine[1], disordine[2]);
  Campi due_tipi = Elenco();
  due_tipi.erase(due_tipi.begin() + 7);
  Campi tipi_sbagliati = Elenco();
  tipi_sbagliati[5].second = "P";
  tipi_sbagliati[7].second = "U";
  Campi in_piu = Vista(pt::kPianoRecente);
  in_piu.emplace_back("note", "x");
  std::string estranea = Asserzione();
  estranea.replace(estranea.find("ID=\"") + 4, 3, "XYZ");
  const std::string vista(ServiziPianiTerapeutici::Azione("visualizza"));
  const std::string elenco(ServiziPianiTerapeutici::Azione("elenco"));
  struct Caso {
    const char* servizio;
    bool radice_elenco;  // the list's request element, else the view's
    Campi campi;
    std::string azione, tipo, sicurezza;
    std::string fault;
  };
  const Caso casi[] = {
      {"elenco", true, Elenco(), "", "application/soap+xml", Asserzione(),
       "Content-Type non ammesso per SOAP 1.1: 'application/soap+xml' (atteso text/xml)"},
      {"elenco", true, Elenco(), vista, "text/xml", Asserzione(),
       "SOAPAction non corrispondente al servizio: '" + vista + "' (attesa '" + elenco + "')"},
      {"visualizza", true, Elenco(), "", "text/xml", Asserzione(),
       "Richiesta inattesa: ElencoProtocolliPianiTerapeuticiRichiesta"},
      {"elenco", true, disordine, "", "text/xml", Asserzione(),
       "Richiesta non conforme: elemento 'codRegione' mancante o fuori posto"},
      {"elenco", true, due_tipi, "", "text/xml", Asserzione(),
       "Richiesta non conforme: elemento 'listaPiani' mancante o fuori posto"},
      {"elenco", true, tipi_sbagliati, "", "text/xml", Asserzione(),
       "Richiesta non conforme: listaPiani deve elencare U, T e P in quest'ordine"},
      {"visualizza", false, in_piu, "", "text/xml", Asserzione(),
       "Richiesta non conforme: elemento 'note' inatteso"},
      {"elenco", true, Elenco(), "", "text/xml", "", "ERR_00011 - Asserzione mancante"},
      {"elenco", true, Elenco(), "", "text/xml", estranea, "ERR_00011 - Asserzione non valida"},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.fault);
    const std::string azione = caso.azione.empty()
                                   ? std::string(ServiziPianiTerapeutici::Azione(caso.servizio))
                                   : caso.azione;
    const prova::Esito e = Chiama(std::string("/pt/") + caso.servizio,
                                  BustaPT(caso.radice_elenco, caso.campi, caso.sicurezza),
                                  {"Content-Type: " + caso.tipo, "SOAPAction: " + azione});
    EXPECT_EQ(e.stato, 500);
    EXPECT_EQ(prova::Primo(e.corpo, "//faultstring"), caso.fault);
    EXPECT_EQ(prova::Primo(e.corpo, "//faultcode"), "soap:Client");
  }
  EXPECT_TRUE(piani.Richieste().empty()) << "no refused request reaches the service's data";
}

TEST_F(ServiziMinoriTest, EveryBrokenRuleOfAnIvaqFlowIsASoap12Fault) {
  const std::string contenuto = "<Testata><Periodo>2026</Periodo></Testata><Indice>4</Indice>";
  struct Caso {
    std::string busta, tipo;
    const char* testo;
  };
  const Caso casi[] = {
      {BustaIvaq(kIdMessaggio, "http://SAR", contenuto, Asserzione()), "text/xml",
       "Content-Type non ammesso per SOAP 1.2"},
      {BustaIvaq("urn:uuid:0F8FAD5B-D9CB-469F-A165-70867728950E", "http://SAR", contenuto,
                 Asserzione()),
       "", "wsa:MessageID non valido"},
      {BustaIvaq(kIdMessaggio, "http://altro", contenuto, Asserzione()), "",
       "wsa:To inatteso: 'http://altro'"},
      {BustaIvaq(kIdMessaggio, "http://SAR", contenuto, ""), "", "ERR_00011 - Asserzione mancante"},
      {BustaIvaq(kIdMessaggio, "http://SAR", "<x:Indice xmlns:x=\"urn:altro\">4</x:Indice>",
                 Asserzione()),
       "", "elemento 'Indice' fuori dal namespace urn:rve:indiceivaqc"},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.testo);
    const prova::Esito f =
        Chiama("/ivaq", caso.busta,
               {"Content-Type: " +
                (caso.tipo.empty() ? "application/soap+xml;charset=UTF-8" : caso.tipo)});
    EXPECT_EQ(f.stato, 400);
    EXPECT_EQ(prova::Primo(f.corpo, "//*[local-name()='Value']"), "env:Sender");
    EXPECT_NE(prova::Primo(f.corpo, "//*[local-name()='Detail']/error/text").find(caso.testo),
              std::string::npos)
        << f.corpo;
  }
  EXPECT_TRUE(ivaq.Flussi().empty());
}

TEST_F(ServiziMinoriTest, TheLotSearchWantsItsAccountAndOneCode) {
  const std::string account = Basic(kAccountProva);
  const std::string org = "&organization=urn:oid:2.16.840.1.113883.2.9.4.1.1%7C050503";
  const struct {
    std::string query, autorizzazione;
    int stato;
  } casi[] = {
      {"princVacc=150" + org, "", 401},
      {"princVacc=150" + org, Basic("prova01:Lotti.27"), 401},
      {"princVacc=150&aic=045123019" + org, account, 400},
      {"princVacc=150", account, 400},
      {"princVacc=150&organization=urn:oid:2.16.840.1.113883.2.9.4.1.1%7C0505", account, 400},
      {"princVacc=150&organization=urn:oid:1.2.3%7C050503", account, 400},
      {"princVacc=150&extra=1" + org, account, 400},
      {"princVacc=%zz" + org, account, 400},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.query);
    const prova::Esito e =
        Chiama(std::string(ServizioLottiVaccino::kPercorso) + "?" + caso.query, "",
               caso.autorizzazione.empty() ? Testi{} : Testi{caso.autorizzazione}, "GET");
    EXPECT_EQ(e.stato, caso.stato) << e.corpo;
    EXPECT_FALSE(e.corpo.empty()) << "the refusal says why";
    EXPECT_EQ(e.Intestazione("WWW-Authenticate"),
              caso.stato == 401 ? "Basic realm=\"InfoLotti\"" : "");
  }
}

// The simulator's files (compared with data/Simulatore by the integration
// tests) are the live answers of the same requests.
TEST_F(ServiziMinoriTest, TheSimulatorFilesAreTheAnswersOfTheFixedData) {
  const auto pt = ServiziPianiTerapeutici::FileSimulatore();
  ASSERT_EQ(pt.size(), 2u);
  EXPECT_EQ(pt[0].second, PostaPT("elenco", Elenco()).corpo);
  EXPECT_EQ(pt[1].second, PostaPT("visualizza", Vista(pt::kPianoRecente)).corpo);
  const auto iv = ServizioIvaq::FileSimulatore();
  ASSERT_EQ(iv.size(), 1u);
  EXPECT_EQ(prova::Primo(iv[0].second, "//*[local-name()='codEsito']"), "0000");
  const auto lo = ServizioLottiVaccino::FileSimulatore();
  ASSERT_EQ(lo.size(), 1u);
  EXPECT_EQ(lo[0].second,
            Chiama(std::string(ServizioLottiVaccino::kPercorso) +
                       "?princVacc=150&organization=urn:oid:2.16.840.1.113883.2.9.4.1.1%7C050503",
                   "", {Basic(kAccountProva)}, "GET")
                .corpo);
}

}  // namespace
}  // namespace qzkiro::sandbox
