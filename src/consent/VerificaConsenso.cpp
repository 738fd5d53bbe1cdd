#include "consent/VerificaConsenso.h"

#include "consent/CaricaConsenso.h"

namespace qzkiro::consent {

const char* const kVerificaSospesa =
    "Attenzione: Per problemi temporanei del server FSE, il servizio di verifica del consenso "
    "è stato disattivato per 60 minuti onde evitare il rallentamento della normale attività "
    "ambulatoriale";

namespace {

bool Avvisa(core::Ui& ui, const std::string& testo) {
  ui.MsgBox(testo, core::stile::kOK | core::stile::kAvviso, "KIRO");
  return false;
}

// A failed call: a server that did not answer pauses verification.
bool Fallita(EsitoServizio esito, const std::string& errore, PausaVerifica& pausa,
             const core::Orologio& orologio, core::Ui& ui) {
  if (esito == EsitoServizio::NonRisponde) {
    pausa.Inizia(orologio);
    return Avvisa(ui, kVerificaSospesa);
  }
  return Avvisa(ui, "Attenzione: " + errore);
}

void CopiaRecapiti(ServiziConsenso& servizi, const xds::Consenso& ultimo,
                   const RecapitiRecord& record) {
  const Recapiti trovati = RecapitiDaInfo(ultimo.info_paziente);
  const bool cellulare = !trovati.cellulare.empty() && trovati.cellulare != record.cellulare;
  const bool email = !trovati.email.empty() && trovati.email != record.email;
  if (cellulare || email) {
    servizi.SalvaRecapiti(cellulare ? trovati.cellulare : record.cellulare,
                          email ? trovati.email : record.email);
  }
}

}  // namespace

bool PausaVerifica::Attiva(const core::Orologio& orologio) const {
  return guasto_ && orologio.AdessoUTC().SecondiDa(*guasto_) < kSecondi;
}

void PausaVerifica::Inizia(const core::Orologio& orologio) {
  guasto_ = orologio.AdessoUTC();
}

std::string TitoloVerifica(const std::string& nome_completo) {
  return "Verifica Privacy FSEr di " + nome_completo;
}

bool VerificaConsenso(ServiziConsenso& servizi, PausaVerifica& pausa,
                      const core::Orologio& orologio, core::Ui& ui, const RecapitiRecord& record) {
  if (pausa.Attiva(orologio)) return false;
  std::string mpi;
  if (const EsitoServizio e = servizi.MPI(mpi); e != EsitoServizio::Ok || mpi.empty()) {
    return Fallita(e == EsitoServizio::Ok ? EsitoServizio::Errore : e, kMpiNonLetto, pausa,
                   orologio, ui);
  }
  xds::ConsensiInVigore consensi;
  std::string errore;
  if (const EsitoServizio e = servizi.Consensi(consensi, errore); e != EsitoServizio::Ok) {
    return Fallita(e, errore, pausa, orologio, ui);
  }
  frmConsensoFSE stato;
  stato.Opzioni = OpzioniDaConsensi(consensi);
  servizi.SalvaStato(stato.Stato());
  CopiaRecapiti(servizi, consensi.ultimo, record);
  return true;
}

}  // namespace qzkiro::consent
