#include "services/fse/RotteFse.h"

namespace qzkiro::fse {

void RegistraRotte(core::Rotte& rotte) {
  rotte.QueryPaziente = op::QueryPaziente;
  rotte.ElencoDocumentiFSE = op::ElencoDocumentiFSE;
  rotte.DocumentoProcessoRicetta = op::DocumentoProcessoRicetta;
  rotte.AziendaAssistenza = op::AziendaAssistenza;
  rotte.RecuperaDocumentoFSE = op::RecuperaDocumentoFSE;
  rotte.PubblicaProfiloSanitario = op::PubblicaProfiloSanitario;
  rotte.VerificaConsensoFSE = VerificaConsensoFSE();
}

}  // namespace qzkiro::fse
