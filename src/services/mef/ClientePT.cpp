#include "services/mef/ClientePT.h"

#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "core/modLog.h"
#include "net/CertificatoDem.h"
#include "net/CifraRSA.h"
#include "net/clsAsserzione.h"
#include "net/clsSOAP.h"
#include "services/mef/RichiestePT.h"

namespace qzkiro::mef {

namespace pt {
const ServizioPT kElenco{"recuperaPT", "elencopt", kAzioneElencoPT,
                         "Errore servizio RecuperaPT: Nessuna risposta ricevuta."};
const ServizioPT kVisualizza{"visualizzaPT", "visualizzapt", kAzioneVisualizzaPT,
                             "Errore servizio VisualizzaPT: Nessuna risposta ricevuta."};
}  // namespace pt

namespace {

bool TempoScaduto(const std::string& errore) {
  return errore.rfind("Timeout", 0) == 0;
}

}  // namespace

ScambioPT ChiamaPT(const ServizioPT& servizio, const std::string& busta) {
  auto& c = core::Ctx();
  ScambioPT esito;
  auto* identita = dynamic_cast<net::clsAsserzione*>(c.servizio_asserzione.get());
  if (!identita) {
    esito.errore = "Servizio di autenticazione non disponibile";
    return esito;
  }
  auto asserzione = identita->DaiAsserzione(servizio.nome, "C.1.1", "", "", "", "");
  if (!asserzione) {
    esito.errore = identita->LastError();
    return esito;
  }
  net::clsSOAP soap;
  soap.ImpostaDaSettings(c.settings);
  soap.URL = c.settings.Endpoint(servizio.chiave);
  soap.Action = servizio.azione;
  soap.Servizio = servizio.nome;
  soap.FileCertTLS = net::CertificatoDem();
  // The national services take the e-prescription services' client certificate.
  soap.PasswordTLS = net::PasswordCertificatoDem();
  soap.FileLog = core::modLog::SoapDumpFileName(c);
  esito.riuscito = soap.SendAsserzione(busta, *asserzione, false, true);
  esito.risposta = soap.PrendiResponse();
  if (!esito.riuscito) {
    const bool nessuna = soap.LastHttpError() == "0" && !TempoScaduto(soap.LastError());
    esito.errore = nessuna ? servizio.nessuna_risposta + std::string("\r\n") + soap.LastError()
                           : soap.LastError();
  } else if (esito.risposta.empty()) {
    esito.riuscito = false;
    esito.errore = servizio.nessuna_risposta;
  }
  return esito;
}

std::string CifraAssistito(const std::string& codice_fiscale) {
  return net::CifraRSA(codice_fiscale, core::PercorsoPlugin("\\fse.cer"));
}

}  // namespace qzkiro::mef
