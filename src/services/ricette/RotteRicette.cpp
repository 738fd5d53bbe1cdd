#include "services/ricette/RotteRicette.h"

namespace qzkiro::services {

void RegistraRotte(core::Rotte& rotte) {
  rotte.VisualizzaPrescrizione = op::VisualizzaPrescrizione;
  rotte.InviaRicetteSospese = op::InviaRicetteSospese;
  rotte.InviaListaRicette = op::InviaListaRicette;
  rotte.AnnullaPrescrizione = op::AnnullaPrescrizione;
  rotte.AnnullaPrescrizioneBianca = op::AnnullaPrescrizioneBianca;
}

}  // namespace qzkiro::services
