#pragma once

#include <memory>
#include <string>
#include <vector>

namespace qzkiro::host {

// One element of the add-on's configuration document.
class IConfigNode {
 public:
  virtual ~IConfigNode() = default;
  virtual std::string Name() = 0;
  virtual std::string Text() = 0;
  // "" when the attribute is absent.
  virtual std::string GetAttribute(const std::string& name) = 0;
  virtual void SetAttribute(const std::string& name, const std::string& value) = 0;
  // Elements at a relative path of element names ("services/service").
  virtual std::vector<std::shared_ptr<IConfigNode>> SelectNodes(const std::string& path) = 0;
};

// The configuration document the host gives to Init (`myXML`).
class IConfigXML {
 public:
  virtual ~IConfigXML() = default;
  virtual std::shared_ptr<IConfigNode> rootNode() = 0;
  // The text of the element at `path` below `node`, "" when absent.
  virtual std::string GetTextNode(const std::shared_ptr<IConfigNode>& node,
                                  const std::string& path) = 0;
};

}  // namespace qzkiro::host
