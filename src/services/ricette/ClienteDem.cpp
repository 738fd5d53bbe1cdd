#include "services/ricette/ClienteDem.h"

#include <cctype>

#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "core/CostantiCifrate.h"
#include "core/modLog.h"
#include "net/CifraRSA.h"
#include "net/EsitoScambio.h"
#include "net/clsAsserzione.h"
#include "net/clsSOAP.h"
#include "services/ricette/ProprietaRicetta.h"
#include "util/Testo.h"

namespace qzkiro::services {

namespace {

net::clsAsserzione* Identita(std::string& errore) {
  auto* servizio = dynamic_cast<net::clsAsserzione*>(core::Ctx().servizio_asserzione.get());
  if (!servizio) errore = "Servizio di autenticazione non disponibile";
  return servizio;
}

std::shared_ptr<clsItemAsserzione> Esito(net::clsAsserzione* servizio,
                                         std::shared_ptr<clsItemAsserzione> item) {
  if (!item) core::Ctx().last_error = servizio->LastError();
  return item;
}

}  // namespace

std::string CertificatoDem() {
  const auto& s = core::Ctx().settings;
  return s.certificato_tls.empty() ? core::PercorsoPlugin("\\Dema_Telvora_Curalis_prod.p12")
                                   : s.certificato_tls;
}

std::string PasswordCertificatoDem() {
  const auto& s = core::Ctx().settings;
  if (!s.password_tls.empty()) return s.password_tls;
  // Deciphered once per load of the add-on.
  static const std::string password = [] {
    std::string chiave(core::kAziendaPlugin);
    for (char& c : chiave) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return core::DecifraCostante(core::kPasswordCertificatoDemCifrata, chiave);
  }();
  return password;
}

std::string CifraFse(const std::string& codice_fiscale) {
  return net::CifraRSA(codice_fiscale, core::PercorsoPlugin("\\fse.cer"));
}

std::shared_ptr<clsItemAsserzione> AsserzioneRicetta(const ServizioDem& servizio,
                                                     host::IRicetta& ricetta) {
  auto* identita = Identita(core::Ctx().last_error);
  if (!identita) return nullptr;
  const std::string medico = Testo(ricetta, "MedicoCodiceFiscale");
  const std::string titolare = Testo(ricetta, "MedicoTitCodiceFiscale");
  const bool sostituto = !Testo(ricetta, "MedicoSosCodiceFiscale").empty();
  const bool c11 = titolare == medico && !sostituto;
  return Esito(identita, identita->DaiAsserzione(servizio.asserzione, c11 ? "C.1.1" : "C.1.2", "",
                                                 "", sostituto ? titolare : std::string(), ""));
}

std::shared_ptr<clsItemAsserzione> AsserzioneUtente(const ServizioDem& servizio,
                                                    const std::string& otp) {
  auto* identita = Identita(core::Ctx().last_error);
  if (!identita) return nullptr;
  return Esito(identita,
               identita->DaiAsserzione(servizio.asserzione, "C.1.1", "", "", "", "", otp));
}

EsitoDem InviaDem(const ServizioDem& servizio, const std::string& busta,
                  clsItemAsserzione& asserzione, const std::string& url, bool riprova) {
  const auto& c = core::Ctx();
  net::clsSOAP soap;
  soap.ImpostaDaSettings(c.settings);
  soap.URL = url.empty() ? c.settings.Endpoint(servizio.chiave) : url;
  soap.Action = servizio.azione;
  soap.Servizio = servizio.asserzione;
  soap.FileCertTLS = CertificatoDem();
  soap.PasswordTLS = PasswordCertificatoDem();
  soap.FileLog = core::modLog::SoapDumpFileName(c);
  EsitoDem esito;
  esito.inviata = soap.SendAsserzione(busta, asserzione, false, riprova);
  esito.risposta = esito.inviata ? soap.Response() : soap.LastErrorResponse();
  if (!esito.inviata) {
    esito.riprova = soap.LastError() == "Retry";
    esito.errore = soap.LastError();
  }
  return esito;
}

// The envelope of the fixed-text requests, with the assertion placeholder.
std::string BustaTesto(const std::string& prefisso, const std::string& ns,
                       const std::string& corpo) {
  return "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
         "xmlns:wsa=\"http://www.w3.org/2005/08/addressing\" "
         "xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/"
         "oasis-200401-wss-wssecurity-secext-1.0.xsd\" xmlns:" +
         prefisso + "=\"" + ns +
         "\"><soapenv:Header><wsse:Security>[Asserzione]</wsse:Security></soapenv:Header>"
         "<soapenv:Body>" +
         corpo + "</soapenv:Body></soapenv:Envelope>";
}

std::string ElementoTesto(const std::string& nome, const std::string& valore) {
  return "<" + nome + ">" + util::XmlEscape(valore) + "</" + nome + ">";
}

std::string CfUtente() {
  return core::Ctx().App().Utente().CodiceFiscale();
}

std::string TestoFault(const EsitoDem& esito) {
  core::RispostaHttp conservata;
  conservata.corpo = esito.risposta;
  conservata.errore = esito.errore;
  return net::MessaggioEsito(net::EsitoScambio::kFaultServizio, conservata);
}

}  // namespace qzkiro::services
