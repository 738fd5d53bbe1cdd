#include "services/assistiti/RecordAssistito.h"

#include <vector>

#include "services/regione/BloccoPaziente.h"

namespace qzkiro::assistiti {

namespace {

// The positions of AddAnagrafica's values (after the record and the date).
constexpr std::size_t kValoriAnagrafica = 28;
constexpr std::size_t kAslAssistenza = 26;

}  // namespace

host::Variant AnagraficaLocale(host::IInput& risultato, const AssistitoFse& assistito,
                               host::IPaziente* paziente, const std::string& asl) {
  host::Variant record = risultato.Add("AddPaziente", {});
  std::vector<host::Variant> anagrafica{record, regione::Oggi(), assistito.codice_fiscale, ""};
  if (paziente) {
    anagrafica.insert(anagrafica.end(), {paziente->Cognome(), paziente->Nome(), paziente->Sesso(),
                                         paziente->DataNascita()});
  } else {
    anagrafica.insert(anagrafica.end(), {kCognomeSconosciuto, "", "", ""});
  }
  anagrafica.resize(kValoriAnagrafica);  // birth place, addresses and contacts are the index's
  anagrafica[kAslAssistenza] = asl;
  risultato.Add("AddAnagrafica", anagrafica);
  return record;
}

}  // namespace qzkiro::assistiti
