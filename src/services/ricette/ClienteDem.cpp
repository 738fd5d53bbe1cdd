#include "services/ricette/ClienteDem.h"

#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "core/modLog.h"
#include "net/CifraRSA.h"
#include "net/ErroriServizio.h"
#include "net/EsitoScambio.h"
#include "net/clsAsserzione.h"
#include "net/clsSOAP.h"
#include "services/ricette/ProprietaRicetta.h"

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
    // An answer the transport refused for the code it carries is kept as
    // its Response, not as the error answer.
    const std::string& letta = esito.risposta.empty() ? soap.Response() : esito.risposta;
    esito.errore = esito.riprova ? soap.LastError() : ErroreDem(soap.LastError(), letta);
  }
  return esito;
}

std::string CfUtente() {
  return core::Ctx().App().Utente().CodiceFiscale();
}

std::string ErroreDem(const std::string& errore_trasporto, const std::string& risposta) {
  if (net::DecodificaErroreAsserzione(risposta) && !errore_trasporto.empty()) {
    return errore_trasporto;
  }
  core::RispostaHttp conservata;
  conservata.corpo = risposta;
  conservata.errore = errore_trasporto;
  return net::MessaggioEsito(net::EsitoScambio::kFaultServizio, conservata);
}

}  // namespace qzkiro::services
