#include "cda/DocumentoPdf.h"

#include <algorithm>

#include "cda/FlussoPdf.h"
#include "cda/LettorePdf.h"

namespace qzkiro::cda::pdf {

namespace {

// Loads nested inside loads (an object in an object stream whose length is
// in another object stream, ...): real files need two or three.
constexpr int kProfonditaMassima = 32;
// References that lead to references.
constexpr int kCatenaMassima = 16;
// Bytes decoded over the whole file, object and cross-reference streams
// included: several streams each just under their own bound stop here.
constexpr std::size_t kMassimoTotale = 2 * kMassimoDecodificato;
// Bytes the object reader may go through, per byte of the file and of the
// decoded object streams, plus a floor: real files need one or two.
constexpr std::size_t kLetturaPerByte = 8;
constexpr std::size_t kLetturaMinima = 1u << 20;
// Filters applied one after the other to a stream.
constexpr std::size_t kMassimoFiltri = 4;

const Oggetto kNullo;

Predittore LeggiPredittore(DocumentoPdf& doc, const Oggetto& parametri) {
  Predittore p;
  const auto valore = [&](std::string_view chiave, long long& campo) {
    if (const Oggetto* o = parametri.Voce(chiave)) doc.Risolvi(*o).Intero(campo, 0, 1LL << 32);
  };
  valore("Predictor", p.tipo);
  valore("Colors", p.colori);
  valore("BitsPerComponent", p.bit);
  valore("Columns", p.colonne);
  return p;
}

}  // namespace

DocumentoPdf::DocumentoPdf(std::string_view pdf) : pdf_(pdf) {
  LeggiXref();
}

const Oggetto& DocumentoPdf::Radice() {
  if (const Oggetto& radice = Risolvi(radice_ref_); radice.EDizionario()) return radice;
  Ricostruisci();
  RadiceRicostruita();
  const Oggetto& radice = Risolvi(radice_ref_);
  return radice.EDizionario() ? radice : kNullo;
}

const Oggetto& DocumentoPdf::Risolvi(const Oggetto& o) {
  const Oggetto* corrente = &o;
  for (int anelli = 0; corrente->E(Oggetto::Tipo::Riferimento); ++anelli) {
    if (anelli == kCatenaMassima) return kNullo;
    corrente = &Carica(static_cast<long long>(corrente->numero));
  }
  return *corrente;
}

const Oggetto& DocumentoPdf::Carica(long long numero) {
  if (const auto trovato = oggetti_.find(numero); trovato != oggetti_.end()) return trovato->second;
  if (in_corso_.count(numero) || profondita_ >= kProfonditaMassima) return kNullo;
  in_corso_.insert(numero);
  const bool esterno = profondita_++ == 0;
  std::optional<Oggetto> o;
  if (const auto posto = tabella_.find(numero); posto != tabella_.end()) {
    o = DaPosto(numero, posto->second);
  }
  if (!o) {
    Ricostruisci();
    if (const auto posto = ricostruita_.find(numero); posto != ricostruita_.end()) {
      o = DaPosto(numero, posto->second);
    }
  }
  --profondita_;
  in_corso_.erase(numero);
  // A failure met inside another load may come from that load being under
  // way (a cycle seen from the other side): only an outermost one is final.
  if (!o && !esterno) return kNullo;
  return oggetti_.emplace(numero, o ? std::move(*o) : Oggetto{}).first->second;
}

// Every object is read once, but a hostile file can make each reading run
// to its end (strings never closed, objects nested in one another): the
// bytes read over the whole file are bounded by a multiple of what there is.
bool DocumentoPdf::EntroLimiteLettura() const {
  return letti_ <= kLetturaPerByte * (pdf_.size() + decodificati_) + kLetturaMinima;
}

std::optional<OggettoIndiretto> DocumentoPdf::Indiretto(std::size_t offset) {
  if (!EntroLimiteLettura()) return std::nullopt;
  std::size_t letti = 0;
  auto indiretto = LeggiIndiretto(pdf_, offset, &letti);
  letti_ += letti;
  return indiretto;
}

std::optional<Oggetto> DocumentoPdf::DaPosto(long long numero, const Posto& posto) {
  if (posto.in_flusso) return DaFlussoOggetti(numero, posto);
  auto indiretto = Indiretto(posto.valore);
  if (!indiretto || indiretto->numero != numero) return std::nullopt;
  return std::move(indiretto->valore);
}

std::optional<Oggetto> DocumentoPdf::DaFlussoOggetti(long long numero, const Posto& posto) {
  const FlussoOggetti* flusso = Decomprimi(static_cast<long long>(posto.valore));
  if (!flusso) return std::nullopt;
  const auto& posizioni = flusso->posizioni;
  auto voce =
      posizioni.begin() + static_cast<std::ptrdiff_t>(std::min(posto.indice, posizioni.size()));
  if (voce == posizioni.end() || voce->first != numero) {
    voce = std::find_if(posizioni.begin(), posizioni.end(),
                        [numero](const auto& p) { return p.first == numero; });
  }
  if (voce == posizioni.end() || !EntroLimiteLettura()) return std::nullopt;
  LettorePdf lettore(flusso->dati, voce->second);
  auto oggetto = lettore.Leggi();
  letti_ += std::min(lettore.Posizione(), flusso->dati.size()) - voce->second;
  return oggetto;
}

const DocumentoPdf::FlussoOggetti* DocumentoPdf::Decomprimi(long long numero_flusso) {
  if (const auto trovato = flussi_.find(numero_flusso); trovato != flussi_.end()) {
    return trovato->second ? &*trovato->second : nullptr;
  }
  // Marked as failed while it is decoded: a way back to it through its own
  // length or filters finds nothing instead of looping.
  flussi_.emplace(numero_flusso, std::nullopt);
  const Oggetto& flusso = Carica(numero_flusso);
  const Oggetto* tipo = flusso.Voce("Type");
  long long quanti = 0, primo = 0;
  if (!flusso.E(Oggetto::Tipo::Flusso) || !tipo || Risolvi(*tipo).NomeO() != "ObjStm" ||
      !flusso.Voce("N") || !Risolvi(*flusso.Voce("N")).Intero(quanti, 0, 1 << 24) ||
      !flusso.Voce("First") || !Risolvi(*flusso.Voce("First")).Intero(primo, 0, 1LL << 40)) {
    return nullptr;
  }
  auto dati = DatiFlusso(flusso);
  if (!dati || static_cast<std::size_t>(primo) > dati->size()) return nullptr;
  FlussoOggetti decompresso;
  LettorePdf indice(std::string_view(*dati).substr(0, static_cast<std::size_t>(primo)));
  for (long long i = 0; i < quanti; ++i) {
    const auto numero = indice.Intero();
    const auto offset = numero ? indice.Intero() : std::nullopt;
    if (!offset) break;
    const auto inizio = static_cast<std::size_t>(primo) + static_cast<std::size_t>(*offset);
    if (inizio < dati->size()) decompresso.posizioni.emplace_back(*numero, inizio);
  }
  decompresso.dati = std::move(*dati);
  auto& posto = flussi_[numero_flusso];
  posto = std::move(decompresso);
  return &*posto;
}

std::optional<std::string_view> DocumentoPdf::DatiGrezzi(const Oggetto& flusso) {
  if (!flusso.E(Oggetto::Tipo::Flusso) || flusso.inizio_dati > pdf_.size()) return std::nullopt;
  const std::string_view resto = pdf_.substr(flusso.inizio_dati);
  long long lunghezza = 0;
  if (const Oggetto* l = flusso.Voce("Length"); l && Risolvi(*l).Intero(lunghezza, 0, 1LL << 48)) {
    // The length stated is trusted: when "endstream" does not follow, the
    // file was cut or damaged there. Looking for the keyword instead could
    // stop at those same bytes inside the data and yield part of a file.
    if (static_cast<std::size_t>(lunghezza) > resto.size()) return std::nullopt;
    LettorePdf dopo(pdf_, flusso.inizio_dati + static_cast<std::size_t>(lunghezza));
    if (!dopo.Parola("endstream")) return std::nullopt;
    return resto.substr(0, static_cast<std::size_t>(lunghezza));
  }
  // No usable length (missing, or a reference that leads nowhere): the data
  // end at the line end before "endstream".
  auto fine = resto.find("endstream");
  letti_ += fine == std::string_view::npos ? resto.size() : fine;
  if (fine == std::string_view::npos) return std::nullopt;
  if (fine > 0 && resto[fine - 1] == '\n') --fine;
  if (fine > 0 && resto[fine - 1] == '\r') --fine;
  return resto.substr(0, fine);
}

std::optional<std::string> DocumentoPdf::DatiFlusso(const Oggetto& flusso) {
  // Streams may overlap in a hostile file: their bytes count as read.
  const auto grezzi = EntroLimiteLettura() ? DatiGrezzi(flusso) : std::nullopt;
  if (!grezzi) return std::nullopt;
  letti_ += grezzi->size();
  std::vector<const Oggetto*> filtri, parametri;
  const auto elenco = [this](const Oggetto* o, std::vector<const Oggetto*>& voci) {
    const Oggetto& valore = o ? Risolvi(*o) : kNullo;
    if (!valore.E(Oggetto::Tipo::Array)) {
      if (!valore.E(Oggetto::Tipo::Nullo)) voci.push_back(&valore);
      return;
    }
    for (const Oggetto& v : valore.elementi) voci.push_back(&Risolvi(v));
  };
  elenco(flusso.Voce("Filter"), filtri);
  elenco(flusso.Voce("DecodeParms"), parametri);
  if (filtri.size() > kMassimoFiltri) return std::nullopt;
  std::string dati(*grezzi);
  for (std::size_t i = 0; i < filtri.size(); ++i) {
    if (filtri[i]->NomeO() != "FlateDecode" && filtri[i]->NomeO() != "Fl") return std::nullopt;
    auto decodificati =
        Inflate(dati, std::min(kMassimoDecodificato, kMassimoTotale - decodificati_));
    if (!decodificati) return std::nullopt;
    decodificati_ += decodificati->size();
    if (i < parametri.size() && parametri[i]->EDizionario()) {
      decodificati =
          AnnullaPredittore(std::move(*decodificati), LeggiPredittore(*this, *parametri[i]));
      if (!decodificati) return std::nullopt;
    }
    dati = std::move(*decodificati);
  }
  return dati;
}

}  // namespace qzkiro::cda::pdf
