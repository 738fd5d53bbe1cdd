// The patient's documents in the regional health record (registry stored
// query, FindDocuments): one partial report per document, fetched later by
// the host through the content callback.

#include "core/Contesto.h"
#include "services/fse/ClienteFse.h"
#include "services/fse/PazienteFse.h"
#include "services/fse/RotteFse.h"
#include "xds/QueryRegistro.h"
#include "xds/RigaDocumento.h"
#include "xds/RispostaRegistro.h"

namespace qzkiro::fse {

void AggiungiRighe(const std::vector<xds::VoceRegistro>& voci, const host::Variant& paziente,
                   host::IInput& risultato) {
  for (const auto& voce : voci) {
    if (xds::TipoEscluso(voce)) continue;
    const auto parametri = xds::ParametriRiga(voce);
    std::vector<host::Variant> argomenti{paziente, voce.id_documento, voce.creazione,
                                         parametri[2].second, xds::kRichiamoContenuto};
    for (const auto& [nome, valore] : parametri) {
      argomenti.emplace_back(nome);
      argomenti.emplace_back(valore);
    }
    risultato.Add("AddRefertoParziale", argomenti);
  }
}

bool QueryRegistro(const ServizioFse& servizio, host::IPaziente& paziente,
                   const xds::QueryRegistro& query, xds::RispostaRegistro& risposta) {
  auto& c = core::Ctx();
  auto asserzione = AsserzioneFse(servizio, ContestoPaziente(paziente, c.App().Utente().CodiceFiscale()),
                                  paziente.CodiceFiscale());
  if (!asserzione) return false;
  const EsitoFse esito = InviaFse(servizio, xds::CorpoQuery(query), *asserzione);
  if (!esito.inviata) {
    c.last_error = esito.errore;
    return false;
  }
  risposta = xds::LeggiRispostaRegistro(esito.risposta);
  if (!risposta.errore.empty()) {
    c.last_error = risposta.errore;
    return false;
  }
  return true;
}

}  // namespace qzkiro::fse

namespace qzkiro::op {

bool ElencoDocumentiFSE(Collection& Param, Variant&) {
  auto& c = core::Ctx();
  if (!c.settings.fse_attivo) {
    c.last_error = "Servizio FSEr non installato. Contattare il supporto tecnico di Curalis";
    return false;
  }
  auto paziente = fse::PazienteDi(Param);
  if (!paziente) return false;
  c.last_response.reset();
  auto risultato = c.App().Framework().NewInput();
  Variant record;
  std::string mpi;
  if (!fse::RecordPaziente(*paziente, *risultato, record, mpi)) return false;
  const auto query = xds::QueryDocumenti(mpi, fse::Parametro(Param, "Parametro.TipoDoc"),
                                         fse::DataParametro(Param, "Parametro.DallaData"),
                                         fse::DataParametro(Param, "Parametro.AllaData"));
  xds::RispostaRegistro risposta;
  if (!fse::QueryRegistro(fse::servizio::kDocumenti, *paziente, query, risposta)) return false;
  fse::AggiungiRighe(risposta.voci, record, *risultato);
  c.last_response = risultato;
  return true;
}

}  // namespace qzkiro::op
