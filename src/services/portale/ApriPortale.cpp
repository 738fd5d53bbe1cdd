// The regional operator portal: the portal notice (unless the user asked not
// to see it again), then the login page in the desktop's browser, with the
// user name the user saved for the regional services.

#include "core/Contesto.h"
#include "core/modLog.h"
#include "net/CredenzialiSalvate.h"
#include "services/portale/PortaleOperatore.h"
#include "services/portale/RottePortale.h"

namespace qzkiro::portale {

namespace {

void AvvisoPortale(core::Contesto& c) {
  auto& items = c.App().Utente().Items();
  const std::string chiave(frmInfoPortale::kImpostazione);
  if (!frmInfoPortale::DaMostrare(items.GetItem(chiave))) return;
  frmInfoPortale avviso;
  c.ui->InfoPortale(avviso);
  items.SetItem(chiave, avviso.Valore());
}

}  // namespace

}  // namespace qzkiro::portale

namespace qzkiro::op {

bool ApriPortaleOperatore() {
  using namespace portale;
  auto& c = core::Ctx();
  auto& app = c.App();
  const auto credenziali = net::CredenzialiSalvate::Leggi();
  AvvisoPortale(c);
  std::string indirizzo = app.Utente().Items().GetItem(kImpostazioneIndirizzo);
  if (indirizzo.empty()) indirizzo = kIndirizzoPredefinito;
  const std::string pagina = IndirizzoAccesso(indirizzo, credenziali ? credenziali->utente : "");
  core::modLog::Log("ApriPortaleOperatore", pagina);
  if (app.Framework().StartExDoc(pagina)) return true;
  c.last_error = "Non è stato possibile aprire il portale degli operatori: " + indirizzo;
  core::modLog::Log("ApriPortaleOperatore", c.last_error, true);
  return false;
}

}  // namespace qzkiro::op
