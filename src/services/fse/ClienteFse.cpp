#include "services/fse/ClienteFse.h"

#include "core/Contesto.h"
#include "core/modLog.h"
#include "net/clsAsserzione.h"
#include "net/clsSOAP.h"
#include "util/Testo.h"
#include "xds/BustaXds.h"
#include "xds/QueryRegistro.h"
#include "xds/Recupero.h"

namespace qzkiro::fse {

namespace servizio {
const ServizioFse kQueryPaziente{"QueryPaziente", "QueryPaziente", "querypaziente",
                                 "urn:rve:SAIAsingoloQueryRequest",
                                 "Errore servizio QueryPaziente: Nessuna risposta ricevuta."};
const ServizioFse kDocumenti{"ConsultaDocumentiFSE", "DocumentiFSE", "registryreg",
                             xds::kAzioneQuery,
                             "Errore servizio ConsultaDocumentiFSE: Nessuna risposta ricevuta."};
const ServizioFse kRecupero{"RetrieveDocument", "DocumentiFSE", "repositoryfse",
                            xds::kAzioneRecupero,
                            "Errore servizio RetrieveDocument: Nessuna risposta ricevuta."};
const ServizioFse kConsensi{"QueryConsenso", "Consenso", "registryreg", xds::kAzioneQuery,
                            "Errore servizio QueryConsenso: Nessuna risposta ricevuta.", "C.6.5"};
const ServizioFse kPatientSummary{"QueryPatientSummary", "PatientSummary", "registryreg",
                                  xds::kAzioneQuery,
                                  "Errore servizio QueryPAS: Nessuna risposta ricevuta."};
const ServizioFse kProcesso{"ProcessoCollegato", "Consenso", "registryreg", xds::kAzioneQuery,
                            "Errore servizio ProcessoCollegato: Nessuna risposta ricevuta."};
}  // namespace servizio

namespace {
constexpr const char* kChiaveMPI = "MPI";
constexpr std::string_view kPrefissoMPI = "MPI:";
}  // namespace

std::string ContestoPaziente(host::IPaziente& paziente, const std::string& cf_utente) {
  if (!paziente.Proprio()) return "C.1.2";
  const auto medico = paziente.Medico();
  return medico && !cf_utente.empty() && medico->CodiceFiscale() == cf_utente ? "C.1.1" : "C.1.2";
}

std::shared_ptr<clsItemAsserzione> AsserzioneFse(const ServizioFse& servizio,
                                                 const std::string& contesto,
                                                 const std::string& cf_paziente) {
  auto& c = core::Ctx();
  auto* identita = dynamic_cast<net::clsAsserzione*>(c.servizio_asserzione.get());
  if (!identita) {
    c.last_error = "Servizio di autenticazione non disponibile";
    return nullptr;
  }
  auto item = identita->DaiAsserzione(servizio.asserzione,
                                      servizio.contesto ? servizio.contesto : contesto, "", "", "",
                                      cf_paziente);
  if (!item) c.last_error = identita->LastError();
  return item;
}

EsitoFse InviaFse(const ServizioFse& servizio, std::string_view corpo, clsItemAsserzione& asserzione,
                  std::string_view prefisso, std::string_view dichiarazioni,
                  std::string_view destinatario) {
  auto& c = core::Ctx();
  net::clsSOAP soap;
  soap.ImpostaDaSettings(c.settings);
  soap.URL = c.settings.Endpoint(servizio.chiave);
  soap.Action = std::string(servizio.azione);
  soap.ContentType = xds::ContentTypeSoap12(servizio.azione);
  soap.Servizio = servizio.nome;
  soap.FileLog = core::modLog::SoapDumpFileName(c);
  const std::string busta = xds::BustaSoap12(
      prefisso, {std::string(servizio.azione), c.App().Framework().GetSmartGUID(),
                 destinatario.empty() ? soap.URL : std::string(destinatario)},
      corpo, dichiarazioni);
  EsitoFse esito;
  esito.inviata = soap.SendAsserzione(busta, asserzione, false, true);
  esito.risposta = soap.PrendiResponse();
  esito.content_type = soap.ResponseContentType();
  if (!esito.inviata) {
    // Nothing came back at all: the service's own words, then the reason.
    esito.errore = soap.LastHttpError() == "0"
                       ? servizio.nessuna_risposta + std::string("\r\n") + soap.LastError()
                       : soap.LastError();
  } else if (esito.risposta.empty()) {
    esito.inviata = false;
    esito.errore = servizio.nessuna_risposta;
  }
  return esito;
}

std::string CodiceMPI(host::IPaziente& paziente) {
  const std::string voce = paziente.Items().GetItem(kChiaveMPI);
  if (voce.compare(0, kPrefissoMPI.size(), kPrefissoMPI) != 0) return {};
  return util::Trim(std::string_view(voce).substr(kPrefissoMPI.size()));
}

void SalvaCodiceMPI(host::IPaziente& paziente, const std::string& mpi) {
  if (mpi.empty() || CodiceMPI(paziente) == mpi) return;
  auto& items = paziente.Items();
  items.SetItem(kChiaveMPI, std::string(kPrefissoMPI) + mpi);
  items.Salva();
}

}  // namespace qzkiro::fse
