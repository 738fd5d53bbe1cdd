#include "util/ScrittoreXML.h"

#include <libxml/xmlwriter.h>

#include <stdexcept>

namespace qzkiro::util {

namespace {

const xmlChar* X(const std::string& s) {
  return reinterpret_cast<const xmlChar*>(s.c_str());
}

}  // namespace

struct ScrittoreXML::Impl {
  xmlTextWriterPtr w = nullptr;
  std::string file;
  bool finito = false;

  void Verifica(int esito) const {
    if (esito < 0) throw std::runtime_error("Impossibile scrivere il file " + file);
  }
};

ScrittoreXML::ScrittoreXML(const std::string& file) : impl_(std::make_unique<Impl>()) {
  impl_->file = file;
  impl_->w = xmlNewTextWriterFilename(file.c_str(), 0);
  if (!impl_->w) throw std::runtime_error("Impossibile creare il file " + file);
  xmlTextWriterSetIndent(impl_->w, 1);
  xmlTextWriterSetIndentString(impl_->w, X("  "));
  impl_->Verifica(xmlTextWriterStartDocument(impl_->w, "1.0", "UTF-8", nullptr));
}

ScrittoreXML::~ScrittoreXML() {
  if (!impl_->finito) xmlTextWriterEndDocument(impl_->w);
  xmlFreeTextWriter(impl_->w);
}

void ScrittoreXML::Apri(const std::string& nome) {
  impl_->Verifica(xmlTextWriterStartElement(impl_->w, X(nome)));
}

void ScrittoreXML::Chiudi() {
  impl_->Verifica(xmlTextWriterEndElement(impl_->w));
}

void ScrittoreXML::Elemento(const std::string& nome, const std::string& testo) {
  impl_->Verifica(xmlTextWriterWriteElement(impl_->w, X(nome), X(testo)));
}

void ScrittoreXML::Fine() {
  impl_->Verifica(xmlTextWriterEndDocument(impl_->w));
  impl_->Verifica(xmlTextWriterFlush(impl_->w));
  impl_->finito = true;
}

}  // namespace qzkiro::util
