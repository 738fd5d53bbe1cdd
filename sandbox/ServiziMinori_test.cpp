// The therapeutic-plan, IVAQ and vaccine-lot services of the sandbox, asked
// with hand-written requests over TLS.

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "sandbox/IdentityProvider.h"
#include "sandbox/Ivaq.h"
#include "sandbox/LottiVaccino.h"
#include "sandbox/PianiTerapeutici.h"
#include "sandbox/prova/ClienteCurl.h"
#include "sandbox/prova/Strumenti.h"
#include "support/DatiPubblici.h"

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

std::string Figli(const Campi& campi) {
  std::string xml;
  for (const auto& [nome, valore] : campi) xml += "<p:" + nome + ">" + valore + "</p:" + nome + ">";
  return xml;
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
  std::string BustaPT(const std::string& radice, const std::string& ns, const Campi& campi,
                      const std::string& sicurezza) {
    return "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "xmlns:wsse=\"" +
           std::string(kWsse) + "\" xmlns:p=\"" + ns + "\"><soapenv:Header><wsse:Security>" +
           sicurezza + "</wsse:Security></soapenv:Header><soapenv:Body><p:" + radice + ">" +
           Figli(campi) + "</p:" + radice + "></soapenv:Body></soapenv:Envelope>";
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
  prova::Esito PostaPT(const std::string& servizio, const Campi& campi,
                       const std::string& azione = {}, const std::string& tipo = "text/xml") {
    const bool elenco = servizio == "elenco";
    const std::string busta = BustaPT(elenco ? "ElencoProtocolliPianiTerapeuticiRichiesta"
                                             : "VisualizzazionePianoTerapeuticoAifaRichiesta",
                                      elenco ? kNsElenco : kNsVisualizza, campi, Asserzione());
    const std::string soap_action =
        azione.empty() ? std::string(ServiziPianiTerapeutici::Azione(servizio)) : azione;
    return Chiama(
        "/pt/" + servizio, busta,
        {"Content-Type: " + tipo + "; charset=utf-8", "SOAPAction: \"" + soap_action + "\""});
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
  prova::Esito PostaIvaq(const std::string& busta,
                         const std::string& tipo = "application/soap+xml;charset=UTF-8") {
    return Chiama("/ivaq", busta, {"Content-Type: " + tipo});
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

constexpr const char* kIdMessaggio = "urn:uuid:0f8fad5b-d9cb-469f-a165-70867728950e";

TEST_F(ServiziMinoriTest, ThePlanListGivesThePatientsPlansByTopicAndPeriod) {
  struct Caso {
    const char* nome;
    Campi cambi;
    Testi protocolli;
  };
  const Caso casi[] = {
      {"every plan", {}, {"PT2025000050", "PT2026000101", "PT2026000102"}},
      {"by topic", {{"argomento", "diabete"}}, {"PT2025000050", "PT2026000101"}},
      {"from 2026-02-01", {{"dataInizioPeriodo", "20260201"}}, {"PT2026000101", "PT2026000102"}},
      {"up to 2025-12-31", {{"dataFinePeriodo", "20251231"}}, {"PT2025000050"}},
  };
  for (const Caso& caso : casi) {
    Campi campi = Elenco();
    for (const auto& [nome, valore] : caso.cambi) {
      auto campo =
          std::find_if(campi.begin(), campi.end(), [&](const auto& c) { return c.first == nome; });
      if (campo != campi.end()) {
        campo->second = valore;
      } else {
        campi.insert(campi.begin() + 5, {nome, valore});  // the topic follows the patient
      }
    }
    const prova::Esito e = PostaPT("elenco", campi);
    EXPECT_EQ(e.stato, 200) << caso.nome << e.corpo;
    EXPECT_EQ(prova::Primo(e.corpo, "//*[local-name()='codEsito']"), "0000") << caso.nome;
    EXPECT_EQ(prova::Xpath(e.corpo, "//*[local-name()='numProtocollo']"), caso.protocolli)
        << caso.nome;
  }
  EXPECT_EQ(piani.Richieste().back().cf_paziente, kBianchi) << "decrypted with the fse key";
  const prova::Esito rossi = PostaPT("elenco", Elenco(kRossi));
  EXPECT_TRUE(prova::Xpath(rossi.corpo, "//*[local-name()='listaProtocolliPT']").empty());
  const prova::Esito e = PostaPT("elenco", Elenco());
  EXPECT_EQ(prova::Xpath(e.corpo, "//*[local-name()='dataInizioValidita']"),
            (Testi{"2025-01-05", "2026-01-10", "2026-03-01"}));
  EXPECT_EQ(sandbox.Richieste("/pt/elenco").back().esito_validazione,
            testsupport::CampioniPresenti() ? "valida" : "non validata");
}

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
  const std::pair<std::string, Campi> elenchi[] = {
      {"1060", indecifrabile}, {"1010 1020", medico}, {"1050", periodo}, {"1050", rovesciato}};
  for (const auto& [codici, campi] : elenchi) {
    const prova::Esito e = PostaPT("elenco", campi);
    std::string letti;
    for (const auto& c :
         prova::Xpath(e.corpo, "//*[local-name()='Errore']/*[local-name()='codEsito']")) {
      letti += (letti.empty() ? "" : " ") + c;
    }
    EXPECT_EQ(letti, codici);
    EXPECT_EQ(prova::Primo(e.corpo, "/*/*/*/*[local-name()='codEsito']"), "2222") << codici;
  }
  const std::pair<std::string, Campi> viste[] = {{"4040", Vista("PT0000000000")},
                                                 {"4041", Vista(pt::kPianoRecente, kRossi)}};
  for (const auto& [codice, campi] : viste) {
    const prova::Esito e = PostaPT("visualizza", campi);
    EXPECT_EQ(prova::Primo(e.corpo, "//*[local-name()='Errore']/*[local-name()='codEsito']"),
              codice);
    EXPECT_EQ(prova::Primo(e.corpo, "//*[local-name()='documento']"), "<assente>");
  }
}

TEST_F(ServiziMinoriTest, TheViewGivesThePlanAsAPdf) {
  const prova::Esito e = PostaPT("visualizza", Vista(pt::kPianoRecente));
  EXPECT_EQ(prova::Primo(e.corpo, "//*[local-name()='codEsito']"), "0000");
  const std::string documento = prova::Primo(e.corpo, "//*[local-name()='documento']");
  std::string pdf(documento.size(), '\0');
  pdf.resize(static_cast<std::size_t>(
      EVP_DecodeBlock(reinterpret_cast<unsigned char*>(pdf.data()),
                      reinterpret_cast<const unsigned char*>(documento.data()),
                      static_cast<int>(documento.size()))));
  EXPECT_TRUE(pdf.starts_with("%PDF-1.4"));
  EXPECT_NE(pdf.find("Piano terapeutico PT2026000102 - Apixaban"), std::string::npos);
  EXPECT_EQ(piani.Richieste().back().protocollo, pt::kPianoRecente);
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
  struct Caso {
    const char* servizio;
    bool radice_elenco;  // the list's request element, else the view's
    Campi campi;
    std::string azione, tipo;
    const char* fault;
  };
  const Caso casi[] = {
      {"elenco", true, Elenco(), "", "application/soap+xml",
       "Content-Type non ammesso per SOAP 1.1"},
      {"elenco", true, Elenco(), ServiziPianiTerapeutici::Azione("visualizza").data(), "text/xml",
       "SOAPAction non corrispondente al servizio"},
      {"visualizza", true, Elenco(), "", "text/xml",
       "Richiesta inattesa: ElencoProtocolliPianiTerapeuticiRichiesta"},
      {"elenco", true, disordine, "", "text/xml",
       "Richiesta non conforme: elemento 'codRegione' mancante o fuori posto"},
      {"elenco", true, due_tipi, "", "text/xml",
       "Richiesta non conforme: elemento 'listaPiani' mancante o fuori posto"},
      {"elenco", true, tipi_sbagliati, "", "text/xml",
       "Richiesta non conforme: listaPiani deve elencare U, T e P in quest'ordine"},
      {"visualizza", false, in_piu, "", "text/xml",
       "Richiesta non conforme: elemento 'note' inatteso"},
  };
  for (const Caso& caso : casi) {
    const std::string busta =
        BustaPT(caso.radice_elenco ? "ElencoProtocolliPianiTerapeuticiRichiesta"
                                   : "VisualizzazionePianoTerapeuticoAifaRichiesta",
                caso.radice_elenco ? kNsElenco : kNsVisualizza, caso.campi, Asserzione());
    const std::string azione = caso.azione.empty()
                                   ? std::string(ServiziPianiTerapeutici::Azione(caso.servizio))
                                   : caso.azione;
    const prova::Esito e = Chiama(std::string("/pt/") + caso.servizio, busta,
                                  {"Content-Type: " + caso.tipo, "SOAPAction: " + azione});
    EXPECT_EQ(e.stato, 500) << caso.fault;
    EXPECT_NE(prova::Primo(e.corpo, "//faultstring").find(caso.fault), std::string::npos)
        << e.corpo;
    EXPECT_EQ(prova::Primo(e.corpo, "//faultcode"), "soap:Client");
  }
  const prova::Esito senza = Chiama(
      "/pt/elenco", BustaPT("ElencoProtocolliPianiTerapeuticiRichiesta", kNsElenco, Elenco(), ""),
      {"Content-Type: text/xml",
       std::string("SOAPAction: ") + ServiziPianiTerapeutici::Azione("elenco").data()});
  EXPECT_EQ(prova::Primo(senza.corpo, "//faultstring"), "ERR_00011 - Asserzione mancante");
  std::string altra = Asserzione();
  altra.replace(altra.find("ID=\"") + 4, 3, "XYZ");
  const prova::Esito estranea =
      Chiama("/pt/elenco",
             BustaPT("ElencoProtocolliPianiTerapeuticiRichiesta", kNsElenco, Elenco(), altra),
             {"Content-Type: text/xml",
              std::string("SOAPAction: ") + ServiziPianiTerapeutici::Azione("elenco").data()});
  EXPECT_EQ(prova::Primo(estranea.corpo, "//faultstring"), "ERR_00011 - Asserzione non valida");
}

TEST_F(ServiziMinoriTest, ScriptedPlanAnswersComeOneEachInOrder) {
  using E = ServiziPianiTerapeutici::Esito;
  for (E esito : {E::kErrori, E::kCodiceSenzaErrori, E::kAnomala, E::kVuota, E::kFault}) {
    piani.Programma(esito);
  }
  const prova::Esito errori = PostaPT("elenco", Elenco());
  EXPECT_EQ(prova::Xpath(errori.corpo, "//*[local-name()='Errore']/*[local-name()='codEsito']"),
            (Testi{"3001", "3002"}));
  EXPECT_EQ(prova::Primo(PostaPT("visualizza", Vista(pt::kPianoRecente)).corpo,
                         "/*/*/*/*[local-name()='codEsito']"),
            "9999");
  EXPECT_EQ(prova::Primo(PostaPT("elenco", Elenco()).corpo, "//*[local-name()='codEsito']"),
            "<assente>");
  const prova::Esito vuota = PostaPT("elenco", Elenco());
  EXPECT_EQ(vuota.stato, 200);
  EXPECT_EQ(vuota.corpo, "");
  const prova::Esito fault = PostaPT("elenco", Elenco());
  EXPECT_EQ(fault.stato, 500);
  EXPECT_EQ(prova::Primo(fault.corpo, "//faultstring"), "Errore interno del servizio PT");
  EXPECT_EQ(
      prova::Xpath(PostaPT("elenco", Elenco()).corpo, "//*[local-name()='numProtocollo']").size(),
      3u)
      << "the script is used up";
}

TEST_F(ServiziMinoriTest, AnIvaqFlowIsAcceptedAndEveryBrokenRuleIsASoap12Fault) {
  const std::string contenuto = "<Testata><Periodo>2026</Periodo></Testata><Indice>4</Indice>";
  const prova::Esito e = PostaIvaq(BustaIvaq(kIdMessaggio, "http://SAR", contenuto, Asserzione()));
  EXPECT_EQ(e.stato, 200) << e.corpo;
  EXPECT_EQ(prova::Primo(e.corpo, "//*[local-name()='codEsito']"), "0000");
  EXPECT_EQ(prova::Primo(e.corpo, "//*[local-name()='RelatesTo']"), kIdMessaggio);
  ASSERT_EQ(ivaq.Flussi().size(), 1u);
  EXPECT_EQ(ivaq.Flussi()[0].elementi, (Testi{"Testata", "Indice"}));
  EXPECT_EQ(ivaq.Flussi()[0].message_id, kIdMessaggio);
  EXPECT_EQ(sandbox.Richieste("/ivaq").back().esito_validazione,
            testsupport::CampioniPresenti() ? "valida" : "non validata");

  struct Caso {
    std::string busta, tipo;
    int stato;
    const char* testo;
  };
  const Caso casi[] = {
      {BustaIvaq(kIdMessaggio, "http://SAR", contenuto, Asserzione()), "text/xml", 400,
       "Content-Type non ammesso per SOAP 1.2"},
      {BustaIvaq("urn:uuid:0F8FAD5B-D9CB-469F-A165-70867728950E", "http://SAR", contenuto,
                 Asserzione()),
       "", 400, "wsa:MessageID non valido"},
      {BustaIvaq(kIdMessaggio, "http://altro", contenuto, Asserzione()), "", 400,
       "wsa:To inatteso: 'http://altro'"},
      {BustaIvaq(kIdMessaggio, "http://SAR", contenuto, ""), "", 400,
       "ERR_00011 - Asserzione mancante"},
      {BustaIvaq(kIdMessaggio, "http://SAR", "<x:Indice xmlns:x=\"urn:altro\">4</x:Indice>",
                 Asserzione()),
       "", 400, "elemento 'Indice' fuori dal namespace urn:rve:indiceivaqc"},
  };
  for (const Caso& caso : casi) {
    const prova::Esito f =
        caso.tipo.empty() ? PostaIvaq(caso.busta) : PostaIvaq(caso.busta, caso.tipo);
    EXPECT_EQ(f.stato, caso.stato) << caso.testo;
    EXPECT_EQ(prova::Primo(f.corpo, "//*[local-name()='Value']"), "env:Sender") << caso.testo;
    EXPECT_NE(prova::Primo(f.corpo, "//*[local-name()='Detail']/error/text").find(caso.testo),
              std::string::npos)
        << f.corpo;
  }
  const prova::Esito vuoto = PostaIvaq(BustaIvaq(kIdMessaggio, "http://SAR", "", Asserzione()));
  EXPECT_EQ(prova::Primo(vuoto.corpo, "/*/*/*/*[local-name()='codEsito']"), "2222");
  EXPECT_EQ(prova::Primo(vuoto.corpo, "//*[local-name()='ErroreFlusso']/*[local-name()='esito']"),
            "Flusso IVAQ privo di dati");
  EXPECT_EQ(ivaq.Flussi().size(), 1u);
}

TEST_F(ServiziMinoriTest, ScriptedIvaqAnswersComeOneEachInOrder) {
  ivaq.Programma(ServizioIvaq::Esito::kErrori);
  ivaq.Programma(ServizioIvaq::Esito::kFault);
  ivaq.Programma(ServizioIvaq::Esito::kVuota);
  const std::string busta =
      BustaIvaq(kIdMessaggio, "http://SAR", "<Indice>4</Indice>", Asserzione());
  const prova::Esito errori = PostaIvaq(busta);
  EXPECT_EQ(
      prova::Xpath(errori.corpo, "//*[local-name()='ErroreFlusso']/*[local-name()='codEsito']"),
      (Testi{"E021", "E022"}));
  EXPECT_EQ(
      prova::Primo(errori.corpo, "//*[local-name()='Comunicazione']/*[local-name()='codice']"),
      "AVVISO");
  const prova::Esito fault = PostaIvaq(busta);
  EXPECT_EQ(fault.stato, 500);
  EXPECT_EQ(prova::Primo(fault.corpo, "//*[local-name()='Value']"), "env:Receiver");
  EXPECT_EQ(prova::Primo(fault.corpo, "//*[local-name()='Detail']/error/text"),
            "Servizio IVAQ temporaneamente non disponibile");
  const prova::Esito vuota = PostaIvaq(busta);
  EXPECT_EQ(vuota.stato, 200);
  EXPECT_EQ(vuota.corpo, "");
  EXPECT_TRUE(ivaq.Flussi().empty());
}

std::string Basic(const std::string& account) {
  std::string out(4 * ((account.size() + 2) / 3) + 1, '\0');
  out.resize(static_cast<std::size_t>(EVP_EncodeBlock(
      reinterpret_cast<unsigned char*>(out.data()),
      reinterpret_cast<const unsigned char*>(account.data()), static_cast<int>(account.size()))));
  return "Authorization: Basic " + out;
}

TEST_F(ServiziMinoriTest, TheLotSearchWantsItsAccountAndOneCode) {
  const std::string percorso = ServizioLottiVaccino::kPercorso;
  const std::string account = Basic(kAccountProva);
  const std::string org = "&organization=urn:oid:2.16.840.1.113883.2.9.4.1.1%7C050503";
  struct Caso {
    std::string query, autorizzazione;
    int stato;
    Testi lotti;
  };
  const Caso casi[] = {
      {"princVacc=150" + org, account, 200, {"FLU26A", "FLU26B"}},
      {"aic=044987012" + org, account, 200, {"PNE26C"}},
      {"princVacc=999" + org, account, 200, {}},
      {"princVacc=150" + org, "", 401, {}},
      {"princVacc=150" + org, Basic("prova01:Lotti.27"), 401, {}},
      {"princVacc=150&aic=045123019" + org, account, 400, {}},
      {"princVacc=150", account, 400, {}},
      {"princVacc=150&organization=urn:oid:2.16.840.1.113883.2.9.4.1.1%7C0505", account, 400, {}},
      {"princVacc=150&organization=urn:oid:1.2.3%7C050503", account, 400, {}},
      {"princVacc=150&extra=1" + org, account, 400, {}},
      {"princVacc=%zz" + org, account, 400, {}},
  };
  for (const Caso& caso : casi) {
    const Testi intestazioni = caso.autorizzazione.empty() ? Testi{} : Testi{caso.autorizzazione};
    const prova::Esito e = Chiama(percorso + "?" + caso.query, "", intestazioni, "GET");
    EXPECT_EQ(e.stato, caso.stato) << caso.query << " " << e.corpo;
    if (caso.stato == 200) {
      EXPECT_EQ(prova::Xpath(e.corpo, "//*[local-name()='lotto']/*[local-name()='numero']"),
                caso.lotti)
          << caso.query;
    } else {
      EXPECT_FALSE(e.corpo.empty()) << "the refusal says why";
    }
    if (caso.stato == 401) {
      EXPECT_EQ(e.Intestazione("WWW-Authenticate"), "Basic realm=\"InfoLotti\"");
    }
  }
}

TEST_F(ServiziMinoriTest, TheSimulatorFilesAreTheAnswersOfTheFixedData) {
  const auto pt = ServiziPianiTerapeutici::FileSimulatore();
  ASSERT_EQ(pt.size(), 2u);
  EXPECT_EQ(pt[0].first, "recuperaPT/recuperaPT.xml");
  EXPECT_EQ(prova::Xpath(pt[0].second, "//*[local-name()='numProtocollo']"),
            (Testi{"PT2025000050", "PT2026000101", "PT2026000102"}));
  EXPECT_EQ(pt[1].first, "visualizzaPT/visualizzaPT.xml");
  EXPECT_EQ(pt[1].second, PostaPT("visualizza", Vista(pt::kPianoRecente)).corpo)
      << "the live answer of the same plan";
  const auto iv = ServizioIvaq::FileSimulatore();
  ASSERT_EQ(iv.size(), 1u);
  EXPECT_EQ(iv[0].first, "IVAQ/IVAQ.xml");
  EXPECT_EQ(prova::Primo(iv[0].second, "//*[local-name()='codEsito']"), "0000");
  const auto lo = ServizioLottiVaccino::FileSimulatore();
  ASSERT_EQ(lo.size(), 1u);
  EXPECT_EQ(lo[0].first, "CercaLotti/CercaLotti.xml");
  EXPECT_EQ(lo[0].second,
            Chiama(std::string(ServizioLottiVaccino::kPercorso) +
                       "?princVacc=150&organization=urn:oid:2.16.840.1.113883.2.9.4.1.1%7C050503",
                   "", {Basic(kAccountProva)}, "GET")
                .corpo);
}

}  // namespace
}  // namespace qzkiro::sandbox
