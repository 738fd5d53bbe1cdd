// The therapeutic-plan services: the dispatcher of the host's MEF request and
// the list and view of a patient's plans.

#include "services/mef/OperazioneMEF.h"
#include "core/Contesto.h"
#include "core/modLog.h"
#include "qzkiro/host/Mef.h"
#include "services/mef/ClientePT.h"
#include "services/mef/RichiestePT.h"
#include "services/mef/RispostePT.h"
#include "services/mef/RotteMef.h"

namespace qzkiro::mef {

namespace {

constexpr const char* kViaWeb =
    "Gli operatori autorizzati hanno a disposizione una specifica applicazione web.";

bool Errore(const std::string& testo) {
  core::Ctx().last_error = testo;
  return false;
}

// The prescriber: the host's user, with the structure of the setting
// "KIRO.CodiceStruttura" when set.
MedicoPT Medico() {
  auto& c = core::Ctx();
  auto& utente = c.App().Utente();
  const std::string& struttura = c.settings.codice_struttura;
  return MedicoDaUnita(utente.CodiceFiscale(), utente.CodiceRegioneASL(),
                       struttura.empty() ? utente.CodiceStruttura() : struttura);
}

// The patient's fiscal code encrypted, or the reason it cannot be.
bool Assistito(host::IMEF& mef, std::string& cifrato) {
  const std::string cf = mef.Param1();
  if (cf.empty()) return Errore("Codice fiscale del paziente non indicato");
  cifrato = CifraAssistito(cf);
  if (cifrato.empty()) {
    return Errore(
        "Non è stato possibile cifrare il codice fiscale del paziente con il "
        "certificato fse.cer");
  }
  return true;
}

bool Periodo(host::IMEF& mef, FiltroPT& filtro) {
  const std::string dal = mef.paramDallaData().ToText(), al = mef.paramAllaData().ToText();
  const auto inizio = DataPT(dal), fine = DataPT(al);
  if (!inizio) return Errore("Data di inizio del periodo non valida: " + dal);
  if (!fine) return Errore("Data di fine del periodo non valida: " + al);
  filtro.dal = inizio->empty() ? "19000101" : *inizio;
  filtro.al = *fine;
  return true;
}

// The receipt's errors to the host; the user's text of a failed receipt.
bool Esito(host::IMEF& mef, const RispostaPT& risposta) {
  for (const ErrorePT& e : risposta.errori) mef.SetErrorCode(e.codice, e.descrizione);
  if (risposta.leggibile && risposta.errori.empty() && risposta.cod_esito != "0000" &&
      !risposta.cod_esito.empty()) {
    mef.SetErrorCode(risposta.cod_esito, "");
  }
  const std::string errore = ErroreRispostaPT(risposta);
  return errore.empty() || Errore(errore);
}

bool Rifiuta(const char* azione) {
  return Errore(std::string("In Veneto non è possibile ") + azione +
                " il PT Elettronico tramite applicativo.\r\n" + kViaWeb);
}

}  // namespace

bool ElencoPianiTerapeutici(host::IMEF& mef) {
  mef.SetResponse("");
  std::string cifrato;
  FiltroPT filtro{mef.ParamId(), {}, {}};
  if (!Periodo(mef, filtro) || !Assistito(mef, cifrato)) return false;
  const ScambioPT scambio = ChiamaPT(pt::kElenco, RichiestaElencoPT(Medico(), cifrato, filtro));
  if (!scambio.riuscito) return Errore(scambio.errore);
  mef.SetResponseXML(scambio.risposta);
  const RispostaElencoPT risposta = LeggiElencoPT(scambio.risposta);
  if (!Esito(mef, risposta)) return false;
  for (const PianoPT& p : risposta.piani) {
    core::modLog::Log("Piano terapeutico " + p.protocollo, p.inizio + " - " + p.fine);
  }
  if (const PianoPT* piano = PianoPiuRecente(risposta.piani)) mef.SetResponse(piano->protocollo);
  return true;
}

bool VisualizzaPianoTerapeutico(host::IMEF& mef) {
  mef.SetResponse("");
  std::string cifrato;
  if (!Assistito(mef, cifrato)) return false;
  const ScambioPT scambio =
      ChiamaPT(pt::kVisualizza, RichiestaVisualizzaPT(Medico(), mef.paramProtocolloSAC(), cifrato));
  if (!scambio.riuscito) return Errore(scambio.errore);
  mef.SetResponseXML(scambio.risposta);
  const RispostaVisualizzaPT risposta = LeggiVisualizzaPT(scambio.risposta);
  if (!Esito(mef, risposta)) return false;
  mef.SetResponse(risposta.documento);
  return true;
}

bool ServizioMEF(host::IMEF& mef) {
  switch (mef.Operazione()) {
    case 19:
      return ElencoPianiTerapeutici(mef);
    case 20:
      return VisualizzaPianoTerapeutico(mef);
    case 21:
      if (!ElencoPianiTerapeutici(mef)) return false;
      // No plan in the period: there is nothing to view.
      if (mef.Response().empty()) return true;
      mef.SetParamProtocolloSAC(mef.Response());
      return VisualizzaPianoTerapeutico(mef);
    case 22:
    case 24:
      return Rifiuta("inviare");
    case 23:
      return Rifiuta("annullare");
    default:
      return Errore("Servizio MEF non gestito");
  }
}

}  // namespace qzkiro::mef

namespace qzkiro::op {

bool OperazioneMEF(Variant&, Variant& myMEF) {
  auto mef = myMEF.As<host::IMEF>();
  if (!mef) {
    core::Ctx().last_error = "Richiesta MEF non valida: l'oggetto della richiesta è mancante";
    return false;
  }
  return mef::ServizioMEF(*mef);
}

}  // namespace qzkiro::op
