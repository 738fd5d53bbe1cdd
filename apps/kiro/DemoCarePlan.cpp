#include "DemoCarePlan.h"

#include <ostream>

#include "core/Contesto.h"
#include "qzkiro/host/Flussi.h"
#include "refhost/Workspace.h"
#include "sandbox/Fse.h"

namespace qzkiro::kiro {

namespace {

using host::Collection;
using host::IFlusso;
using host::Variant;

constexpr const char* kRossi = "RSSMRA45M41L736K";

std::shared_ptr<host::IItemFlusso> Voce(refhost::Applicazione& host, int tipo, const char* data,
                                        const char* codice, const char* descrizione) {
  auto item = host.Framework().NewItemFlusso();
  item->Imposta("Tipo", Variant(tipo));
  item->Imposta("Data", Variant(data));
  item->Imposta("Codice", Variant(codice));
  item->Imposta("Descrizione", Variant(descrizione));
  return item;
}

// November's records of ROSSI MARIA: a visit, a home-care access, the flu
// vaccination and a diastolic pressure taken in the diabetes programme.
Collection RecordsNovembre(refhost::Applicazione& host) {
  Collection lista;
  lista.Add(Variant(Voce(host, 1, "20261110", "5", "Visita ambulatoriale")));
  lista.Add(Variant(Voce(host, 5, "20261118", "ADI01", "Accesso ADP")));
  auto vaccino = Voce(host, 6, "20261112", "", "Vaccino antinfluenzale quadrivalente");
  vaccino->Imposta("CodiceVaccino", Variant("150"));
  vaccino->Imposta("Lotto", Variant("FLU26A"));
  vaccino->Imposta("Scadenza", Variant("20270630"));
  vaccino->Imposta("Campagna", Variant(1));
  vaccino->Imposta("CategoriaRischio", Variant("PAZIENTI OVER 75 ANNI"));
  vaccino->Imposta("Malattie", Variant("487"));
  lista.Add(Variant(vaccino));
  auto pressione = Voce(host, 7, "20261110", "", "Pressione arteriosa diastolica");
  auto record = std::make_shared<refhost::RecordWorkspace>();
  record->Imposta("TipoRecord", Variant(204));
  record->Imposta("Data", Variant("20261110"));
  record->Imposta("i1", Variant(85));
  pressione->ImpostaItmWs(record);
  lista.Add(Variant(pressione));
  return lista;
}

std::string Di(IFlusso& f, const char* nome) {
  return f.Membro(nome).ToText();
}

struct Invio {
  Plugin& plugin;
  Collection& lista;
  Variant dal{"01/11/2026"}, al{"30/11/2026"};

  bool operator()(const std::shared_ptr<IFlusso>& f, bool elimina = false) {
    Variant flusso(f), cancel, eliminate, vuoto;
    return elimina ? plugin.QZ04022_Elimina(lista, flusso, dal, al, cancel, vuoto, vuoto, eliminate)
                   : plugin.QZ04022_InvioPaziente(lista, flusso, dal, al, cancel, vuoto, vuoto,
                                                  eliminate);
  }
};

}  // namespace

void DemoCarePlan(Plugin& plugin, sandbox::Ambiente& ambiente, refhost::Applicazione& host,
                  bool simulatore, Verifica& verifica, std::ostream& out) {
  for (const auto& [chiave, valore] : ambiente.Chiavi()) {
    if (chiave == "client/acn") core::Ctx().settings.endpoint["acn"] = valore;
  }
  auto paziente = host::Come<host::IArchivioPazienti>(host.Archivio("Pazienti"), "Pazienti")
                      ->DaiPaziente(kRossi);
  if (paziente->Items().GetItem("MPI").empty()) {
    paziente->Items().SetItem("MPI", std::string("MPI:") + sandbox::fse::kMpiRossi);
  }
  Collection lista = RecordsNovembre(host);
  Invio invia{plugin, lista};
  auto flusso = host.Framework().NewFlusso();
  flusso->Imposta("anagrafica", Variant(kRossi));
  const bool inviato = invia(flusso);
  out << "CarePlan di novembre: Stato " << Di(*flusso, "Stato") << "  " << Di(*flusso, "Ricevuta")
      << "  " << Di(*flusso, "Errori") << '\n';
  verifica(inviato && Di(*flusso, "Ricevuta").rfind("CarePlan////", 0) == 0,
           "CarePlan del paziente accettato dal server FHIR");

  Variant origine(flusso), letto;
  const bool recuperato = plugin.QZ04022_Recupera(origine, letto);
  auto riletto = letto.As<IFlusso>();
  out << "CarePlan riletto: " << (riletto ? Di(*riletto, "ServerStatus") : plugin.LastError())
      << '\n';
  verifica(recuperato && riletto && Di(*riletto, "Stato") == "4", "CarePlan riletto");

  Collection trovati;
  Variant cf(kRossi);
  const bool cercati = plugin.QZ04022_Ricerca(trovati, cf, invia.dal, invia.al);
  out << "CarePlan trovati: " << trovati.Count() << '\n';
  verifica(cercati && trovati.Count() >= 1, "Ricerca dei CarePlan del paziente");

  const bool reinviato = invia(flusso);
  out << "Reinvio (update): Stato " << Di(*flusso, "Stato") << '\n';
  verifica(reinviato && Di(*flusso, "Stato") == "1", "Reinvio dello stesso periodo");

  if (!simulatore) {
    auto doppio = host.Framework().NewFlusso();
    doppio->Imposta("anagrafica", Variant(kRossi));
    const bool rifiutato = !invia(doppio);
    out << "Secondo CarePlan dello stesso periodo: " << Di(*doppio, "Errori") << '\n';
    verifica(rifiutato && Di(*doppio, "Errori").find("ERR_00999") != std::string::npos,
             "Secondo CarePlan dello stesso periodo rifiutato (ERR_00999)");
  }

  const bool eliminato = invia(flusso, true);
  out << "CarePlan annullato: Stato " << Di(*flusso, "Stato") << " " << Di(*flusso, "Errori")
      << '\n';
  verifica(eliminato && Di(*flusso, "Stato") == "5", "CarePlan annullato sul server");
}

}  // namespace qzkiro::kiro
