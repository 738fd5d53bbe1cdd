#include "core/UiRegistrata.h"

#include <stdexcept>

namespace qzkiro::core {

int RispostaPredefinita(int stile) {
  switch (stile & 7) {
    case stile::kOKAnnulla:
      return risposta::kOK;
    case stile::kSiNo:
    case stile::kSiNoAnnulla:
      return risposta::kSi;
    default:
      return risposta::kOK;
  }
}

int UiRegistrata::MsgBox(const std::string& testo, int stile, const std::string& titolo) {
  mostrati_.push_back({testo, stile, titolo});
  if (!risposte_.empty()) {
    int answer = risposte_.front();
    risposte_.pop_front();
    return answer;
  }
  if (modo_ == Modo::Scriptata && (stile & 7) != stile::kOK) {
    throw std::logic_error("domanda senza risposta preparata: " + testo);
  }
  return RispostaPredefinita(stile);
}

}  // namespace qzkiro::core
