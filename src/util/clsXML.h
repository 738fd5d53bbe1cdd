#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/File.h"

struct _xmlDoc;
struct _xmlNode;

namespace qzkiro::util {

// One in-memory XML document with the vocabulary every message builder and
// answer reader uses: build elements (optionally in a default namespace),
// read texts and attributes by path, serialise as UTF-8, load with optional
// clean-up, save (plain or zipped) and transform with XSLT.
//
// Nodes are libxml2 node pointers owned by the document, handled only through
// the members of this class (Figli, Nome, Attributo, Testo, ...). Reading
// members never fail: a path that matches nothing gives "" (or the default, false, null).
// Paths are XPath 1.0 location paths whose element names match by local name,
// so they read documents with a default namespace as written. Documents are
// parsed without network access and without entity substitution.
class clsXML {
 public:
  using Nodo = _xmlNode*;

  // The children of a node in document order, for a range-for: the element
  // children (Figli) or every child node (FigliTutti). Walking follows the
  // nodes' own links: nothing is allocated, and the range is valid while the
  // children stay in place.
  class RangoFigli {
   public:
    class iterator {
     public:
      using iterator_category = std::forward_iterator_tag;
      using value_type = Nodo;
      using difference_type = std::ptrdiff_t;
      using pointer = const Nodo*;
      using reference = Nodo;

      iterator() = default;
      Nodo operator*() const { return nodo_; }
      iterator& operator++() {
        nodo_ = solo_elementi_ ? ElementoSeguente(nodo_) : Seguente(nodo_);
        return *this;
      }
      iterator operator++(int) {
        iterator prima = *this;
        ++*this;
        return prima;
      }
      bool operator==(const iterator& altro) const { return nodo_ == altro.nodo_; }

     private:
      friend class RangoFigli;
      iterator(Nodo nodo, bool solo_elementi) : nodo_(nodo), solo_elementi_(solo_elementi) {}
      Nodo nodo_ = nullptr;
      bool solo_elementi_ = true;
    };

    iterator begin() const { return {primo_, solo_elementi_}; }
    iterator end() const { return {}; }
    bool empty() const { return primo_ == nullptr; }

   private:
    friend class clsXML;
    RangoFigli(Nodo primo, bool solo_elementi) : primo_(primo), solo_elementi_(solo_elementi) {}
    Nodo primo_;
    bool solo_elementi_;
  };

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
  // The document holds a processing instruction with this target beside its
  // element ("xml-stylesheet").
  bool ExistProcessing(const std::string& target) const;
  // Unlinks a node of this document and frees it with its subtree.
  void RemoveNode(Nodo node);

  // --- walking nodes (static: any document's nodes; null gives null, "" or an
  // empty range) ---
  static RangoFigli Figli(Nodo padre) { return {PrimoElemento(padre), true}; }
  static RangoFigli FigliTutti(Nodo padre) { return {PrimoFiglio(padre), false}; }
  static Nodo PrimoElemento(Nodo padre);
  static Nodo ElementoSeguente(Nodo node);
  static Nodo ElementoPrecedente(Nodo node);
  // The parent element; null at the top (the document is no element).
  static Nodo Padre(Nodo node);
  static bool Elemento(Nodo node);
  // An element's name as held: the local name of a parsed element, the name
  // as written for one built with its prefix in the name; "" for other nodes.
  static std::string_view Nome(Nodo node);
  // The node is an element with exactly this name (as Nome gives it).
  static bool HaNome(Nodo node, std::string_view nome);
  // An attribute by its local name (so "type" reads "xsi:type"); "" when absent.
  static std::string Attributo(Nodo node, std::string_view nome);
  // All the text below the node, in document order.
  static std::string Testo(Nodo node);
  // The content of a text or CDATA node itself, read in place; "" for other
  // nodes.
  static std::string_view TestoProprio(Nodo node);

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
  _xmlDoc* Document() const;
  // Takes the document over; the root becomes its document element.
  void SetDocument(_xmlDoc* doc);
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
  // The libxml2 handles: the documents and the compiled paths.
  struct Stato;
  static Nodo PrimoFiglio(Nodo padre);
  static Nodo Seguente(Nodo node);
  // Parses `bytes` into the document; false with the parse report in
  // LastError. `url` empty: text in memory, read as UTF-8.
  bool Parse(std::string_view bytes, const std::string& url);
  void ImpostaRadice();
  void RipulisciFile(const std::string& file);
  Nodo NuovoElemento(Nodo parent, const std::string& name, bool in_default_ns);
  void ApplicaAttributi(Nodo node, const std::vector<std::string>& attributi);
  std::string Serializza(bool with_encoding);
  Nodo ContestoQuery(Nodo parent) const;

  std::unique_ptr<Stato> stato_;
  Nodo root_ = nullptr;
  // The prolog's pseudo-attributes; empty when the document has none.
  std::string prolog_version_;
  std::string prolog_encoding_;
  std::string last_error_;
  std::optional<std::string> temp_dir_;
  std::string default_ns_;
  bool clean_ = false;
  // Elements were built with a prefix written into their name.
  bool nomi_letterali_ = false;
};

}  // namespace qzkiro::util
