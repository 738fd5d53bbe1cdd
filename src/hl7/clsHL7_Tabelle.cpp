#include <algorithm>
#include <span>

#include "hl7/TabelleHL7.h"

namespace qzkiro::hl7::tabelle {

namespace {

struct Voce {
  std::string_view codice;
  std::string_view testo;
};

std::string Cerca(std::span<const Voce> tabella, std::string_view codice) {
  auto it = std::find_if(tabella.begin(), tabella.end(),
                         [&](const Voce& v) { return v.codice == codice; });
  return it == tabella.end() ? std::string() : std::string(it->testo);
}

constexpr Voce kProposte[] = {
    {"01",
     "Paziente che acceda all'istituto di cura senza proposta di ricovero formulata da un medico "
     "(ricorso diretto)"},
    {"02", "Paziente inviato all'istituto di cura con proposta del medico di base"},
    {"03", "Ricovero precedentemente programmato dallo stesso istituto di cura"},
    {"04", "Paziente trasferito da un istituto di cura pubblico"},
    {"05", "Paziente trasferito da un istituto di cura privato accreditato"},
    {"06", "Paziente trasferito da istituto di cura privato non accreditato"},
    {"07",
     "Paziente trasferito da altro regime di ricovero (ricovero diurno o ordinario o "
     "ospedalizzazione domiciliare) nello stesso istituto"},
    {"08", "Paziente inviato da altra assistenza (ADI)"},
    {"09", "Paziente inviato all'istituto di cura con proposta del medico specialista"},
    {"10", ""},
    {"11", "ADI: Segnalazione effettuata da medico"},
    {"12", "ADI: Segnalazione effettuata da ospedale"},
    {"13", "ADI: Segnalazione effettuata da paziente/familiari"},
    {"14", "ADI: Segnalazione effettuata da servizi sociali"},
    {"15", "ADI: Segnalazione effettuata da volontariato"},
};

constexpr Voce kTipiRicovero[] = {
    {"01", "Ricovero programmato, non urgente"},
    {"02", "Ricovero d'urgenza"},
    {"03", "Ricovero per T.S.O. (Trattamento Sanitario Obbligatorio)"},
    {"04", "Ricovero programmato con preospedalizzazione"},
};

constexpr Voce kDimissioni[] = {
    {"1", "Deceduto"},
    {"2", "Dimissione ordinaria al domicilio del paziente"},
    {"3",
     "Dimissione protetta presso strutture extraospedaliere \u2013 (RSA, Casa Protetta, "
     "Hospice)"},
    {"4", "Dimissione protetta al domicilio del paziente (anche ospedalizzazione domiciliare)"},
    {"5", "Dimissione volontaria"},
    {"6", "Trasferito ad altro ospedale per acuti pubblico o privato"},
    {"7", "Trasferito ad altro regime di ricovero nell\u2019ambito dello stesso istituto"},
    {"8", "Trasferimento ad un istituto pubblico o privato di riabilitazione"},
    {"9", "Dimissione protetta con attivazione di assistenza domiciliare integrata (ADI)"},
};

constexpr Voce kMobilita[] = {
    {"A0", "Paziente ambulabile"},
    {"A1", "Paziente non ambulabile"},
};

constexpr Voce kTipiPaziente[] = {
    {"11", "Paziente di nuova diagnosi"},
    {"12", "Paziente ex in carico altro MMG"},
    {"13", "Paziente ex in carico Servizio di diabetologia"},
};

constexpr Voce kFineCarico[] = {
    {"1", "Revoca"},
    {"2", "Decesso"},
};

constexpr Voce kStatiPrescrizione[] = {
    {"CA", "Annullata dal medico"}, {"DC", "Invalidata"}, {"SC", "Prenotata/Accettata"},
    {"CM", "Completata"},           {"SG", "Segnalata"},  {"CS", "Consistente"},
};

constexpr Voce kStatiDema[] = {
    {"VA", "Valida"},
    {"CA", "Annullata"},
    {"ER", "Erogata"},
    {"PE", "Parzialmente erogata"},
    {"PA", "Prenotata/Accettata"},
};

constexpr Voce kFineRapporto[] = {
    {"REV", "Revoca"},
    {"RV1", "Revoca medico (art.7)"},
    {"RV2", "Revoca per decesso"},
    {"RV3", "Revoca per cambio residenza"},
    {"RV4", "Revoca per doppia iscrizione"},
    {"RV5", "Revoca per compimento 14 anni"},
};

constexpr Voce kTipiDocumento[] = {
    {"DIA", "Report diabetologico"},
    {"LAB", "Referto di laboratorio"},
    {"MIC", "Referto di microbiologia"},
    {"RAD", "Referto di radiologia"},
    {"RPS", "Referto di Pronto Soccorso"},
    {"SPS", "Referto di specialistica ambulatoriale"},
    {"PSS", "Patient summary"},
};

constexpr Voce kNotifiche[] = {
    {"AAA", "Attivazione contratto ADI"},
    {"ALL", "Allineamento dati"},
    {"AGC", "Notifica di Aggiornamento Catalogo"},
    {"AGG", "Aggiornamento anagrafica"},
    {"AGS", "Aggiornamento per sostituzione"},
    {"CAS", "Consenso assente"},
    {"CED", "Notifica di Cedolino"},
    {"CNE", "Consenso negato"},
    {"CRC", "Consenso revocato con cancellazione"},
    {"CRE", "Consenso revocato"},
    {"CRI", "Consenso presente"},
    {"CSC", "Consenso scaduto"},
    {"DDI", "Cancellazione avvenuta dimissione"},
    {"DIA", "Report diabetologico"},
    {"DIM", "Dimissione"},
    {"DLE", "Cancellazione lettera di dimissione"},
    {"DRI", "Cancellazione avvenuto ricovero"},
    {"LAB", "Referto di laboratorio"},
    {"LEA", "Integrazione lettera di dimissione"},
    {"LED", "Lettera di dimissione"},
    {"LES", "Sostituzione lettera di dimissione"},
    {"MIC", "Referto di microbiologia"},
    {"NMV", "Resoconto visita"},
    {"NPS", "Notifica di avvenuta refertazione di Pronto Soccorso"},
    {"NSP", "Notifica di sostituzione di referto di Pronto Soccorso"},
    {"PAA", "Proposta attivazione ADI"},
    {"PSS", "Patient summary"},
    {"PUB", "Notifica di nuovo Publish"},
    {"RAA", "Rifiuto attivazione ADI"},
    {"RAD", "Referto di radiologia"},
    {"REF", "Referto"},
    {"REV", "Revoca"},
    {"RIC", "Ricovero"},
    {"RPS", "Referto di Pronto Soccorso"},
    {"RV1", "Revoca medico (art.7)"},
    {"RV2", "Revoca per decesso"},
    {"RV3", "Revoca per cambio residenza"},
    {"RV4", "Revoca per doppia iscrizione"},
    {"RV5", "Revoca per compimento 14 anni"},
    {"SNM", "Scelta nuovo medico (aggiunto paziente)"},
    {"SPS", "Referto di specialistica ambulatoriale"},
    {"SRF", "Sostituzione di referto"},
    {"UNP", "Notifica di UNPublish"},
    {"GEN", "Notifica generica"},
    {"kiro_tc001", "Referto Esame Laboratorio"},
    {"kiro_tc002", "Referto Esame Telelaboratorio POCT"},
    {"kiro_tc003", "Prescrizione Specialistica"},
    {"kiro_tc004", "Prescrizione Farmaceutica"},
    {"kiro_tc005", "Lettera di Dimissione"},
    {"kiro_tc006", "Verbale di Pronto Soccorso"},
};

}  // namespace

std::string PropostaDiRicovero(std::string_view codice) {
  return Cerca(kProposte, codice);
}
std::string TipoRicovero(std::string_view codice) {
  return Cerca(kTipiRicovero, codice);
}
std::string ModalitaDimissione(std::string_view codice) {
  return Cerca(kDimissioni, codice);
}
std::string Mobilita(std::string_view codice) {
  return Cerca(kMobilita, codice);
}
std::string TipoPaziente(std::string_view codice) {
  return Cerca(kTipiPaziente, codice);
}
std::string MotivoFineCarico(std::string_view codice) {
  return Cerca(kFineCarico, codice);
}
std::string StatoPrescrizione(std::string_view codice) {
  return Cerca(kStatiPrescrizione, codice);
}
std::string StatoPrescrizioneDema(std::string_view codice) {
  return Cerca(kStatiDema, codice);
}
std::string MotivoFineRapporto(std::string_view codice) {
  return Cerca(kFineRapporto, codice);
}
std::string TipoDocumento(std::string_view codice) {
  return Cerca(kTipiDocumento, codice);
}
std::string Notifica(std::string_view codice) {
  return Cerca(kNotifiche, codice);
}

}  // namespace qzkiro::hl7::tabelle
