#include "fhir/VoceLocale.h"

#include <optional>

#include "fhir/MisuraDiabete.h"

namespace qzkiro::fhir {

namespace {

// Local midnight of a "yyyymmdd" day, as UTC.
std::optional<util::DataOra> GiornoUtc(const std::string& data, long scarto_utc) {
  if (data.size() < 8) return std::nullopt;
  const auto giorno = util::DataOra::Leggi(data.substr(0, 4) + "-" + data.substr(4, 2) + "-" +
                                           data.substr(6, 2) + " 00:00:00");
  if (!giorno) return std::nullopt;
  return giorno->PiuSecondi(-scarto_utc);
}

struct Regola {
  CategoriaAttivita categoria;
  std::optional<ListaAttivita> lista;  // none for PPIP: the host's catalogue
  const char* predefinito;             // the coding when the item names none
  const char* errore;                  // the message of a coding it lacks
};

std::optional<Regola> RegolaDi(int tipo) {
  switch (tipo) {
    case kVoceAccesso:
      return Regola{CategoriaAttivita::Incontro, ListaAttivita::Accesso, "",
                    "Tipo di accesso non riconosciuto"};
    case kVocePPIP:
      return Regola{CategoriaAttivita::Procedura, std::nullopt, "",
                    "Prestazione PPIP senza codice"};
    case kVocePrescrizione:
      return Regola{CategoriaAttivita::Farmaco, ListaAttivita::PrioritaPrescrizione, "Programmato",
                    "Priorità della prescrizione non riconosciuta"};
    case kVoceVisitaDomicilio:
      return Regola{CategoriaAttivita::Incontro, ListaAttivita::Altro, "Visita a domicilio",
                    "Tipo di visita non riconosciuto"};
    case kVoceAssistenzaDomiciliare:
      return Regola{CategoriaAttivita::Procedura, ListaAttivita::AssistenzaDomiciliare, "",
                    "Assistenza domiciliare non riconosciuta"};
    case kVoceProblema:
      return Regola{CategoriaAttivita::Altro, ListaAttivita::Problema, "Problema",
                    "Tipo di problema non riconosciuto"};
    default:
      return std::nullopt;
  }
}

std::string Attivita(const VoceLocale& v, const Regola& regola, long scarto_utc,
                     FlussoCarePlan& flusso) {
  AttivitaFlusso a;
  a.Categoria = regola.categoria;
  const std::string chiave = v.Codice.empty() ? regola.predefinito : v.Codice;
  if (regola.lista) {
    a.Codice = CercaCodifica(*regola.lista, chiave);
  } else if (!chiave.empty()) {
    a.Codice = {Sistema14(".14.8.1"), chiave, v.Descrizione};
  }
  if (a.Codice.Vuota()) {
    return std::string(regola.errore) + ": '" + chiave + "' (" + v.Descrizione + ")";
  }
  a.Pianificata = v.Pianificata;
  a.InizioUtc = GiornoUtc(v.Data, scarto_utc);
  if (!a.InizioUtc) return "Data non valida per '" + v.Descrizione + "': '" + v.Data + "'";
  a.FineUtc = GiornoUtc(v.DataFine, scarto_utc);
  a.Motivo = {"", v.IDDiagnosi, v.Diagnosi};
  a.Descrizione = v.Descrizione;
  flusso.Attivita.push_back(std::move(a));
  return {};
}

std::vector<Codifica> Malattie(const std::string& elenco) {
  std::vector<Codifica> malattie;
  std::size_t inizio = 0;
  while (inizio <= elenco.size()) {
    std::size_t fine = elenco.find(',', inizio);
    if (fine == std::string::npos) fine = elenco.size();
    std::string codice = elenco.substr(inizio, fine - inizio);
    while (!codice.empty() && codice.front() == ' ') codice.erase(0, 1);
    while (!codice.empty() && codice.back() == ' ') codice.pop_back();
    if (!codice.empty()) malattie.push_back({std::string(kSistemaMalattia), codice, ""});
    inizio = fine + 1;
  }
  return malattie;
}

void Vaccinazione(const VoceLocale& v, const std::string& guid, FlussoCarePlan& flusso) {
  if (flusso.Esteso && !DaVarianteEstesa(v.Data)) return;
  VaccinazioneFlusso x;
  x.Guid = guid;
  x.IdServer = v.IdServer;
  x.NonSomministrata = v.NonSomministrata;
  if (!v.CodiceVaccino.empty()) {
    x.Vaccino = {std::string(kSistemaCvx), v.CodiceVaccino, v.Descrizione};
  } else if (!v.CodiceFarmaco.empty()) {
    x.Vaccino = {std::string(kSistemaFarmaco), v.CodiceFarmaco, v.Descrizione};
  } else {
    x.Vaccino = {std::string(kSistemaCvx), "", v.Descrizione};
  }
  x.Data = v.Data;
  x.Lotto = v.Lotto;
  x.Scadenza = v.Scadenza;
  if (!v.Sito.empty()) x.Sito = {"", v.Sito, ""};
  if (!v.Via.empty()) x.Via = {"", v.Via, ""};
  x.Campagna = v.Campagna == 1   ? CampagnaVaccinale::Antinfluenzale
               : v.Campagna == 2 ? CampagnaVaccinale::Altra
                                 : CampagnaVaccinale::Nessuna;
  x.CategoriaRischio = v.CategoriaRischio;
  x.Malattie = Malattie(v.Malattie);
  // A dose not given does not count towards the schedule.
  x.Conta = !v.NonSomministrata;
  if (flusso.Esteso) {
    x.Pagamento = v.Pagamento == "MP03" ? PagamentoAssistito() : PagamentoSsn();
    x.Motivi = kMotiviEstesi;
  }
  flusso.Vaccinazioni.push_back(std::move(x));
}

std::string Osservazione(const VoceLocale& v, const std::string& guid, FlussoCarePlan& flusso) {
  std::optional<MisuraDiabete> misura = MisuraDaRecord(v.TipoRecord, v.Valore);
  if (!misura) {
    return "Misura non riconosciuta: record di tipo " + std::to_string(v.TipoRecord) + " (" +
           v.Descrizione + ")";
  }
  OsservazioneFlusso o = std::move(misura->Osservazione);
  o.Guid = guid;
  o.IdServer = v.IdServer;
  flusso.Osservazioni.push_back(std::move(o));
  return {};
}

}  // namespace

std::string AggiungiVoce(const VoceLocale& voce, const std::string& guid, long scarto_utc,
                         FlussoCarePlan& flusso) {
  if (voce.Tipo == kVoceVaccinazione) {
    Vaccinazione(voce, guid, flusso);
    return {};
  }
  if (voce.Tipo == kVoceOsservazione) return Osservazione(voce, guid, flusso);
  const std::optional<Regola> regola = RegolaDi(voce.Tipo);
  if (!regola) {
    return "Attività locale non riconosciuta (tipo " + std::to_string(voce.Tipo) +
           "): " + voce.Descrizione;
  }
  return Attivita(voce, *regola, scarto_utc, flusso);
}

}  // namespace qzkiro::fhir
