#pragma once

#include <optional>
#include <string>

#include "consent/ServiziConsenso.h"
#include "core/Orologio.h"
#include "qzkiro/Ui.h"
#include "util/DataOra.h"

namespace qzkiro::consent {

// After a regional server failed to answer, verification stays off for an
// hour for the whole running add-on: the owner keeps one of these for as
// long as the add-on's context lives. Time is read as UTC, so a change of
// the local clock's zone offset neither lengthens nor shortens the pause.
class PausaVerifica {
 public:
  static constexpr long long kSecondi = 60 * 60;
  bool Attiva(const core::Orologio& orologio) const;
  void Inizia(const core::Orologio& orologio);

 private:
  std::optional<util::DataOra> guasto_;
};

// "Verifica Privacy FSEr di " + the patient's full name.
std::string TitoloVerifica(const std::string& nome_completo);

// The verification was switched off after a server failure.
extern const char* const kVerificaSospesa;

// The patient's record as verification reads it.
struct RecapitiRecord {
  std::string cellulare;
  std::string email;
};

// The silent verification: while paused it does nothing; otherwise it
// obtains the regional identifier, reads the consents in force, stores their
// state string and copies contacts the registry has and the record lacks or
// holds differently. A server that does not answer starts the pause and
// tells the user so; any other failure is shown prefixed "Attenzione: ".
// Message boxes carry the title "KIRO". True when it ran to the end.
bool VerificaConsenso(ServiziConsenso& servizi, PausaVerifica& pausa,
                      const core::Orologio& orologio, core::Ui& ui, const RecapitiRecord& record);

}  // namespace qzkiro::consent
