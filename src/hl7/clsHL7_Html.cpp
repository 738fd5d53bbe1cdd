#include <filesystem>

#include "hl7/TestoHL7.h"
#include "hl7/clsHL7.h"
#include "util/File.h"
#include "util/Testo.h"

namespace qzkiro::hl7 {

namespace {

// Groups of the diabetology report (ORU_R01 in the XML encoding).
const std::string kVisitaDiabete =
    "ORU_R01.PIDPD1NK1NTEPV1PV2ORCOBRNTEOBXNTECTI_SUPPGRP/"
    "ORU_R01.PIDPD1NK1NTEPV1PV2_SUPPGRP/ORU_R01.PV1PV2_SUPPGRP";
const std::string kOsservazioniDiabete =
    "ORU_R01.PIDPD1NK1NTEPV1PV2ORCOBRNTEOBXNTECTI_SUPPGRP/"
    "ORU_R01.ORCOBRNTEOBXNTECTI_SUPPGRP/ORU_R01.OBXNTE_SUPPGRP";

// Text put between HTML tags: the characters that would open markup or a
// reference are escaped.
std::string Escape(const std::string& testo) {
  std::string out;
  out.reserve(testo.size());
  for (char c : testo) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// A message date as the host shows it; nothing for no date.
std::string Visibile(const host::AccessoHost& accesso, const std::string& data) {
  return data.empty() ? std::string() : accesso.ValoreData(data);
}

// Appends `etichetta` + `valore` (escaped: it is the message's text) + `fine`
// when the value is not empty.
void Riga(std::string& testo, const std::string& etichetta, const std::string& valore,
          const std::string& fine) {
  if (!valore.empty()) testo += etichetta + Escape(valore) + fine;
}

}  // namespace

std::string clsHL7::DatiRicovero() const {
  std::string testo = "Ricovero (ID: " + Escape(ID()) + ")<BR><BR>";
  const std::string br = "<BR>";
  Riga(testo, "Data Ammissione: ", Visibile(*accesso_, DataRicovero()), br);
  const std::string struttura = Struttura();
  const std::string denominazione =
      struttura.empty() ? std::string() : accesso_->DenominazioneStruttura(struttura);
  Riga(testo, "Struttura: ", util::Trim(struttura + " " + denominazione), br);
  Riga(testo, "Reparto: ", Reparto(), br);
  Riga(testo, "Codice Nosologico: ", CodiceNosologico(), br);
  Riga(testo, "Regime: ", RegimeRicovero(), br);
  Riga(testo, "Proposta di Ricovero: ", PropostaDiRicovero(), br);
  Riga(testo, "Tipo di Ricovero: ", TipoRicovero(), br);
  Riga(testo, "Medico Prescrittore: ", MedicoPrescrittoreRicovero(), br);
  Riga(testo, "Medico Accettante: ", MedicoAccertanteRicovero(), br);
  Riga(testo, "Diagnosi di ammissione: ", DiagnosiRicovero(), br);
  Riga(testo, "Motivo del Ricovero: ", MotivoRicovero(), br);
  const std::string dimissione = DataDimissione();
  if (!dimissione.empty()) {
    testo += "<BR>Dimissione:<BR>";
    testo += "Data Dimissione: " + Escape(Visibile(*accesso_, dimissione)) + br;
    Riga(testo, "Modalità di Dimissione: ", ModalitaDimissione(), br);
    Riga(testo, "Diagnosi di dimissione: ", DiagnosiDimissione(), br);
  }
  return testo;
}

void clsHL7::AggiungiRiga(std::string& html, const std::string& etichetta,
                          const std::string& valore) const {
  if (util::Trim(valore).empty()) return;
  const std::string testo = util::Replace(accesso_->SenzaEntita(valore), "\r\n", "<br>");
  html += "<tr><td style=\"background-color: rgb(240, 240, 240)\">" +
          accesso_->SenzaEntita(etichetta) + "</td><td>" + testo + "</td></tr>";
}

std::string clsHL7::HTMLDiabete() {
  std::string html = "<html><head>" + std::string(kDichiarazioneUtf8) +
                     "<title>Report diabetologico</title></head><body><table border=\"1\">";
  AggiungiRiga(html, "Codice Report", IDReferto());
  AggiungiRiga(html, "Data della visita", Visibile(*accesso_, DataVisita()));
  if (xml_) {
    InitParentNode(xml_->SelectNode(xml_->rootNode(), kVisitaDiabete));
    RigheDiabete(html);
    for (Nodo osservazione : xml_->SelectNodeList(xml_->rootNode(), kOsservazioniDiabete)) {
      RigaOsservazione(html, osservazione);
    }
  }
  return SoloAscii(html + "</table></body></html>");
}

// The rows of the visit group (the current node).
void clsHL7::RigheDiabete(std::string& html) const {
  AggiungiRiga(html, "Medico", MedicoSSNCognome() + " " + MedicoSSNNome());
  AggiungiRiga(html, "Tipo Visita", TipoVisita());
  AggiungiRiga(html, "Motivo Visita", MotivoVisita());
  AggiungiRiga(html, "Mobilità", Mobilita());
  AggiungiRiga(html, "Tipo paziente", TipoPaziente());
  AggiungiRiga(html, "Data inizio GI", Visibile(*accesso_, Testo("PV1/PV1.44/TS.1")));
  AggiungiRiga(html, "Data fine GI", Visibile(*accesso_, Testo("PV1/PV1.45/TS.1")));
  AggiungiRiga(html, "Motivo fine GI", Testo("PV2/PV2.4/CE.2"));
  AggiungiRiga(html, "Data presa in carico", Visibile(*accesso_, Testo("PV1/PV1.25")));
  AggiungiRiga(html, "Data fine presa in carico", Visibile(*accesso_, Testo("PV1/PV1.35")));
  AggiungiRiga(html, "Motivo fine carico", MotivoFineCarico());
}

// One observation: an admission message carried as MIME, or a value with its unit.
void clsHL7::RigaOsservazione(std::string& html, Nodo osservazione) {
  if (Minuscolo(Testo(osservazione, "OBX/OBX.13")) == "ricoveri") {
    AggiungiRiga(html, "Ricovero", RicoveroDiabete(osservazione));
    return;
  }
  std::string valore = Testo(osservazione, "OBX/OBX.5/CE.2");
  if (valore.empty()) valore = Testo(osservazione, "OBX/OBX.5");
  if (!valore.empty()) valore = util::Trim(valore + " " + Testo(osservazione, "OBX/OBX.6/CE.1"));
  const std::string codice = Testo(osservazione, "OBX/OBX.3/CE.5");
  const std::string nome = Testo(osservazione, "OBX/OBX.3/CE.2");
  AggiungiRiga(html, codice.empty() ? nome : codice + ": " + nome, valore);
}

std::string clsHL7::RicoveroDiabete(Nodo osservazione) {
  auto messaggio = CDA(osservazione);
  if (!messaggio) return {};
  clsHL7 ricovero(accesso_);
  ricovero.InitXML(*messaggio);
  std::string testo;
  const auto riga = [&](const std::string& etichetta, const std::string& valore) {
    if (valore.empty()) return;
    if (!testo.empty()) testo += "\r\n";
    testo += etichetta + valore;
  };
  riga("Data ricovero: ", Visibile(*accesso_, ricovero.DataRicovero()));
  riga("Data dimissione: ", Visibile(*accesso_, ricovero.DataDimissione()));
  const std::string struttura = ricovero.Struttura();
  riga("Struttura: ",
       struttura.empty() ? std::string() : accesso_->DenominazioneStruttura(struttura));
  riga("Reparto: ", ricovero.Reparto());
  riga("Diagnosi ricovero: ", ricovero.DiagnosiRicovero());
  riga("Diagnosi dimissione: ", ricovero.DiagnosiDimissione());
  return testo;
}

bool clsHL7::SalvaHTML(const std::string& Buffer, const std::string& PathDest,
                       std::string& DestFile) const {
  if (Buffer.empty()) return false;
  const std::string nome = accesso_->Adesso().Formato("yyyymmddhhnnss") +
                           accesso_->Millisecondi() + ".html";
  const std::string file = (std::filesystem::path(PathDest) / nome).string();
  // In ASCII, its other characters as references: the bytes are the same
  // page whatever character set the page declares or the reader assumes.
  if (!util::ScriviFile(file, util::ComeByte(SoloAscii(Buffer) + "\r\n"))) return false;
  DestFile = file;
  return true;
}

}  // namespace qzkiro::hl7
