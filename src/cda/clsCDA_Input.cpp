// clsCDA: the import into the host's result container and the saved PDF.
//
// Entries made, by family, with their arguments in order (dates in the
// host's record form "yyyymmddhhnnss"):
//   RPS       AddProntoSoccorso(ID, IDPrescrizione, Data, Base64 of Text)
//   SPS, RAD  AddRefertoVisita(ID, DescrizioneTipo, IDPrescrizione, Data), and
//             per "code" parent AddVisita(Catalogo, Codice, description from
//             the visit catalogue, else the document's)
//   LAB       AddRefertoLaboratorio(ID, IDPrescrizione, Data), and per result
//             AddEsame(code system, code, description, Esito, EsitoNumerico,
//             TipoEsito, UM, RangeDa, RangeA, Alterato, Gruppo, "") with the
//             translation's code, system and description where present
//   MIC, DIM  AddRefertoGenerico("Referto laboratorio" / "Referto", Data, "")
// The entry then gets AddDettagli("StrutturaRefertante", Istituto),
// AddSostituzione(replaced document id) when the document replaces another,
// and AddAllegato(HTML file).

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <string_view>

#include "cda/ValoriCDA.h"
#include "cda/VoceInputCDA.h"
#include "cda/clsCDA.h"

namespace qzkiro::cda {

namespace {

constexpr std::array<std::string_view, 6> kFamiglieAccettate = {"LAB", "RAD", "SPS",
                                                                "MIC", "RPS", "DIM"};

// The external document that carries the printable PDF as a MIME text.
constexpr std::string_view kDocumentoEsterno =
    "component/bodyChoice/StructuredBody/component/section/entry/entryChoice/Observation/"
    "reference/referredToExternalActChoice/ExternalDocument/text";

std::string PrimoNonVuoto(std::string a, std::string b) {
  return a.empty() ? b : a;
}

}  // namespace

// One import of an older document.
class ImportazioneCDA {
 public:
  ImportazioneCDA(clsCDA& cda, host::IInput& input, std::string famiglia)
      : cda_(cda),
        input_(input),
        famiglia_(std::move(famiglia)),
        temp_(cda.accesso_->App().Utente().TempDir()),
        data_(DataOraCompatta(cda.Data())) {}

  void Esegui() {
    const VoceInput voce = Principale();
    voce.Chiama("AddDettagli", {"StrutturaRefertante", cda_.Istituto()});
    if (std::string sostituito = cda_.IDDocumentoSostituito(); !sostituito.empty()) {
      voce.Chiama("AddSostituzione", {sostituito});
    }
    std::string html;
    if (cda_.SalvaHTML(temp_, html)) voce.Chiama("AddAllegato", {html});
  }

 private:
  VoceInput Principale() {
    if (famiglia_ == "RPS") {
      return VoceInput::Crea(
          input_, "AddProntoSoccorso",
          {cda_.ID(), cda_.IDPrescrizione(), data_, cda_.accesso_->CodificaBase64(cda_.Text())});
    }
    if (famiglia_ == "SPS" || famiglia_ == "RAD") return Visite();
    if (famiglia_ == "LAB") return Esami();
    return VoceInput::Crea(input_, "AddRefertoGenerico",
                           {famiglia_ == "MIC" ? "Referto laboratorio" : "Referto", data_, ""});
  }

  VoceInput Visite() {
    VoceInput visita =
        VoceInput::Crea(input_, "AddRefertoVisita",
                        {cda_.ID(), cda_.DescrizioneTipo(), cda_.IDPrescrizione(), data_});
    for (Nodo n : cda_.ListaObservationsSPC()) {
      cda_.InitParentNode(n);
      const std::string codice = cda_.Codice();
      visita.Chiama("AddVisita",
                    {cda_.Catalogo(), codice,
                     PrimoNonVuoto(cda_.DaiDescrizioneVisita(codice), cda_.Descrizione())});
    }
    return visita;
  }

  VoceInput Esami() {
    VoceInput laboratorio =
        VoceInput::Crea(input_, "AddRefertoLaboratorio", {cda_.ID(), cda_.IDPrescrizione(), data_});
    for (Nodo n : cda_.ListaObservationsLAB()) {
      cda_.InitParentNode(n);
      laboratorio.Chiama(
          "AddEsame",
          {PrimoNonVuoto(cda_.CatalogoTranslation(), cda_.Catalogo()),
           PrimoNonVuoto(cda_.CodiceTranslation(), cda_.Codice()),
           PrimoNonVuoto(cda_.DescrizioneTranslation(), cda_.Descrizione()), cda_.Esito(),
           cda_.EsitoNumerico(), static_cast<std::int32_t>(cda_.TipoEsito()), cda_.UM(),
           cda_.RangeDa(), cda_.RangeA(), cda_.Alterato(), cda_.Gruppo(), ""});
    }
    return laboratorio;
  }

  clsCDA& cda_;
  host::IInput& input_;
  std::string famiglia_;
  std::string temp_;
  std::string data_;
};

bool clsCDA::AddToInput(host::IInput& input) {
  const std::string tipo = Tipo();
  return ImportaFamiglia("CDA", tipo, kFamiglieAccettate, last_error_,
                         [&] { ImportazioneCDA(*this, input, tipo).Esegui(); });
}

bool clsCDA::SalvaPDF(const std::string& PathDest, std::string& DestFile) {
  const std::string mime = TestoDi(Radice(), kDocumentoEsterno);
  if (mime.empty()) return false;
  try {
    auto& app = accesso_->App();
    const std::string base64 = app.Framework().GetMime(mime);
    if (base64.empty()) return false;
    DestFile = (std::filesystem::path(PathDest) / (accesso_->TimbroFile() + ".pdf")).string();
    return app.Base64().DecodeFile(base64, DestFile);
  } catch (const std::exception& e) {
    last_error_ = std::string("CDA: ") + e.what();
    return false;
  }
}

}  // namespace qzkiro::cda
