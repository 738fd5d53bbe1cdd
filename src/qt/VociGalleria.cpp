// The gallery's entries: each dialog of the Qt face in a realistic state.

#include <QProgressBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <memory>

#include "qt/BarraQt.h"
#include "qt/FinestraAccessoACN.h"
#include "qt/FinestraAttivita.h"
#include "qt/FinestraCambioPassword.h"
#include "qt/FinestraConsenso.h"
#include "qt/FinestraCredenziali.h"
#include "qt/FinestraEsitoInvio.h"
#include "qt/FinestraInfoConsenso.h"
#include "qt/FinestraInfoPortale.h"
#include "qt/Galleria.h"
#include "qt/GrigliaQt.h"
#include "qt/MessaggioQt.h"

namespace qzkiro::qt {

namespace {

using core::DialogoAttivita;
namespace stile = core::stile;

// Keeps a dialog's sample data alive as long as the dialog.
class Custode : public QObject {
 public:
  Custode(std::shared_ptr<void> dati, QObject* genitore)
      : QObject(genitore), dati_(std::move(dati)) {}

 private:
  std::shared_ptr<void> dati_;
};

template <class Dati, class Finestra>
std::unique_ptr<QWidget> Con(std::shared_ptr<Dati> dati, std::unique_ptr<Finestra> finestra) {
  new Custode(std::move(dati), finestra.get());
  return finestra;
}

std::unique_ptr<QWidget> Credenziali() {
  auto form = std::make_shared<frmPasswordAsserzione>();
  form->UserName = "mrossi";
  form->Password = "Segreta.2024";
  form->Responsabili = {{"RSSMRA60A01L736U", "ROSSI MARIO"},
                        {"BNCLRA72M45F241K", "BIANCHI LAURA"},
                        {"VRDGPP58C12G224Z", "VERDI GIUSEPPE"}};
  form->IndiceResponsabile = 0;
  form->Ricorda = true;
  return Con(form, std::make_unique<FinestraCredenziali>(*form));
}

std::unique_ptr<QWidget> CambioPassword() {
  auto form = std::make_shared<frmUpdatePasswordAsserzione>();
  form->UserName = "mrossi";
  form->Password = "Segreta.2024";
  form->NuovaPassword = "Nuova.Segreta.2025";
  form->Ridigita = "Nuova.Segreta.2025";
  return Con(form, std::make_unique<FinestraCambioPassword>(*form));
}

DialogoAttivita Appropriatezza(bool ermete) {
  DialogoAttivita d;
  d.titolo = "KIRO - Appropriatezza prescrittiva";
  d.icona = 5;
  d.istruzione = "Attenzione";
  d.contenuto =
      "Prestazione 88.71.4 - ECOGRAFIA DEL COLLO:\n"
      "la prescrizione non rispetta le condizioni di erogabilità previste.\n"
      "Verificare la nota di appropriatezza e il quesito diagnostico indicati.\n"
      "Prestazione 89.7 - VISITA GENERALE:\n"
      "la prestazione è già stata prescritta al paziente negli ultimi 30 giorni.";
  d.scorrimento = true;
  if (ermete) {
    for (const char* motivo :
         {"Per situazione clinica non contemplata nell'IP", "Per prescrizione specialistica",
          "Per non condivisione", "Per altri motivi"}) {
      d.pulsanti.emplace_back(101 + static_cast<int>(d.pulsanti.size()),
                              std::string("Confermo l'invio\n") + motivo);
    }
    d.piede = "<a href=\"note\">Note aggiuntive</a>";
  } else {
    d.pulsanti.emplace_back(100, "La prescrizione verrà inviata comunque al SAR");
  }
  return d;
}

std::unique_ptr<QWidget> InvioRiuscito() {
  DialogoAttivita d;
  d.titolo = "Ricetta Dematerializzata";
  d.istruzione = "Prescrizione inviata con successo";
  d.contenuto = "Il Paziente ha dato il consenso alla consultazione del FSEr.";
  d.domanda = "Come si desidera procedere?";
  d.pulsanti = {{100, "Non stampare il promemoria"},
                {101, "Non stampare il promemoria per TUTTE"},
                {102, "Stampa promemoria"}};
  d.piede = "<a href=\"ricetta\">Visualizza la ricetta</a>";
  return std::make_unique<FinestraAttivita>(d);
}

std::unique_ptr<QWidget> InvioFallito() {
  DialogoAttivita d;
  d.titolo = "Invio Ricetta Dematerializzata";
  d.istruzione = "Il sistema non ha risposto nei tempi prestabiliti (Timeout)";
  d.domanda = "Come si desidera procedere?";
  d.pulsanti = {{100, "Stampa su ricetta rossa"},
                {101, "Stampa TUTTE su ricetta rossa"},
                {102, "Annulla questa ricetta"},
                {103, "Mantieni la prescrizione"}};
  d.piede = "<a href=\"ricetta\">Visualizza la ricetta non spedita</a>";
  return std::make_unique<FinestraAttivita>(d);
}

std::shared_ptr<ModuloConsensoFSE> ModuloMinore() {
  auto form = std::make_shared<ModuloConsensoFSE>();
  form->Titolo = "Consenso FSEr di FERRARI GIULIA";
  form->Minorenne = true;
  form->Opzioni = {true, false, true, false, false, true};
  form->Cellulare = "3471234567";
  form->Email = "famiglia.ferrari@esempio.it";
  form->Tutori = {
      {"FERRARI", "ANDREA", "FRRNDR80A01L736X", "3471234567", "andrea.ferrari@esempio.it",
       "MPI000123"},
      {"COLOMBO", "SARA", "CLMSRA82E41L736Q", "3489876543", "sara.colombo@esempio.it", ""}};
  return form;
}

std::unique_ptr<QWidget> Consenso(int scheda) {
  auto form = ModuloMinore();
  AzioniConsensoFSE azioni;
  azioni.conferma = [] { return true; };
  azioni.riepilogo = [] {};
  azioni.informativa = [] {};
  auto finestra = std::make_unique<FinestraConsenso>(*form, azioni);
  finestra->Schede()->setCurrentIndex(scheda);
  return Con(form, std::move(finestra));
}

std::unique_ptr<QWidget> EsitoInvio() {
  return std::make_unique<FinestraEsitoInvio>(std::vector<std::string>{
      "Consenso all'alimentazione del FSEr", "Consenso alla consultazione del FSEr",
      "Revocato Consenso all'alimentazione del FSEr con documenti pregressi"});
}

std::unique_ptr<QWidget> InfoConsenso() {
  RiepilogoConsensoFSE r;
  r.paziente = "FERRARI GIULIA";
  r.eta = 12;
  r.righe = {{"Consenso all'alimentazione del FSEr", "14/03/2019", IconaConsenso::Rilasciato},
             {"Consenso alla consultazione del FSEr", "Revocato", IconaConsenso::Revocato},
             {"Consenso all'alimentazione del FSEr con documenti pregressi", "Non rilasciato",
              IconaConsenso::NonRilasciato}};
  return std::make_unique<FinestraInfoConsenso>(r);
}

std::unique_ptr<QWidget> InfoPortale() {
  auto form = std::make_shared<frmInfoPortale>();
  return Con(form, std::make_unique<FinestraInfoPortale>(*form));
}

std::unique_ptr<QWidget> AccessoACN() {
  auto form = std::make_shared<frmAccessoACN>();
  form->Testo1 = "RSSMRA60A01L736U";
  form->Testo2 = "Flussi.2024";
  form->Ricorda = true;
  return Con(form, std::make_unique<FinestraAccessoACN>(*form));
}

// The PDTA indicators of a year, while the grid is being filled.
std::unique_ptr<QWidget> GrigliaPDTA() {
  auto finestra = std::make_unique<QWidget>();
  finestra->setWindowTitle(QStringLiteral("Indicatori PDTA 2023"));
  auto* vista = new QTableView(finestra.get());
  vista->setObjectName(QStringLiteral("griglia"));
  vista->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  auto* barra = new QProgressBar(finestra.get());
  auto* layout = new QVBoxLayout(finestra.get());
  layout->addWidget(vista, 1);
  layout->addWidget(barra);

  auto griglia = std::make_shared<GrigliaQt>(*vista);
  auto progresso = std::make_shared<BarraQt>(*barra);
  const std::vector<std::vector<std::string>> righe = {
      {"Copertura Vaccinazione Antinfluenzale", "412", "530", "77.74"},
      {"Registrazione Mammografia", "198", "264", "75.00"},
      {"Registrazione PAPTEST", "301", "472", "63.77"},
      {"Registrazione SOF", "287", "611", "46.97"},
      {"Prevalenza Pazienti in TAO", "34", "1480", "2.30"},
      {"Prevalenza Pazienti Arruolati per il PDTA TAO", "29", "34", "85.29"},
      {"Registrazione visita specialistica per controllo INR", "25", "29", "86.21"},
      {"Prevalenza Pazienti Arruolati per il PDTA Diabete Mellito tipo 2", "96", "118", "81.36"},
      {"Registrazione Emoglobina Glicata", "88", "96", "91.67"},
  };
  griglia->SetRedraw(false);
  griglia->SetRows(static_cast<std::int32_t>(righe.size()) + 1);
  griglia->SetCols(4);
  griglia->SetFixedRows(1);
  const char* intestazioni[] = {"Descrizione", "Numer.", "Denom.", "Valore"};
  for (std::int32_t c = 0; c < 4; ++c) griglia->SetTextMatrix(0, c, intestazioni[c]);
  for (std::size_t r = 0; r < righe.size(); ++r) {
    for (std::size_t c = 0; c < 4; ++c) {
      griglia->SetTextMatrix(static_cast<std::int32_t>(r) + 1, static_cast<std::int32_t>(c),
                             righe[r][c]);
    }
  }
  griglia->SetRedraw(true);
  // The whole table in the picture: the form is as large as its grid.
  vista->setMinimumSize(vista->sizeHint());
  progresso->SetMax(static_cast<std::int32_t>(righe.size()) + 2);
  progresso->SetValue(static_cast<std::int32_t>(righe.size()));
  new Custode(griglia, finestra.get());
  new Custode(progresso, finestra.get());
  return finestra;
}

std::unique_ptr<QWidget> Messaggio(const std::string& testo, int s, const std::string& titolo) {
  return CreaMessaggio(testo, s, titolo, nullptr);
}

}  // namespace

std::vector<VoceGalleria> VociGalleria() {
  return {
      {"frmPasswordAsserzione", Credenziali},
      {"frmUpdatePasswordAsserzione", CambioPassword},
      {"TaskDialog_Appropriatezza",
       [] { return std::make_unique<FinestraAttivita>(Appropriatezza(true)); }},
      {"TaskDialog_UnPulsante",
       [] { return std::make_unique<FinestraAttivita>(Appropriatezza(false)); }},
      {"TaskDialog_InvioRiuscito", InvioRiuscito},
      {"TaskDialog_InvioFallito", InvioFallito},
      {"frmConsensoFSE", [] { return Consenso(1); }},
      {"frmConsensoFSE_DatiAggiuntivi", [] { return Consenso(0); }},
      {"frmEsitoInvioFSE", EsitoInvio},
      {"frmInfoConsensoFSE", InfoConsenso},
      {"frmInfoPortale", InfoPortale},
      {"frmAccessoACN", AccessoACN},
      {"GrigliaPDTA", GrigliaPDTA},
      {"MsgBox_Informazione",
       [] {
         return Messaggio("Password modificata con successo!", stile::kInformazione,
                          "Aggiorna Password");
       }},
      {"MsgBox_Avviso",
       [] {
         return Messaggio(
             "OROLOGIO DEL PC DA SISTEMARE.\r\n\r\nE' stato rilevato un disallineamento di 94 "
             "secondi rispetto all'ora esatta italiana.\r\nI servizi di KIRO richiedono che "
             "l'ora del PC sia esatta o con uno scostamento minimo.\r\nCorreggere l'ora del PC "
             "e impostarla in modo tale che sia automaticamente\r\nsincronizzata tramite "
             "internet.",
             stile::kAvviso, "KIRO");
       }},
      {"MsgBox_Errore",
       [] {
         return Messaggio("Il codice fiscale del paziente non è valido", stile::kErrore, "KIRO");
       }},
      {"MsgBox_Domanda",
       [] {
         return Messaggio(
             "Sono state rilevate 3 prestazioni PPIP che rientrano nei nuovi codici 'A110, "
             "A111, A112, A113, A114, A115' effettuate da Gennaio a Giugno 2018.\r\n"
             "Si desidera includere queste PPIP nel flusso di Luglio 2018?",
             stile::kSiNo | stile::kDomanda, "KIRO");
       }},
      {"MsgBox_DomandaAnnulla",
       [] {
         return Messaggio(
             "Collegare la prescrizione al Documento di Processo con NRE 050A01234567890?",
             stile::kSiNoAnnulla | stile::kDomanda, "KIRO");
       }},
      {"MsgBox_OKAnnulla",
       [] {
         return Messaggio(
             "Sessione di autenticazione scaduta\r\n\r\nPer procedere è necessario rifare "
             "l'autenticazione.\r\nFare clic su OK per procedere o Annulla per interrompere "
             "l'invio",
             stile::kOKAnnulla | stile::kAvviso, "Autenticazione");
       }},
  };
}

}  // namespace qzkiro::qt
