#include <memory>

#include "core/Contesto.h"
#include "fhir/MisuraDiabete.h"
#include "fhir/VoceLocale.h"
#include "flows/DateFlusso.h"
#include "flows/DatiHost.h"
#include "flows/InvioCarePlan.h"

namespace qzkiro::flows {

namespace {

using host::Variant;

std::shared_ptr<host::IItemFlusso> ItemMisura(host::IRecordWorkspace& record,
                                              const fhir::MisuraDiabete& misura) {
  auto item = core::Ctx().App().Framework().NewItemFlusso();
  item->Imposta("Tipo", Variant(static_cast<int>(fhir::kVoceOsservazione)));
  item->Imposta("Data", Variant(record.Membro("Data").ToText().substr(0, 8)));
  item->Imposta("IDDiagnosi", record.Membro("IDDiagnosi"));
  item->Imposta("Diagnosi", record.Membro("Diagnosi"));
  item->Imposta("Descrizione", Variant(misura.Descrizione));
  item->Imposta("Dettaglio", Variant(misura.Dettaglio));
  return item;
}

}  // namespace

bool RecordsLocaliACN(host::Collection& records, const Variant& codice_fiscale,
                      const Variant& dalla_data, const Variant& alla_data) {
  auto& c = core::Ctx();
  const std::string dalla = DataCompatta(dalla_data.ToText());
  const std::string alla = DataCompatta(alla_data.ToText());
  if (dalla.empty() || alla.empty()) {
    c.last_error =
        "Periodo non valido: '" + dalla_data.ToText() + "' - '" + alla_data.ToText() + "'";
    return false;
  }
  auto paziente = PazienteDaCodice(codice_fiscale.ToText());
  if (!paziente) {
    c.last_error = "Paziente non trovato nell'archivio: '" + codice_fiscale.ToText() + "'";
    return false;
  }
  if (!paziente->PresaInCura().InCura("Diabete")) return true;
  for (const auto& record :
       paziente->Workspace().ListaFiltrata({fhir::kRecordDiastolica, fhir::kRecordFrequenza})) {
    if (!fhir::NelPeriodo(record->Membro("Data").ToText(), dalla, alla)) continue;
    const auto misura = fhir::MisuraDaRecord(
        static_cast<int>(record->Membro("TipoRecord").ToInteger()), record->Membro("i1").ToText());
    if (!misura) continue;
    auto item = ItemMisura(*record, *misura);
    item->ImpostaItmWs(record);
    records.Add(Variant(item));
  }
  return true;
}

}  // namespace qzkiro::flows
