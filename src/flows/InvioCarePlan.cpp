#include "flows/InvioCarePlan.h"

#include <filesystem>
#include <memory>

#include "core/Contesto.h"
#include "fhir/BundleCarePlan.h"
#include "fhir/EsitoFhir.h"
#include "fhir/Ricevuta.h"
#include "flows/ClienteFhir.h"
#include "flows/DateFlusso.h"
#include "flows/DatiHost.h"
#include "flows/RisorseACN.h"
#include "flows/VociFlusso.h"
#include "qzkiro/host/Flussi.h"
#include "util/File.h"

namespace qzkiro::flows {

namespace {

using host::Variant;

inline constexpr const char* kSenzaMPI = "Paziente senza codice MPI della Regione Veneto";
inline constexpr const char* kSenzaPractitioner =
    "Risorsa Practitioner non ancora impostata. Effettuare prima l'invio di almeno un CarePlan";

// Everything one send needs, gathered before anything goes to the server.
struct Preparazione {
  std::shared_ptr<host::IPaziente> paziente;
  fhir::FlussoCarePlan flusso;
  VociFlusso voci;
  std::string id_careplan;  // of the receipt, for a cancellation
  std::string errore;       // why nothing can be sent
  const char* cache_organizzazione = kCacheOrganizationACN;
};

void Rifiuta(host::IFlusso& flusso, const std::string& errori) {
  flusso.Imposta("Stato", Variant(3));
  flusso.Imposta("Errori", Variant(errori));
  flusso.Salva();
  core::Ctx().last_error = errori;
}

std::string Unisci(const std::vector<std::string>& righe) {
  std::string testo;
  for (const std::string& r : righe) testo += (testo.empty() ? "" : "\r\n") + r;
  return testo;
}

// The patient, the identifiers and the period; "" when all are there.
std::string Identifica(host::IFlusso& flusso, const Variant& dalla, const Variant& alla,
                       RichiestaCarePlan richiesta, Preparazione& p) {
  fhir::FlussoCarePlan& f = p.flusso;
  f.InizioPeriodo = DataCompatta(dalla.ToText());
  f.FinePeriodo = DataCompatta(alla.ToText());
  if (f.InizioPeriodo.empty() || f.FinePeriodo.empty() || f.FinePeriodo < f.InizioPeriodo) {
    return "Periodo non valido: '" + dalla.ToText() + "' - '" + alla.ToText() + "'";
  }
  const std::string cf = flusso.Membro("anagrafica").ToText();
  p.paziente = PazienteDaCodice(cf);
  if (!p.paziente) return "Paziente non trovato nell'archivio: '" + cf + "'";
  f.Paziente = {p.paziente->CodiceFiscale(), IdentificativoMPI(*p.paziente), p.paziente->Cognome(),
                p.paziente->Nome()};
  if (f.Paziente.MPI.empty()) return kSenzaMPI;
  auto& utente = core::Ctx().App().Utente();
  f.Medico = MedicoDelFlusso(utente);
  if (f.Medico.CodiceRegionale.empty()) return "Medico senza codice regionale";
  f.CodiceAzienda = utente.CodiceRegioneASL();
  if (richiesta.annullamento) {
    const fhir::RicevutaLetta r =
        fhir::LeggiRicevuta(flusso.Membro("Ricevuta").ToText(), "CarePlan");
    if (!r.Valida()) return r.Errore;
    p.id_careplan = r.Id;
  }
  return {};
}

Preparazione Prepara(host::Collection& lista, host::IFlusso& flusso, const Variant& dalla,
                     const Variant& alla, const Variant& dalla_pc, const Variant& alla_pc,
                     RichiestaCarePlan richiesta) {
  auto& c = core::Ctx();
  Preparazione p;
  fhir::FlussoCarePlan& f = p.flusso;
  f.Esteso = richiesta.esteso;
  if (p.errore = Identifica(flusso, dalla, alla, richiesta, p); !p.errore.empty()) return p;
  const long scarto = static_cast<long>(c.orologio->Adesso().SecondiDa(c.orologio->AdessoUTC()));
  p.voci = AggiungiVoci(lista, DataCompatta(dalla_pc.ToText()), DataCompatta(alla_pc.ToText()),
                        scarto, f);
  if (!p.voci.errori.empty()) {
    p.errore = Unisci(p.voci.errori);
    return p;
  }
  p.cache_organizzazione =
      richiesta.vaccinazione ? kCacheOrganizationVaccinazione : kCacheOrganizationACN;
  if (!DaiIDRisorseACN(*p.paziente, f.Paziente.MPI, f.Esteso, f.Id, p.errore,
                       p.cache_organizzazione)) {
    return p;
  }
  if (richiesta.annullamento && f.Id.Practitioner.empty()) {
    p.errore = kSenzaPractitioner;
    return p;
  }
  auto& fw = c.App().Framework();
  f.Intestazione.Aggiornamento =
      richiesta.annullamento || !flusso.Membro("Ricevuta").ToText().empty();
  f.Intestazione.MarcaTemporaleUtc = c.orologio->AdessoUTC();
  f.Guid = {fw.GetSmartGUID(), fw.GetSmartGUID(), fw.GetSmartGUID(), fw.GetSmartGUID()};
  return p;
}

// The copy of a cancellation request kept in the debug folder.
void SalvaCopiaAnnullamento(const std::string& id, const std::string& bundle) {
  const auto& s = core::Ctx().settings;
  if (!s.debug || s.log_dir.empty()) return;
  const auto file = std::filesystem::path(s.log_dir) / ("Elimina_" + id + ".xml");
  util::ScriviFile(file.string(), {bundle});
}

void RicordaIdServer(const fhir::EsitoFlusso& esito, host::IPaziente& paziente,
                     const std::string& chiave_azienda) {
  auto& utente = core::Ctx().App().Utente().Items();
  for (const fhir::RispostaVoce& v : esito.Voci) {
    if (!v.Accettata || v.Id.empty()) continue;
    if (v.Tipo == "Practitioner") {
      utente.SetItem(kCachePractitionerACN, v.Id);
      utente.SetItem(std::string(kCachePractitionerACN) + ".Refresh",
                     core::Ctx().orologio->Adesso().Formato("yyyymmddhhnnss"));
    }
    if (v.Tipo == "Organization") utente.SetItem(chiave_azienda, v.Id);
  }
  if (esito.IdPatient.empty()) return;
  auto& items = paziente.Items();
  items.SetItem(kCachePatient, std::string(kCachePatient) + ":" + esito.IdPatient);
  items.SetItem(std::string(kCachePatient) + ".Refresh",
                core::Ctx().orologio->Adesso().Formato("yyyymmddhhnnss"));
  items.Salva();
}

std::string RisorseAnnullate(const fhir::EsitoFlusso& esito) {
  std::string elenco;
  for (const fhir::RispostaVoce& v : esito.Voci) {
    if (v.Tipo != "CarePlan" && v.Tipo != "Immunization" && v.Tipo != "Observation") continue;
    elenco += (elenco.empty() ? "" : ";") + v.Tipo + "/" + v.Id;
  }
  return elenco;
}

void ScriviEsito(host::IFlusso& flusso, const fhir::EsitoFlusso& esito,
                 const std::string& risposta) {
  const std::string adesso = core::Ctx().orologio->Adesso().Formato("yyyymmddhhnnss");
  flusso.Imposta("Stato", Variant(esito.Stato));
  flusso.Imposta("Errori", Variant(esito.Errori));
  if (!esito.Ricevuta.empty()) flusso.Imposta("Ricevuta", Variant(esito.Ricevuta));
  if (!esito.IdRichiesta.empty()) flusso.Imposta("IDRichiesta", Variant(esito.IdRichiesta));
  if (flusso.Membro("DataCreazione").ToText().empty()) {
    flusso.Imposta("DataCreazione", Variant(adesso));
  }
  flusso.Imposta("DataInvio", Variant(adesso));
  flusso.Imposta("DataRicezione", Variant(adesso));
  flusso.Imposta("DataElaborazione", Variant(esito.DataElaborazione));
  flusso.Imposta("ServerStatus", Variant(esito.ServerStatus));
  flusso.Imposta("ServerComment", Variant(esito.ServerComment));
  flusso.Imposta("MemoRisposta", Variant(risposta));
  flusso.AddMemo("ACN.Ricevuta", risposta);
  flusso.AddMemo("ACN.DataInvio", adesso);
  flusso.Salva();
}

}  // namespace

bool InviaCarePlanACN(host::Collection& lista, Variant& itm_flusso, const Variant& dalla_data,
                      const Variant& alla_data, Variant& cancel, const Variant& dalla_pc,
                      const Variant& alla_pc, Variant& risorse_eliminate,
                      RichiestaCarePlan richiesta) {
  auto& c = core::Ctx();
  auto flusso = itm_flusso.As<host::IFlusso>();
  if (!flusso) {
    c.last_error = "Flusso non valido";
    return false;
  }
  cancel = Variant(false);
  Preparazione p = Prepara(lista, *flusso, dalla_data, alla_data, dalla_pc, alla_pc, richiesta);
  if (!p.errore.empty()) {
    cancel = Variant(true);
    Rifiuta(*flusso, p.errore);
    return false;
  }
  const std::string bundle = richiesta.annullamento
                                 ? fhir::BundleAnnullamentoCarePlan(p.flusso).XML()
                                 : fhir::BundleCarePlan(p.flusso).XML();
  if (richiesta.annullamento) SalvaCopiaAnnullamento(p.id_careplan, bundle);
  c.file_simulatore = richiesta.annullamento ? "Elimina.xml" : "InvioFlussoACN.xml";
  const RispostaFhir r = ChiamaFhir(servizio::kInvioFlussoACN, "POST", "", bundle);
  if (!r.ricevuta) {
    Rifiuta(*flusso, r.errore);
    return false;
  }
  const fhir::EsitoFlusso esito =
      fhir::LeggiEsitoFlusso(r.corpo, fhir::FlussoFhir::CarePlan, richiesta.annullamento);
  ScriviEsito(*flusso, esito, r.corpo);
  const bool accettato = esito.Stato == (richiesta.annullamento ? 5 : 1);
  if (!accettato) {
    c.last_error = esito.Errori;
    return false;
  }
  RicordaIdServer(esito, *p.paziente, p.cache_organizzazione + p.flusso.CodiceAzienda);
  RegistraIdVoci(p.voci, p.flusso, esito, richiesta.annullamento);
  risorse_eliminate = Variant(richiesta.annullamento ? RisorseAnnullate(esito) : std::string());
  return true;
}

}  // namespace qzkiro::flows
