// The password change of the identity provider: the interactive change
// (after an expired password, or asked by the user with QZ01011) and its
// exchange.

#include "core/Contesto.h"
#include "net/CifraRSA.h"
#include "net/CredenzialiSalvate.h"
#include "net/MessaggiIdentita.h"
#include "net/RotteNet.h"
#include "net/clsAsserzione.h"
#include "qzkiro/Moduli.h"
#include "qzkiro/Ui.h"

namespace qzkiro::net {

bool clsAsserzione::UpdatePassword(clsItemAsserzione& item) {
  auto& c = core::Ctx();
  frmUpdatePasswordAsserzione form;
  form.UserName = item.UserName;
  for (;;) {
    if (!c.ui->CambioPassword(form)) {
      last_error_ = "Operazione annullata dall'utente";
      return false;
    }
    const std::string avviso = form.Valida();
    if (avviso.empty()) break;
    c.ui->MsgBox(avviso, core::stile::kAvviso, "KIRO");
  }
  // The item keeps its credentials until the provider accepts the change.
  clsItemAsserzione cambio = item;
  cambio.UserName = form.UserName;
  cambio.Password = form.Password;
  if (!CambiaPassword(cambio, form.NuovaPassword)) return false;
  item.UserName = cambio.UserName;
  item.Password = cambio.Password;
  if (CredenzialiSalvate::Leggi()) CredenzialiSalvate{item.UserName, item.Password}.Salva();
  c.ui->MsgBox("Password modificata con successo!", core::stile::kInformazione,
               "Aggiorna Password");
  return true;
}

bool clsAsserzione::CambiaPassword(clsItemAsserzione& item, const std::string& nuova) {
  const std::string id = PreparaRichiesta(item);
  const std::string& certificato = core::Ctx().settings.certificato;
  const std::string prefisso = item.Nonce + item.TimeStamp;
  const std::string busta =
      BustaAggiornaPassword(item, id, CifraRSA(prefisso + item.Password, certificato),
                            CifraRSA(prefisso + nuova, certificato));
  clsSOAP soap = ClientProvider("urn:rve:UpdatePassword", "UpdatePassword");
  const bool inviata = soap.Send(busta);
  std::string errore;
  if (!LeggiRispostaAggiornaPassword(inviata ? soap.Response() : soap.LastErrorResponse(),
                                     errore)) {
    // The provider's reason when it gave one, else what went wrong on the way.
    if (errore.empty())
      errore = inviata ? "Non è stato possibile leggere la risposta" : soap.LastError();
    last_error_ = errore;
    return false;
  }
  const std::string precedente = item.Password;
  item.Password = nuova;
  for (const auto& voce : cache_) {
    if (voce->UserName == item.UserName && voce->Password == precedente) voce->Password = nuova;
  }
  if (ricordate_.utente != item.UserName) ricordate_ = {item.UserName, {}, {}, {}};
  ricordate_.password = nuova;
  return true;
}

std::string clsAsserzione::UtenteNoto() const {
  if (!ricordate_.utente.empty()) return ricordate_.utente;
  auto salvate = CredenzialiSalvate::Leggi();
  return salvate ? salvate->utente : std::string();
}

}  // namespace qzkiro::net

namespace qzkiro::op {

bool ModificaPassword(host::Variant&) {
  auto& c = core::Ctx();
  auto* servizio = dynamic_cast<net::clsAsserzione*>(c.servizio_asserzione.get());
  if (!servizio) {
    core::SegnaNonImplementato();
    return false;
  }
  clsItemAsserzione item;
  item.UserName = servizio->UtenteNoto();
  if (servizio->UpdatePassword(item)) return true;
  c.last_error = servizio->LastError();
  return false;
}

}  // namespace qzkiro::op
