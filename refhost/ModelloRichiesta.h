#pragma once

#include <map>
#include <string>

#include "qzkiro/host/Template.h"

namespace qzkiro::refhost {

// A request template: the text of a template file in which "{{key}}" marks
// where the entry `key` goes. Template() fills every marker with its entry's
// text, escaped for XML ("" for entries never added). The host fills two
// entries itself unless they were added: "Modello.DataOra" (now,
// "yyyymmddhhnnss") and "Modello.IDMessaggio" (a new message id each time).
class ModelloRichiesta : public host::ITemplate {
 public:
  // Throws Failure when the file cannot be read.
  explicit ModelloRichiesta(const std::string& file);

  void Add(const std::string& key, const host::Variant& value) override;
  std::string Template() override;
  const std::map<std::string, std::string>& Voci() const { return voci_; }

 private:
  std::string testo_;
  std::map<std::string, std::string> voci_;
};

}  // namespace qzkiro::refhost
