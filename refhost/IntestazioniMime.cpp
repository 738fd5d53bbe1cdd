#include "refhost/IntestazioniMime.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

#include "refhost/TestoMime.h"

namespace qzkiro::refhost {

namespace {

bool CarattereDelNome(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.';
}

// "Nome: valore" as (nome in lower case, valore); nullopt for any other line.
std::optional<std::pair<std::string, std::string>> Campo(std::string_view riga) {
  const auto due_punti = riga.find(':');
  if (due_punti == std::string_view::npos || due_punti == 0) return std::nullopt;
  const auto nome = riga.substr(0, due_punti);
  if (!std::all_of(nome.begin(), nome.end(), CarattereDelNome)) return std::nullopt;
  return std::pair{Minuscolo(nome), std::string(riga.substr(due_punti + 1))};
}

// The quoted string whose text begins at `inizio` (after the opening quote),
// with its backslash escapes undone; gives the position after the closing
// quote (the end of the text when it is missing).
std::size_t LeggiVirgolette(std::string_view testo, std::size_t inizio, std::string& valore) {
  for (auto i = inizio; i < testo.size(); ++i) {
    if (testo[i] == '\\' && i + 1 < testo.size()) {
      valore.push_back(testo[++i]);
    } else if (testo[i] == '"') {
      return i + 1;
    } else {
      valore.push_back(testo[i]);
    }
  }
  return testo.size();
}

// One piece of a continued parameter ("name*1" plain, "name*1*" encoded).
struct Segmento {
  std::string valore;
  bool codificato = false;
};

// The pieces 0, 1, ... of a continued parameter joined (up to the first one
// missing); the first encoded piece names the character set.
std::optional<std::string> UnisciSegmenti(const std::map<int, Segmento>& segmenti) {
  std::string bytes, charset;
  int atteso = 0;
  for (const auto& [numero, segmento] : segmenti) {
    if (numero != atteso++) break;
    std::string_view valore = segmento.valore;
    if (segmento.codificato && numero == 0) {
      const auto primo = valore.find('\'');
      const auto secondo = valore.find('\'', primo == std::string_view::npos ? primo : primo + 1);
      if (secondo == std::string_view::npos) return std::nullopt;
      charset = valore.substr(0, primo);
      valore.remove_prefix(secondo + 1);
    }
    bytes += segmento.codificato ? DecodificaPercentuale(valore) : std::string(valore);
  }
  if (atteso == 0) return std::nullopt;
  return charset.empty() ? bytes : InUtf8(bytes, charset);
}

bool UnoCodificato(const std::map<int, Segmento>& segmenti) {
  return std::any_of(segmenti.begin(), segmenti.end(),
                     [](const auto& voce) { return voce.second.codificato; });
}

}  // namespace

std::size_t IntestazioniMime::Leggi(std::string_view testo, std::size_t inizio) {
  campi_.clear();
  for (auto pos = inizio; pos < testo.size();) {
    const auto riga = LeggiRiga(testo, pos);
    if (SoloSpazi(riga.testo)) return riga.successiva;
    const bool continua = riga.testo.front() == ' ' || riga.testo.front() == '\t';
    if (continua && !campi_.empty()) {
      campi_.back().second += riga.testo;
    } else if (auto campo = continua ? std::nullopt : Campo(riga.testo)) {
      campi_.push_back(std::move(*campo));
    } else {
      return pos;
    }
    pos = riga.successiva;
  }
  return testo.size();
}

std::string IntestazioniMime::Valore(std::string_view nome) const {
  const auto cercato = Minuscolo(nome);
  for (const auto& [chiave, valore] : campi_) {
    if (chiave == cercato) return std::string(SenzaSpazi(valore));
  }
  return {};
}

CampoConParametri::CampoConParametri(std::string_view testo) {
  auto pos = testo.find(';');
  valore_ = Minuscolo(SenzaSpazi(testo.substr(0, pos)));
  Grezzi grezzi;
  while (pos != std::string_view::npos) pos = LeggiParametro(testo, pos + 1, grezzi);
  Componi(grezzi);
}

std::size_t CampoConParametri::LeggiParametro(std::string_view testo, std::size_t inizio,
                                              Grezzi& grezzi) {
  const auto uguale = testo.find_first_of("=;", inizio);
  if (uguale == std::string_view::npos || testo[uguale] == ';') return uguale;
  auto nome = Minuscolo(SenzaSpazi(testo.substr(inizio, uguale - inizio)));
  auto i = testo.find_first_not_of(" \t", uguale + 1);
  std::string valore;
  std::size_t fine = std::string_view::npos;
  if (i != std::string_view::npos && testo[i] == '"') {
    fine = testo.find(';', LeggiVirgolette(testo, i + 1, valore));
  } else if (i != std::string_view::npos) {
    fine = testo.find(';', i);
    valore = SenzaSpazi(testo.substr(i, fine == std::string_view::npos ? fine : fine - i));
  }
  if (!nome.empty()) grezzi.emplace_back(std::move(nome), std::move(valore));
  return fine;
}

void CampoConParametri::Componi(const Grezzi& grezzi) {
  std::map<std::string, std::map<int, Segmento>> continuati;
  for (const auto& [nome, valore] : grezzi) {
    const auto stella = nome.find('*');
    if (stella == std::string::npos) continue;
    const auto base = nome.substr(0, stella);
    std::string_view resto = std::string_view(nome).substr(stella + 1);
    if (resto.empty()) {
      if (auto decodificato = DecodificaValoreEsteso(valore)) {
        parametri_.try_emplace(base, Voce{std::move(*decodificato), true});
      }
      continue;
    }
    const bool codificato = resto.back() == '*';
    if (codificato) resto.remove_suffix(1);
    int numero = -1;
    const auto [fine, errore] = std::from_chars(resto.data(), resto.data() + resto.size(), numero);
    if (errore == std::errc() && fine == resto.data() + resto.size() && numero >= 0) {
      continuati[base].try_emplace(numero, Segmento{valore, codificato});
    }
  }
  for (const auto& [base, segmenti] : continuati) {
    if (auto unito = UnisciSegmenti(segmenti)) {
      parametri_.try_emplace(base, Voce{std::move(*unito), UnoCodificato(segmenti)});
    }
  }
  for (const auto& [nome, valore] : grezzi) {
    if (nome.find('*') == std::string::npos) parametri_.try_emplace(nome, Voce{valore, false});
  }
}

std::string CampoConParametri::Parametro(std::string_view nome) const {
  const auto it = parametri_.find(Minuscolo(nome));
  return it == parametri_.end() ? std::string() : it->second.valore;
}

std::string CampoConParametri::Nome(std::string_view nome) const {
  const auto it = parametri_.find(Minuscolo(nome));
  if (it == parametri_.end()) return {};
  return it->second.esteso ? it->second.valore : DecodificaParoleCodificate(it->second.valore);
}

}  // namespace qzkiro::refhost
