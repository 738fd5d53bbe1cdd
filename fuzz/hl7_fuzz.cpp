// Loads any bytes as an HL7 v2.5 XML message and reads every member of
// clsHL7 on the whole message and on its first top-level groups, in both
// layouts. The fuzz build has no host application: the members that need one
// must answer "nothing" without failing. The regional services' answers hold
// their messages as children of the root, which the walk below reaches.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "hl7/ElencoProprieta.h"
#include "hl7/clsHL7.h"
#include "util/clsXML.h"

namespace {

using qzkiro::hl7::clsHL7;

// A result container that keeps nothing.
class InputMuto : public qzkiro::host::IInput {
 public:
  qzkiro::host::Variant Add(const std::string&,
                            const std::vector<qzkiro::host::Variant>&) override {
    return {};
  }
};

// The root and its first element children: enough groups to reach every
// segment layout without making one input slow.
std::vector<clsHL7::Nodo> Nodi(const qzkiro::util::clsXML& xml) {
  constexpr std::size_t kMassimo = 8;
  std::vector<clsHL7::Nodo> nodi = {xml.rootNode()};
  for (auto figlio : qzkiro::util::clsXML::Figli(xml.rootNode())) {
    if (nodi.size() > kMassimo) break;
    nodi.push_back(figlio);
  }
  return nodi;
}

void LeggiTutto(clsHL7& hl7) {
  for (const auto& proprieta : qzkiro::hl7::ProprietaTesto()) (hl7.*proprieta.leggi)();
  for (auto esenzione : hl7.ListaEsenzioni()) {
    hl7.CodiceEsenzione(esenzione);
    hl7.DataScadenzaEsenzione(esenzione);
  }
  std::string codice = "kiro_tc001";
  hl7.DescrizioneNotifica(codice);
  hl7.DayHospital();
  hl7.DatiRicovero();
  hl7.CDA();
  hl7.EstraiFiles();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string via, civico;
  clsHL7::SeparaIndirizzo(bytes, via, civico);

  qzkiro::util::clsXML xml;
  if (!xml.LoadXML(bytes)) return 0;
  clsHL7 hl7;
  hl7.InitXML(xml);
  for (const char* versione : {"", "2.5.1"}) {
    hl7.Versione = versione;
    for (auto nodo : Nodi(xml)) {
      hl7.InitParentNode(nodo);
      LeggiTutto(hl7);
      hl7.nodeCDA(nodo);
    }
  }
  hl7.HTMLDiabete();
  InputMuto input;
  hl7.RefertoDiabeteToInput(xml, input);
  return 0;
}
