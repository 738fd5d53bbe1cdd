#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cda/DocumentoConsenso.h"
#include "qzkiro/ModuliFse.h"
#include "qzkiro/Ui.h"

namespace qzkiro::consent {

using qzkiro::SchedaTutore;

// The host's check of a fiscal code (Framework.VerificaCodiceFiscale).
using VerificaCodiceFiscale = std::function<bool(const std::string&)>;

// The title of every message box of the consent dialogs.
inline constexpr std::string_view kTitoloKiro = "KIRO";

// The consent form of the regional health record: the three consents as
// pairs of option buttons, the patient's contacts, the guardian tabs, and
// what was loaded from the registry, so that the OK button can tell what
// the user changed.
class frmConsensoFSE : public ModuloConsensoFSE {
 public:
  // true: given, false: denied, nullopt: neither button of the pair is set.
  std::optional<bool> Scelta(cda::TipoConsenso tipo) const;
  void Scegli(cda::TipoConsenso tipo, std::optional<bool> scelta);

  // "1:a;2:b;3:c;4:d;5:e;6:f", one letter per option button: "1" when set,
  // nothing when not; so the form with no choice is "1:;2:;3:;4:;5:;6:".
  std::string Stato() const;
  // Sets the buttons from a state string (a set button may also be written
  // "-1", "True" or "Vero", an unset one "0", "False" or "Falso"). False,
  // buttons untouched, for text that is no state string or sets both
  // buttons of a pair.
  bool ImpostaStato(std::string_view stato);

  void RimuoviTutore(std::size_t indice);

  // Remembers the current choices, contacts and guardians as the ones in
  // force (after loading).
  void FissaCaricato();
  bool SceltaCambiata(cda::TipoConsenso tipo) const;
  // The patient's contacts or the guardians differ from those loaded
  // (blanks around a value do not count).
  bool RecapitiCambiati() const;
  // A contact that was registered is now empty.
  bool RecapitiCancellati() const;

  // The OK button's checks, in order; each stops with a message box or asks
  // a Yes/No question (a No stops). True when the submission may go on.
  // Without `verifica` guardians' fiscal codes are not checked.
  bool Conferma(core::Ui& ui, const VerificaCodiceFiscale& verifica) const;

 private:
  struct Istantanea {
    std::array<bool, 6> opzioni{};
    std::string cellulare;
    std::string email;
    std::vector<SchedaTutore> tutori;
  };
  Istantanea caricato_;
};

// A mobile number: an optional leading "+" and 8 to 15 digits, nothing else
// (no spaces or separators).
bool CellulareValido(std::string_view numero);
// An e-mail address: one "@" between a local part and a domain; the local
// part of letters, digits and !#$%&'*+/=?^_`{|}~.- without a leading,
// trailing or doubled dot; the domain of two or more dot-separated labels of
// letters, digits and hyphens (no hyphen at either end), the last of two or
// more letters; 254 characters at most.
bool EmailValida(std::string_view indirizzo);

}  // namespace qzkiro::consent
