// The OK button of the consent form: the checks run in a fixed order, the
// first that fails stops with a message box, each question lets the user
// stop with No.
#include <algorithm>

#include "consent/frmConsensoFSE.h"
#include "util/Testo.h"

namespace qzkiro::consent {

namespace {

using cda::TipoConsenso;

constexpr const char* kCrLf = "\r\n";
constexpr const char* kNonRilascio = "Confermare il NON RILASCIO DELLE CREDENZIALI?";

// The message boxes of the form: warnings stop, questions ask Yes/No.
class Avvisi {
 public:
  explicit Avvisi(core::Ui& ui) : ui_(ui) {}
  bool Ferma(const std::string& testo) {
    ui_.MsgBox(testo, core::stile::kOK | core::stile::kAvviso, std::string(kTitoloKiro));
    return false;
  }
  bool Chiedi(const std::string& testo) {
    return ui_.MsgBox(testo, core::stile::kSiNo | core::stile::kAvviso, std::string(kTitoloKiro)) ==
           core::risposta::kSi;
  }

 private:
  core::Ui& ui_;
};

std::string Righe(std::initializer_list<std::string_view> righe) {
  std::string testo;
  for (std::string_view r : righe) (testo += testo.empty() ? "" : kCrLf) += r;
  return testo;
}

bool ControllaAlimentazione(const frmConsensoFSE& f, Avvisi& a) {
  if (f.Scelta(TipoConsenso::Alimentazione) != false) return true;
  return a.Chiedi(
      Righe({"Con tale scelta il cittadino NEGA IL CONSENSO all'alimentazione del "
             "Fascicolo FSEr pertanto nessun fascicolo verrà formato.",
             "Confermare la NEGAZIONE DEL CONSENSO?"}));
}

bool ControllaConsultazione(const frmConsensoFSE& f, Avvisi& a) {
  if (f.Scelta(TipoConsenso::Consultazione) != false) return true;
  return a.Chiedi(
      Righe({"ATTENZIONE: il cittadino rifiuta di rilasciare il consenso alla consultazione FSEr!",
             "Con tale scelta il cittadino speci"
             "fica che i documenti NON SARANNO consultabili a "
             "NESSUN medico, nemmeno colui che ha in cura il paziente, rendendo meno semplice il "
             "processo di acquisizione delle informazioni per le finalità di cura.",
             "Confermare il RIFIUTO ALLA CONSULTAZIONE?"}));
}

// A consent to earlier documents already given is withdrawn only together
// with feeding.
bool ControllaPregresso(const frmConsensoFSE& f, bool pregresso_dato, Avvisi& a) {
  if (f.Scelta(TipoConsenso::Pregresso) != false) return true;
  if (pregresso_dato && f.Scelta(TipoConsenso::Alimentazione) != false) {
    return a.Ferma(
        "ATTENZIONE: Non è possibile revocare il consenso all'alimentazione al pregresso se non "
        "si revoca anche alimentazione (e di conseguenza anche consultazione)");
  }
  return a.Chiedi(Righe(
      {"ATTENZIONE: il cittadino rifiuta di alimentare il FSEr con i dati pregressi!",
       "Con tale scelta il cittadino speci"
       "fica che i dati precedentemente prodotti non verranno "
       "caricati e quindi non resi consultabili attraverso il Fascicolo.",
       "Tale mancato consenso impedisce anche al medico che ha in cura il paziente, di "
       "visualizzare i dati pregressi.",
       "Confermare il RIFIUTO ALL'ALIMENTAZIONE DEL PREGRESSO?"}));
}

// Clearing contacts that were registered is asked about as such: the
// credentials already issued stay, so the "no credentials" warning would
// be wrong there.
bool ControllaRecapiti(const frmConsensoFSE& f, Avvisi& a) {
  const std::string cellulare = util::Trim(f.Cellulare);
  const std::string email = util::Trim(f.Email);
  if (f.RecapitiCancellati()) {
    if (!a.Chiedi(Righe({"ATTENZIONE: Si sta per cancellare il numero di cellulare e/o l'email.",
                         "Tale modifica non avrà effetto sulle credenziali rilasciate per "
                         "l'accesso al FSEr.",
                         "Confermare LA CANCELLAZIONE del cellulare e dell'email?"}))) {
      return false;
    }
  } else if (cellulare.empty() && email.empty()) {
    if (!a.Chiedi(Righe({"ATTENZIONE: il numero di cellulare e l'email consentono di rilasciare "
                         "le credenziali di accesso al proprio FSEr.",
                         "A seguito di questo mancato inserimento NON verranno rilasciate le "
                         "credenziali d'accesso al cittadino per il proprio FSEr.",
                         kNonRilascio}))) {
      return false;
    }
  }
  if (!cellulare.empty() && !CellulareValido(cellulare)) {
    return a.Ferma(
        "ATTENZIONE: il numero di cellulare specificato non è valido (togliere eventuali spazi "
        "o separatori)");
  }
  if (!email.empty() && !EmailValida(email)) {
    return a.Ferma("ATTENZIONE: l'indirizzo email specificato non è valido");
  }
  return true;
}

bool Incompleta(const SchedaTutore& t) {
  return util::Trim(t.Cognome).empty() || util::Trim(t.Nome).empty() ||
         util::Trim(t.CodiceFiscale).empty();
}

bool ControllaTutore(const SchedaTutore& t, const VerificaCodiceFiscale& verifica, Avvisi& a) {
  const std::string cf = util::Trim(t.CodiceFiscale);
  const std::string nome = util::Trim(t.Cognome) + " " + util::Trim(t.Nome);
  const std::string cellulare = util::Trim(t.Cellulare);
  const std::string email = util::Trim(t.Email);
  if (verifica && !verifica(cf)) {
    return a.Ferma("ATTENZIONE: il codice fiscale " + cf + " non è valido");
  }
  if (!email.empty() && !EmailValida(email)) {
    return a.Ferma("ATTENZIONE: l'indirizzo email di " + nome + " non è valido");
  }
  if (!cellulare.empty() && !CellulareValido(cellulare)) {
    return a.Ferma("ATTENZIONE: il numero di cellulare di " + nome +
                   " non è valido (Togliere eventuali spazi o separatori)");
  }
  return true;
}

// Every tab complete first (the message names the panel), then each tab's
// values; one question when any guardian left both contacts out.
bool ControllaTutori(const frmConsensoFSE& f, const VerificaCodiceFiscale& verifica, Avvisi& a) {
  if (std::any_of(f.Tutori.begin(), f.Tutori.end(), Incompleta)) {
    return a.Ferma(std::string("Ci sono dati incompleti nel pannello dei ") +
                   (f.Minorenne ? "Genitori/Tutori legali" : "Tutori legali"));
  }
  for (const SchedaTutore& t : f.Tutori) {
    if (!ControllaTutore(t, verifica, a)) return false;
  }
  const bool senza_recapiti = std::any_of(f.Tutori.begin(), f.Tutori.end(), [](const auto& t) {
    return util::Trim(t.Cellulare).empty() && util::Trim(t.Email).empty();
  });
  if (!senza_recapiti) return true;
  return a.Chiedi(Righe(
      {std::string("ATTENZIONE: i ") + (f.Minorenne ? "genitori/tutori legali" : "tutori legali") +
           " hanno la facoltà di comunicare il numero di cellulare e l'email per il rilascio "
           "delle credenziali di accesso al FSEr.",
       "A seguito di questo mancato inserimento NON verranno rilasciate le credenziali "
       "d'accesso al tutore legale per il FSEr del cittadino.",
       kNonRilascio}));
}

}  // namespace

bool frmConsensoFSE::Conferma(core::Ui& ui, const VerificaCodiceFiscale& verifica) const {
  Avvisi a(ui);
  if (std::none_of(Opzioni.begin(), Opzioni.end(), [](bool o) { return o; })) {
    return a.Ferma("ATTENZIONE: Nessun consenso specificato!");
  }
  if (!ControllaAlimentazione(*this, a)) return false;
  if (Minorenne && Tutori.empty()) {
    return a.Ferma(
        "Per i cittadini minorenni è necessario indicare almeno un Genitore o un Tutore Legale");
  }
  const bool pregresso_dato =
      caricato_.opzioni[static_cast<std::size_t>(TipoConsenso::Pregresso) * 2];
  return ControllaConsultazione(*this, a) && ControllaPregresso(*this, pregresso_dato, a) &&
         ControllaRecapiti(*this, a) && ControllaTutori(*this, verifica, a);
}

}  // namespace qzkiro::consent
