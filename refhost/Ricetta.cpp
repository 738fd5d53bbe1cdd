#include "refhost/Ricetta.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "qzkiro/Failure.h"
#include "refhost/Json.h"

namespace qzkiro::refhost {

namespace {

constexpr long kChiamataNonValida = 5;
constexpr long kTipoNonCorrispondente = 13;
constexpr long kErroreFile = 75;

using Json = nlohmann::json;

// The header of a prescription; the last group is written by the add-on.
const std::vector<Proprieta>& TabellaTestata() {
  // clang-format off
  static const std::vector<Proprieta> tabella = {
      {"NRE", ""}, {"Tipo", 1}, {"TipoRicetta", ""}, {"TipoStampa", 0},
      {"FlagRic", false}, {"FlagSug", false}, {"FlagInt", false}, {"FlagN", false},
      {"FlagR", false},
      {"MedicoCodiceFiscale", ""}, {"MedicoTitCodiceFiscale", ""}, {"MedicoSosCodiceFiscale", ""},
      {"MedicoCodiceRegioneASL", ""}, {"MedicoCodiceStruttura", ""},
      {"MedicoCodiceAttivita", ""}, {"NPPT", ""}, {"SpecialitaClinica", ""},
      {"MedicoCodiceOrdine", ""}, {"MedicoIndirizzo", ""}, {"MedicoCAP", ""},
      {"MedicoComune", ""}, {"MedicoProvincia", ""}, {"MedicoTelefono", ""},
      {"PazienteCodiceFiscale", ""}, {"PazienteCognome", ""}, {"PazienteNome", ""},
      {"PazienteIndirizzoConCivico", ""}, {"PazienteIndirizzoPipe", ""},
      {"PazienteOscurato", false}, {"PazienteASLResidenza", ""}, {"PazienteASLAssistenza", ""},
      {"PazienteProprio", true}, {"PazienteConsensoFSE", false},
      {"PazienteTesseraAssistenzaSASN", ""}, {"PazienteSocietaNavigazione", ""},
      {"PazienteStatoEstero", ""}, {"PazienteIstituzCompetente", ""},
      {"PazienteNumIdentPers", ""}, {"PazienteNumIdentTess", ""},
      {"PazienteDataNascita", ""}, {"PazienteDataScadTessera", ""},
      {"CodiceEsenzione", ""}, {"ICD9", ""}, {"Diagnosi", ""},
      {"StampaDiagnosi", false}, {"InviaDiagnosi", false},
      {"Data", ""}, {"TipoVisita", ""}, {"Priorita", ""}, {"OscuramentoClinico", ""},
      {"Barcode", ""}, {"RicettaBiancaInviabile", false},
      {"autenticazione", ""}, {"ErroreInvio", ""}, {"RicevutaInvio", ""}, {"Extra", ""},
      {"NomeModuloStampa", ""}, {"NRBE", ""}, {"pinNrBe", ""}, {"FilePromemoria", ""},
      {"StatoInvio", 0},
      {"Annullata", false}, {"Mantieni", false}, {"SoloStampa", false}};
  // clang-format on
  return tabella;
}

const std::vector<Proprieta>& TabellaRiga() {
  // clang-format off
  static const std::vector<Proprieta> tabella = {
      {"Tipo", 1}, {"IDRif", ""}, {"Descrizione", ""}, {"GruppoEquivalenza", ""},
      {"DescrizioneGruppoEquivalenza", ""}, {"NotaPrescrizione", ""}, {"NotaAifa", 0},
      {"CodiceDMR", ""}, {"CodicePrescrizione", ""}, {"CodicePacchetto", ""},
      {"TipoAccesso", ""}, {"Posologia", ""}, {"NumRipetibilita", 0}, {"ValiditaFarm", 0},
      {"Quantita", 1}, {"NonSostituibile", false}, {"TestoLibero", ""}};
  // clang-format on
  return tabella;
}

// Floating point values keep the 15 digits of their text form.
Json ValoreJson(const host::Variant& v) {
  if (v.IsBool()) return v.ToBool();
  if (v.IsInteger()) return v.ToInteger();
  if (v.IsDouble()) return std::stod(v.ToText());
  if (v.IsText()) return v.ToText();
  return nullptr;
}

std::optional<host::Variant> Intero(std::uint64_t n) {
  if (n > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return {};
  return host::Variant(static_cast<std::int64_t>(n));
}

// The value of a plain JSON value; none for arrays, objects and integers out
// of range.
std::optional<host::Variant> VariantDaJson(const Json& json) {
  if (json.is_null()) return host::Variant();
  if (json.is_boolean()) return host::Variant(json.get<bool>());
  if (json.is_number_unsigned()) return Intero(json.get<std::uint64_t>());
  if (json.is_number_integer()) return host::Variant(json.get<std::int64_t>());
  if (json.is_number_float()) return host::Variant(json.get<double>());
  if (json.is_string()) return host::Variant(json.get<std::string>());
  return {};
}

std::string ComeTesto(const Json& json) {
  try {
    return json.dump();
  } catch (const Json::type_error&) {
    throw Failure(kChiamataNonValida, "La ricetta contiene un testo non in UTF-8");
  }
}

// The JSON of `testo`; discarded when it is not JSON.
Json DaTesto(const std::string& testo) {
  return Json::parse(testo, nullptr, false);
}

}  // namespace

const Proprieta* ValoriProprieta::Trova(const std::string& nome) const {
  auto it = std::find_if(tabella_->begin(), tabella_->end(),
                         [&](const Proprieta& p) { return nome == p.nome; });
  return it == tabella_->end() ? nullptr : &*it;
}

const Proprieta& ValoriProprieta::Cerca(const std::string& nome) const {
  const Proprieta* proprieta = Trova(nome);
  if (proprieta == nullptr) {
    throw Failure(kMembroNonSupportato,
                  std::string("L'oggetto ") + oggetto_ + " non ha la proprietà " + nome);
  }
  return *proprieta;
}

host::Variant ValoriProprieta::Leggi(const std::string& nome) const {
  const Proprieta& proprieta = Cerca(nome);
  auto it = valori_.find(nome);
  return it == valori_.end() ? proprieta.predefinito : it->second;
}

void ValoriProprieta::Scrivi(const std::string& nome, const host::Variant& valore) {
  Cerca(nome);
  if (valore.IsObject()) {
    throw Failure(kTipoNonCorrispondente, "Tipo non corrispondente: la proprietà " + nome +
                                              " dell'oggetto " + oggetto_ + " non accetta oggetti");
  }
  valori_[nome] = valore;
}

Json ValoriProprieta::ToJson() const {
  Json json = Json::object();
  for (const auto& proprieta : *tabella_) json[proprieta.nome] = ValoreJson(Leggi(proprieta.nome));
  return json;
}

bool ValoriProprieta::FromJson(const Json& json) {
  if (!json.is_object()) return false;
  std::map<std::string, host::Variant> valori;
  for (const auto& [nome, valore] : json.items()) {
    auto variant = VariantDaJson(valore);
    if (Trova(nome) == nullptr || !variant) return false;
    valori[nome] = std::move(*variant);
  }
  valori_ = std::move(valori);
  return true;
}

RigaPrescrizione::RigaPrescrizione() : valori_("Prescrizione", TabellaRiga()) {}

std::string RigaPrescrizione::GetTag(const std::string& nome) {
  auto it = tag_.find(nome);
  return it == tag_.end() ? std::string() : it->second;
}

void RigaPrescrizione::ImpostaTag(const std::string& nome, const std::string& valore) {
  if (valore.empty()) {
    tag_.erase(nome);
    return;
  }
  tag_[nome] = valore;
}

Json RigaPrescrizione::ToJson() const {
  Json json = valori_.ToJson();
  json["Tag"] = tag_;
  return json;
}

bool RigaPrescrizione::FromJson(const Json& json) {
  if (!json.is_object()) return false;
  Json proprieta = json;
  std::map<std::string, std::string> tag;
  if (auto it = json.find("Tag"); it != json.end()) {
    if (!it->is_object()) return false;
    for (const auto& [nome, valore] : it->items()) {
      if (!valore.is_string()) return false;
      if (!valore.get_ref<const std::string&>().empty()) tag[nome] = valore.get<std::string>();
    }
    proprieta.erase("Tag");
  }
  if (!valori_.FromJson(proprieta)) return false;
  tag_ = std::move(tag);
  return true;
}

Ricetta::Ricetta() : testata_("Ricetta", TabellaTestata()) {}

std::shared_ptr<Ricetta> Ricetta::DaFile(const std::filesystem::path& file) {
  std::error_code errore;
  if (!std::filesystem::is_regular_file(file, errore)) {
    throw Failure(kErroreFile, "Impossibile leggere la ricetta " + file.string());
  }
  Json json = LeggiJson(file);
  auto ricetta = std::make_shared<Ricetta>();
  if (!json.is_object() || !ricetta->testata_.FromJson(json.value("testata", Json())) ||
      !ricetta->RigheDaJson(json.value("righe", Json()))) {
    throw Failure(kErroreFile, "Il file " + file.string() + " non contiene una ricetta");
  }
  return ricetta;
}

std::vector<std::shared_ptr<host::IRigaPrescrizione>> Ricetta::ListaPrescrizioni() {
  return {righe_.begin(), righe_.end()};
}

std::string Ricetta::ToString() {
  return ComeTesto(testata_.ToJson());
}

bool Ricetta::FromString(const std::string& testo) {
  return testata_.FromJson(DaTesto(testo));
}

std::string Ricetta::PrescrizioniToString() {
  Json json = Json::array();
  for (const auto& riga : righe_) json.push_back(riga->ToJson());
  return ComeTesto(json);
}

bool Ricetta::PrescrizioniFromString(const std::string& testo) {
  return RigheDaJson(DaTesto(testo));
}

std::shared_ptr<RigaPrescrizione> Ricetta::AggiungiPrescrizione() {
  righe_.push_back(std::make_shared<RigaPrescrizione>());
  return righe_.back();
}

bool Ricetta::RigheDaJson(const Json& json) {
  if (!json.is_array()) return false;
  std::vector<std::shared_ptr<RigaPrescrizione>> righe;
  for (const auto& elemento : json) {
    righe.push_back(std::make_shared<RigaPrescrizione>());
    if (!righe.back()->FromJson(elemento)) return false;
  }
  righe_ = std::move(righe);
  return true;
}

}  // namespace qzkiro::refhost
