// clsCDA2: the import of the document into the host's result container.
//
// Entries made, by family, with their arguments in order (dates in the
// host's record form "yyyymmddhhnnss"):
//   PSS, NMV  AddPatientSummary(ID, Data, Base64 of Text, title)
//   LED       AddRicovero(ID, IDPrescrizione, Data, Base64 of Text), then
//             Imposta(name, value) for each admission value
//   RPS       AddProntoSoccorso(ID, IDPrescrizione, Data, Base64 of Text)
//   MIC, SPS, RAD, LAB
//             AddRefertoGenerico(title, Data, Commento), AddAllegato(HTML file)
//   SPS, RAD  AddRefertoVisita(ID, DescrizioneTipo, IDPrescrizione, Data), and
//             per observation AddVisita(Catalogo, code, description)
//   LAB       AddRefertoLaboratorio(ID, IDPrescrizione, Data), and per
//             observation AddEsame(code system, code, description, Esito,
//             EsitoNumerico, TipoEsito, UM, RangeDa, RangeA, Alterato,
//             Gruppo, Base64 of the comment)
// Each first entry then gets AddDettagli("StrutturaRefertante", Istituto)
// and, but for PSS and NMV, AddSostituzione(replaced document id) when the
// document replaces another; finally the MIME message (AddAllegato(file))
// and the printable copy (CreaAllegati).

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <string_view>
#include <utility>
#include <vector>

#include "cda/ValoriCDA.h"
#include "cda/RicoveroCDA.h"
#include "cda/clsCDA2.h"

namespace qzkiro::cda {

namespace {

constexpr std::array<std::string_view, 8> kFamiglieAccettate = {"LAB", "RAD", "SPS", "MIC",
                                                                "RPS", "LED", "PSS", "NMV"};

// The title of the generic report of each family that has one.
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kTitoliGenerici = {{
    {"MIC", "Referto Microbiologia"},
    {"SPS", "Referto specialistica"},
    {"RAD", "Referto radiologia"},
    {"LAB", "Referto laboratorio"},
}};

std::string_view TitoloGenerico(std::string_view famiglia) {
  for (const auto& [da, titolo] : kTitoliGenerici) {
    if (da == famiglia) return titolo;
  }
  return {};
}

}  // namespace

// One import: the entries of one document in the host's container.
class ImportazioneCDA2 {
 public:
  ImportazioneCDA2(clsCDA2& cda, host::IInput& input, std::string famiglia)
      : cda_(cda),
        input_(input),
        famiglia_(std::move(famiglia)),
        temp_(cda.accesso_->App().Utente().TempDir()),
        data_(DataOraCompatta(cda.Data())) {}

  void Esegui() {
    const VoceInput referto = Principale();
    std::string mime;
    if (cda_.SalvaMime(temp_, mime)) referto.Chiama("AddAllegato", {mime});
    cda_.Allega(referto);
  }

 private:
  // The family's entries; the first one made is the report the files go to.
  VoceInput Principale() {
    if (famiglia_ == "PSS" || famiglia_ == "NMV") return PatientSummary();
    if (famiglia_ == "LED") return Ricovero();
    if (famiglia_ == "RPS") return ProntoSoccorso();
    VoceInput generico = Generico(std::string(TitoloGenerico(famiglia_)));
    if (famiglia_ == "SPS") Visite(cda_.ListaObservationsSPS());
    if (famiglia_ == "RAD") Visite(cda_.ListaObservationsRAD());
    if (famiglia_ == "LAB") Esami();
    return generico;
  }

  VoceInput PatientSummary() {
    const char* titolo = famiglia_ == "PSS" ? "Documento PaS" : "Documento Resoconto";
    VoceInput voce = VoceInput::Crea(input_, "AddPatientSummary",
                                     {cda_.ID(), data_, cda_.accesso_->CodificaBase64(cda_.Text()), titolo});
    Dettagli(voce, false);
    return voce;
  }

  VoceInput Ricovero() {
    VoceInput voce =
        VoceInput::Crea(input_, "AddRicovero",
                        {cda_.ID(), cda_.IDPrescrizione(), data_, cda_.accesso_->CodificaBase64(cda_.Text())});
    for (const auto& [nome, valore] : ValoriRicovero(cda_.Radice(), cda_.IDPrescrizione())) {
      voce.Chiama("Imposta", {nome, valore});
    }
    Dettagli(voce, true);
    return voce;
  }

