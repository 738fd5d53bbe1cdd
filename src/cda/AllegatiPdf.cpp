#include "cda/AllegatiPdf.h"

#include <exception>
#include <set>

#include "cda/DocumentoPdf.h"
#include "cda/TestoPdf.h"

namespace qzkiro::cda {

namespace {

using pdf::Oggetto;

// Bounds of the walk through the name tree and the page tree.
constexpr int kProfonditaMassima = 64;
constexpr std::size_t kMassimoNodi = 200000;

// Walks the trees that list embedded files and collects each file once.
class Raccolta {
 public:
  Raccolta(pdf::DocumentoPdf& doc, std::vector<AllegatoPdf>& allegati)
      : doc_(doc), allegati_(allegati) {}

  // A node of the /EmbeddedFiles name tree: /Names [key value ...], /Kids.
  void DaAlbero(const Oggetto& nodo, int profondita) {
    if (profondita > kProfonditaMassima || !Visita(nodo)) return;
    const Oggetto& risolto = doc_.Risolvi(nodo);
    if (const Oggetto* nomi = risolto.Voce("Names")) {
      const auto& elenco = doc_.Risolvi(*nomi).elementi;
      for (std::size_t i = 0; i + 1 < elenco.size(); i += 2) {
        Aggiungi(elenco[i + 1], pdf::TestoPdf(doc_.Risolvi(elenco[i]).testo));
      }
    }
    if (const Oggetto* figli = risolto.Voce("Kids")) {
      for (const Oggetto& figlio : doc_.Risolvi(*figli).elementi) DaAlbero(figlio, profondita + 1);
    }
  }

  // A node of the page tree: the file-attachment annotations of a page.
  void DaPagine(const Oggetto& nodo, int profondita) {
    if (profondita > kProfonditaMassima || !Visita(nodo)) return;
    const Oggetto& risolto = doc_.Risolvi(nodo);
    if (const Oggetto* annotazioni = risolto.Voce("Annots")) {
      for (const Oggetto& voce : doc_.Risolvi(*annotazioni).elementi) {
        const Oggetto& annotazione = doc_.Risolvi(voce);
        const Oggetto* tipo = annotazione.Voce("Subtype");
        const Oggetto* descrittore = annotazione.Voce("FS");
        if (tipo && descrittore && doc_.Risolvi(*tipo).NomeO() == "FileAttachment") {
          Aggiungi(*descrittore, "");
        }
      }
    }
    if (const Oggetto* figli = risolto.Voce("Kids")) {
      for (const Oggetto& figlio : doc_.Risolvi(*figli).elementi) DaPagine(figlio, profondita + 1);
    }
  }

 private:
  // False for a node already visited (a cycle) or beyond the bound.
  bool Visita(const Oggetto& nodo) {
    if (++nodi_ > kMassimoNodi) return false;
    return !nodo.E(Oggetto::Tipo::Riferimento) ||
           visitati_.insert(static_cast<long long>(nodo.numero)).second;
  }

  // A file descrittoretion: the stream in /EF, the name in /UF or /F.
  void Aggiungi(const Oggetto& riferimento, const std::string& chiave) {
    const Oggetto& descrittore = doc_.Risolvi(riferimento);
    const Oggetto* ef = descrittore.Voce("EF");
    if (!ef) return;
    const Oggetto& file = doc_.Risolvi(*ef);
    const Oggetto* flusso = file.Voce("F") ? file.Voce("F") : file.Voce("UF");
    if (!flusso) return;
    // The same file listed in the tree and on a page is taken once.
    if (flusso->E(Oggetto::Tipo::Riferimento) &&
        !presi_.insert(static_cast<long long>(flusso->numero)).second) {
      return;
    }
    auto dati = doc_.DatiFlusso(doc_.Risolvi(*flusso));
    if (!dati) return;
    allegati_.push_back({Nome(descrittore, chiave), std::move(*dati)});
  }

  std::string Nome(const Oggetto& descrittore, const std::string& chiave) {
    for (const char* voce : {"UF", "F", "Unix", "DOS", "Mac"}) {
      const Oggetto* nome = descrittore.Voce(voce);
      if (!nome) continue;
      const Oggetto& testo = doc_.Risolvi(*nome);
      if (testo.E(Oggetto::Tipo::Stringa) && !testo.testo.empty())
        return pdf::TestoPdf(testo.testo);
    }
    return chiave;
  }

  pdf::DocumentoPdf& doc_;
  std::vector<AllegatoPdf>& allegati_;
  std::set<long long> visitati_;
  std::set<long long> presi_;
  std::size_t nodi_ = 0;
};

}  // namespace

std::vector<AllegatoPdf> AllegatiPdf(std::string_view pdf) {
  std::vector<AllegatoPdf> allegati;
  // Some producers put a few bytes before the header; viewers accept them.
  if (pdf.substr(0, 1024).find("%PDF-") == std::string_view::npos) return allegati;
  try {
    pdf::DocumentoPdf documento(pdf);
    Raccolta raccolta(documento, allegati);
    const Oggetto& radice = documento.Radice();
    if (const Oggetto* nomi = radice.Voce("Names")) {
      if (const Oggetto* albero = documento.Risolvi(*nomi).Voce("EmbeddedFiles")) {
        raccolta.DaAlbero(*albero, 0);
      }
    }
    if (const Oggetto* pagine = radice.Voce("Pages")) raccolta.DaPagine(*pagine, 0);
  } catch (const std::exception&) {
    // Memory exhausted on a hostile file: the files read until then stand.
  }
  return allegati;
}

bool EPdf(std::string_view byte) {
  return byte.starts_with("%PDF");
}

}  // namespace qzkiro::cda
