// A retrieved document handed to the host: the CDA imported with the patient
// of its header, or the PDF as a generic report.

#include <filesystem>
#include <vector>

#include "cda/VoceInputCDA.h"
#include "cda/clsCDA2.h"
#include "core/AccessoContesto.h"
#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "services/fse/RecuperoDocumento.h"
#include "services/regione/BloccoPaziente.h"
#include "util/File.h"
#include "util/clsXML.h"

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

// The PDF as its own entry: for a laboratory report "Referto Laboratorio
// Analisi" with the attachment "Referto di Laboratorio", otherwise the
// description (or "Referto") with the attachment "Referto".
void RefertoPdf(const std::string& pdf, bool laboratorio, const std::string& descrizione,
                host::IInput& risultato) {
  const std::string titolo = laboratorio           ? "Referto Laboratorio Analisi"
                             : descrizione.empty() ? "Referto"
                                                   : descrizione;
  auto referto = cda::VoceInput::Crea(risultato, "AddRefertoGenerico", {titolo, regione::Oggi(), ""});
  referto.Chiama("AddAllegato", {pdf, laboratorio ? "Referto di Laboratorio" : "Referto"});
}

// The printable copy of a document without a PDF of its own: the add-on's
// page of the document ("\CDASiavr.xsl") converted by the host; "" when
// there is no such page or the host cannot convert it.
std::string Stampa(const std::string& file_cda) {
  const std::string foglio = core::PercorsoPlugin("\\CDASiavr.xsl");
  util::clsXML xml;  // with its namespaces, as the stylesheet reads it
  if (!util::FileEsiste(foglio) || !xml.LoadFileXML(file_cda)) return {};
  const std::string html = xml.TransformXSL(foglio);
  auto& app = core::Ctx().App();
  const std::string pdf = (std::filesystem::path(app.Utente().TempDir()) / "Referto.pdf").string();
  return !html.empty() && app.Framework().HtmlToPdf(html, pdf) ? pdf : std::string();
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
    RefertoPdf(file.pdf, false, descrizione, risultato);
    return true;
  }
  cda::clsCDA2 documento(core::AccessoDelContesto());
  if (!documento.InitFileXML(file.cda, "DNLAB,MyLocalCodeSystem")) {
    errore = "Errore durante l'inizializzazione del CDA2";
    return false;
  }
  PazienteDelCda(documento, risultato);
  const bool importato = documento.AddToInput(risultato);
  const std::string pdf = file.pdf.empty() ? Stampa(file.cda) : file.pdf;
  if (!pdf.empty()) {
    RefertoPdf(pdf, documento.Tipo() == "LAB", descrizione, risultato);
  } else if (!importato) {
    // A family the import does not know and no printable copy: its HTML page.
    std::string html;
    if (!documento.SalvaHTML(core::Ctx().App().Utente().TempDir(), html)) {
      errore = "Documento non previsto";
      return false;
    }
    RefertoPdf(html, false, descrizione.empty() ? documento.Titolo() : descrizione, risultato);
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
