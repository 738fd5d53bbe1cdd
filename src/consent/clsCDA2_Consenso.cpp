#include "consent/clsCDA2_Consenso.h"

#include <utility>

#include "consent/MetadatiInvio.h"

namespace qzkiro::consent {

namespace {

using cda::TipoConsenso;

xds::Codifica ComeCodifica(const cda::CodiceEvento& evento) {
  return {evento.codice, evento.titolo, {}};
}

std::string DueCifre(std::size_t n) {
  return (n < 10 ? "0" : "") + std::to_string(n);
}

}  // namespace

clsCDA2_Consenso::clsCDA2_Consenso(const util::DataOra& adesso, std::string marca_temporale)
    : creazione_(adesso, std::move(marca_temporale)) {
  Tabelle.cerca = RicercaTabelle(adesso);  // as every other reader of the tables
}

util::clsXML clsCDA2_Consenso::CDA2(TipoConsenso tipo) const {
  return cda::DocumentoConsenso(*this, tipo, Scelta(tipo).value_or(true), creazione_);
}

std::string clsCDA2_Consenso::NuovoGuid() const {
  return GetSmartGUID ? GetSmartGUID() : "";
}

xds::DocumentoInvio clsCDA2_Consenso::Voce(TipoConsenso tipo, bool dato) const {
  const cda::VoceTipo& voce = cda::Voce(tipo);
  const auto indice = static_cast<std::size_t>(tipo);
  xds::DocumentoInvio d;
  d.id = voce.id_documento;
  d.id_unico = creazione_.IdUnico(tipo);
  d.guid = NuovoGuid();
  d.evento = ComeCodifica(cda::EventoConsenso(tipo, dato));
  if (!Tutori.empty()) d.evento_tutore = ComeCodifica(cda::EventoTutore(Paziente.Eta));
  d.tipo = {std::string(voce.tipo_codice), std::string(voce.tipo_nome), {}};
  d.parte_mime = voce.parte_mime;
  d.id_associazione = "as" + DueCifre(indice);
  d.id_sostituzione = "Assoc" + std::to_string(indice + 1);
  d.sostituito = IdSostituito(tipo);
  return d;
}

xds::InvioDocumenti clsCDA2_Consenso::Invio() const {
  xds::InvioDocumenti invio;
  invio.to = Endpoint;
  invio.message_id = NuovoGuid();
  invio.marca_temporale = creazione_.MarcaTemporale;
  invio.id_unico = creazione_.Semplice();
  invio.autore = AutoreDi(Medico);
  invio.paziente = PazienteDi(Paziente, EmailEffettiva(), CellulareEffettivo(), Tabelle);
  for (TipoConsenso tipo : cda::kTipiConsenso) {
    if (const auto& scelta = Scelta(tipo)) invio.documenti.push_back(Voce(tipo, *scelta));
  }
  return invio;
}

util::clsXML clsCDA2_Consenso::BustaSoap() const {
  return xds::BustaProvideAndRegister(Invio());
}

net::RichiestaPreparata clsCDA2_Consenso::HttpRequest(
    const clsItemAsserzione& itmAsserzione) const {
  std::vector<xds::AllegatoXop> allegati;
  for (TipoConsenso tipo : cda::kTipiConsenso) {
    if (!Scelta(tipo)) continue;
    allegati.push_back({std::string(cda::Voce(tipo).parte_mime), CDA2(tipo).XMLNoProcessing()});
  }
  return Preparata(
      xds::RichiestaXop(BustaSoap().XMLNoProcessing(), itmAsserzione.Asserzione, allegati));
}

}  // namespace qzkiro::consent
