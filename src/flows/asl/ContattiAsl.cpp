#include "flows/asl/ContattiAsl.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "util/ScrittoreXML.h"

namespace qzkiro::asl {

namespace {

bool InIntervallo(const std::string& codice, char lettera, int da, int a) {
  if (codice.size() != 4 || codice[0] != lettera) return false;
  if (!std::all_of(codice.begin() + 1, codice.end(),
                   [](unsigned char c) { return std::isdigit(c); })) {
    return false;
  }
  const int numero = std::stoi(codice.substr(1));
  return numero >= da && numero <= a;
}

std::string Minuscolo(std::string testo) {
  for (char& c : testo) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return testo;
}

void ScriviAssistito(util::ScrittoreXML& w, const AssistitoContatti& a) {
  w.Apri("assistito");
  w.Elemento("codicefiscale", a.codice_fiscale);
  w.Elemento("cognome", a.cognome);
  w.Elemento("nome", a.nome);
  w.Elemento("sesso", a.sesso);
  w.Elemento("datanascita", a.data_nascita);
  w.Apri("comuneNascita");
  w.Elemento("nome", a.comune_nome);
  w.Elemento("codiceCatastale", a.comune_catastale.size() == 4 ? a.comune_catastale : "");
  w.Elemento("codiceIstat", a.comune_istat);
  w.Chiudi();
  for (const auto& c : a.contatti) {
    if (c.tipo == Contatto::Tipo::kPpip) {
      w.Apri("ppip");
      w.Elemento("data", c.data);
      w.Elemento("tipologia", c.tipologia);
      w.Elemento("descrizione", c.motivo);
    } else {
      w.Apri("accesso");
      if (c.richiesta_ricovero) w.Elemento("richiestaRicovero", "S");
      w.Elemento("data", c.data);
      w.Elemento("tipologia", c.tipologia);
      w.Elemento("motivo", c.motivo);
      w.Elemento("ipotesi", c.ipotesi);
      w.Elemento("codiceIcpc2", c.codice_icpc2);
      w.Elemento("codiceIcd9", c.codice_icd9);
    }
    w.Chiudi();
  }
  w.Chiudi();
}

}  // namespace

ServizioAsl ServizioDellaAsl(const std::string& codice_asl) {
  if (codice_asl == "050103") return ServizioAsl::kAziendale;
  static constexpr std::array<const char*, 4> kRegionali = {"050507", "050118", "050119", "050505"};
  for (const char* codice : kRegionali) {
    if (codice_asl == codice) return ServizioAsl::kRegionale;
  }
  return ServizioAsl::kNessuno;
}

bool CodicePPIPAccettato(const std::string& codice_asl, const std::string& codice) {
  if (ServizioDellaAsl(codice_asl) == ServizioAsl::kNessuno) return false;
  if (InIntervallo(codice, 'N', 1, 19) || InIntervallo(codice, 'R', 20, 47) || codice == "A070" ||
      codice == "A071" || InIntervallo(codice, 'R', 101, 116) ||
      InIntervallo(codice, 'A', 101, 108)) {
    return true;
  }
  return codice_asl != "050103" && InIntervallo(codice, 'A', 110, 115);
}

std::string IdentificativoVaccinazione(const std::string& descrizione) {
  const std::string testo = Minuscolo(descrizione);
  if (testo.find("antinfluenzale") != std::string::npos) {
    return "{BECCCDED-134E-4103-A9F6-34CEE66B52C3}";
  }
  if (testo.find("antipneumococcica") != std::string::npos) {
    return "{80D40A7C-B853-4702-A9EE-18191ABCB6FC}";
  }
  if (testo.find("antitetanica") != std::string::npos) {
    return "{6ADBD284-5EEB-4710-8396-816B4F29DFB2}";
  }
  return "{7B634B51-08FC-466C-AEE0-A90B76A8308F}";
}

void ScriviFileContatti(const std::string& file, const TestataContatti& testata,
                        const std::vector<AssistitoContatti>& assistiti) {
  util::ScrittoreXML w(file);
  w.Apri("records");
  w.Elemento("dataoraproduzione", testata.data_ora_produzione);
  w.Apri("periodo");
  w.Elemento("datainizio", testata.data_inizio);
  w.Elemento("datafine", testata.data_fine);
  w.Chiudi();
  w.Elemento("codiceasl", testata.codice_asl);
  w.Apri("medico");
  w.Elemento("codiceregionalemedico", testata.medico.codice_regionale);
  w.Elemento("codicefiscalemedico", testata.medico.codice_fiscale);
  w.Elemento("cognomemedico", testata.medico.cognome);
  w.Elemento("nomemedico", testata.medico.nome);
  w.Chiudi();
  for (const auto& assistito : assistiti) ScriviAssistito(w, assistito);
  w.Fine();
}

}  // namespace qzkiro::asl
