// The regional health record's answers as the add-on's simulator files: the
// same data and answer writers as the live services, for the patient ROSSI.

#include <string>
#include <utility>
#include <vector>

#include "sandbox/Fse.h"
#include "sandbox/FseDati.h"
#include "sandbox/FseRisposte.h"
#include "sandbox/RegioneHl7.h"

namespace qzkiro::sandbox {

std::vector<std::pair<std::string, std::string>> ServiziFse::FileSimulatore(const Pki& pki) {
  const auto contenuti = fse::Contenuti({pki.Server(), pki.ChiaveServer()});
  const std::string relativo = "urn:uuid:00000000-0000-4000-8000-000000000001";
  std::vector<const fse::DocumentoFse*> documenti, consensi, processo, summary;
  for (const auto& d : fse::Documenti()) {
    if (d.paziente != 0) continue;  // ROSSI
    const std::string id(d.id);
    (id.find(".200") != std::string::npos ? consensi : documenti).push_back(&d);
    if (id == fse::kDocProcesso) processo.push_back(&d);
    if (id == fse::kDocPatientSummary) summary.push_back(&d);
  }
  std::vector<std::pair<std::string, std::string>> file{
      {"QueryPaziente/QueryPaziente.xml",
       fse::RispostaAnagrafica({fse::CercaPaziente(regione::kPazienteRossi), "AA", "", ""}, "1",
                               "SIMULATORE0001", relativo)},
      {"ConsultaDocumentiFSE/ConsultaDocumentiFSE.xml", fse::RispostaQuery(documenti, relativo)},
      {"QueryConsenso/QueryConsenso.xml", fse::RispostaQuery(consensi, relativo)},
      {"ProcessoCollegato/ProcessoCollegato.xml", fse::RispostaQuery(processo, relativo)},
      {"QueryPatientSummary/QueryPatientSummary.xml", fse::RispostaQuery(summary, relativo)},
  };
  // Retrievals: the signed report answers by default; the demo puts the
  // others in its place. Each file is the whole MIME message, headers first.
  for (const auto& [id, nome] : {std::pair{fse::kDocCdaFirmato, "RetrieveDocument.xml"},
                                 {fse::kDocPdf, "Pdf.xml"},
                                 {fse::kDocProcesso, "Processo.xml"}}) {
    const auto* d = fse::CercaDocumento(id);
    const Risposta r = fse::RispostaRetrieve(
        {{fse::kRepository, id, std::string(d->mime), contenuti.at(id)}}, {}, relativo,
        "MIMEBoundary_simulatore");
    file.emplace_back(std::string("RetrieveDocument/") + nome,
                      "Content-Type: " + r.tipo + "\r\n\r\n" + r.corpo);
  }
  return file;
}

}  // namespace qzkiro::sandbox
