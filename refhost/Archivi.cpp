#include "refhost/Archivi.h"

#include <cctype>
#include <utility>

#include "qzkiro/Failure.h"
#include "refhost/Json.h"

namespace qzkiro::refhost {

namespace {

const nlohmann::json& Voci(const nlohmann::json& document) {
  static const nlohmann::json kNessuna = nlohmann::json::array();
  auto it = document.find("Voci");
  return it != document.end() && it->is_array() ? *it : kNessuna;
}

}  // namespace

ArchivioCatalogo::ArchivioCatalogo(const nlohmann::json& document)
    : versione_(Testo(document, "Versione")) {}

ArchivioPazienti::ArchivioPazienti(const nlohmann::json& document,
                                   const std::filesystem::path& cartella_dati)
    : versione_(Testo(document, "Versione")) {
  for (const auto& voce : Voci(document)) {
    pazienti_.push_back(std::make_shared<Paziente>(voce, cartella_dati));
  }
}

std::shared_ptr<host::IPaziente> ArchivioPazienti::DaiPaziente(const std::string& id) {
  for (const auto& paziente : pazienti_) {
    if (paziente->ID() == id || paziente->CodiceFiscale() == id) return paziente;
  }
  return nullptr;
}

std::shared_ptr<host::IPaziente> ArchivioPazienti::Scegli(const std::string& colonna) {
  colonne_mostrate_.push_back(colonna);
  return scelta_.empty() ? nullptr : DaiPaziente(std::exchange(scelta_, {}));
}

std::vector<host::VoceAssistito> ArchivioPazienti::ListaAssistiti(const std::string& cf_medico) {
  auto maiuscolo = [](std::string t) {
    for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return t;
  };
  std::vector<host::VoceAssistito> lista;
  const std::string medico = maiuscolo(cf_medico);
  for (const auto& p : pazienti_) {
    const auto proprio = p->Medico();
    if (!proprio || maiuscolo(proprio->CodiceFiscale()) != medico) continue;
    lista.push_back({p->ID(), p->CodiceFiscale(), p->Sesso(), p->DataNascita()});
  }
  return lista;
}

std::vector<std::string> ArchivioPazienti::ListaCFPazientiSSN(const std::string& cf_medico) {
  auto maiuscolo = [](std::string t) {
    for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return t;
  };
  std::vector<std::string> codici;
  for (const auto& p : pazienti_) {
    const auto medico = p->Medico();
    if (p->Proprio() && medico && maiuscolo(medico->CodiceFiscale()) == maiuscolo(cf_medico)) {
      codici.push_back(p->CodiceFiscale());
    }
  }
  return codici;
}

ArchivioPPIP::ArchivioPPIP(const nlohmann::json& document)
    : versione_(Testo(document, "Versione")) {
  for (const auto& voce : Voci(document)) {
    host::VocePPIP ppip{Testo(voce, "ID"), Testo(voce, "Codice"), Testo(voce, "Descrizione")};
    voci_[ppip.ID] = ppip;
  }
}

std::optional<host::VocePPIP> ArchivioPPIP::Carica(const std::string& id) {
  auto it = voci_.find(id);
  if (it == voci_.end()) return std::nullopt;
  return it->second;
}

std::string ArchivioPPIP::DaiCodice(const std::string& id) {
  auto voce = Carica(id);
  return voce ? voce->Codice : std::string();
}

ArchivioVisite::ArchivioVisite(const nlohmann::json& document)
    : versione_(Testo(document, "Versione")) {
  for (const auto& voce : Voci(document)) {
    host::VoceVisita visita{Testo(voce, "ID"), Testo(voce, "Codice"), Testo(voce, "Descrizione")};
    voci_[visita.ID] = visita;
  }
}

std::optional<host::VoceVisita> ArchivioVisite::Carica(const std::string& id) {
  auto it = voci_.find(id);
  if (it == voci_.end()) return std::nullopt;
  return it->second;
}

ArchivioAffinityDomain::ArchivioAffinityDomain(const nlohmann::json& document)
    : versione_(Testo(document, "Versione")) {
  for (const auto& voce : Voci(document)) {
    famiglie_[Testo(voce, "Codice")] = Testo(voce, "Famiglia");
  }
}

std::string ArchivioAffinityDomain::XDSDocumentEntry_typeCode(const std::string& codice) {
  auto it = famiglie_.find(codice);
  return it == famiglie_.end() ? std::string() : it->second;
}

ArchivioStrutture::ArchivioStrutture(const nlohmann::json& document)
    : versione_(Testo(document, "Versione")) {
  for (const auto& voce : Voci(document)) {
    denominazioni_[Testo(voce, "Codice")] = Testo(voce, "Denominazione");
  }
}

std::string ArchivioStrutture::Denominazione(const std::string& codice) {
  auto it = denominazioni_.find(codice);
  return it == denominazioni_.end() ? std::string() : it->second;
}

ArchivioComuni::ArchivioComuni(const nlohmann::json& document)
    : versione_(Testo(document, "Versione")) {
  for (const auto& voce : Voci(document)) {
    voci_.push_back({{Testo(voce, "Istat"), Testo(voce, "CodiceCatastale"), Testo(voce, "Comune"),
                      Testo(voce, "Provincia")},
                     Testo(voce, "Dal"),
                     Testo(voce, "Al")});
  }
}

std::optional<host::VoceComune> ArchivioComuni::CaricaIstat(const std::string& istat,
                                                            const std::string& data) {
  for (const auto& voce : voci_) {
    if (voce.comune.Istat != istat) continue;
    bool valida = data.empty() ||
                  ((voce.dal.empty() || voce.dal <= data) && (voce.al.empty() || data <= voce.al));
    if (valida) return voce.comune;
  }
  return std::nullopt;
}

std::optional<host::VoceComune> ArchivioComuni::CaricaCF(const std::string& catastale) {
  for (const auto& voce : voci_) {
    if (voce.comune.CodiceCatastale == catastale) return voce.comune;
  }
  return std::nullopt;
}

const host::VoceComune* ArchivioComuni::PerNome(const std::string& nome) const {
  auto maiuscolo = [](std::string t) {
    for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return t;
  };
  const std::string cercato = maiuscolo(nome);
  for (const auto& voce : voci_) {
    if (voce.al.empty() && maiuscolo(voce.comune.Comune) == cercato) return &voce.comune;
  }
  return nullptr;
}

std::string ArchivioComuni::DaiCodiceCatastale(const std::string& nome) {
  const auto* comune = PerNome(nome);
  return comune ? comune->CodiceCatastale : std::string();
}

std::string ArchivioComuni::DaiCodiceISTAT(const std::string& nome) {
  const auto* comune = PerNome(nome);
  return comune ? comune->Istat : std::string();
}

ArchivioUtenti::ArchivioUtenti(const nlohmann::json& document)
    : versione_(Testo(document, "Versione")) {
  for (const auto& voce : Voci(document)) {
    utenti_.push_back({Testo(voce, "CodiceFiscale"), Testo(voce, "NomeCompleto")});
  }
}

std::shared_ptr<host::IArchivio> ApriArchivio(const std::filesystem::path& cartella_dati,
                                              const std::string& name) {
  auto document = [&] { return LeggiJson(cartella_dati / "archivi" / (name + ".json")); };
  if (name == "Pazienti") return std::make_shared<ArchivioPazienti>(document(), cartella_dati);
  if (name == "Esami") return std::make_shared<ArchivioCatalogo>(document());
  if (name == "Visite") return std::make_shared<ArchivioVisite>(document());
  if (name == "AffinityDomain") return std::make_shared<ArchivioAffinityDomain>(document());
  if (name == "PPIP") return std::make_shared<ArchivioPPIP>(document());
  if (name == "Strutture") return std::make_shared<ArchivioStrutture>(document());
  if (name == "Comuni") return std::make_shared<ArchivioComuni>(document());
  if (name == "Utenti") return std::make_shared<ArchivioUtenti>(document());
  throw Failure(kMembroNonSupportato, "Archivio sconosciuto: " + name);
}

}  // namespace qzkiro::refhost
