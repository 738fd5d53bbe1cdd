#include "flows/VaccinazioneACN.h"

#include <memory>

#include "core/Contesto.h"
#include "flows/DatiHost.h"
#include "flows/InvioCarePlan.h"
#include "qzkiro/Ui.h"
#include "qzkiro/host/Workspace.h"
#include "util/DataOra.h"

namespace qzkiro::flows {

namespace {

using host::Variant;

bool Errore(const std::string& messaggio) {
  auto& c = core::Ctx();
  c.last_error = messaggio;
  if (c.ui) c.ui->MsgBox(messaggio, core::stile::kErrore, "KIRO");
  return false;
}

// A patient registered with another doctor of the group.
bool DiAltroMedico(host::IPaziente& paziente) {
  auto medico = paziente.Medico();
  return medico && !medico->CodiceFiscale().empty() &&
         medico->CodiceFiscale() != core::Ctx().App().Utente().CodiceFiscale();
}

// The vaccination as the flow item the send carries.
std::shared_ptr<host::IItemFlusso> ItemVaccinazione(host::IItemStorico& storico,
                                                    host::IProprieta& vaccinazione) {
  auto item = core::Ctx().App().Framework().NewItemFlusso();
  item->Imposta("Tipo", Variant(6));
  item->Imposta("Data", storico.Membro("Data"));
  item->Imposta("Descrizione", storico.Membro("Descrizione"));
  for (const char* nome :
       {"CodiceVaccino", "CodiceFarmaco", "Lotto", "Scadenza", "Sito", "Via", "Campagna",
        "CategoriaRischio", "Malattie", "NonSomministrata", "Pagamento"}) {
    item->Imposta(nome, vaccinazione.Membro(nome));
  }
  return item;
}

// The month's flow of the patient, read from the host's flow set; null, with
// the error shown, when there is none.
std::shared_ptr<host::IFlusso> FlussoDelMese(host::IFlussi& flussi, const std::string& cf) {
  if (!flussi.AnalisiDati()) {
    Errore("Errore durante l'analisi dei dati da inviare");
    return nullptr;
  }
  if (flussi.IDFlusso().empty() && !flussi.CreaFlusso()) {
    Errore("Errore durante l'analisi dei dati da inviare");
    return nullptr;
  }
  const auto lista = flussi.ListaFlussiInviabili(cf);
  if (lista.empty()) {
    Errore("Nessun dato da inviare");
    return nullptr;
  }
  return lista.front();
}

// The month's records of the flow, with the vaccination added when the
// host's records do not hold it yet.
host::Collection RecordsDelFlusso(host::IFlussi& flussi, host::IFlusso& flusso,
                                  const std::shared_ptr<host::IItemFlusso>& vaccinazione) {
  host::Collection records;
  bool presente = false;
  for (const auto& item : flussi.RecordsLocali(flusso)) {
    presente =
        presente ||
        (item->Membro("Tipo").ToInteger() == 6 &&
         item->Membro("Data").ToText() == vaccinazione->Membro("Data").ToText() &&
         item->Membro("Descrizione").ToText() == vaccinazione->Membro("Descrizione").ToText());
    records.Add(Variant(item));
  }
  if (!presente) records.Add(Variant(vaccinazione));
  return records;
}

bool Invia(host::Collection& records, const std::shared_ptr<host::IFlusso>& flusso,
           const std::string& data) {
  // The month of the vaccination, first to last day (the last real date).
  const std::string mese = data.substr(0, 6);
  std::string ultimo = "31";
  while (ultimo > "28" && !util::DataOra::Leggi(mese.substr(0, 4) + "-" + mese.substr(4, 2) + "-" +
                                                ultimo + " 00:00:00")) {
    ultimo = std::to_string(std::stoi(ultimo) - 1);
  }
  Variant v(flusso), dal(mese + "01"), al(mese + ultimo), cancel, eliminate, vuoto;
  if (!flusso->Membro("Ricevuta").ToText().empty() && flusso->Membro("Stato").ToInteger() != 5) {
    host::Collection nessuno;
    if (!InviaCarePlanACN(nessuno, v, dal, al, cancel, vuoto, vuoto, eliminate,
                          {.esteso = true, .annullamento = true, .vaccinazione = true})) {
      return false;
    }
    flusso->Imposta("Ricevuta", Variant(""));
  }
  return InviaCarePlanACN(records, v, dal, al, cancel, vuoto, vuoto, eliminate,
                          {.esteso = true, .vaccinazione = true});
}

}  // namespace

bool VaccinazioneACN(Variant& workspace, Variant& storico_v, Variant& ricevuta, bool finale) {
  auto& c = core::Ctx();
  auto storico = storico_v.As<host::IItemStorico>();
  auto vaccinazione = storico ? storico->FromStringVaccinazione() : nullptr;
  if (!vaccinazione) return Errore("La voce dello storico non è una vaccinazione");
  const std::string data = storico->Membro("Data").ToText().substr(0, 8);
  if (data.size() != 8) return Errore("Data della vaccinazione non valida");
  // The workspace item of the vaccination: the history item's date, text and
  // vaccine; the history item itself when the host gives none.
  auto record = workspace.As<host::IProprieta>();
  if (!record) record = storico;
  record->Imposta("Data", storico->Membro("Data"));
  record->Imposta("Descrizione", storico->Membro("Descrizione"));
  record->Imposta("IDRif2", storico->Membro("IDRif2"));
  auto archivio = std::dynamic_pointer_cast<host::IArchivioPazienti>(c.App().Archivio("Pazienti"));
  auto paziente =
      archivio ? archivio->DaiPaziente(storico->Membro("IDPaziente").ToText()) : nullptr;
  if (!paziente) return Errore("Paziente della vaccinazione non trovato nell'archivio");
  if (DiAltroMedico(*paziente)) {
    if (c.ui) {
      c.ui->MsgBox(
          "La vaccinazione sarà inviata dal medico del paziente"
          " tramite l'invio dei flussi ACN",
          core::stile::kInformazione, "KIRO");
    }
    return true;
  }
  auto flussi = c.App().Framework().NewFlussi(data.substr(4, 2) + "/" + data.substr(0, 4));
  auto flusso = flussi ? FlussoDelMese(*flussi, paziente->CodiceFiscale()) : nullptr;
  if (!flusso) return false;
  host::Collection records =
      RecordsDelFlusso(*flussi, *flusso, ItemVaccinazione(*storico, *vaccinazione));
  const bool inviato = Invia(records, flusso, data);
  flusso->Salva();
  flussi->Salva();
  if (!inviato) return Errore(flusso->Membro("Errori").ToText());
  const std::string receipt = flusso->Membro("Ricevuta").ToText();
  record->Imposta("idrifp", Variant(receipt));
  if (!finale) ricevuta = record->Membro("idrifp");
  return true;
}

}  // namespace qzkiro::flows
