#include "services/regione/ServiziRegionali.h"

#include "core/AccessoContesto.h"
#include "core/Contesto.h"
#include "core/Versione.h"
#include "net/modHL7.h"
#include "qzkiro/Failure.h"
#include "qzkiro/host/Template.h"
#include "util/clsXML.h"

namespace qzkiro::regione {

using hl7::clsHL7;

namespace {

std::shared_ptr<host::ITemplate> Modello(host::Variant& Template) {
  auto modello = Template.As<host::ITemplate>();
  if (!modello) throw Failure(kMembroNonSupportato, "Modello della richiesta non valido");
  return modello;
}

// Visits the children of the answer's root in document order.
bool LeggiMessaggi(core::Contesto& c, const ServizioRegionale& servizio, host::IInput& risultato,
                   const GestoreMessaggio& gestore) {
  bool gestito = false;
  auto documento = c.risposta_regionale;
  if (!documento || !documento->rootNode()) return false;
  clsHL7 lettore(core::AccessoDelContesto());
  lettore.InitXML(documento.get());
  for (auto* figlio : util::clsXML::Figli(documento->rootNode())) {
    if (util::clsXML::Nome(figlio).substr(0, 8) != servizio.prefisso) continue;
    lettore.InitParentNode(figlio);
    if (gestore(lettore, risultato)) gestito = true;
    if (c.ui) c.ui->DoEvents();
  }
  return gestito;
}

}  // namespace

bool EseguiServizio(const ServizioRegionale& servizio, host::Variant& Template,
                    const GestoreMessaggio& gestore, bool serve_gestito) {
  auto& c = core::Ctx();
  auto modello = Modello(Template);
  modello->Add("Versione", std::string(core::kProdottoHost) + "." + core::TestoVersione());
  c.last_response.reset();
  const std::string mittente = c.App().Utente().CodiceFiscale();
  if (!net::InviaHL7(std::string(servizio.codice), true, mittente, modello->Template())) {
    return false;
  }
  if (servizio.prefisso.empty()) return true;
  auto risultato = c.App().Framework().NewInput();
  c.last_response = risultato;
  const bool gestito = LeggiMessaggi(c, servizio, *risultato, gestore);
  return serve_gestito ? gestito : true;
}

}  // namespace qzkiro::regione
