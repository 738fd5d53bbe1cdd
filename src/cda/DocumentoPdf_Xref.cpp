// How the objects of a file are found: its cross-reference sections, or a
// scan of the whole file when they fail.

#include <deque>

#include "cda/DocumentoPdf.h"
#include "cda/LettorePdf.h"

namespace qzkiro::cda::pdf {

namespace {

// Sections chained by /Prev and /XRefStm: incremental updates add one each.
constexpr std::size_t kMassimoSezioni = 256;
// Object numbers beyond this are refused (the format's own limit).
constexpr long long kMassimoNumero = 8'388'607;

// The trailer's links to older sections, the hybrid file's stream first.
void Precedenti(const Oggetto& trailer, std::deque<std::size_t>& da_leggere) {
  for (const char* chiave : {"XRefStm", "Prev"}) {
    long long offset = 0;
    if (const Oggetto* o = trailer.Voce(chiave); o && o->Intero(offset, 0, 1LL << 40)) {
      da_leggere.push_back(static_cast<std::size_t>(offset));
    }
  }
}

// A big-endian field of `larghezza` bytes of a cross-reference stream row.
std::size_t Campo(std::string_view riga, std::size_t& pos, long long larghezza) {
  std::size_t valore = 0;
  for (long long i = 0; i < larghezza; ++i)
    valore = valore << 8 | static_cast<unsigned char>(riga[pos++]);
  return valore;
}

}  // namespace

void DocumentoPdf::LeggiXref() {
  const auto marca = pdf_.rfind("startxref");
  if (marca == std::string_view::npos) return;
  LettorePdf lettore(pdf_, marca + 9);
  const auto primo = lettore.Intero();
  if (!primo) return;
  std::deque<std::size_t> da_leggere{static_cast<std::size_t>(*primo)};
  std::set<std::size_t> letti;
  while (!da_leggere.empty() && letti.size() < kMassimoSezioni) {
    const std::size_t offset = da_leggere.front();
    da_leggere.pop_front();
    if (!letti.insert(offset).second || offset >= pdf_.size()) continue;
    // A damaged section leaves the objects it would have listed to the scan.
    if (!SezioneClassica(offset, da_leggere)) SezioneFlusso(offset, da_leggere);
  }
}

bool DocumentoPdf::SezioneClassica(std::size_t offset, std::deque<std::size_t>& da_leggere) {
  LettorePdf lettore(pdf_, offset);
  if (!lettore.Parola("xref")) return false;
  while (const auto inizio = lettore.Intero()) {
    const auto quanti = lettore.Intero();
    if (!quanti || *inizio > kMassimoNumero || *quanti > kMassimoNumero - *inizio) return false;
    for (long long i = 0; i < *quanti; ++i) {
      const auto posizione = lettore.Intero();
      const auto generazione = posizione ? lettore.Intero() : std::nullopt;
      if (!generazione) return false;
      const bool in_uso = lettore.Parola("n");
      if (!in_uso && !lettore.Parola("f")) return false;
      // The newest section is read first: what it says stays.
      if (in_uso)
        tabella_.emplace(*inizio + i, Posto{false, static_cast<std::size_t>(*posizione), 0});
    }
  }
  if (!lettore.Parola("trailer")) return false;
  const auto trailer = lettore.Leggi();
  if (!trailer || !trailer->EDizionario()) return false;
  Trailer(*trailer, da_leggere);
  return true;
}

bool DocumentoPdf::SezioneFlusso(std::size_t offset, std::deque<std::size_t>& da_leggere) {
  const auto indiretto = Indiretto(offset);
  if (!indiretto || !indiretto->valore.E(Oggetto::Tipo::Flusso)) return false;
  const Oggetto& flusso = indiretto->valore;
  const Oggetto* tipo = flusso.Voce("Type");
  const Oggetto* w = flusso.Voce("W");
  long long larghezze[3] = {0, 0, 0}, dimensione = 0;
  if (!tipo || tipo->NomeO() != "XRef" || !w || !w->E(Oggetto::Tipo::Array) ||
      w->elementi.size() != 3 || !flusso.Voce("Size") ||
      !flusso.Voce("Size")->Intero(dimensione, 0, kMassimoNumero + 1)) {
    return false;
  }
  for (int i = 0; i < 3; ++i) {
    if (!w->elementi[i].Intero(larghezze[i], 0, 8)) return false;
  }
  const auto riga = static_cast<std::size_t>(larghezze[0] + larghezze[1] + larghezze[2]);
  const auto dati = DatiFlusso(flusso);
  if (riga == 0 || !dati) return false;
  std::vector<long long> sottosezioni{0, dimensione};
  if (const Oggetto* indice = flusso.Voce("Index"); indice && indice->E(Oggetto::Tipo::Array)) {
    sottosezioni.clear();
    for (const Oggetto& n : indice->elementi) {
      long long valore = 0;
      if (!n.Intero(valore, 0, kMassimoNumero + 1)) return false;
      sottosezioni.push_back(valore);
    }
  }
  std::size_t pos = 0;
  for (std::size_t s = 0; s + 1 < sottosezioni.size(); s += 2) {
    for (long long n = sottosezioni[s]; n < sottosezioni[s] + sottosezioni[s + 1]; ++n) {
      if (pos + riga > dati->size()) break;
      // A missing type field means "in use at an offset".
      const std::size_t genere = larghezze[0] == 0 ? 1 : Campo(*dati, pos, larghezze[0]);
      const std::size_t secondo = Campo(*dati, pos, larghezze[1]);
      const std::size_t terzo = Campo(*dati, pos, larghezze[2]);
      if (genere == 1) tabella_.emplace(n, Posto{false, secondo, 0});
      if (genere == 2) tabella_.emplace(n, Posto{true, secondo, terzo});
    }
  }
  Trailer(flusso, da_leggere);
  return true;
}

void DocumentoPdf::Trailer(const Oggetto& trailer, std::deque<std::size_t>& da_leggere) {
  if (radice_ref_.E(Oggetto::Tipo::Nullo)) {
    if (const Oggetto* radice = trailer.Voce("Root")) radice_ref_ = *radice;
  }
  Precedenti(trailer, da_leggere);
}

void DocumentoPdf::Ricostruisci() {
  if (ricostruito_) return;
  ricostruito_ = true;
  for (auto p = pdf_.find("obj"); p != std::string_view::npos; p = pdf_.find("obj", p + 3)) {
    if (p + 3 < pdf_.size() && !SpazioPdf(pdf_[p + 3]) && !DelimitatorePdf(pdf_[p + 3])) continue;
    // Backwards over " G " and "N": digits and white space, each present.
    std::size_t i = p;
    bool valido = true;
    for (int parte = 0; parte < 4 && valido; ++parte) {
      const std::size_t fine = i;
      const bool spazi = parte % 2 == 0;
      while (i > 0 && fine - i < 16 &&
             (spazi ? SpazioPdf(pdf_[i - 1]) : (pdf_[i - 1] >= '0' && pdf_[i - 1] <= '9'))) {
        --i;
      }
      valido = i < fine;
    }
    if (!valido || (i > 0 && !SpazioPdf(pdf_[i - 1]) && !DelimitatorePdf(pdf_[i - 1]))) continue;
    LettorePdf lettore(pdf_, i);
    const auto numero = lettore.Intero();
    // A later definition of the same number is an update: it wins.
    if (numero && *numero <= kMassimoNumero) ricostruita_[*numero] = Posto{false, i, 0};
  }
  OggettiNeiFlussi();
}

// The objects packed in the object streams the scan found, unless the file
// also defines them on their own.
void DocumentoPdf::OggettiNeiFlussi() {
  std::vector<long long> flussi;
  for (const auto& [numero, posto] : ricostruita_) {
    const auto indiretto = Indiretto(posto.valore);
    const Oggetto* tipo = indiretto ? indiretto->valore.Voce("Type") : nullptr;
    if (tipo && tipo->NomeO() == "ObjStm") flussi.push_back(numero);
  }
  for (const long long numero : flussi) {
    const FlussoOggetti* flusso = Decomprimi(numero);
    if (!flusso) continue;
    for (std::size_t i = 0; i < flusso->posizioni.size(); ++i) {
      ricostruita_.emplace(flusso->posizioni[i].first,
                           Posto{true, static_cast<std::size_t>(numero), i});
    }
  }
}

void DocumentoPdf::RadiceRicostruita() {
  // The last trailer of the file, then any catalog among the objects.
  if (const auto marca = pdf_.rfind("trailer"); marca != std::string_view::npos) {
    LettorePdf lettore(pdf_, marca + 7);
    const auto trailer = lettore.Leggi();
    const Oggetto* radice = trailer ? trailer->Voce("Root") : nullptr;
    if (radice && Risolvi(*radice).EDizionario()) {
      radice_ref_ = *radice;
      return;
    }
  }
  std::vector<long long> numeri;
  for (const auto& voce : ricostruita_) numeri.push_back(voce.first);
  for (const long long numero : numeri) {
    const Oggetto& oggetto = Carica(numero);
    const Oggetto* tipo = oggetto.Voce("Type");
    if (tipo && Risolvi(*tipo).NomeO() == "Catalog") {
      radice_ref_ = Oggetto{};
      radice_ref_.tipo = Oggetto::Tipo::Riferimento;
      radice_ref_.numero = static_cast<double>(numero);
      return;
    }
  }
}

}  // namespace qzkiro::cda::pdf
