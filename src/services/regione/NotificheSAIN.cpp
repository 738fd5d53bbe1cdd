// The doctor's notifications (SAIN): one host notification per message, with
// the patient's registry data when the message carries them.

#include <algorithm>
#include <array>
#include <string_view>

#include "services/regione/RotteRegione.h"
#include "core/AccessoContesto.h"
#include "services/regione/BloccoPaziente.h"
#include "services/regione/ServiziRegionali.h"

namespace qzkiro::regione {

using hl7::clsHL7;

namespace {

using host::Variant;

constexpr std::array<std::string_view, 16> kTipiAnagrafici = {
    "ALL", "AGG", "SNM", "REV", "RV1", "RV2", "RV3", "RV4",
    "RV5", "AGS", "CRI", "CNE", "CRE", "CRC", "CSC", "CAS"};
constexpr std::array<std::string_view, 6> kTipiRevoca = {"REV", "RV1", "RV2", "RV3", "RV4", "RV5"};
constexpr std::array<std::string_view, 14> kTipiDocumento = {"REF", "SRF", "DIA", "DIM", "RIC",
                                                             "LED", "DRI", "DDI", "DLE", "LES",
                                                             "LEA", "NPS", "NSP", "NMV"};

template <std::size_t N>
bool Tra(const std::array<std::string_view, N>& tipi, const std::string& tipo) {
  return std::find(tipi.begin(), tipi.end(), tipo) != tipi.end();
}

// The notification's own fields, then the reader's last error and the
// patient's surname, name and fiscal code ("" when not known).
void AggiungiNotifica(const clsHL7& l, host::IInput& risultato, const std::string& descrizione,
                      const std::string& errore, const std::string& cognome = {},
                      const std::string& nome = {}, const std::string& codice_fiscale = {}) {
  risultato.Add("AddNotifica", {l.IDNotifica(), l.IDDocumentoNotificato(), l.DataNotifica(),
                                l.TipoNotifica(), l.TipoDocumentoNotificato(), l.StatoNotifica(),
                                descrizione, errore, cognome, nome, codice_fiscale, ""});
}

// The end of a revoked relationship: the notice's date, or today.
std::string FineRevoca(const clsHL7& l) {
  const std::string data = l.DataNotifica().substr(0, 8);
  return data.empty() ? Oggi() : data;
}

void NotificaAnagrafica(clsHL7& l, host::IInput& risultato, const std::string& tipo) {
  auto documento = l.CDA();
  if (!documento) {
    AggiungiNotifica(l, risultato, l.DescrizioneNotifica(), l.LastError());
    return;
  }
  clsHL7 allegato(core::AccessoDelContesto());
  allegato.InitXML(documento.get());
  AggiungiNotifica(l, risultato, l.DescrizioneNotifica(), l.LastError(), allegato.Cognome(),
                   allegato.Nome());
  OpzioniPaziente opzioni{true, true, true, {}};
  if (Tra(kTipiRevoca, tipo)) opzioni.fine_revoca = FineRevoca(l);
  BloccoPaziente(allegato, risultato, opzioni);
}

bool Notifica(clsHL7& l, host::IInput& risultato) {
  const std::string tipo = l.TipoNotifica();
  if (Tra(kTipiAnagrafici, tipo)) {
    NotificaAnagrafica(l, risultato, tipo);
  } else if (Tra(kTipiDocumento, tipo)) {
    AggiungiNotifica(l, risultato, l.DescrizioneTipoDocumento(), l.LastError(), l.Cognome(),
                     l.Nome(), l.CodiceFiscale());
  } else {
    return false;
  }
  return true;
}

}  // namespace

}  // namespace qzkiro::regione

namespace qzkiro::op {

bool InterrogaAnagrafica(Collection&, Variant& Template) {
  return regione::EseguiServizio(regione::servizio::kSAIN, Template, regione::Notifica);
}

}  // namespace qzkiro::op
