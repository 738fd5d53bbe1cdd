#include "DemoFlussi.h"

#include <ostream>

#include "core/Contesto.h"
#include "qzkiro/host/Flussi.h"

namespace qzkiro::kiro {

namespace {

using host::Collection;
using host::IFlusso;
using host::Variant;

std::shared_ptr<IFlusso> Indicatore(refhost::Applicazione& host, const char* codice,
                                    const char* descrizione, bool obbligatorio) {
  auto& fw = host.Framework();
  auto flusso = fw.NewFlussoPA();
  auto item = fw.NewItemFlussoPA();
  const std::pair<const char*, const char*> campi[] = {
      {"Gruppo", obbligatorio ? "Indicatori obbligatori MGI" : "Indicatori"},
      {"CatSystem", "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.20"},
      {"CatCode", obbligatorio ? "MGI" : "ALT"},
      {"CatDisplay", obbligatorio ? "Indicatori obbligatori MGI" : "Indicatori"},
      {"CodSystem", "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.21"},
      {"CodCode", codice},
      {"CodDisplay", descrizione},
      {"Method", "Estrazione dalla cartella clinica"}};
  for (const auto& [nome, valore] : campi) item->Imposta(nome, Variant(valore));
  if (obbligatorio) {
    item->Imposta("Numerator", Variant("42"));
    item->Imposta("Denominator", Variant("60"));
  } else {
    item->Imposta("Value", Variant("118"));
    item->Imposta("Unit", Variant("pazienti"));
  }
  flusso->DatiRecuperati().Add(Variant(item));
  return flusso;
}

std::string Di(IFlusso& f, const char* nome) { return f.Membro(nome).ToText(); }

}  // namespace

void DemoFlussi(Plugin& plugin, sandbox::Ambiente& ambiente, refhost::Applicazione& host,
                Verifica& verifica, std::ostream& out) {
  auto& s = core::Ctx().settings;
  for (const auto& [chiave, valore] : ambiente.Chiavi()) {
    if (chiave == "client/indicatoripa") s.endpoint["indicatoripa"] = valore;
  }
  auto diabetici = Indicatore(host, "PA01", "Diabetici con emoglobina glicata", true);
  auto vaccinati = Indicatore(host, "PA02", "Vaccinati antinfluenzale over 65", false);
  Collection lista;
  lista.Add(Variant(diabetici));
  lista.Add(Variant(vaccinati));
  Variant dal("01/01/2026"), al("30/11/2026");
  const bool inviati = plugin.QZ04046_Invio(lista, dal, al);
  out << "Indicatori PA inviati: " << (inviati ? "" : plugin.LastError()) << '\n';
  for (auto* f : {diabetici.get(), vaccinati.get()}) {
    out << "    Stato " << Di(*f, "Stato") << "  " << Di(*f, "Ricevuta") << "  " << Di(*f, "Errori")
        << '\n';
  }
  verifica(inviati && Di(*diabetici, "Stato") == "1" &&
               Di(*vaccinati, "Ricevuta").rfind("Observation////", 0) == 0,
           "Indicatori PA accettati dal server FHIR, ricevute nei flussi");

  Variant origine(diabetici), letto;
  const bool recuperato = plugin.QZ04046_Recupera(origine, letto);
  auto flusso = letto.As<IFlusso>();
  auto item = flusso && flusso->DatiRecuperati().Count() > 0
                  ? flusso->DatiRecuperati().Item(1).As<host::IItemFlussoPA>()
                  : nullptr;
  const std::string valore = item ? item->Membro("Value").ToText() : plugin.LastError();
  out << "Indicatore riletto: " << valore << '\n';
  verifica(recuperato && item && valore == "0.7", "Indicatore riletto dalla sua ricevuta");

  Collection trovati;
  Variant codice;
  const bool cercati = plugin.QZ04046_Ricerca(trovati, codice, dal, al);
  out << "Indicatori trovati: " << trovati.Count() << '\n';
  verifica(cercati && trovati.Count() >= 2, "Ricerca degli indicatori del medico");

  const bool eliminati = plugin.QZ04046_Elimina(lista, dal, al);
  out << "Indicatori annullati: " << Di(*diabetici, "Stato") << " " << plugin.LastError() << '\n';
  verifica(eliminati && Di(*diabetici, "Stato") == "5", "Indicatori annullati sul server");
}

}  // namespace qzkiro::kiro
