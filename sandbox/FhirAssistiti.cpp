#include "sandbox/FhirAssistiti.h"

#include <cctype>
#include <map>
#include <vector>

#include "sandbox/FhirDati.h"
#include "sandbox/FhirRisposte.h"

namespace qzkiro::sandbox::fhir {

namespace {

constexpr std::string_view kMedicoCurante = "general-practitioner.identifier";
constexpr std::string_view kElementi = "_elements";

constexpr AssistitoFhir kAssistitiMedico[] = {
    {"1001", regione::kPazienteRossi, fse::kMpiRossi},
    {"1004", regione::kPazienteNeri, fse::kMpiNeri},
    {"1006", fse::kCfBruni, fse::kMpiBruni},
    {"1005", regione::kPazienteGialli, fse::kMpiGialli},
    {"1099", kCfIgnotoMpi, kMpiIgnotoMpi},
};

std::string V(std::string_view nome, std::string_view valore) {
  return "<" + std::string(nome) + " value=\"" + EscapeXml(valore) + "\"/>";
}

std::string Identificativo(std::string_view sistema, std::string_view valore) {
  return "<identifier>" + V("use", "official") + V("system", sistema) + V("value", valore) +
         "</identifier>";
}

// Only the identifiers, as _elements=identifier asks; the order of the
// identifiers changes from one patient to the next, and every other patient
// also carries the health card.
std::string Paziente(const AssistitoFhir& a, std::size_t n) {
  const std::string cf = Identificativo(kOidCodiceFiscale, a.codice_fiscale);
  const std::string mpi = Identificativo(kOidMpi, a.mpi);
  std::string identificativi = n % 2 == 0 ? cf + mpi : mpi + cf;
  if (n % 2 == 1) {
    identificativi += Identificativo(kOidTesseraSanitaria, "80380" + std::string(a.id) + "00001");
  }
  return "<Patient>" + V("id", a.id) +
         "<meta><tag><system value=\"http://hl7.org/fhir/v3/ObservationValue\"/>"
         "<code value=\"SUBSETTED\"/></tag></meta>" +
         identificativi + "</Patient>";
}

std::string Decodifica(std::string_view testo) {
  std::string chiaro;
  for (std::size_t i = 0; i < testo.size(); ++i) {
    if (testo[i] == '%' && i + 2 < testo.size() &&
        std::isxdigit(static_cast<unsigned char>(testo[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(testo[i + 2]))) {
      chiaro += static_cast<char>(std::stoi(std::string(testo.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      chiaro += testo[i] == '+' ? ' ' : testo[i];
    }
  }
  return chiaro;
}

// The parameters by decoded name; empty, with `errore` set, when one appears
// twice or has no '='.
std::map<std::string, std::string> Parametri(std::string_view query, std::string& errore) {
  std::map<std::string, std::string> parametri;
  for (std::size_t inizio = 0; inizio <= query.size();) {
    auto fine = query.find('&', inizio);
    if (fine == std::string_view::npos) fine = query.size();
    const std::string_view coppia = query.substr(inizio, fine - inizio);
    const auto uguale = coppia.find('=');
    if (uguale == std::string_view::npos) {
      errore = "parametro senza valore: '" + Decodifica(coppia) + "'";
      return {};
    }
    const std::string nome = Decodifica(coppia.substr(0, uguale));
    if (!parametri.emplace(nome, Decodifica(coppia.substr(uguale + 1))).second) {
      errore = "parametro ripetuto: " + nome;
      return {};
    }
    inizio = fine + 1;
  }
  return parametri;
}

bool CodiceFiscale(std::string_view cf) {
  if (cf.size() != 16) return false;
  for (char c : cf) {
    if (!std::isdigit(static_cast<unsigned char>(c)) && !(c >= 'A' && c <= 'Z')) return false;
  }
  return true;
}

// The doctor's fiscal code the query asks for; "" with `errore` set when the
// query is not exactly the list's.
std::string MedicoRichiesto(std::string_view query, std::string& errore) {
  const auto parametri = Parametri(query, errore);
  if (!errore.empty()) return {};
  for (const auto& [nome, valore] : parametri) {
    if (nome != kMedicoCurante && nome != kElementi) {
      errore = "parametro non ammesso: " + nome;
      return {};
    }
  }
  const auto medico = parametri.find(std::string(kMedicoCurante));
  const auto elementi = parametri.find(std::string(kElementi));
  if (medico == parametri.end() || elementi == parametri.end()) {
    errore = "attesi i parametri general-practitioner.identifier e _elements";
    return {};
  }
  if (elementi->second != "identifier") {
    errore = "_elements ammette solo 'identifier', ricevuto '" + elementi->second + "'";
    return {};
  }
  const std::string prefisso = std::string(kOidCodiceFiscale) + "|";
  const std::string& token = medico->second;
  if (token.compare(0, prefisso.size(), prefisso) != 0 ||
      !CodiceFiscale(std::string_view(token).substr(prefisso.size()))) {
    errore = "identificativo del medico non valido: '" + token + "' (atteso " + prefisso +
             "codice fiscale)";
    return {};
  }
  return token.substr(prefisso.size());
}

std::string Bundle(std::string_view cf_medico, const std::string& base, const std::string& adesso,
                   const std::string& id) {
  const auto assistiti = AssistitiDi(cf_medico);
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Bundle xmlns=\"" + std::string(kNs) + "\">" +
      V("id", id) + "<meta>" + V("lastUpdated", adesso) + "</meta>" + V("type", "searchset") +
      V("total", std::to_string(assistiti.size())) + "<link>" + V("relation", "self") +
      V("url", base + "/Patient?" + std::string(kMedicoCurante) + "=" + kOidCodiceFiscale + "|" +
                   std::string(cf_medico) + "&_elements=identifier") +
      "</link>";
  for (std::size_t n = 0; n < assistiti.size(); ++n) {
    xml += "<entry>" + V("fullUrl", base + "/Patient/" + std::string(assistiti[n].id)) +
           "<resource>" + Paziente(assistiti[n], n) + "</resource><search>" + V("mode", "match") +
           "</search></entry>";
  }
  return xml + "</Bundle>";
}

}  // namespace

std::span<const AssistitoFhir> AssistitiDi(std::string_view cf_medico) {
  if (cf_medico == regione::kMedico) return kAssistitiMedico;
  return {};
}

bool RichiestaAssistiti(std::string_view percorso, std::string_view query) {
  while (!percorso.empty() && percorso.front() == '/') percorso.remove_prefix(1);
  return percorso == "Patient" &&
         Decodifica(query).find("general-practitioner") != std::string::npos;
}

Risposta RispostaAssistiti(std::string_view query, const std::string& base,
                           const std::string& adesso, const std::string& id_risposta) {
  std::string errore;
  const std::string medico = MedicoRichiesto(query, errore);
  if (!errore.empty()) {
    return Errore(400, "invalid", "Ricerca dei pazienti del medico non ammessa: " + errore,
                  "ERR_00400", "Parametri di ricerca non validi");
  }
  return {200, Bundle(medico, base, adesso, id_risposta), kTipoFhir};
}

std::pair<std::string, std::string> FileSimulatoreAssistiti() {
  return {"GetMyPatients/GetMyPatients.xml",
          Bundle(regione::kMedico, "https://127.0.0.1:9443/fhir", "2026-03-05T10:20:30Z",
                 "simulatore-assistiti")};
}

}  // namespace qzkiro::sandbox::fhir
