// The GP's patient summary published to the regional repository (the
// operation behind QZ04020): eligibility, the index identifier, the current
// summary looked up and retrieved, the host's summary prepared as its new
// version, then the XDS.b exchange.

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "consent/clsCDA2_PAS.h"
#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "services/fse/ClienteFse.h"
#include "services/fse/ConsensiFse.h"
#include "services/fse/DatiInvio.h"
#include "services/fse/RecuperoDocumento.h"
#include "services/fse/RotteFse.h"
#include "util/File.h"
#include "util/clsXML.h"

namespace qzkiro::fse {

namespace {

using util::clsXML;

constexpr const char* kRadiceMedico = "2.16.840.1.113883.2.9.2.50.2.";

// The summary concerns diabetic patients: the exemption 013.250, or a
// problem of the family 250 but for 250.01 and 250.03.
bool Idoneo(host::IPaziente& p) {
  if (p.Esenzioni().EsisteCodiceEsenzione("013.250")) return true;
  auto& problemi = p.Problemi();
  return problemi.EsisteFamigliaICD9("250") && !problemi.EsisteCodiceICD9("250.01") &&
         !problemi.EsisteCodiceICD9("250.03");
}

clsXML::Nodo Figlio(clsXML::Nodo padre, std::string_view nome) {
  for (auto* n : clsXML::Figli(padre)) {
    if (clsXML::HaNome(n, nome)) return n;
  }
  return nullptr;
}

// The element `nome` of the document's header, made before `prima` when missing.
clsXML::Nodo Intestazione(clsXML& cda, std::string_view nome, std::string_view prima) {
  if (auto* n = Figlio(cda.rootNode(), nome)) return n;
  return cda.InsertNode(cda.rootNode(), Figlio(cda.rootNode(), prima), std::string(nome));
}

// The host's summary as the new version of the set: its setId and version,
// and, replacing a previous summary, the relatedDocument (RPLC) before the body.
void NuovaVersione(clsXML& cda, const std::string& radice, const std::string& id,
                   const std::string& precedente, int versione_precedente) {
  clsXML::Nodo set = Intestazione(cda, "setId", "recordTarget");
  cda.SetAttribute(set, "root", radice);
  cda.SetAttribute(set, "extension", id);
  cda.SetAttribute(set, "assigningAuthorityName", "Regione Veneto");
  cda.SetAttribute(Intestazione(cda, "versionNumber", "recordTarget"), "value",
                   std::to_string(versione_precedente + 1));
  if (precedente.empty()) return;
  clsXML::Nodo correlato =
      cda.InsertNode(cda.rootNode(), Figlio(cda.rootNode(), "component"), "relatedDocument");
  cda.SetAttribute(correlato, "typeCode", "RPLC");
  clsXML::Nodo padre = cda.AddNode(correlato, "parentDocument");
  clsXML::Nodo pid = cda.AddNode(padre, "id");
  // A unique id is "root^extension", or an OID alone.
  const auto separatore = precedente.find('^');
  cda.SetAttribute(pid, "root", precedente.substr(0, separatore));
  if (separatore != std::string::npos) {
    cda.SetAttribute(pid, "extension", precedente.substr(separatore + 1));
  }
  cda.SetAttribute(cda.AddNode(padre, "versionNumber"), "value",
                   std::to_string(versione_precedente));
}

int Versione(const std::string& file_cda) {
  clsXML xml;
  if (file_cda.empty() || !xml.LoadFileXML(file_cda)) return 0;
  return std::atoi(clsXML::Attributo(Figlio(xml.rootNode(), "versionNumber"), "value").c_str());
}

// Sends the request; the answer decides.
bool Invia(const consent::clsCDA2_PAS& pas, clsItemAsserzione& asserzione) {
  auto& c = core::Ctx();
  std::string risposta;
  auto prepara = [&pas](const clsItemAsserzione& item) { return pas.HttpRequest(item); };
  if (!InviaPubblicazione(prepara, asserzione, "inviaPatientSummary", risposta, c.last_error)) {
    return false;
  }
  if (risposta.empty()) {
    c.last_error = "Il servizio ha restituito una risposta vuota";
    return false;
  }
  if (risposta.find("urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:Success") ==
      std::string::npos) {
    c.last_error = "L'invio del Patient Summary ha dato esito negativo";
    return false;
  }
  return true;
}

}  // namespace

}  // namespace qzkiro::fse

