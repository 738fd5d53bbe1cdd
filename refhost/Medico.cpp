#include "refhost/Medico.h"

#include <algorithm>

namespace qzkiro::refhost {

bool Medico::Noto(const std::string& nre) const {
  return std::find(disponibili_.begin(), disponibili_.end(), nre) != disponibili_.end() ||
         std::find(consegnati_.begin(), consegnati_.end(), nre) != consegnati_.end();
}

void Medico::CaricaLotto(const std::vector<std::string>& lotto) {
  for (const auto& nre : lotto) {
    if (!nre.empty() && !Noto(nre)) disponibili_.push_back(nre);
  }
}

bool Medico::RichiediNRE(host::IRicetta& ricetta) {
  if (disponibili_.empty()) return false;
  // Written first: a number the prescription refuses stays available.
  ricetta.Imposta("NRE", disponibili_.front());
  consegnati_.push_back(disponibili_.front());
  disponibili_.pop_front();
  return true;
}

}  // namespace qzkiro::refhost
