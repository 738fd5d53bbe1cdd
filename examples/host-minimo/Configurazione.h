#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <qzkiro/host/ConfigXML.h>

namespace hostminimo {

// One element of the configuration document, held in memory.
class NodoConfigurazione : public qzkiro::host::IConfigNode {
 public:
  explicit NodoConfigurazione(std::string nome) : nome_(std::move(nome)) {}

  std::string Name() override { return nome_; }
  std::string Text() override { return testo_; }
  std::string GetAttribute(const std::string& name) override;
  void SetAttribute(const std::string& name, const std::string& value) override;
  std::vector<std::shared_ptr<qzkiro::host::IConfigNode>> SelectNodes(
      const std::string& path) override;

  void ImpostaTesto(std::string testo) { testo_ = std::move(testo); }
  // The child named `nome`, added when missing.
  NodoConfigurazione& Figlio(const std::string& nome);

 private:
  std::string nome_;
  std::string testo_;
  std::map<std::string, std::string> attributi_;
  std::vector<std::shared_ptr<NodoConfigurazione>> figli_;
};

// The configuration document given to Init. A real host reads it from the
// add-on's configuration file; this one is built from the command line:
// Imposta("client/lotti", url) makes <config><client><lotti>url</lotti>...
class Configurazione : public qzkiro::host::IConfigXML {
 public:
  std::shared_ptr<qzkiro::host::IConfigNode> rootNode() override { return radice_; }
  std::string GetTextNode(const std::shared_ptr<qzkiro::host::IConfigNode>& node,
                          const std::string& path) override;

  // Sets the text of the element at `percorso` below the root, making the
  // elements on the way. An empty text leaves the document as it is.
  void Imposta(const std::string& percorso, const std::string& testo);

 private:
  std::shared_ptr<NodoConfigurazione> radice_ = std::make_shared<NodoConfigurazione>("config");
};

}  // namespace hostminimo
