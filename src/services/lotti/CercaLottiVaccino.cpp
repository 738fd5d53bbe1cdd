// The regional search of vaccine lots: by active principle or AIC code, for
// the user's health unit; each lot found becomes a line of the host's list.

#include <memory>

#include "core/Contesto.h"
#include "core/modLog.h"
#include "net/clsREST.h"
#include "services/lotti/CredenzialiLotti.h"
#include "services/lotti/RicercaLotti.h"
#include "services/lotti/RotteLotti.h"
#include "util/Testo.h"

namespace qzkiro::lotti {

namespace {

bool Errore(const std::string& testo) {
  core::Ctx().last_error = testo;
  return false;
}

// The host's list, or a new one put in its place when the host gave none.
host::Collection& Elenco(host::Variant& lista) {
  auto elenco = lista.As<host::Collection>();
  if (!elenco) {
    elenco = std::make_shared<host::Collection>();
    lista = host::Variant(elenco);
  }
  return *elenco;
}

bool CercaLotti(const std::string& antigene, const std::string& aic, host::Variant& lista) {
  auto& c = core::Ctx();
  if (antigene.empty() && aic.empty()) {
    return Errore("Indicare il codice dell'antigene o il codice AIC del vaccino");
  }
  const std::string base = c.settings.Endpoint("lotti");
  if (base.empty()) return Errore("Indirizzo del servizio di ricerca dei lotti non configurato");
  net::clsREST rest;
  rest.ImpostaDaSettings(c.settings);
  rest.URL = base + kPercorsoLotti + QueryLotti(antigene, aic, c.App().Utente().CodiceRegioneASL());
  rest.Method = "GET";
  rest.Accept = "application/xml";
  rest.UserName = UtenteLotti();
  rest.Password = PasswordLotti();
  rest.Servizio = "CercaLotti";
  rest.FileLog = core::modLog::SoapDumpFileName(c);
  if (!rest.Send("")) return Errore(rest.LastError());
  const auto righe = LeggiLotti(rest.Response());
  if (!righe) return Errore("Non è stato possibile leggere la risposta");
  host::Collection& elenco = Elenco(lista);
  for (const std::string& riga : *righe) elenco.Add(host::Variant(riga));
  return true;
}

}  // namespace
}  // namespace qzkiro::lotti

namespace qzkiro::op {

bool CercaLottiVaccino(Variant& CodiceAntigene, Variant& CodiceAIC, Variant& Lista) {
  return lotti::CercaLotti(util::Trim(CodiceAntigene.ToText()), util::Trim(CodiceAIC.ToText()),
                           Lista);
}

}  // namespace qzkiro::op
