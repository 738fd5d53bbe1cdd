// clsCDA2: loading and the document header.

#include "cda/clsCDA2.h"

#include <array>
#include <exception>
#include <string_view>
#include <utility>

#include "cda/ValoriCDA.h"
#include "cda/IntestazioneCDA.h"
#include "qzkiro/host/Archivio.h"

namespace qzkiro::cda {

namespace {

using Coppia = std::pair<std::string_view, std::string_view>;

// Document type codes and their family.
constexpr std::array<Coppia, 15> kFamiglie = {{
    {"11502-2", "LAB"},
    {"EXTAD", "LAB"},
    {"E", "LAB"},
    {"34104-0", "SPS"},
    {"11526-1", "SPS"},
    {"11488-4", "SPS"},
    {"81223-0", "SPS"},
    {"87273-9", "SPS"},
    {"18726-0", "RAD"},
    {"68604-8", "RAD"},
    {"11491-6", "RPS"},
    {"59258-4", "RPS"},
    {"34105-7", "LED"},
    {"60592-3", "PSS"},
    {"60591-5", "PSS"},
}};

constexpr std::array<Coppia, 7> kDescrizioni = {{
    {"LAB", "Referto di laboratorio"},
    {"MIC", "Referto di microbiologia"},
    {"RAD", "Referto di radiologia"},
    {"SPS", "Referto di specialistica ambulatoriale"},
    {"LED", "Lettera di dimissione"},
    {"RPS", "Referto di pronto soccorso"},
    {"PSS", "Patient summary"},
}};

// The first section of a laboratory report coded as microbiology.
constexpr std::string_view kSezioneMicrobiologia = "18725-2";

std::string_view Cerca(const auto& tabella, std::string_view chiave) {
  for (const auto& [da, a] : tabella) {
    if (da == chiave) return a;
  }
  return {};
}

std::string FamigliaDelDominio(const host::AccessoHost& accesso, const std::string& codice) {
  auto* host = accesso.Applicazione();
  if (!host || codice.empty()) return {};
  try {
    auto dominio = host::Come<host::IArchivioAffinityDomain>(host->Archivio("AffinityDomain"),
                                                             "AffinityDomain");
    return dominio->XDSDocumentEntry_typeCode(codice);
  } catch (const std::exception&) {
    return {};  // no affinity domain on this host: the table decides
  }
}

}  // namespace

clsCDA2::clsCDA2() = default;
clsCDA2::clsCDA2(std::shared_ptr<const host::AccessoHost> accesso)
    : accesso_(std::move(accesso)) {}
clsCDA2::~clsCDA2() = default;

void clsCDA2::NuovoDocumento(std::shared_ptr<util::clsXML> xml) {
  xml_ = std::move(xml);
  corrente_ = nullptr;
  indici_.Svuota();
  media_.reset();
}

void clsCDA2::SetCodificaCatalogo(std::string codifica) {
  codifica_catalogo_ = std::move(codifica);
  codifica_confronto_ = "," + Minuscolo(codifica_catalogo_) + ",";
}

bool clsCDA2::InitFileXML(const std::string& FileName, const std::string& CodeSystemName) {
  SetCodificaCatalogo(CodeSystemName);
  last_error_.clear();
  auto xml = std::make_shared<util::clsXML>();
  const bool ok = xml->LoadFileXML(FileName, true);
  if (!ok) last_error_ = "CDA2: " + xml->LastError();
  NuovoDocumento(std::move(xml));
  return ok;
}

bool clsCDA2::InitXML(std::shared_ptr<util::clsXML> XML) {
  if (!XML) return false;
  last_error_.clear();
  NuovoDocumento(std::move(XML));
  return true;
}

Nodo clsCDA2::Radice() const {
  return xml_ ? xml_->rootNode() : nullptr;
}

std::string clsCDA2::ID() const {
  std::string id = TestoDi(Radice(), "id");
  return id.empty() ? AttributoDi(Radice(), "id", "extension") : id;
}

std::string clsCDA2::Titolo() const {
  return TestoDi(Radice(), "title");
}

std::string clsCDA2::Tipo() const {
  const std::string codice = AttributoDi(Radice(), "code", "code");
  if (std::string dominio = FamigliaDelDominio(*accesso_, codice); !dominio.empty()) return dominio;
  const std::string_view famiglia = Cerca(kFamiglie, codice);
  if (famiglia == "LAB" && AttributoDi(Radice(), "component/structuredBody/component/section/code",
                                       "code") == kSezioneMicrobiologia) {
    return "MIC";
  }
  return std::string(famiglia);
}

std::string clsCDA2::DescrizioneTipo() const {
  return std::string(Cerca(kDescrizioni, Tipo()));
}

std::string clsCDA2::Data() const {
  return AttributoDi(Radice(), "effectiveTime", "value");
}

std::string clsCDA2::MedicoRefertante() const {
  return intestazione::NomeCompleto(Radice(), "legalAuthenticator/assignedEntity/assignedPerson");
}

std::string clsCDA2::MedicoResponsabile() const {
  return intestazione::NomeCompleto(Radice(), "responsibleParty/assignedEntity/assignedPerson");
}

std::string clsCDA2::PazienteCodiceFiscale() const {
  return AttributoDi(Radice(), "recordTarget/patientRole/id", "extension");
}

std::string clsCDA2::PazienteCognome() const {
  std::string cognome = TestoDi(Radice(), "recordTarget/patientRole/patient/name/family");
  if (!cognome.empty()) return cognome;
  return TestoDi(Radice(), "recordTarget/patientRole/patientPatient/name/family");
}

std::string clsCDA2::PazienteNome() const {
  std::string nome = TestoDi(Radice(), "recordTarget/patientRole/patient/name/given");
  if (!nome.empty()) return nome;
  return TestoDi(Radice(), "recordTarget/patientRole/patientPatient/name/given");
}

std::string clsCDA2::PazienteSesso() const {
  std::string sesso =
      AttributoDi(Radice(), "recordTarget/patientRole/patient/administrativeGenderCode", "code");
  if (!sesso.empty()) return sesso;
  return AttributoDi(Radice(), "recordTarget/patientRole/patientPatient/administrativeGenderCode",
                     "code");
}

std::string clsCDA2::PazienteDataNascita() const {
  std::string data = AttributoDi(Radice(), "recordTarget/patientRole/patient/birthTime", "value");
  if (!data.empty()) return data;
  return AttributoDi(Radice(), "recordTarget/patientRole/patientPatient/birthTime", "value");
}

std::string clsCDA2::PazienteLuogoNascita() const {
  return TestoDi(Radice(), "recordTarget/patientRole/patient/birthplace/birthplace/addr/city");
}

std::string clsCDA2::PazienteTelefono() const {
  return TestoDi(Radice(), "recordTarget/patientRole/addr/telecom");
}

std::string clsCDA2::PazienteCAPResidenza() const {
  return TestoDi(Radice(), "recordTarget/patientRole/addr/postbox");
}

std::string clsCDA2::PazienteIndirizzoResidenza() const {
  return TestoDi(Radice(), "recordTarget/patientRole/addr/streetname");
}

std::string clsCDA2::PazienteCittaResidenza() const {
  return TestoDi(Radice(), "recordTarget/patientRole/addr/city");
}

std::string clsCDA2::Istituto() const {
  return AttributoDi(Radice(), "custodian/assignedCustodian/representedCustodianOrganization/id",
                     "assigningAuthorityName");
}

std::string clsCDA2::IDPrescrizione() const {
  return intestazione::IDPrescrizione(Radice());
}

std::string clsCDA2::IDDocumentoSostituito() const {
  return intestazione::IDDocumentoSostituito(Radice());
}

}  // namespace qzkiro::cda
