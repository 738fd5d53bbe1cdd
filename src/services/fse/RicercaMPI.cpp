#include "services/fse/RicercaMPI.h"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "core/AccessoContesto.h"
#include "core/Contesto.h"
#include "core/Versione.h"
#include "hl7/clsHL7.h"
#include "services/fse/ClienteFse.h"
#include "services/regione/BloccoPaziente.h"
#include "util/Testo.h"
#include "util/clsXML.h"

namespace qzkiro::fse {

namespace {

using util::clsXML;

std::string E(const std::string& nome, const std::string& testo) {
  return "<" + nome + ">" + util::XmlEscape(testo) + "</" + nome + ">";
}

std::string Msh(const util::DataOra& adesso, const std::string& id) {
  return "<MSH><MSH.1>|</MSH.1><MSH.2>^~\\&amp;</MSH.2><MSH.3>" +
         E("HD.2", core::kProdottoHost) + "</MSH.3><MSH.7>" +
         E("TS.1", adesso.Formato("yyyymmddhhnnss")) +
         "</MSH.7><MSH.9><MSG.1>QRY</MSG.1><MSG.2>A19</MSG.2><MSG.3>QRY_A19</MSG.3></MSH.9>" +
         E("MSH.10", id) + "<MSH.11><PT.1>P</PT.1></MSH.11><MSH.12><VID.1>2.5.1</VID.1></MSH.12></MSH>";
}

std::string Qrd(const util::DataOra& adesso, const std::string& id, const std::string& chi) {
  return "<QRD><QRD.1>" + E("TS.1", adesso.Formato("yyyymmddhhnn")) + "</QRD.1><QRD.2>D</QRD.2>" +
         E("QRD.3", id) + E("QRD.4", id) +
         "<QRD.7><CQ.1>1</CQ.1><CQ.2><CE.1>RD</CE.1></CQ.2></QRD.7><QRD.8>" + E("XCN.1", chi) +
         "</QRD.8><QRD.9><CE.1>APN</CE.1></QRD.9><QRD.10><CE.1>DEM</CE.1></QRD.10></QRD>";
}

constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kEventi{{
    {"REV", "Revoca"},
    {"RV1", "Revoca medico (art.7)"},
    {"RV2", "Revoca per decesso"},
    {"RV3", "Revoca per cambio residenza"},
    {"RV4", "Revoca per doppia iscrizione"},
    {"RV5", "Revoca per compimento 14 anni"},
    {"SNM", "Scelta nuovo medico (aggiunto paziente)"},
}};

clsXML::Nodo Figlio(clsXML::Nodo padre, std::string_view nome) {
  for (auto* n : clsXML::Figli(padre)) {
    if (clsXML::HaNome(n, nome)) return n;
  }
  return nullptr;
}

// The answer's ADR_A19: in the SOAP body, or the document itself.
clsXML::Nodo Risposta(clsXML& xml) {
  clsXML::Nodo nodo = xml.rootNode();
  if (clsXML::HaNome(nodo, "Envelope")) nodo = clsXML::PrimoElemento(Figlio(nodo, "Body"));
  return clsXML::HaNome(nodo, "ADR_A19") ? nodo : nullptr;
}

// The doctor-relation event rides in the patient's TXA segment, as in the
// region's notifications.
void Evento(const hl7::clsHL7& l, host::IInput& risultato) {
  const std::string codice = l.TipoNotifica();
  const std::string testo = TestoEventoMPI(codice);
  if (testo.empty()) return;
  risultato.Add("AddNotifica", {"", "", l.DataNotifica(), codice, "", "", testo, "",
                                l.Cognome(), l.Nome(), l.CodiceFiscale(), ""});
}

}  // namespace

std::string IdQueryMPI(const util::DataOra& adesso, int millisecondi) {
  const util::DataOra inizio{2012, 1, 1, 0, 0, 0};
  std::string ms = std::to_string(millisecondi + 1000).substr(1);  // three digits
  return std::to_string(adesso.SecondiDa(inizio)) + ms.substr(0, 2);
}

std::string CorpoRicercaMPI(const DatiRicercaMPI& dati, const std::string& cf_utente,
                            const util::DataOra& adesso, const std::string& id_query) {
  const std::string chi = dati.mpi.empty() ? dati.codice_fiscale : dati.mpi;
  std::string c = "<QRY_A19 xmlns=\"urn:hl7-org:v2xml\">" + Msh(adesso, id_query) +
                  Qrd(adesso, id_query, chi) + "<QRF><QRF.1>RETEMMG</QRF.1>" +
                  E("QRF.4", cf_utente);
  for (const auto* valore : {&chi, &dati.tessera, &dati.cognome, &dati.nome, &dati.data_nascita}) {
    c += E("QRF.5", *valore);
  }
  return c + "</QRF></QRY_A19>";
}

std::string TestoEventoMPI(const std::string& codice) {
  for (const auto& [c, testo] : kEventi) {
    if (c == codice) return std::string(testo);
  }
  return {};
}

EsitoMPI LeggiRispostaMPI(const std::string& risposta, host::IInput& risultato,
                          const regione::OpzioniPaziente& opzioni) {
  EsitoMPI esito;
  clsXML xml;
  clsXML::Nodo adr = risposta.empty() || !xml.LoadXML(risposta) ? nullptr : Risposta(xml);
  if (!adr) {
    esito.errore = "Risposta del servizio QueryPaziente non riconosciuta";
    return esito;
  }
  hl7::clsHL7 lettore(core::AccessoDelContesto());
  lettore.InitXML(&xml);
  lettore.InitParentNode(adr);
  if (xml.GetTextNode(adr, "MSA/MSA.1") != "AA") {
    esito.errore = "Errore HL7: " + xml.GetTextNode(adr, "MSA/MSA.6/CE.1") + " " +
                   xml.GetTextNode(adr, "MSA/MSA.6/CE.2");
    return esito;
  }
  // Each patient of the answer is a group "ADR_A19.*"; a single patient may
  // also stand directly under ADR_A19.
  std::vector<clsXML::Nodo> pazienti;
  for (auto* figlio : clsXML::Figli(adr)) {
    if (clsXML::Nome(figlio).substr(0, 8) == "ADR_A19.") pazienti.push_back(figlio);
  }
  if (pazienti.empty()) pazienti.push_back(adr);
  for (auto* gruppo : pazienti) {
    lettore.InitParentNode(gruppo);
    host::Variant record = regione::BloccoPaziente(lettore, risultato, opzioni);
    if (record.IsEmpty()) continue;
    if (!esito.trovato) {
      esito.mpi = lettore.MPI();
      esito.paziente = record;
    }
    esito.trovato = true;
    Evento(lettore, risultato);
  }
  if (!esito.trovato) esito.errore = "Dati non trovati sul server KIRO";
  return esito;
}

EsitoMPI CercaPazienteMPI(const DatiRicercaMPI& dati, host::IInput& risultato,
                          const regione::OpzioniPaziente& opzioni) {
  auto& c = core::Ctx();
  const std::string cf_utente = c.App().Utente().CodiceFiscale();
  auto asserzione = AsserzioneFse(servizio::kQueryPaziente, "C.1.1", dati.codice_fiscale);
  if (!asserzione) return {false, {}, {}, c.last_error};
  const util::DataOra adesso = c.orologio->Adesso();
  const std::string corpo =
      CorpoRicercaMPI(dati, cf_utente, adesso, IdQueryMPI(adesso, c.orologio->Millisecondi()));
  const EsitoFse invio =
      InviaFse(servizio::kQueryPaziente, corpo, *asserzione, "soap", kDichiarazioniMPI, kDestinatarioMPI);
  EsitoMPI esito = invio.inviata ? LeggiRispostaMPI(invio.risposta, risultato, opzioni)
                                 : EsitoMPI{false, {}, {}, invio.errore};
  if (!esito.errore.empty()) c.last_error = esito.errore;
  return esito;
}

}  // namespace qzkiro::fse
