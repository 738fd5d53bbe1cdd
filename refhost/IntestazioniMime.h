#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qzkiro::refhost {

// The header block of a MIME entity: its fields unfolded, their names
// compared without regard to case; of a repeated field the first counts.
class IntestazioniMime {
 public:
  // Reads the block that begins at `inizio` and gives where the body begins:
  // after the blank line that closes the block, or at the first line that is
  // not a field when the blank line is missing, or at the end of the text. A
  // text that begins with a blank line has no fields and its body follows it;
  // one that begins with a line that is not a field has neither fields nor
  // a header block (its body begins at `inizio`).
  std::size_t Leggi(std::string_view testo, std::size_t inizio);
  bool Vuote() const { return campi_.empty(); }
  // The field's value without surrounding spaces; "" when absent.
  std::string Valore(std::string_view nome) const;

 private:
  std::vector<std::pair<std::string, std::string>> campi_;  // names in lower case
};

// A field value with parameters, such as Content-Type and
// Content-Disposition: "multipart/mixed; boundary="=_a b"". Values may be
// tokens or quoted strings; the extended forms ("filename*=utf-8''%E2%82%AC",
// continued "filename*0*=", "filename*1=") are joined and decoded into UTF-8
// and win over the plain form of the same parameter.
class CampoConParametri {
 public:
  explicit CampoConParametri(std::string_view testo);
  // The value before the parameters, in lower case ("multipart/mixed").
  const std::string& Valore() const { return valore_; }
  // The parameter's value as written, or decoded from its extended form; ""
  // when absent.
  std::string Parametro(std::string_view nome) const;
  // A parameter that names something (filename, name): as Parametro, with
  // the encoded words of a plain value decoded too.
  std::string Nome(std::string_view nome) const;

 private:
  struct Voce {
    std::string valore;
    bool esteso = false;
  };
  using Grezzi = std::vector<std::pair<std::string, std::string>>;
  static std::size_t LeggiParametro(std::string_view testo, std::size_t inizio, Grezzi& grezzi);
  void Componi(const Grezzi& grezzi);

  std::string valore_;
  std::map<std::string, Voce, std::less<>> parametri_;
};

}  // namespace qzkiro::refhost
