// Loads any bytes as an XML answer, with and without the clean-ups, then reads
// and serialises what loaded.

#include <cstddef>
#include <cstdint>
#include <string>

#include "util/clsXML.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  using qzkiro::util::clsXML;
  const std::string pulito =
      clsXML::RemoveDoubleHeader(clsXML::RemoveNameSpace(clsXML::RemoveSpecChars(bytes)));
  for (const std::string* testo : {&bytes, &pulito}) {
    clsXML xml;
    if (!xml.LoadXML(*testo, true)) continue;
    auto* root = xml.rootNode();
    xml.GetNode(root, "Body/*/esito");
    xml.GetAttributeNode(root, "*[1]", "code");
    xml.ToHTML(root);
    xml.FormatXmlNode(root, 0);
    xml.XML();
    xml.XMLNoProcessing();
  }
  clsXML::EncodeNonAscii(bytes);
  clsXML::DecodeEntities(bytes);
  return 0;
}
