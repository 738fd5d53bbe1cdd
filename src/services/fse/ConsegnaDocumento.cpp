// A retrieved document handed to the host: the CDA imported with the patient
// of its header, or the PDF as a generic report.

#include <vector>

#include "cda/VoceInputCDA.h"
#include "cda/clsCDA2.h"
#include "core/AccessoContesto.h"
#include "core/Contesto.h"
#include "services/fse/RecuperoDocumento.h"
#include "services/regione/BloccoPaziente.h"

namespace qzkiro::fse {

namespace {

host::Variant PazienteDelCda(const cda::clsCDA2& cda, host::IInput& risultato) {
  host::Variant record = risultato.Add("AddPaziente", {});
  std::vector<host::Variant> anagrafica{record,
                                        regione::Oggi(),
                                        cda.PazienteCodiceFiscale(),
                                        "",
                                        cda.PazienteCognome(),
                                        cda.PazienteNome(),
                                        cda.PazienteSesso(),
                                        cda.PazienteDataNascita(),
                                        cda.PazienteLuogoNascita(),
                                        "",
                                        "",
                                        cda.PazienteIndirizzoResidenza(),
                                        "",
                                        cda.PazienteCittaResidenza(),
                                        cda.PazienteCAPResidenza()};
  anagrafica.resize(28);
  anagrafica[24] = cda.PazienteTelefono();
  risultato.Add("AddAnagrafica", anagrafica);
  return record;
}

void RefertoPdf(const std::string& pdf, const std::string& descrizione, host::IInput& risultato) {
  auto referto = cda::VoceInput::Crea(
      risultato, "AddRefertoGenerico",
      {descrizione.empty() ? std::string("Referto") : descrizione, regione::Oggi(), ""});
  referto.Chiama("AddAllegato", {pdf, "Referto"});
}

}  // namespace

bool ConsegnaDocumento(const FileDocumento& file, const std::string& descrizione,
                       host::IInput& risultato, std::string& errore) {
  if (file.cda.empty()) {
    if (auto paziente = core::Ctx().App().Paziente()) {
      host::Variant record = risultato.Add("AddPaziente", {});
      risultato.Add("AddAnagrafica", {record, regione::Oggi(), paziente->CodiceFiscale(), "",
                                      paziente->Cognome(), paziente->Nome(), paziente->Sesso(),
                                      paziente->DataNascita()});
    }
    RefertoPdf(file.pdf, descrizione, risultato);
    return true;
  }
  cda::clsCDA2 documento(core::AccessoDelContesto());
  if (!documento.InitFileXML(file.cda, "DNLAB,MyLocalCodeSystem")) {
    errore = "Errore durante l'inizializzazione del CDA2";
    return false;
  }
  PazienteDelCda(documento, risultato);
  if (documento.AddToInput(risultato)) {
    if (!file.pdf.empty()) RefertoPdf(file.pdf, descrizione, risultato);
    return true;
  }
  // A family the import does not know: the document as a generic report.
  std::string html;
  const std::string temp = core::Ctx().App().Utente().TempDir();
  if (!file.pdf.empty()) {
    RefertoPdf(file.pdf, descrizione, risultato);
  } else if (documento.SalvaHTML(temp, html)) {
    RefertoPdf(html, descrizione.empty() ? documento.Titolo() : descrizione, risultato);
  } else {
    errore = "Documento non previsto";
    return false;
  }
  return true;
}

}  // namespace qzkiro::fse

namespace qzkiro::op {

bool RecuperaDocumentoFSE(Variant&, Variant& Lista, const std::string& Documento,
                          const std::string& Repository, const std::string& Descrizione) {
  auto& c = core::Ctx();
  const auto documenti = fse::DocumentiRichiesti(Lista, Documento, Repository, Descrizione);
  if (documenti.empty()) {
    c.last_error = "Nessun documento da recuperare";
    return false;
  }
  c.last_response.reset();
  auto risultato = c.App().Framework().NewInput();
  auto paziente = c.App().Paziente();
  for (const auto& documento : documenti) {
    fse::FileDocumento file;
    std::string errore;
    if (!fse::RecuperaFile(documento, paziente.get(), file, errore) ||
        !fse::ConsegnaDocumento(file, documento.descrizione, *risultato, errore)) {
      c.last_error = errore;
      return false;
    }
  }
  c.last_response = risultato;
  return true;
}

}  // namespace qzkiro::op
