#include "core/Impostazioni.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>
#include <utility>

#include "core/Cartelle.h"
#include "util/Testo.h"

namespace qzkiro::core {

namespace {

using host::Variant;

bool Flag(host::IItems& items, const char* key) {
  return items.GetItem(key) == "1";
}

std::string Leggi(host::IConfigXML& xml, const std::string& path) {
  return xml.GetTextNode(xml.rootNode(), path);
}

// The settings field that a "test/" key overrides.
std::string& Campo(PluginSettings& s, const std::string& key) {
  if (key == "applicationid") return s.application_id;
  if (key == "certificato") return s.certificato;
  if (key == "certificatotls") return s.certificato_tls;
  if (key == "certificatoSarCF") return s.certificato_sar_cf;
  if (key == "passwordtls") return s.password_tls;
  return s.endpoint[key];
}

constexpr std::array<const char*, 23> kChiaviTest = {"applicationid",
                                                     "certificato",
                                                     "certificatotls",
                                                     "certificatoSarCF",
                                                     "passwordtls",
                                                     "iap",
                                                     "invioprescritto",
                                                     "invioprescrittoeco",
                                                     "invioprescrittoermete",
                                                     "annullaprescritto",
                                                     "visualizzaprescritto",
                                                     "querypaziente",
                                                     "registryreg",
                                                     "repositoryreg",
                                                     "repositoryfse",
                                                     "ivaq",
                                                     "acn",
                                                     "indicatoripa",
                                                     "getmypatients",
                                                     "elencopt",
                                                     "visualizzapt",
                                                     "invioprescrittobianca",
                                                     "annullaprescrittobianca"};

bool IsCertificato(const std::string& key) {
  return key == "certificato" || key == "certificatotls" || key == "certificatoSarCF";
}

void RinominaServizioPilota(Contesto& c, host::IConfigXML& xml) {
  auto pilota = ListaPilota();
  std::string cf = c.App().Utente().CodiceFiscale();
  if (std::find(pilota.begin(), pilota.end(), cf) != pilota.end()) return;
  for (const auto& service : xml.rootNode()->SelectNodes("services/service")) {
    if (service->GetAttribute("id") == "QZ04020") {
      service->SetAttribute("id", "_QZ04020");
      return;
    }
  }
}

}  // namespace

void LeggiImpostazioniUtente(Contesto& c) {
  auto& items = c.App().Utente().Items();
  auto& s = c.settings;
  s.debug = Flag(items, "KIRO.Debug");
  s.disattivato = Flag(items, "KIRO.Disattivato");
  s.no_stampa_dema = Flag(items, "KIRO.NoStampaDema");
  s.email_consenso = Flag(items, "KIRO.EmailConsenso");
  s.codice_struttura = items.GetItem("KIRO.CodiceStruttura");
}

void LeggiEndpoint(Contesto& c, host::IConfigXML& xml) {
  auto& s = c.settings;
  s.endpoint.clear();
  for (const char* key : kChiaviEndpoint) {
    s.endpoint[key] = Leggi(xml, std::string("client/") + key);
  }
  s.endpoint_mfa = Leggi(xml, "client/mfa");
  s.endpoint_mfa_test = Leggi(xml, "client/mfatest");
  if (auto ora = Leggi(xml, "client/orariferimento"); !ora.empty()) s.endpoint_ora = ora;
  s.server_pdta = Leggi(xml, "client/sftppdta");
  s.impronta_pdta = Leggi(xml, "client/sftppdtaimpronta");
  s.certificato_sar_cf = PercorsoPlugin(Leggi(xml, "client/certificatoSarCF"));
  s.certificato = PercorsoPlugin(Leggi(xml, "client/certificato"));
}

void ScriviSetup(Contesto& c) {
  auto& app = c.App();
  const bool off = c.settings.disattivato;
  const bool estesa = c.orologio->Adesso().Formato("yyyymmdd") > "20191010";
  const std::pair<const char*, Variant> valori[] = {
      {"Dematerializzazione", !off},
      {"DematFarmaci", true},
      {"DematEsami", true},
      {"DematSAR", true},
      {"RicettaElettronica", true},
      {"NRE", true},
      {"NascondiRicettaElettronicaMEF", true},
      {"NascondiDematerializzata", true},
      {"StampaDemaSuSSN", false},
      {"ModuloPromemoria", "RicettaPromemoria_050B"},
      {"StampaCodicePacchetto", true},
      {"StampaCodicePrescrizione", true},
      {"NascondiRicettaElettronica", false},
      {"NascondiNRE", false},
      {"DiagnosiVisitaObbligatoria", true},
      {"DiagnosiEsameObbligatoria", true},
      {"DemaSoloCodPresRegionale", true},
      {"PrescVisiteEditabile", false},
      {"PrioritaDemaUBDP", false},
      {"NoPrelievi", true},
      {"NRERicoveri", true},
      {"InfoDema", std::string("KIRO,KIRO.Disattivato,") + (off ? "1" : "0")},
      {"FlussoACN", "050.KIRO"},
      {"FlussoPA", "050.KIRO"},
      {"MEFVisualizzaRicetta", true},
      {"VaccinazioneEstesa", static_cast<std::int16_t>(estesa ? 2 : 1)},
      {"TipoAssistenzaADIADP", true},
      {"PrioritaEsamiU", true},
      {"Branche", true},
      {"ProcessoCollegato", true},
      {"MostraOscuramentoClinico", true},
      {"InviaVaccinazioni", true},
  };
  for (const auto& [name, value] : valori) app.SetSetup(name, value);
  if (app.Utente().CodiceRegioneASL() == "050507") {
    app.SetSetup("PrelieviEmaticiDom", "Richiesta prelievo ematico dom.");
  }
}

void LeggiProxy(Contesto& c) {
  auto& app = c.App();
  auto& s = c.settings;
  s.proxy_host = app.Setup("ProxyHost").ToText();
  s.proxy_port = static_cast<std::int32_t>(app.Setup("ProxyPort").ToInteger());
  s.proxy_username = app.Setup("ProxyUsername").ToText();
  s.proxy_password = app.Setup("ProxyPassword").ToText();
}

void ApplicaConfigurazioneTest(Contesto& c, host::IConfigXML& xml) {
  RinominaServizioPilota(c, xml);
  for (const std::string key : kChiaviTest) {
    std::string value = Leggi(xml, "test/" + key);
    if (value.empty()) continue;
    Campo(c.settings, key) = IsCertificato(key) ? PercorsoPlugin(value) : value;
  }
}

std::vector<std::string> ListaPilota() {
  std::ifstream file(PercorsoPlugin("ListaPilota.txt"));
  std::vector<std::string> codici;
  std::string codice;
  while (std::getline(file, codice, ',')) {
    codice.erase(std::remove_if(codice.begin(), codice.end(),
                                [](char ch) { return ch == '\r' || ch == '\n'; }),
                 codice.end());
    codice = util::Trim(codice);
    if (!codice.empty()) codici.push_back(codice);
  }
  return codici;
}

}  // namespace qzkiro::core
