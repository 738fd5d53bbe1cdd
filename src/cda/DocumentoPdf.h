#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cda/LettorePdf.h"
#include "cda/OggettoPdf.h"

namespace qzkiro::cda::pdf {

// The objects of a PDF file, found through its cross-reference data: classic
// tables and cross-reference streams, incremental updates (/Prev), hybrid
// files (/XRefStm), objects packed in object streams. When that data is
// missing or points to the wrong places, the file is scanned for its "N G
// obj" headers instead, as viewers do with damaged files.
//
// Every object is read once and kept. Reference chains, cycles, recursion and
// the bytes decoded over the whole file are bounded, so hostile input ends in
// a null object or nullopt, never in a loop. The viewed bytes must outlive
// the object.
class DocumentoPdf {
 public:
  explicit DocumentoPdf(std::string_view pdf);
  DocumentoPdf(const DocumentoPdf&) = delete;
  DocumentoPdf& operator=(const DocumentoPdf&) = delete;

  // The document catalog; a null object when none can be found.
  const Oggetto& Radice();
  // `o` itself, or the object a reference (or a chain of them) leads to.
  const Oggetto& Risolvi(const Oggetto& o);
  // The decoded bytes of a stream: no filter or FlateDecode (with its
  // predictor); nullopt for any other filter, damaged data, or data beyond
  // the bounds.
  std::optional<std::string> DatiFlusso(const Oggetto& flusso);

 private:
  // Where the cross-reference data puts an object: at an offset of the file,
  // or at an index of an object stream.
  struct Posto {
    bool in_flusso = false;
    std::size_t valore = 0;  // offset, or the object stream's number
    std::size_t indice = 0;
  };
  // An object stream once decoded: its data and where each object begins.
  struct FlussoOggetti {
    std::string dati;
    std::vector<std::pair<long long, std::size_t>> posizioni;
  };
  using Tabella = std::map<long long, Posto>;

  // DocumentoPdf_Xref.cpp
  void LeggiXref();
  bool SezioneClassica(std::size_t offset, std::deque<std::size_t>& da_leggere);
  bool SezioneFlusso(std::size_t offset, std::deque<std::size_t>& da_leggere);
  void Trailer(const Oggetto& trailer, std::deque<std::size_t>& da_leggere);
  void Ricostruisci();
  void OggettiNeiFlussi();
  void RadiceRicostruita();

  // DocumentoPdf.cpp
  const Oggetto& Carica(long long numero);
  std::optional<Oggetto> DaPosto(long long numero, const Posto& posto);
  std::optional<Oggetto> DaFlussoOggetti(long long numero, const Posto& posto);
  const FlussoOggetti* Decomprimi(long long numero_flusso);
  std::optional<std::string_view> DatiGrezzi(const Oggetto& flusso);
  std::optional<OggettoIndiretto> Indiretto(std::size_t offset);
  bool EntroLimiteLettura() const;

  std::string_view pdf_;
  Tabella tabella_;
  Tabella ricostruita_;
  bool ricostruito_ = false;
  Oggetto trailer_;
  Oggetto radice_ref_;
  std::unordered_map<long long, Oggetto> oggetti_;
  std::unordered_map<long long, std::optional<FlussoOggetti>> flussi_;
  std::set<long long> in_corso_;
  int profondita_ = 0;
  std::size_t decodificati_ = 0;
  std::size_t letti_ = 0;  // bytes gone through by the object reader
};

}  // namespace qzkiro::cda::pdf
