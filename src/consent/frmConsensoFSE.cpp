#include "consent/frmConsensoFSE.h"

#include <algorithm>
#include <cctype>

#include "util/Testo.h"

namespace qzkiro::consent {

namespace {

std::size_t Dato(cda::TipoConsenso tipo) {
  return static_cast<std::size_t>(tipo) * 2;
}

std::string Minuscolo(std::string_view testo) {
  std::string t(testo);
  std::transform(t.begin(), t.end(), t.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return t;
}

// One letter of a state string: 1 set, 0 not set, -1 not a letter we know.
int Lettera(std::string_view testo) {
  const std::string t = Minuscolo(testo);
  if (t.empty() || t == "0" || t == "false" || t == "falso") return 0;
  if (t == "1" || t == "-1" || t == "true" || t == "vero") return 1;
  return -1;
}

std::vector<SchedaTutore> Pulite(std::vector<SchedaTutore> tutori) {
  for (SchedaTutore& t : tutori) {
    for (std::string* campo : {&t.Cognome, &t.Nome, &t.CodiceFiscale, &t.Cellulare, &t.Email}) {
      *campo = util::Trim(*campo);
    }
  }
  return tutori;
}

bool Cancellato(const std::string& prima, const std::string& ora) {
  return !util::Trim(prima).empty() && util::Trim(ora).empty();
}

}  // namespace

std::optional<bool> frmConsensoFSE::Scelta(cda::TipoConsenso tipo) const {
  if (Opzioni[Dato(tipo)]) return true;
  if (Opzioni[Dato(tipo) + 1]) return false;
  return std::nullopt;
}

void frmConsensoFSE::Scegli(cda::TipoConsenso tipo, std::optional<bool> scelta) {
  Opzioni[Dato(tipo)] = scelta == true;
  Opzioni[Dato(tipo) + 1] = scelta == false;
}

std::string frmConsensoFSE::Stato() const {
  std::string stato;
  for (std::size_t i = 0; i < Opzioni.size(); ++i) {
    stato += (i ? ";" : "") + std::to_string(i + 1) + ":" + (Opzioni[i] ? "1" : "");
  }
  return stato;
}

bool frmConsensoFSE::ImpostaStato(std::string_view stato) {
  std::array<bool, 6> letti{};
  std::size_t inizio = 0;
  for (std::size_t i = 0; i < letti.size(); ++i) {
    const std::size_t fine = i + 1 < letti.size() ? stato.find(';', inizio) : stato.size();
    if (fine == std::string_view::npos) return false;
    const std::string_view campo = stato.substr(inizio, fine - inizio);
    const std::string prefisso = std::to_string(i + 1) + ":";
    if (campo.substr(0, prefisso.size()) != prefisso) return false;
    const int lettera = Lettera(campo.substr(prefisso.size()));
    if (lettera < 0) return false;
    letti[i] = lettera == 1;
    inizio = fine + 1;
  }
  for (std::size_t i = 0; i < letti.size(); i += 2) {
    if (letti[i] && letti[i + 1]) return false;
  }
  Opzioni = letti;
  return true;
}

void frmConsensoFSE::RimuoviTutore(std::size_t indice) {
  if (indice < Tutori.size()) Tutori.erase(Tutori.begin() + static_cast<std::ptrdiff_t>(indice));
}

void frmConsensoFSE::FissaCaricato() {
  caricato_ = {Opzioni, Cellulare, Email, Tutori};
}

bool frmConsensoFSE::SceltaCambiata(cda::TipoConsenso tipo) const {
  const std::size_t i = Dato(tipo);
  return Opzioni[i] != caricato_.opzioni[i] || Opzioni[i + 1] != caricato_.opzioni[i + 1];
}

bool frmConsensoFSE::RecapitiCambiati() const {
  return util::Trim(Cellulare) != util::Trim(caricato_.cellulare) ||
         util::Trim(Email) != util::Trim(caricato_.email) ||
         Pulite(Tutori) != Pulite(caricato_.tutori);
}

bool frmConsensoFSE::RecapitiCancellati() const {
  return Cancellato(caricato_.cellulare, Cellulare) || Cancellato(caricato_.email, Email);
}

bool CellulareValido(std::string_view numero) {
  if (!numero.empty() && numero.front() == '+') numero.remove_prefix(1);
  return numero.size() >= 8 && numero.size() <= 15 &&
         std::all_of(numero.begin(), numero.end(),
                     [](unsigned char c) { return std::isdigit(c) != 0; });
}

namespace {

bool LocaleValida(std::string_view locale) {
  constexpr std::string_view kSegni = "!#$%&'*+/=?^_`{|}~.-";
  if (locale.empty() || locale.front() == '.' || locale.back() == '.') return false;
  if (locale.find("..") != std::string_view::npos) return false;
  return std::all_of(locale.begin(), locale.end(), [&](unsigned char c) {
    return std::isalnum(c) != 0 || kSegni.find(static_cast<char>(c)) != std::string_view::npos;
  });
}

bool EtichettaValida(std::string_view etichetta) {
  if (etichetta.empty() || etichetta.front() == '-' || etichetta.back() == '-') return false;
  return std::all_of(etichetta.begin(), etichetta.end(),
                     [](unsigned char c) { return std::isalnum(c) != 0 || c == '-'; });
}

bool DominioValido(std::string_view dominio) {
  std::size_t punti = 0;
  std::string_view ultima;
  for (std::size_t inizio = 0;; ++punti) {
    const std::size_t punto = dominio.find('.', inizio);
    ultima = dominio.substr(inizio, punto == std::string_view::npos ? punto : punto - inizio);
    if (!EtichettaValida(ultima)) return false;
    if (punto == std::string_view::npos) break;
    inizio = punto + 1;
  }
  return punti >= 1 && ultima.size() >= 2 &&
         std::all_of(ultima.begin(), ultima.end(),
                     [](unsigned char c) { return std::isalpha(c) != 0; });
}

}  // namespace

bool EmailValida(std::string_view indirizzo) {
  const std::size_t chiocciola = indirizzo.find('@');
  if (indirizzo.size() > 254 || chiocciola == std::string_view::npos ||
      indirizzo.find('@', chiocciola + 1) != std::string_view::npos) {
    return false;
  }
  return LocaleValida(indirizzo.substr(0, chiocciola)) &&
         DominioValido(indirizzo.substr(chiocciola + 1));
}

}  // namespace qzkiro::consent

namespace qzkiro {

std::string ModuloConsensoFSE::TitoloScheda(std::size_t indice) const {
  return std::string(Minorenne ? "Genitore/Tutore legale #" : "Tutore legale #") +
         std::to_string(indice + 1);
}

std::string ModuloConsensoFSE::Didascalia() const {
  return ScadutoPerMaggioreEta
             ? "Per raggiunta maggiore età, è possibile rinnovare ora il consenso al FSEr "
               "mettendo il segno di spunta sulle scelte del cittadino."
             : "E' possibile modificare ora il consenso al FSEr mettendo il segno di spunta "
               "sulle scelte del cittadino.";
}

}  // namespace qzkiro
