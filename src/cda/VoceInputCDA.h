#pragma once

#include <algorithm>
#include <exception>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "qzkiro/host/Input.h"
#include "qzkiro/host/Variant.h"

namespace qzkiro::cda {

// One entry of the host's result container (a report, an admission, ...)
// made by an Add… member. Its own members (AddEsame, AddDettagli,
// AddAllegato, ...) are reached on the entry when the host gives back a
// container; otherwise on the container, with the entry as first argument,
// as the host's records are filled.
class VoceInput {
 public:
  VoceInput(host::IInput& contenitore, host::Variant voce)
      : contenitore_(&contenitore), voce_(std::move(voce)) {}

  // Creates an entry with the container's member `membro`.
  static VoceInput Crea(host::IInput& contenitore, const std::string& membro,
                        const std::vector<host::Variant>& argomenti) {
    return VoceInput(contenitore, contenitore.Add(membro, argomenti));
  }

  host::Variant Chiama(const std::string& membro, std::vector<host::Variant> argomenti) const {
    if (auto propria = voce_.As<host::IInput>()) return propria->Add(membro, argomenti);
    argomenti.insert(argomenti.begin(), voce_);
    return contenitore_->Add(membro, argomenti);
  }

  const host::Variant& Voce() const { return voce_; }
  host::IInput& Contenitore() const { return *contenitore_; }

 private:
  host::IInput* contenitore_;
  host::Variant voce_;
};

// The import of a document into the host: its family must be one of
// `accettate`; `importa` does the work. False with `errore` ("<prefisso>:
// ...") when the family is missing or unknown or the import fails.
inline bool ImportaFamiglia(const std::string& prefisso, const std::string& famiglia,
                            std::span<const std::string_view> accettate, std::string& errore,
                            const std::function<void()>& importa) {
  errore.clear();
  if (famiglia.empty()) {
    errore = prefisso + ": Tipo referto non specificato";
    return false;
  }
  if (std::find(accettate.begin(), accettate.end(), famiglia) == accettate.end()) {
    errore = prefisso + ": Il referto di tipo " + famiglia + " non è riconosciuto";
    return false;
  }
  try {
    importa();
    return true;
  } catch (const std::exception& e) {
    errore = prefisso + ": " + e.what();
    return false;
  }
}

}  // namespace qzkiro::cda
