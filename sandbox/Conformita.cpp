#include "sandbox/Conformita.h"

#include <algorithm>
#include <cctype>

#include "util/Libxml.h"

namespace qzkiro::sandbox {

namespace {

using Tipo = Eccezione::Tipo;

bool Cifre(std::string_view testo) {
  return std::all_of(testo.begin(), testo.end(),
                     [](unsigned char c) { return std::isdigit(c) != 0; });
}

// A calendar date "yyyy-mm-dd".
bool Data(std::string_view v) {
  if (v.size() != 10 || v[4] != '-' || v[7] != '-') return false;
  if (!Cifre(v.substr(0, 4)) || !Cifre(v.substr(5, 2)) || !Cifre(v.substr(8, 2))) return false;
  const int anno = std::stoi(std::string(v.substr(0, 4)));
  const int mese = std::stoi(std::string(v.substr(5, 2)));
  const int giorno = std::stoi(std::string(v.substr(8, 2)));
  const bool bisestile = (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0;
  constexpr int kGiorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (mese < 1 || mese > 12 || giorno < 1) return false;
  return giorno <= kGiorni[mese - 1] + (mese == 2 && bisestile ? 1 : 0);
}

bool InteroPositivo(std::string_view v) {
  return !v.empty() && v.size() <= 9 && Cifre(v) && v.front() != '0';
}

// The prescriber's activity code: a short code of letters and digits.
bool CodiceAttivita(std::string_view v) {
  return !v.empty() && v.size() <= 10 &&
         std::all_of(v.begin(), v.end(), [](unsigned char c) { return std::isalnum(c) != 0; });
}

// A personal fiscal code: 16 upper-case letters and digits.
bool CodiceFiscale(std::string_view v) {
  return v.size() == 16 && std::all_of(v.begin(), v.end(), [](unsigned char c) {
           return std::isdigit(c) != 0 || (c >= 'A' && c <= 'Z');
         });
}

// A confidentiality level: one upper-case letter ("O" for clinical obscuring).
bool Riservatezza(std::string_view v) {
  return v.size() == 1 && v[0] >= 'A' && v[0] <= 'Z';
}

bool Appropriatezza(std::string_view v) {
  return v == "9";
}

constexpr std::string_view kDataEstero =
    "data dell'assistito estero inviata come aaaa-mm-gg: il dataOraType del kit vuole 19 "
    "caratteri (data e ora)";
constexpr std::string_view kAttivita =
    "codice attività del medico prescrittore: può essere più lungo del carattere del kit";

constexpr Eccezione kEccezioni[] = {
    {"confidentialityCode", "InvioPrescrittoRichiesta", Tipo::kElementoAssente, Riservatezza,
     "oscuramento clinico richiesto dalle regole del componente, assente dalla sequenza di "
     "InvioPrescrittoRichiesta nel kit 1.2"},
    {"dataNascitaEstero", "InvioPrescrittoRichiesta", Tipo::kValore, Data, kDataEstero},
    {"dataScadTessera", "InvioPrescrittoRichiesta", Tipo::kValore, Data, kDataEstero},
    {"dataNascitaEstero", "VisualizzaPrescrittoRicevuta", Tipo::kValore, Data, kDataEstero},
    {"dataScadTessera", "VisualizzaPrescrittoRicevuta", Tipo::kValore, Data, kDataEstero},
    {"codSpecializzazione", "InvioPrescrittoRichiesta", Tipo::kValore, CodiceAttivita, kAttivita},
    {"codSpecializzazione", "VisualizzaPrescrittoRicevuta", Tipo::kValore, CodiceAttivita,
     kAttivita},
    {"quantita", "DettaglioPrescrizione", Tipo::kValore, InteroPositivo,
     "qualsiasi intero positivo di confezioni o prestazioni: l'integerType del kit è una cifra"},
    {"cfMedico", "VisualizzaPrescrittoRichiesta", Tipo::kValore, CodiceFiscale,
     "codice fiscale di 16 caratteri: il kit lo tipizza come nreType (15 caratteri)"},
    {"codEsito", "ErroreRicetta", Tipo::kValore, Appropriatezza,
     "l'avviso di appropriatezza prescrittiva ha codice \"9\": il codEsitoType del kit vuole 4 "
     "cifre"},
};

const Eccezione* Trova(Tipo tipo, std::string_view elemento, std::string_view genitore) {
  for (const Eccezione& e : kEccezioni) {
    if (e.tipo == tipo && e.elemento == elemento && e.genitore == genitore) return &e;
  }
  return nullptr;
}

std::string_view Nome(const xmlNode* nodo) {
  return nodo && nodo->type == XML_ELEMENT_NODE ? util::libxml::Vista(nodo->name)
                                                : std::string_view();
}

// Removes the elements the kit lacks, after checking their value; the
// violation of the first one whose value is not sane.
std::optional<ViolazioneSchema> TogliAssenti(xmlNode* nodo) {
  for (xmlNode* figlio = nodo ? nodo->children : nullptr; figlio;) {
    xmlNode* prossimo = figlio->next;
    if (figlio->type != XML_ELEMENT_NODE) {
      figlio = prossimo;
      continue;
    }
    const Eccezione* e = Trova(Tipo::kElementoAssente, Nome(figlio), Nome(nodo));
    if (e && figlio->ns == nodo->ns) {
      const std::string valore = util::libxml::Possiedi(xmlNodeGetContent(figlio));
      if (!e->ammesso(valore)) {
        return ViolazioneSchema{static_cast<int>(xmlGetLineNo(figlio)),
                                0,
                                std::string(Nome(figlio)),
                                std::string(Nome(nodo)),
                                valore,
                                "valore non ammesso '" + valore + "'"};
      }
      xmlUnlinkNode(figlio);
      const util::libxml::NodoStaccato tolto(figlio);
    } else if (auto v = TogliAssenti(figlio)) {
      return v;
    }
    figlio = prossimo;
  }
  return std::nullopt;
}

bool Accettata(const ViolazioneSchema& v) {
  const Eccezione* e = v.DiValore() ? Trova(Tipo::kValore, v.elemento, v.genitore) : nullptr;
  return e && e->ammesso(v.valore);
}

}  // namespace

std::span<const Eccezione> Eccezioni() {
  return kEccezioni;
}

std::optional<ViolazioneSchema> PrimaViolazione(const Schemi& schemi, std::string_view corpo) {
  const util::libxml::Documento doc = util::libxml::LeggiMemoria(
      corpo, nullptr, nullptr,
      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES |
          XML_PARSE_HUGE);
  if (!doc) return ViolazioneSchema{0, 0, "", "", "", "documento XML non leggibile"};
  if (auto v = TogliAssenti(xmlDocGetRootElement(doc.get()))) return v;
  for (ViolazioneSchema& v : schemi.Valida(doc.get())) {
    if (!Accettata(v)) return std::move(v);
  }
  return std::nullopt;
}

std::string DescriviViolazione(const ViolazioneSchema& v) {
  std::string testo = "riga " + std::to_string(v.riga);
  if (!v.elemento.empty()) testo += ", elemento '" + v.elemento + "'";
  return testo + ": " + v.messaggio;
}

}  // namespace qzkiro::sandbox
