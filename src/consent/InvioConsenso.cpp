#include "consent/InvioConsenso.h"

#include "util/Testo.h"
#include "util/clsXML.h"

namespace qzkiro::consent {

namespace {

using cda::TipoConsenso;
using util::clsXML;
using Nodo = clsXML::Nodo;

constexpr std::string_view kSuccesso = "urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:Success";
constexpr std::string_view kNegativo = "L'invio del consenso ha dato esito negativo";

std::optional<bool>& SceltaDi(cda::DatiConsenso& c, TipoConsenso tipo) {
  switch (tipo) {
    case TipoConsenso::Alimentazione:
      return c.Alimentazione;
    case TipoConsenso::Consultazione:
      return c.Consultazione;
    default:
      return c.Pregresso;
  }
}

std::string& IdDi(cda::DatiConsenso& c, TipoConsenso tipo) {
  switch (tipo) {
    case TipoConsenso::Alimentazione:
      return c.IDAlimentazione;
    case TipoConsenso::Consultazione:
      return c.IDConsultazione;
    default:
      return c.IDPregresso;
  }
}

cda::TutoreConsenso TutoreDi(const SchedaTutore& s) {
  return {util::Trim(s.CodiceFiscale), util::Trim(s.Cognome),   util::Trim(s.Nome),
          util::Trim(s.MPI),           util::Trim(s.Cellulare), util::Trim(s.Email)};
}

Nodo Figlio(Nodo padre, std::string_view nome) {
  for (Nodo n : clsXML::Figli(padre)) {
    if (clsXML::HaNome(n, nome)) return n;
  }
  return nullptr;
}

// "code:text" for each error the answer lists.
std::string Errori(Nodo risposta) {
  std::string righe;
  for (Nodo e : clsXML::Figli(Figlio(risposta, "RegistryErrorList"))) {
    if (!clsXML::HaNome(e, "RegistryError")) continue;
    righe += (righe.empty() ? "" : "\r\n") + clsXML::Attributo(e, "errorCode") + ":" +
             clsXML::Attributo(e, "codeContext");
  }
  return righe.empty() ? clsXML::Attributo(risposta, "status") + ":" : righe;
}

std::string Fault(Nodo fault) {
  std::string codice = clsXML::Testo(Figlio(Figlio(fault, "Code"), "Value"));
  std::string testo = clsXML::Testo(Figlio(Figlio(fault, "Reason"), "Text"));
  if (codice.empty()) codice = clsXML::Testo(Figlio(fault, "faultcode"));
  if (testo.empty()) testo = clsXML::Testo(Figlio(fault, "faultstring"));
  return util::Trim(codice) + ":" + util::Trim(testo);
}

EsitoInvio Negativo(const std::string& dettaglio) {
  return {false, {}, std::string(kNegativo) + "\r\n" + dettaglio};
}

}  // namespace

std::string CompilaConsenso(const frmConsensoFSE& form, const xds::ConsensiInVigore& in_vigore,
                            cda::DatiConsenso& consenso) {
  const bool tutti = form.RecapitiCambiati() || form.ScadutoPerMaggioreEta;
  bool qualcuno = false;
  for (TipoConsenso tipo : cda::kTipiConsenso) {
    const std::optional<bool> scelta = form.Scelta(tipo);
    const bool invia = scelta && (tutti || form.SceltaCambiata(tipo));
    SceltaDi(consenso, tipo) = invia ? scelta : std::nullopt;
    IdDi(consenso, tipo) =
        invia ? in_vigore[static_cast<xds::TipoConsenso>(tipo)].id_documento : "";
    qualcuno = qualcuno || invia;
  }
  consenso.Cellulare = util::Trim(form.Cellulare);
  consenso.Email = util::Trim(form.Email);
  consenso.Tutori.clear();
  for (const SchedaTutore& s : form.Tutori) consenso.Tutori.push_back(TutoreDi(s));
  consenso.ScadutoPerMaggioreEta = form.ScadutoPerMaggioreEta;
  return qualcuno ? std::string() : std::string(kNessunaModifica);
}

EsitoInvio LeggiEsitoInvio(std::string_view risposta, const cda::DatiConsenso& inviato) {
  if (risposta.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    return {false, {}, "Il servizio ha restituito una risposta vuota"};
  }
  clsXML x;
  if (!x.LoadXML(std::string(risposta))) {
    return Negativo(":La risposta del servizio non è un documento XML");
  }
  Nodo nodo = x.rootNode();
  if (clsXML::HaNome(nodo, "Envelope")) nodo = clsXML::PrimoElemento(Figlio(nodo, "Body"));
  if (clsXML::HaNome(nodo, "Fault")) return Negativo(Fault(nodo));
  if (!clsXML::HaNome(nodo, "RegistryResponse")) {
    return Negativo(":Risposta del servizio non riconosciuta");
  }
  if (clsXML::Attributo(nodo, "status") != kSuccesso) return Negativo(Errori(nodo));
  EsitoInvio esito{true, {}, {}};
  for (TipoConsenso tipo : cda::kTipiConsenso) {
    const std::optional<bool>& scelta = inviato.Scelta(tipo);
    if (!scelta) continue;
    esito.righe.push_back((*scelta ? "" : "Revocato ") + std::string(cda::Voce(tipo).tipo_nome));
  }
  return esito;
}

}  // namespace qzkiro::consent
