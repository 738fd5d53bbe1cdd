// clsCDA: loading, header, observations and rendering of the older layout.

#include "cda/clsCDA.h"

#include <array>
#include <string_view>
#include <utility>

#include "cda/ValoriCDA.h"
#include "cda/IntestazioneCDA.h"
#include "cda/NarrativaCDA.h"
#include "cda/RaccoltaCDA.h"

namespace qzkiro::cda {

namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kDescrizioni = {{
    {"LAB", "Referto di laboratorio"},
    {"MIC", "Referto di microbiologia"},
    {"RAD", "Referto di radiologia"},
    {"SPS", "Referto di specialistica ambulatoriale"},
    {"DIM", "Lettera di dimissione"},
    {"NMV", "Resoconto visita"},
    {"RPS", "Referto di pronto soccorso"},
}};

// The elements the walk through the older body goes through.
constexpr std::array<std::string_view, 6> kDiscesa = {
    "component", "section", "entry", "entryrelationship", "entrychoice", "observation"};

constexpr std::string_view kComponenti = "component/bodyChoice/StructuredBody/component";
constexpr std::string_view kSezioni =
    "component/bodyChoice/StructuredBody/component/section/component/section";
// The precondition that carries an observation's reference range.
constexpr std::string_view kCriterio =
    "entryChoice/SubstanceAdministration/precondition/pRNCriterion";

std::vector<Nodo> Cammina(Nodo radice, Raccolta cosa) {
  std::vector<Nodo> out;
  PerOgni(radice, kComponenti, [&](Nodo componente) {
    Raccogli(componente, kDiscesa, cosa, out);
    return true;
  });
  return out;
}

}  // namespace

clsCDA::clsCDA() = default;
clsCDA::clsCDA(std::shared_ptr<const host::AccessoHost> accesso)
    : accesso_(std::move(accesso)) {}
clsCDA::~clsCDA() = default;

bool clsCDA::InitXML(std::shared_ptr<util::clsXML> XML) {
  if (!XML) return false;
  last_error_.clear();
  xml_ = std::move(XML);
  corrente_ = nullptr;
  return true;
}

Nodo clsCDA::Radice() const {
  return xml_ ? xml_->rootNode() : nullptr;
}

std::string clsCDA::ID() const {
  return TestoDi(Radice(), "id");
}

std::string clsCDA::Titolo() const {
  return TestoDi(Radice(), "title");
}

std::string clsCDA::Tipo() const {
  return AttributoDi(Radice(), "code", "code");
}

std::string clsCDA::DescrizioneTipo() const {
  const std::string tipo = Tipo();
  for (const auto& [codice, descrizione] : kDescrizioni) {
    if (codice == tipo) return std::string(descrizione);
  }
  return {};
}

std::string clsCDA::Data() const {
  return AttributoDi(Radice(), "effectiveTime", "value");
}

std::string clsCDA::MedicoRefertante() const {
  return intestazione::NomeCompleto(Radice(), "legalAuthenticator/assignedEntity/assignedPerson");
}

std::string clsCDA::MedicoResponsabile() const {
  return intestazione::NomeCompleto(Radice(), "responsibleParty/assignedEntity/assignedPerson");
}

std::string clsCDA::Istituto() const {
  return TestoDi(Radice(), "custodian/assignedCustodian/representedOrganization/name");
}

std::string clsCDA::IDPrescrizione() const {
  return intestazione::IDPrescrizione(Radice());
}

std::string clsCDA::IDDocumentoSostituito() const {
  return intestazione::IDDocumentoSostituito(Radice());
}

std::vector<Nodo> clsCDA::ListaObservationsLAB() const {
  return Cammina(Radice(), Raccolta::Valori);
}

std::vector<Nodo> clsCDA::ListaObservationsSPC() const {
  return Cammina(Radice(), Raccolta::Codici);
}

std::string clsCDA::Codice() const {
  return AttributoDi(corrente_, "code", "code");
}

std::string clsCDA::CodiceTranslation() const {
  return AttributoDi(corrente_, "code/translation", "code");
}

std::string clsCDA::Catalogo() const {
  return AttributoDi(corrente_, "code", "codeSystemName");
}

std::string clsCDA::CatalogoTranslation() const {
  return AttributoDi(corrente_, "code/translation", "codeSystemName");
}

std::string clsCDA::Descrizione() const {
  return AttributoDi(corrente_, "code", "displayName");
}

std::string clsCDA::DescrizioneTranslation() const {
  return AttributoDi(corrente_, "code/translation", "displayName");
}

std::string clsCDA::CodicePadre() const {
  return AttributoDi(Antenato(corrente_, 6), "code", "code");
}

std::string clsCDA::CodicePadreTranslation() const {
  return AttributoDi(Antenato(corrente_, 6), "code/translation", "code");
}

std::string clsCDA::Gruppo() const {
  return AttributoDi(Antenato(corrente_, 6), "code", "displayName");
}

std::string clsCDA::UM() const {
  return osservazione::UM(corrente_);
}

bool clsCDA::Alterato() const {
  return osservazione::Alterato(corrente_);
}

std::string clsCDA::Esito() const {
  Nodo valore = osservazione::Valore(corrente_);
  const std::string tipo = osservazione::TipoValore(valore);
  if (tipo == "PQ") return Attributo(valore, "value");
  if (tipo == "CE" || tipo == "CD") return Attributo(valore, "displayName");
  if (osservazione::Rapporto(tipo)) return AttributoDi(valore, "numerator", "value");
  return {};
}

double clsCDA::EsitoNumerico() const {
  return osservazione::EsitoNumerico(*accesso_, corrente_);
}

cda::TipoEsito clsCDA::TipoEsito() const {
  return osservazione::Classifica(osservazione::TipoValore(osservazione::Valore(corrente_)));
}

double clsCDA::Range(const char* limite) const {
  Nodo criterio = Primo(ElementoSeguente(Antenato(corrente_, 2)), kCriterio);
  if (!criterio || AttributoDi(criterio, "code", "code") != Codice() ||
      AttributoDi(criterio, "value", "type") != "IVL_PQ") {
    return 0;
  }
  return Arrotonda4(accesso_->ValoreNumero(AttributoDi(criterio, std::string("value/") + limite, "value")));
}

double clsCDA::RangeDa() const {
  return Range("low");
}

double clsCDA::RangeA() const {
  return Range("high");
}

std::string clsCDA::ObservationText() const {
  return accesso_->CodificaBase64(TitoloENarrativa(corrente_));
}

std::string clsCDA::NarrativeBlockToHtml(const std::string& txt) {
  return cda::NarrativeBlockToHtml(txt);
}

std::string clsCDA::Text(const std::string& Header, const std::string& Footer) const {
  std::string body;
  PerOgni(Radice(), kSezioni, [&](Nodo sezione) {
    AggiungiTestoSezioni(sezione, body);
    return true;
  });
  PaginaCDA pagina;
  if (!body.empty() && !body.starts_with("<!DOCTYPE html ")) {
    pagina = {accesso_->ValoreData(Data()), Titolo(), ID(), Header, Footer};
  }
  return PaginaHtml(body, pagina);
}

bool clsCDA::SalvaHTML(const std::string& PathDest, std::string& DestFile,
                       const std::string& Header, const std::string& Footer) {
  return ScriviPagina(*accesso_, Text(Header, Footer), PathDest, "_CDA2.html", DestFile);
}

std::string clsCDA::DaiDescrizioneVisita(const std::string& IDVisita) const {
  return accesso_->DescrizioneVisita(IDVisita);
}

}  // namespace qzkiro::cda
