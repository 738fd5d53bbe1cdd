#pragma once

#include <memory>
#include <string>
#include <vector>

/// \file
/// The add-on's configuration document, as the host hands it to Init.

namespace qzkiro::host {

/// One element of the add-on's configuration document.
class IConfigNode {
 public:
  virtual ~IConfigNode() = default;
  /// The element's name.
  virtual std::string Name() = 0;
  /// The element's text.
  virtual std::string Text() = 0;
  /// The value of the attribute `name`; "" when the attribute is absent.
  virtual std::string GetAttribute(const std::string& name) = 0;
  /// Sets the attribute `name` in the document the host holds (Init renames
  /// the patient-summary service's id for a user outside the pilot list).
  virtual void SetAttribute(const std::string& name, const std::string& value) = 0;
  /// Elements at a relative path of element names ("services/service").
  virtual std::vector<std::shared_ptr<IConfigNode>> SelectNodes(const std::string& path) = 0;
};

/// The configuration document the host gives to Init (`myXML`).
class IConfigXML {
 public:
  virtual ~IConfigXML() = default;
  /// The document's root element.
  virtual std::shared_ptr<IConfigNode> rootNode() = 0;
  /// The text of the element at `path` below `node`, "" when absent. Init
  /// reads the services' addresses from the root's "client/..." elements.
  virtual std::string GetTextNode(const std::shared_ptr<IConfigNode>& node,
                                  const std::string& path) = 0;
};

}  // namespace qzkiro::host
