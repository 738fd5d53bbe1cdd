#pragma once

#include <memory>
#include <string>

#include "qzkiro/host/ConfigXML.h"

struct _xmlDoc;

namespace qzkiro::refhost {

// The add-on's configuration document over an XML file (libxml2, parsed
// without network access or entity expansion). Changes made through the
// nodes stay in memory; Salva writes them out.
class ConfigXML : public host::IConfigXML {
 public:
  // Throws Failure when the file is missing or is not well-formed XML.
  static std::shared_ptr<ConfigXML> DaFile(const std::string& file);
  static std::shared_ptr<ConfigXML> DaTesto(const std::string& xml);

  std::shared_ptr<host::IConfigNode> rootNode() override;
  std::string GetTextNode(const std::shared_ptr<host::IConfigNode>& node,
                          const std::string& path) override;
  // The document as UTF-8 text.
  std::string Testo() const;
  void Salva(const std::string& file) const;

  explicit ConfigXML(std::shared_ptr<_xmlDoc> doc) : doc_(std::move(doc)) {}

 private:
  std::shared_ptr<_xmlDoc> doc_;
};

}  // namespace qzkiro::refhost