namespace qzkiro::op {

bool PubblicaProfiloSanitario(Variant& Paziente, Variant&, Variant& Ricevuta) {
  auto& c = core::Ctx();
  auto paziente = Paziente.As<host::IPaziente>();
  if (!paziente) {
    c.last_error = "Paziente non valido";
    return false;
  }
  if (!fse::Idoneo(*paziente)) {
    c.last_error = "Il paziente non rientra tra gli assistiti per cui si invia il Patient Summary";
    return false;
  }
  const std::string mpi = fse::CodiceMPI(*paziente);
  if (mpi.empty()) {
    c.last_error =
        "Codice MPI del paziente non trovato. Effettuare prima un allineamento anagrafico di KIRO "
        "per rilevare il codice MPI regionale del paziente";
    return false;
  }
  auto& utente = c.App().Utente();
  const std::string radice = fse::kRadiceMedico + utente.CodiceRegionale() + ".4.4.2";
  const std::string ultimo = paziente->PatientSummary().UltimoCodice();
  // The summary in force, by the id of the last one sent or by its format;
  // it must be retrievable before it is replaced.
  xds::VoceRegistro corrente;
  bool trovato = false;
  if (!fse::LeggiPatientSummary(*paziente, ultimo.empty() ? "" : radice + "^" + ultimo, corrente,
                                trovato)) {
    return false;
  }
  fse::FileDocumento precedente;
  std::string errore;
  if (trovato &&
      !fse::RecuperaFile({corrente.id_documento, corrente.repository, ""}, paziente.get(),
                         precedente, errore)) {
    c.last_error = errore;
    return false;
  }
  // The host's summary, kept in the temporary folder, becomes the new version.
  const std::string file =
      (std::filesystem::path(utente.TempDir()) / "CDA2.xml").string();
  auto cda = std::make_shared<util::clsXML>();
  if (!util::ScriviFile(file, {paziente->PatientSummary().CDA2()}) || !cda->LoadFileXML(file)) {
    c.last_error = "Patient Summary del paziente non leggibile: " + cda->LastError();
    return false;
  }
  cda->SetDefaultNameSpace("urn:hl7-org:v3");  // the elements added are CDA's
  consent::clsCDA2_PAS pas(c.orologio->Adesso(), fse::MarcaTemporale(*c.orologio));
  pas.UniqueID = pas.DataOra().Formato("yyyymmddhhnnss");
  fse::NuovaVersione(*cda, radice, pas.UniqueID, trovato ? corrente.id_documento : "",
                     fse::Versione(precedente.cda));
  pas.CDA2 = cda;
  pas.UtenteMedico = fse::MedicoDi(utente);
  pas.Paziente = fse::PazienteDi(*paziente, mpi);
  pas.IDPaS = trovato ? corrente.id_documento : "";
  pas.Endpoint = c.settings.Endpoint("repositoryreg");
  pas.Tabelle.cartella = core::CartellaPlugin();
  pas.GetSmartGUID = [&c] { return c.App().Framework().GetSmartGUID(); };
  auto asserzione = fse::AsserzioneFse(fse::servizio::kPatientSummary, "C.1.1",
                                       paziente->CodiceFiscale());
  if (!asserzione || !fse::Invia(pas, *asserzione)) return false;
  paziente->PatientSummary().SalvaUltimoCodice(pas.UniqueID);
  Ricevuta = Variant(radice + "^" + pas.UniqueID);
  return true;
}

}  // namespace qzkiro::op
