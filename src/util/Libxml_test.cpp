#include "util/Libxml.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace qzkiro::util::libxml {
namespace {

// Counts how many times libxml2 frees each watched pointer: the library's free
// function is wrapped while the object lives (libxml2 frees through the
// replaceable xmlFree, and this test binary is single-threaded).
class ConteggioLiberazioni {
 public:
  ConteggioLiberazioni() {
    xmlMemGet(&libera_, &alloca_, &rialloca_, &duplica_);
    conti_.clear();
    xmlMemSetup(Libera, alloca_, rialloca_, duplica_);
  }
  ~ConteggioLiberazioni() { xmlMemSetup(libera_, alloca_, rialloca_, duplica_); }
  ConteggioLiberazioni(const ConteggioLiberazioni&) = delete;
  ConteggioLiberazioni& operator=(const ConteggioLiberazioni&) = delete;

  void Osserva(const void* p) { conti_[p] = 0; }
  int Volte(const void* p) const { return conti_.at(p); }

 private:
  static void Libera(void* p) {
    // A lookup only: nothing is allocated inside the allocator's hook.
    if (auto it = conti_.find(p); it != conti_.end()) ++it->second;
    libera_(p);
  }
  static inline std::map<const void*, int> conti_;
  static inline xmlFreeFunc libera_ = nullptr;
  static inline xmlMallocFunc alloca_ = nullptr;
  static inline xmlReallocFunc rialloca_ = nullptr;
  static inline xmlStrdupFunc duplica_ = nullptr;
};

Documento Analizza(std::string_view testo) {
  return LeggiMemoria(testo, "prova.xml", nullptr, XML_PARSE_NONET);
}

TEST(LibxmlTest, AMovedDocumentIsFreedOnceByItsNewHolderOnly) {
  ConteggioLiberazioni conteggio;
  Documento primo = Analizza("<a/>");
  ASSERT_NE(primo, nullptr);
  xmlDoc* const doc = primo.get();
  conteggio.Osserva(doc);
  {
    Documento secondo(std::move(primo));
    EXPECT_EQ(primo, nullptr);
    EXPECT_EQ(secondo.get(), doc);
    EXPECT_EQ(conteggio.Volte(doc), 0) << "moving frees nothing";
    EXPECT_EQ(Vista(xmlDocGetRootElement(secondo.get())->name), "a") << "still readable";
  }
  EXPECT_EQ(conteggio.Volte(doc), 1);
  primo.reset();
  EXPECT_EQ(conteggio.Volte(doc), 1) << "the moved-from holder owns nothing";
}

TEST(LibxmlTest, MoveAssignmentFreesTheDocumentItReplaces) {
  ConteggioLiberazioni conteggio;
  Documento vecchio = Analizza("<vecchio/>");
  Documento nuovo = Analizza("<nuovo/>");
  ASSERT_NE(vecchio, nullptr);
  ASSERT_NE(nuovo, nullptr);
  xmlDoc* const doc_vecchio = vecchio.get();
  xmlDoc* const doc_nuovo = nuovo.get();
  conteggio.Osserva(doc_vecchio);
  conteggio.Osserva(doc_nuovo);

  vecchio = std::move(nuovo);
  EXPECT_EQ(conteggio.Volte(doc_vecchio), 1);
  EXPECT_EQ(conteggio.Volte(doc_nuovo), 0);
  EXPECT_EQ(vecchio.get(), doc_nuovo);
  EXPECT_EQ(nuovo, nullptr);

  vecchio.reset();
  nuovo.reset();
  EXPECT_EQ(conteggio.Volte(doc_nuovo), 1);
  EXPECT_EQ(conteggio.Volte(doc_vecchio), 1);
}

TEST(LibxmlTest, AnUnlinkedNodeIsFreedByItsHolderAndNotAgainByTheDocument) {
  ConteggioLiberazioni conteggio;
  Documento doc = Analizza("<r><tolto>testo</tolto><resta/></r>");
  ASSERT_NE(doc, nullptr);
  xmlNode* const radice = xmlDocGetRootElement(doc.get());
  xmlNode* const tolto = radice->children;
  conteggio.Osserva(tolto);
  xmlUnlinkNode(tolto);
  NodoStaccato staccato(tolto);
  EXPECT_EQ(Vista(radice->children->name), "resta");
  EXPECT_EQ(Possiedi(xmlNodeGetContent(staccato.get())), "testo");

  staccato.reset();
  EXPECT_EQ(conteggio.Volte(tolto), 1);
  doc.reset();
  EXPECT_EQ(conteggio.Volte(tolto), 1) << "no longer the document's";
}

TEST(LibxmlTest, OwnedLibraryStringsBecomeTextAndAreReleased) {
  ConteggioLiberazioni conteggio;
  xmlChar* copia = xmlStrdup(BAD_CAST "Citt\xC3\xA0");
  conteggio.Osserva(copia);
  EXPECT_EQ(Possiedi(copia), "Città");
  EXPECT_EQ(conteggio.Volte(copia), 1);
  EXPECT_EQ(Possiedi(nullptr), "");
  EXPECT_EQ(Vista(nullptr), "");
}

TEST(LibxmlTest, TextThatIsNotWellFormedGivesNoDocument) {
  EXPECT_EQ(LeggiMemoria("<a><b></a>", nullptr, nullptr, XML_PARSE_NOERROR), nullptr);
  EXPECT_EQ(LeggiMemoria("", nullptr, nullptr, XML_PARSE_NOERROR), nullptr);
  const std::string testo = "<a>1</a>coda";
  EXPECT_EQ(LeggiMemoria(testo, nullptr, nullptr, XML_PARSE_NOERROR), nullptr);
  EXPECT_NE(LeggiMemoria(std::string_view(testo).substr(0, 8), nullptr, nullptr, 0), nullptr)
      << "only the bytes of the view are parsed";
}

}  // namespace
}  // namespace qzkiro::util::libxml
