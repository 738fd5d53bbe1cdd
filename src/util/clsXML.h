#pragma once

#include <libxml/tree.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/File.h"

namespace qzkiro::util {

// One in-memory XML document with the vocabulary every message builder and
// answer reader uses: build elements (optionally in a default namespace),
// read texts and attributes by path, serialise as UTF-8, load with optional
// clean-up, save (plain or zipped) and transform with XSLT.
//
// Nodes are libxml2 node pointers owned by the document. Reading members never
// fail: a path that matches nothing gives "" (or the default, false, null).
// Paths are XPath 1.0 location paths whose element names match by local name,
// so they read documents with a default namespace as written. Documents are
// parsed without network access and without entity substitution.
class clsXML {
 public:
  using Nodo = xmlNodePtr;

  clsXML();
  ~clsXML();
  clsXML(clsXML&& other) noexcept;
  clsXML& operator=(clsXML&& other) noexcept;
  clsXML(const clsXML&) = delete;
  clsXML& operator=(const clsXML&) = delete;

  // --- building ---
  // A NEW empty document whose first child is the processing instruction
  // (target "xml" sets the prolog).
  void CreateProcessing(const std::string& target, const std::string& data);
  void AddProcessing(const std::string& target, const std::string& data);
  Nodo CreateRootNode(const std::string& name);
  Nodo CreateNode(Nodo parent, const std::string& name, const std::string& text = {});
  // `attributi` holds name/value pairs: positions 0/1, 2/3, ...
  Nodo AddNode(Nodo parent, const std::string& name, const std::string& text = {},
               const std::vector<std::string>& attributi = {});
  Nodo AddNodeB64(Nodo parent, const std::string& name, const std::string& text = {},
                  const std::vector<std::string>& attributi = {});
  Nodo InsertNode(Nodo parent, Nodo before, const std::string& name, const std::string& text = {},
                  const std::vector<std::string>& attributi = {});
  Nodo CreateCloneNode(Nodo parent, Nodo clone);
  void AddAttribute(Nodo node, const std::string& name, const std::string& data);
  void SetAttribute(Nodo node, const std::string& name, const std::string& data);
  void SetAttributeNode(Nodo parent, const std::string& query, const std::string& name,
                        const std::string& data);
  std::string SetTextNode(Nodo parent, const std::string& query, const std::string& text);
  void FormatXmlNode(Nodo node, std::int16_t indent);

  // --- reading ---
  Nodo SelectNode(Nodo parent, const std::string& query);
  std::vector<Nodo> SelectNodeList(Nodo parent, const std::string& query);
  std::string GetNode(Nodo parent, const std::string& query);
  std::string GetTextNode(Nodo parent, const std::string& query, bool remove_entity = false);
  std::string GetAttribute(Nodo node, const std::string& name,
                           const std::optional<std::string>& predefinito = std::nullopt);
  std::string GetAttributeNode(Nodo parent, const std::string& query, const std::string& attributo,
                               bool remove_entity = false);
  bool ExistNode(Nodo parent, const std::string& query);
  Nodo rootNode() const { return root_; }
  std::string ToHTML(Nodo parent);
  // One node as libxml2 writes it, without a prolog, in `encoding`; carriage
  // returns stay literal, as the host's DOM writes them. "" for no node.
  static std::string SalvaNodo(Nodo node, const char* encoding = "UTF-8");
  std::string Stylesheet();

  // --- serialising, loading, saving ---
  // The UTF-8 file form: prolog, CR LF, each top-level node followed by CR LF.
  std::string XML();
  // The document's text with the prolog "<?xml version="1.0" encoding="UTF-8"?>".
  std::string XML_UTF8();
  // XML without the prolog and one leading and one trailing CR LF.
  std::string XMLNoProcessing();
  bool LoadXML(const std::string& xml, bool remove_name_space = false);
  bool LoadFileXML(const std::string& file, bool remove_name_space = false);
  bool Load(const std::string& file);
  bool SaveFile(const std::string& file);
  bool SaveFileZip(const std::string& file, const std::string& password = {});
  // The transformation's output, "" on any failure. The document() function of
  // the stylesheet reads local files only when `allow_document_function`.
  std::string TransformXSL(const std::string& file_xsl, bool allow_document_function = false);

  // --- accessors ---
  xmlDocPtr Document() const { return doc_.get(); }
  // Takes the document over; the root becomes its document element.
  void SetDocument(xmlDocPtr doc);
  const std::string& DefaultNameSpace() const { return default_ns_; }
  void SetDefaultNameSpace(std::string ns) { default_ns_ = std::move(ns); }
  std::string TempDir() const;
  void SetTempDir(std::string dir) { temp_dir_ = std::move(dir); }
  bool Clean() const { return clean_; }
  void SetClean(bool clean) { clean_ = clean; }
  const std::string& LastError() const { return last_error_; }
  // Shows a warning to the user (text, title); SaveFileZip uses it. Empty:
  // the warning only reaches LastError.
  std::function<void(const std::string&, const std::string&)> MostraAvviso;

  // --- text clean-ups (static: no document involved) ---
  static Bytes ConvertToUTF8(const std::string& source);
  // These work on 8-bit text: the bytes of a document read one per character.
  static std::string UTF8(const std::string& bytes);
  static std::string RemoveSpecChars(const std::string& bytes);
  static std::string RemoveNameSpace(const std::string& xml);
  static std::string RemoveDoubleHeader(const std::string& xml);
  // These work on UTF-8 text.
  static std::string DecodeEntities(const std::string& text);
  static std::string ReplaceEuro(const std::string& text);
  static std::string EncodeNonAscii(const std::string& text);

 private:
  struct XPathCache;
  // Parses `bytes` into the document; false with the parse report in
  // LastError. `url` empty: text in memory, read as UTF-8.
  bool Parse(std::string_view bytes, const std::string& url);
  void ImpostaRadice();
  void RipulisciFile(const std::string& file);
  Nodo NuovoElemento(Nodo parent, const std::string& name, bool in_default_ns);
  void ApplicaAttributi(Nodo node, const std::vector<std::string>& attributi);
  std::string Serializza(bool with_encoding);
  xmlNodePtr ContestoQuery(Nodo parent) const;

  std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc_;
  Nodo root_ = nullptr;
  // The earlier document that holds root_, after Load replaced the document.
  std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc_radice_{nullptr, xmlFreeDoc};
  // The prolog's pseudo-attributes; empty when the document has none.
  std::string prolog_version_;
  std::string prolog_encoding_;
  std::string last_error_;
  std::optional<std::string> temp_dir_;
  std::string default_ns_;
  bool clean_ = false;
  // Elements were built with a prefix written into their name.
  bool nomi_letterali_ = false;
  std::unique_ptr<XPathCache> cache_;
};

}  // namespace qzkiro::util
