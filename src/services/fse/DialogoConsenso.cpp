#include "services/fse/DialogoConsenso.h"

#include "consent/CaricaConsenso.h"
#include "consent/InfoConsenso.h"
#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "services/fse/CercaTutore.h"
#include "services/fse/InvioConsensoFse.h"
#include "services/fse/ServiziConsensoFse.h"

namespace qzkiro::fse {

namespace {

bool Ferma(const std::string& messaggio) {
  auto& c = core::Ctx();
  c.ui->MsgBox(messaggio, core::stile::kOK | core::stile::kAvviso,
               std::string(consent::kTitoloKiro));
  c.last_error = messaggio;
  return false;
}

// The host's birth date "yyyymmdd".
std::optional<util::DataOra> Nascita(const std::string& data) {
  if (data.size() != 8) return std::nullopt;
  return util::DataOra::Leggi(data.substr(0, 4) + "-" + data.substr(4, 2) + "-" +
                              data.substr(6, 2) + " 00:00");
}

// The form of one patient, from loading to a successful submission.
class Dialogo {
 public:
  explicit Dialogo(host::IPaziente& paziente)
      : c_(core::Ctx()), paziente_(paziente), servizi_(paziente) {}

  bool Carica() {
    auto& fw = c_.App().Framework();
    const std::string errore = consent::ControllaPaziente(
        fw.VerificaCodiceFiscale(paziente_.CodiceFiscale()), paziente_.CodiceRegione());
    if (!errore.empty()) return Ferma(errore);
    dati_.cellulare = paziente_.Cellulare();
    dati_.email = paziente_.Email();
    dati_.nascita = Nascita(paziente_.DataNascita());
    dati_.oggi = c_.orologio->Adesso();
    if (const std::string e = consent::CaricaDaServizi(servizi_, form_, dati_); !e.empty()) {
      return Ferma(e);
    }
    form_.Titolo = "Consenso FSEr di " + paziente_.NomeCompleto();
    return true;
  }

  bool Mostra() {
    AzioniConsensoFSE azioni;
    azioni.conferma = [this] { return Conferma(); };
    azioni.riepilogo = [this] { Riepilogo(); };
    azioni.informativa = [this] {
      c_.App().Framework().StartExDoc((core::CartellaPlugin() / kInformativaFse).string());
    };
    azioni.cerca_archivio = CercaInArchivio;
    azioni.cerca_kiro = CercaSuKiro;
    return c_.ui->ConsensoFSE(form_, azioni);
  }

 private:
  bool Conferma() {
    auto& fw = c_.App().Framework();
    if (!form_.Conferma(*c_.ui, [&fw](const std::string& cf) {
          return fw.VerificaCodiceFiscale(cf);
        })) {
      return false;
    }
    c_.ui->DoEvents();
    const consent::EsitoInvio esito = InviaConsenso(paziente_, dati_.mpi, form_, dati_.consensi);
    if (!esito.riuscito) return Ferma(esito.messaggio);
    servizi_.SalvaStato(form_.Stato());
    if (form_.RecapitiCambiati()) servizi_.SalvaRecapiti(form_.Cellulare, form_.Email);
    c_.ui->EsitoInvioFSE(esito.righe);
    Portale();
    return true;
  }

  void Riepilogo() {
    c_.ui->InfoConsensoFSE({paziente_.NomeCompleto(),
                            c_.App().Framework().CalcolaEta(paziente_.DataNascita()),
                            consent::RigheInfoConsenso(dati_.consensi)});
  }

  // The notice, unless the user asked not to see it again.
  void Portale() {
    auto& items = c_.App().Utente().Items();
    const std::string chiave(frmInfoPortale::kImpostazione);
    if (!frmInfoPortale::DaMostrare(items.GetItem(chiave))) return;
    frmInfoPortale portale;
    c_.ui->InfoPortale(portale);
    items.SetItem(chiave, portale.Valore());
  }

  core::Contesto& c_;
  host::IPaziente& paziente_;
  ServiziConsensoFse servizi_;
  consent::frmConsensoFSE form_;
  consent::DatiCaricamento dati_;
};

}  // namespace

bool DialogoConsenso(host::IPaziente& paziente) {
  Dialogo dialogo(paziente);
  return dialogo.Carica() && dialogo.Mostra();
}

}  // namespace qzkiro::fse