  VoceInput ProntoSoccorso() {
    VoceInput voce =
        VoceInput::Crea(input_, "AddProntoSoccorso",
                        {cda_.ID(), cda_.IDPrescrizione(), data_, cda_.accesso_->CodificaBase64(cda_.Text())});
    Dettagli(voce, true);
    return voce;
  }

  VoceInput Generico(const std::string& titolo) {
    VoceInput voce =
        VoceInput::Crea(input_, "AddRefertoGenerico", {titolo, data_, cda_.Commento()});
    std::string html;
    if (cda_.SalvaHTML(temp_, html)) voce.Chiama("AddAllegato", {html});
    Dettagli(voce, true);
    return voce;
  }

  void Dettagli(const VoceInput& voce, bool con_sostituzione) {
    voce.Chiama("AddDettagli", {"StrutturaRefertante", cda_.Istituto()});
    if (!con_sostituzione) return;
    if (std::string sostituito = cda_.IDDocumentoSostituito(); !sostituito.empty()) {
      voce.Chiama("AddSostituzione", {sostituito});
    }
  }

  void Visite(const std::vector<Nodo>& osservazioni) {
    VoceInput visita =
        VoceInput::Crea(input_, "AddRefertoVisita",
                        {cda_.ID(), cda_.DescrizioneTipo(), cda_.IDPrescrizione(), data_});
    for (Nodo n : osservazioni) {
      cda_.InitParentNode(n);
      std::string codice, sistema, descrizione;
      cda_.DaiCodice(n, "V", codice, sistema, descrizione);
      visita.Chiama("AddVisita", {cda_.Catalogo(), codice, descrizione});
    }
  }

  void Esami() {
    VoceInput laboratorio =
        VoceInput::Crea(input_, "AddRefertoLaboratorio", {cda_.ID(), cda_.IDPrescrizione(), data_});
    // The reference ranges of the document's own patient.
    const std::string sesso = cda_.PazienteSesso();
    for (Nodo n : cda_.ListaObservationsLAB()) {
      cda_.InitParentNode(n);
      std::string codice, sistema, descrizione;
      cda_.DaiCodice(n, "E", codice, sistema, descrizione);
      std::string commento = cda_.Commento();
      if (std::string prelievo = cda_.DataOraPrelievo(); !prelievo.empty()) {
        commento += "\r\nPrelievo: " + cda_.accesso_->ValoreData(prelievo);
      }
      laboratorio.Chiama(
          "AddEsame",
          {sistema, codice, descrizione, cda_.Esito(), cda_.EsitoNumerico(),
           static_cast<std::int32_t>(cda_.TipoEsito()), cda_.UM(), cda_.RangeDaPerSesso(sesso),
           cda_.RangeAPerSesso(sesso), cda_.Alterato(), cda_.Gruppo(), cda_.accesso_->CodificaBase64(commento)});
    }
  }

  clsCDA2& cda_;
  host::IInput& input_;
  std::string famiglia_;
  std::string temp_;
  std::string data_;
};

bool clsCDA2::AddToInput(host::IInput& input) {
  const std::string tipo = Tipo();
  return ImportaFamiglia("CDA2", tipo, kFamiglieAccettate, last_error_,
                         [&] { ImportazioneCDA2(*this, input, tipo).Esegui(); });
}

bool clsCDA2::DaiCodice(Nodo node, const std::string& kind, std::string& code,
                        std::string& codeSystem, std::string& description) const {
  Nodo codice = Figlio(node, "code");
  code = Attributo(codice, "code");
  codeSystem = Attributo(codice, "codeSystemName");
  description = Attributo(codice, "displayName");
  std::string descrizione_catalogo;
  if (!codifica_catalogo_.empty()) {
    PerOgni(codice, "translation", [&](Nodo traduzione) {
      if (!CatalogoCompreso(Attributo(traduzione, "codeSystemName"))) return true;
      code = Attributo(traduzione, "code");
      codeSystem = Attributo(traduzione, "codeSystemName");
      descrizione_catalogo = Attributo(traduzione, "displayName");
      return false;
    });
  }
  if (description.empty()) description = descrizione_catalogo;
  if (description.empty()) {
    PerOgni(codice, "translation", [&](Nodo traduzione) {
      description = Attributo(traduzione, "displayName");
      return description.empty();
    });
  }
  // Visits: the host's visit catalogue describes a code the document leaves bare.
  if (kind == "V" && description.empty()) description = accesso_->DescrizioneVisita(code);
  return !code.empty();
}

}  // namespace qzkiro::cda
