#include "consent/clsCDA2_PAS.h"

#include <utility>

#include "consent/MetadatiInvio.h"

namespace qzkiro::consent {

clsCDA2_PAS::clsCDA2_PAS(const util::DataOra& adesso, std::string marca_temporale)
    : creazione_(adesso, std::move(marca_temporale)) {
  Tabelle.cerca = RicercaTabelle(adesso);
}

util::clsXML clsCDA2_PAS::BustaSoap() const {
  xds::InvioDocumenti invio;
  invio.to = Endpoint;
  invio.message_id = Guid();
  invio.marca_temporale = creazione_.MarcaTemporale;
  invio.id_unico = creazione_.Semplice();
  invio.autore = AutoreDi(UtenteMedico);
  invio.paziente = PazienteDi(Paziente, "", "", Tabelle);
  xds::DocumentoInvio d;
  d.profilo = xds::ProfiloPatientSummary(creazione_.MarcaTemporale);
  d.id = "Document00";
  d.id_unico = UniqueID.empty() ? creazione_.Semplice() : UniqueID;
  d.guid = Guid();
  d.tipo = {"60591-5", "Profilo Sanitario Sintetico", "2.16.840.1.113883.6.1"};
  d.parte_mime = kParte;
  d.id_associazione = "as00";
  d.id_sostituzione = "Assoc1";
  d.sostituito = IDPaS;
  invio.documenti.push_back(std::move(d));
  return xds::BustaProvideAndRegister(invio);
}

net::RichiestaPreparata clsCDA2_PAS::HttpRequest(const clsItemAsserzione& itmAsserzione) const {
  const std::string documento = CDA2 ? CDA2->XMLNoProcessing() : std::string();
  return Preparata(xds::RichiestaXop(BustaSoap().XMLNoProcessing(), itmAsserzione.Asserzione,
                                     {{kParte, documento}}));
}

}  // namespace qzkiro::consent
