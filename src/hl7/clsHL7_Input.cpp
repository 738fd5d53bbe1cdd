#include <exception>
#include <vector>

#include "hl7/TestoHL7.h"
#include "hl7/clsHL7.h"

namespace qzkiro::hl7 {

namespace {

const std::string kDatiAssenti = "Report diabetologico: Dati anagrafici assenti";
const std::string kGruppoPaziente = "ORU_R01.PIDPD1NK1NTEPV1PV2_SUPPGRP";
const std::string kGruppoOrdine = "ORU_R01.ORCOBRNTEOBXNTECTI_SUPPGRP";

bool GruppoReferto(util::clsXML::Nodo nodo) {
  return util::clsXML::Nome(nodo).starts_with("ORU_R01.");
}

}  // namespace

bool clsHL7::RefertoDiabeteToInput(util::clsXML& xml, host::IInput& input) {
  InitXML(xml);
  last_error_.clear();
  bool importato = false;
  try {
    for (Nodo gruppo : util::clsXML::Figli(xml.rootNode())) {
      if (!GruppoReferto(gruppo)) continue;
      InitParentNode(xml.SelectNode(gruppo, kGruppoPaziente));
      if (Cognome().empty()) {
        last_error_ = kDatiAssenti;
        return false;
      }
      AggiungiPaziente(input, gruppo);
      importato = true;
    }
  } catch (const std::exception& errore) {
    last_error_ = errore.what();
    return false;
  }
  if (!importato) last_error_ = kDatiAssenti;
  return importato;
}

// The new patient entry, in the order the host's AddPaziente takes its
// values, with the whole report attached to it.
void clsHL7::AggiungiPaziente(host::IInput& input, Nodo gruppo) {
  const std::vector<host::Variant> dati = {CodiceFiscale(),
                                           Tessera(),
                                           Cognome(),
                                           Nome(),
                                           Sesso(),
                                           DataHL7(DataNascita()),
                                           CittaNascita(),
                                           ProvinciaNascita(),
                                           IndirizzoResidenza(),
                                           CivicoResidenza(),
                                           CittaResidenza(),
                                           CAPResidenza(),
                                           ProvinciaResidenza(),
                                           IndirizzoDomicilio(),
                                           CivicoDomicilio(),
                                           CittaDomicilio(),
                                           CAPDomicilio(),
                                           ProvinciaDomicilio(),
                                           Email(),
                                           Telefono(),
                                           RegioneASLAssistenza(),
                                           RegioneASLResidenza()};
  const host::Variant paziente = input.Add("AddPaziente", dati);
  InitParentNode(xml_->SelectNode(gruppo, kGruppoOrdine));
  const std::string allegato = accesso_->CodificaBase64Host(xml_->XML()).value_or("");
  input.Add("AddCustom", {paziente, "Report diabetologico", DataPrescrizione(), allegato});
}

}  // namespace qzkiro::hl7
