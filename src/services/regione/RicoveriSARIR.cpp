// The regional admissions (SARIR): each admission with its details, the
// discharge letters attached and their text as the admission's notes.

#include <memory>
#include <vector>

#include "cda/VoceInputCDA.h"
#include "cda/clsCDA.h"
#include "cda/clsCDA2.h"
#include "core/AccessoContesto.h"
#include "core/Contesto.h"
#include "services/regione/RotteRegione.h"
#include "services/regione/BloccoPaziente.h"
#include "services/regione/ServiziRegionali.h"
#include "util/Testo.h"

namespace qzkiro::regione {

using hl7::clsHL7;

namespace {

using host::Variant;

// The admission's values in the service's order; the structure's name goes
// to the host as the "Struttura" detail.
cda::VoceInput AggiungiRicovero(const clsHL7& l, host::IInput& risultato, const Variant& paziente) {
  return cda::VoceInput::Crea(
      risultato, "AddRicovero",
      {paziente, l.ID(), l.IDPrescrizione(), l.DataRicovero(), l.DataDimissione(), l.Struttura(),
       l.Reparto(), l.DiagnosiRicovero(), l.DiagnosiDimissione(), l.DayHospital()});
}

void Dettagli(const clsHL7& l, const cda::VoceInput& ricovero, const std::string& denominazione) {
  const std::pair<const char*, std::string> dettagli[] = {{"Struttura", util::Trim(denominazione)},
                                                          {"Reparto", l.Reparto()},
                                                          {"MotivoRicovero", l.MotivoRicovero()}};
  for (const auto& [nome, valore] : dettagli) {
    if (!valore.empty()) ricovero.Chiama("AddDettagli", {nome, valore});
  }
}

// Attaches the discharge letter of one observation; its text goes to `testi`.
void Lettera(clsHL7& l, clsHL7::Nodo osservazione, const cda::VoceInput& ricovero,
             const std::string& cartella, std::vector<std::string>& testi) {
  std::string file;
  if (l.TestoOsservazione(osservazione, "OBX.13") == "cda_rel2") {
    cda::clsCDA2 lettera(core::AccessoDelContesto());
    if (!lettera.InitMIME(l.TestoOsservazione(osservazione, "OBX.5/ED.5")) ||
        !lettera.SalvaMime(cartella, file)) {
      return;
    }
    const std::string titolo = lettera.Titolo();
    ricovero.Chiama("AddAllegato", {file, titolo.empty() ? "Documento" : titolo});
    testi.push_back(lettera.Text());
    return;
  }
  std::shared_ptr<util::clsXML> documento = l.CDAOsservazione(osservazione);
  cda::clsCDA lettera(core::AccessoDelContesto());
  if (!documento || !lettera.InitXML(documento) || !lettera.SalvaPDF(cartella, file)) return;
  ricovero.Chiama("AddAllegato", {file, "Lettera dimissioni"});
  testi.push_back(lettera.Text());
}

// The letters' text, as HTML in Base64, becomes the admission's notes.
void Appunti(const cda::VoceInput& ricovero, const std::vector<std::string>& testi) {
  if (testi.empty()) return;
  std::string html = "<html>";
  for (const auto& testo : testi) html += testo;
  html += "</html>";
  if (auto nodo = ricovero.Voce().As<host::IRecordXML>()) {
    nodo->ImpostaFiglio("appuntiRTF", core::Ctx().App().Base64().Encode(html));
  }
}

bool Ricovero(clsHL7& l, host::IInput& risultato) {
  const Variant paziente = BloccoPaziente(l, risultato);
  const std::string struttura = l.Struttura();
  const std::string denominazione =
      struttura.empty() ? std::string() : l.Accesso()->DenominazioneStruttura(struttura);
  const cda::VoceInput ricovero = AggiungiRicovero(l, risultato, paziente);
  Dettagli(l, ricovero, denominazione);
  const std::string cartella = core::Ctx().App().Utente().TempDir();
  std::vector<std::string> testi;
  for (auto* osservazione : l.Osservazioni()) Lettera(l, osservazione, ricovero, cartella, testi);
  Appunti(ricovero, testi);
  return true;
}

}  // namespace

}  // namespace qzkiro::regione

namespace qzkiro::op {

bool RicoveriSARIR(Collection&, Variant& Template) {
  return regione::EseguiServizio(regione::servizio::kSARIR, Template, regione::Ricovero);
}

}  // namespace qzkiro::op
