#include "refhost/Flusso.h"

namespace qzkiro::refhost {

namespace {

const std::vector<Proprieta>& TabellaFlusso() {
  static const std::vector<Proprieta> tabella = {
      {"Stato", 0},           {"Errori", ""},          {"Ricevuta", ""},
      {"RicevutaTemp", ""},   {"ServerStatus", ""},    {"ServerComment", ""},
      {"DataCreazione", ""},  {"DataInvio", ""},       {"DataRicezione", ""},
      {"DataElaborazione", ""}, {"IDRichiesta", ""},   {"anagrafica", ""},
      {"StrRecordsRecuperati", ""}, {"IDFlusso", ""},  {"MemoRisposta", ""},
  };
  return tabella;
}

const std::vector<Proprieta>& TabellaIndicatore() {
  static const std::vector<Proprieta> tabella = {
      {"DataAggiornamento", ""}, {"Gruppo", ""},    {"CatSystem", ""},   {"CatCode", ""},
      {"CatDisplay", ""},        {"CodSystem", ""}, {"CodCode", ""},     {"CodDisplay", ""},
      {"PeriodStart", ""},       {"PeriodEnd", ""}, {"Method", ""},      {"Numerator", ""},
      {"Denominator", ""},       {"Value", ""},     {"Unit", ""},        {"Status", ""},
      {"comment", ""},           {"Elaborato", false},
  };
  return tabella;
}

const std::vector<Proprieta>& TabellaItem() {
  static const std::vector<Proprieta> tabella = {
      {"Tipo", 0},           {"Data", ""},          {"DataFine", ""},      {"Codice", ""},
      {"Descrizione", ""},   {"Dettaglio", ""},     {"IDDiagnosi", ""},    {"Diagnosi", ""},
      {"Pianificata", false}, {"IDRisorsa", ""},    {"CodiceVaccino", ""}, {"CodiceFarmaco", ""},
      {"Lotto", ""},         {"Scadenza", ""},      {"Sito", ""},          {"Via", ""},
      {"Campagna", 0},       {"CategoriaRischio", ""}, {"Malattie", ""},
      {"NonSomministrata", false}, {"Pagamento", ""},
  };
  return tabella;
}

}  // namespace

ItemFlusso::ItemFlusso() : valori_("ItemFlusso", TabellaItem()) {}

Flusso::Flusso() : valori_("Flusso", TabellaFlusso()) {}

ItemFlussoPA::ItemFlussoPA() : valori_("ItemFlussoPA", TabellaIndicatore()) {}

}  // namespace qzkiro::refhost
