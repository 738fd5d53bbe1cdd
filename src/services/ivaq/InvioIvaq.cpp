// The IVAQ quality-index flow: the host's document, cut to the content of
// its FlussoIVAQC element, sent to the regional service with the user's
// assertion; the message id becomes the receipt.

#include "core/Contesto.h"
#include "core/modLog.h"
#include "net/MessaggiIdentita.h"
#include "net/clsAsserzione.h"
#include "net/clsSOAP.h"
#include "services/ivaq/MessaggiIvaq.h"
#include "services/ivaq/RotteIvaq.h"

namespace qzkiro::ivaq {

namespace {

constexpr const char* kServizio = "IVAQ";

bool Errore(const std::string& testo) {
  core::Ctx().last_error = "Invio IVAQ:\r\n" + testo;
  return false;
}

std::shared_ptr<clsItemAsserzione> Asserzione(std::string& errore) {
  auto* identita = dynamic_cast<net::clsAsserzione*>(core::Ctx().servizio_asserzione.get());
  if (!identita) {
    errore = "Servizio di autenticazione non disponibile";
    return nullptr;
  }
  auto item = identita->DaiAsserzione(kServizio, "C.1.1", "", "", "", "");
  if (!item) errore = identita->LastError();
  return item;
}

bool InviaIVAQ(const std::string& documento, host::Variant& ricevuta) {
  auto& c = core::Ctx();
  const auto contenuto = ContenutoFlusso(documento);
  if (!contenuto) return Errore("Il documento IVAQ non contiene l'elemento FlussoIVAQC");
  std::string errore;
  auto asserzione = Asserzione(errore);
  if (!asserzione) return Errore(errore);
  const std::string message_id = "urn:uuid:" + net::CreaIDMessaggio(*c.casuale);
  net::clsSOAP soap;
  soap.ImpostaDaSettings(c.settings);
  soap.URL = c.settings.Endpoint("ivaq");
  soap.ContentType = "application/soap+xml;charset=UTF-8";
  soap.Servizio = kServizio;
  soap.FileLog = core::modLog::SoapDumpFileName(c);
  const bool inviato =
      soap.SendAsserzione(BustaIvaq(*contenuto, message_id), *asserzione, false, true);
  const EsitoIvaq esito = LeggiRispostaIvaq(inviato ? soap.Response() : soap.LastErrorResponse());
  // A failed exchange is explained by the fault it brought, else by the transport.
  if (!inviato && esito.tipo != EsitoIvaq::Tipo::kFault) return Errore(soap.LastError());
  if (esito.tipo != EsitoIvaq::Tipo::kAccettato) return Errore(esito.testo);
  ricevuta = host::Variant("MessageID " + message_id);
  return true;
}

}  // namespace
}  // namespace qzkiro::ivaq

namespace qzkiro::op {

bool FlussoIVAQ(Variant&, const std::string& XML, Variant&, Variant& Ricevuta) {
  return ivaq::InviaIVAQ(XML, Ricevuta);
}

}  // namespace qzkiro::op
