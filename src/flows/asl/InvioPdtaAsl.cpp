#include <cctype>

#include "core/Contesto.h"
#include "flows/asl/CredenzialiACN.h"
#include "flows/asl/InvioFlussoAsl.h"
#include "flows/asl/RotteAsl.h"

// The PDTA indicators sent to the unit's flow service as text.
namespace qzkiro::op {

bool InviaPDTA(Variant&, const std::string& XML, Variant&, Variant& Ricevuta) {
  auto& c = core::Ctx();
  auto& utente = c.App().Utente();
  const std::string codice_asl = utente.CodiceRegioneASL();
  const auto servizio = asl::ServizioDellaAsl(codice_asl);
  if (servizio == asl::ServizioAsl::kNessuno) {
    c.last_error = "Codice ASL " + codice_asl + " non implementato";
    return false;
  }
  const auto credenziali = asl::ChiediCredenzialiACN();
  if (!credenziali) {
    c.last_error = "Invio annullato dall'utente";
    return false;
  }
  std::string cf = utente.CodiceFiscale();
  for (char& ch : cf) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  const std::string id_file = cf + "_01012022_31122022";
  const auto scambio = asl::InviaAlServizioFlussi(
      servizio, "InvioPDTA",
      asl::BustaInvioPdta(cf, credenziali->utente, credenziali->password, id_file, XML),
      "invioPdta");
  if (!scambio.errore.empty()) {
    c.last_error = scambio.errore;
    return false;
  }
  if (!scambio.esito.letto) {
    c.last_error = asl::kRispostaNonValida;
    return false;
  }
  if (!scambio.esito.Accettato()) {
    c.last_error = scambio.esito.Messaggio(id_file);
    return false;
  }
  Ricevuta =
      Variant(scambio.esito.descrizione.empty() ? scambio.esito.codice : scambio.esito.descrizione);
  return true;
}

}  // namespace qzkiro::op
