// The process document linked to a prescription: found in the registry by
// the workflow reference, retrieved into "CDA2.xml", its workflowInstanceId
// read.

#include "core/Contesto.h"
#include "qzkiro/Ui.h"
#include "qzkiro/host/Ricetta.h"
#include "services/fse/ClienteFse.h"
#include "services/fse/PazienteFse.h"
#include "services/fse/RecuperoDocumento.h"
#include "services/fse/RotteFse.h"
#include "util/clsXML.h"

namespace qzkiro::fse {

namespace {

using util::clsXML;

// The first element named workflowInstanceId, anywhere in the document: its
// text, or its "extension" when it is an identifier.
std::string CercaWorkflow(clsXML::Nodo nodo) {
  for (auto* figlio : clsXML::Figli(nodo)) {
    if (clsXML::HaNome(figlio, "workflowInstanceId")) {
      const std::string testo = clsXML::Testo(figlio);
      return testo.empty() ? clsXML::Attributo(figlio, "extension") : testo;
    }
    if (std::string trovato = CercaWorkflow(figlio); !trovato.empty()) return trovato;
  }
  return {};
}

}  // namespace

std::string WorkflowInstanceId(const std::string& file_cda) {
  clsXML xml;
  if (!xml.LoadFileXML(file_cda)) return {};
  return CercaWorkflow(xml.rootNode());
}

bool DocumentoProcessoCollegato(host::IPaziente& paziente, const std::string& nre,
                                std::string& workflow) {
  auto& c = core::Ctx();
  const std::string mpi = CodiceMPI(paziente);
  if (mpi.empty()) {
    c.last_error = "Codice MPI del paziente non trovato";
    return false;
  }
  xds::RispostaRegistro risposta;
  if (!QueryRegistro(servizio::kProcesso, paziente, xds::QueryProcesso(mpi, nre), risposta)) {
    return false;
  }
  if (risposta.voci.empty() || risposta.voci[0].id_documento.empty()) {
    c.last_error = "Documento non trovato nel Registry";
    return false;
  }
  const auto& voce = risposta.voci[0];
  FileDocumento file;
  std::string errore;
  if (!RecuperaFile({voce.id_documento, voce.repository, voce.titolo}, &paziente, file, errore)) {
    c.last_error = errore;
    return false;
  }
  workflow = file.cda.empty() ? std::string() : WorkflowInstanceId(file.cda);
  if (workflow.empty()) {
    c.last_error = "Documento non trovato nel Repository";
    return false;
  }
  return true;
}

}  // namespace qzkiro::fse

namespace qzkiro::op {

bool DocumentoProcessoRicetta(Variant& Ricetta, Variant& Ricevuta) {
  auto& c = core::Ctx();
  auto ricetta = Ricetta.As<host::IRicetta>();
  if (!ricetta) {
    c.last_error = "Ricetta non valida";
    return false;
  }
  host::Collection chiave;
  chiave.Add(ricetta->Membro("PazienteCodiceFiscale"), "Parametro.Paziente.CodiceFiscale");
  auto paziente = fse::PazienteDi(chiave);
  if (!paziente) {
    c.last_error = "Codice MPI del paziente non trovato";
    return false;
  }
  const std::string nre = ricetta->Membro("NRE").ToText();
  std::string workflow;
  if (!fse::DocumentoProcessoCollegato(*paziente, nre, workflow)) return false;
  // The doctor decides whether the prescription joins that process.
  if (c.ui->MsgBox("Collegare la prescrizione al Documento di Processo con NRE " + nre + "?",
                   core::stile::kSiNo | core::stile::kDomanda, "KIRO") != core::risposta::kSi) {
    return false;
  }
  Ricevuta = Variant(workflow);
  return true;
}

}  // namespace qzkiro::op
