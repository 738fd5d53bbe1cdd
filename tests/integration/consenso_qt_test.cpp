// The consent form of the regional health record shown by the Qt face: the
// user clicks and types in real windows, the add-on checks and sends to the
// sandbox's repository over mutual TLS, and every box it raises comes modal
// on top of the form, in the order the checks run.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>
#include <QtTest/QTest>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "consent/RicercaTutore.h"
#include "integration/AmbienteFse.h"
#include "qt/UiQt.h"
#include "refhost/Archivi.h"
#include "refhost/Oggetti.h"
#include "sandbox/Fse.h"
#include "sandbox/RegioneHl7.h"
#include "support/qt/ProvaQt.h"

namespace qzkiro {
namespace {

namespace f = sandbox::fse;
using host::Variant;
using qt::prova::Digita;
using qt::prova::Tasto;
using sandbox::ServiziFse;

// Plays the user: every window that comes on top as the active modal one
// (also the form coming back once a box on it is closed) gets the next step,
// and is written down as "Classe: testo". A step runs from the event loop,
// so that a window it opens in turn is reached by the next tick.
class Utente {
 public:
  using Passo = std::function<void(QWidget&)>;

  Utente() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Guarda(); });
    timer_.start(10);
  }
  Utente& Poi(Passo passo) {
    passi_.push_back(std::move(passo));
    return *this;
  }
  const std::vector<std::string>& Viste() const { return viste_; }
  bool Finito() const { return passi_.empty(); }

 private:
  void Guarda() {
    QWidget* w = QApplication::activeModalWidget();
    if (w == nullptr || !w->isVisible() || w == ultima_) return;
    ultima_ = w;
    viste_.push_back(Descrivi(*w));
    if (passi_.empty()) {
      ADD_FAILURE() << "finestra non attesa: " << viste_.back();
      QMetaObject::invokeMethod(w, &QWidget::close, Qt::QueuedConnection);
      return;
    }
    QMetaObject::invokeMethod(
        w,
        [w = QPointer<QWidget>(w), passo = passi_.front()] {
          if (w) passo(*w);
        },
        Qt::QueuedConnection);
    passi_.pop_front();
  }
  static std::string Descrivi(QWidget& w) {
    std::string classe = w.metaObject()->className();
    classe = classe.substr(classe.rfind(':') + 1);
    if (auto* box = qobject_cast<QMessageBox*>(&w))
      return classe + ": " + box->text().toStdString();
    return classe + ": " + w.windowTitle().toStdString();
  }

  QTimer timer_;
  QPointer<QWidget> ultima_;
  std::deque<Passo> passi_;
  std::vector<std::string> viste_;
};

void Clic(QWidget& finestra, const char* nome) {
  auto* pulsante = finestra.findChild<QAbstractButton*>(QString::fromLatin1(nome));
  ASSERT_NE(pulsante, nullptr) << nome;
  QTest::mouseClick(pulsante, Qt::LeftButton);
}
void Invio(QWidget& w) {
  Tasto(w, Qt::Key_Return);
}

std::string Testo(QWidget& dove, const char* nome) {
  auto* campo = dove.findChild<QLineEdit*>(QString::fromLatin1(nome));
  return campo ? campo->text().toStdString() : "(manca " + std::string(nome) + ")";
}

class ConsensoQtTest : public ::testing::Test, protected testsupport::AmbienteFse {
 protected:
  ConsensoQtTest() { env_.Contesto().ui = std::make_shared<qt::UiQt>(); }

  bool Consenso(const std::string& cf) {
    EXPECT_TRUE(env_.Host()->ApriPaziente(cf));
    Variant paziente(env_.Host()->Paziente()), modello, modulo(false);
    const bool esito = plugin_.QZ01015(paziente, modello, modulo);
    EXPECT_TRUE(utente_.Finito()) << "passi non giocati";
    return esito;
  }

  Utente utente_;
};

TEST_F(ConsensoQtTest, AMinorsFormTakesATypedGuardianAndIsSentAgainAfterAFault) {
  fse_.Programma(ServiziFse::Servizio::kPubblicazione, ServiziFse::Esito::kFault);
  utente_
      .Poi([](QWidget& form) {  // all three kinds given, no guardian yet
        for (const char* scelta : {"opzione0", "opzione2", "opzione4"}) Clic(form, scelta);
        Clic(form, "ok");
      })
      .Poi(Invio)
      .Poi([](QWidget& form) {  // the guardian typed field after field
        Clic(form, "aggiungi");
        for (const char* valore : {"BRUNI", "MARCO", "BRNMRC80A01L736V", "3331234567"}) {
          Digita(form.focusWidget(), QString::fromLatin1(valore));
          Tasto(form, Qt::Key_Tab);
        }
        Digita(form.focusWidget(), QStringLiteral("marco.bruni@example.it"));
        Invio(form);
      })
      .Poi(Invio)  // no contacts of the patient: sent anyway
      .Poi(Invio)  // the repository's fault
      .Poi([](QWidget& form) {
        EXPECT_EQ(Testo(form, "codice_fiscale"), "BRNMRC80A01L736V") << "kept after the fault";
        Clic(form, "ok");
      })
      .Poi(Invio)
      .Poi([](QWidget& esito) {
        EXPECT_NE(esito.findChild<QLabel*>(QStringLiteral("riga2")), nullptr) << "three kinds";
        Invio(esito);
      })
      .Poi([](QWidget& portale) {
        Clic(portale, "non_mostrare");
        Invio(portale);
      });
  ASSERT_TRUE(Consenso(f::kCfBruni)) << plugin_.LastError();

  const auto& viste = utente_.Viste();
  const char* attese[] = {"FinestraConsenso: Consenso FSEr di BRUNI SOFIA",
                          "QMessageBox: Per i cittadini minorenni è necessario indicare",
                          "FinestraConsenso: ",
                          "QMessageBox: ",
                          "QMessageBox: L'invio del consenso ha dato esito negativo",
                          "FinestraConsenso: ",
                          "QMessageBox: ",
                          "FinestraEsitoInvio: ",
                          "FinestraInfoPortale: "};
  ASSERT_EQ(viste.size(), std::size(attese));
  for (std::size_t i = 0; i < std::size(attese); ++i) {
    EXPECT_EQ(viste[i].rfind(attese[i], 0), 0u) << i << ": " << viste[i];
  }
  EXPECT_EQ(viste[3], viste[6]) << "the same question before each send";
  ASSERT_EQ(fse_.Pubblicati().size(), 3u) << "the three kinds, after the failure";
  EXPECT_EQ(env_.Host()->Paziente()->Privacy().ConsensoFSEr(), "1:1;2:;3:1;4:;5:1;6:");
  EXPECT_EQ(env_.Host()->Utente().Items().GetItem("KIRO.InfoAccessoPortale"), "1");

  // Opened again: the guardian comes back from the published document;
  // Escape closes the form without sending.
  utente_.Poi([](QWidget& form) {
    auto* schede = form.findChild<QTabWidget*>(QStringLiteral("schede"));
    ASSERT_EQ(schede->count(), 2);
    EXPECT_EQ(Testo(*schede->widget(1), "codice_fiscale"), "BRNMRC80A01L736V");
    EXPECT_EQ(Testo(*schede->widget(1), "email"), "marco.bruni@example.it");
    Tasto(form, Qt::Key_Escape);
  });
  EXPECT_FALSE(Consenso(f::kCfBruni));
  EXPECT_EQ(fse_.Pubblicati().size(), 3u);
}

TEST_F(ConsensoQtTest, AWithdrawalAsksForConfirmationOverTheFormAndTheSummaryOpensOnTop) {
  env_.Host()->Framework().SetOggi("20261207");
  std::string riepilogo;
  utente_
      .Poi([](QWidget& form) { Clic(form, "ok"); })  // nothing changed
      .Poi(Invio)
      .Poi([](QWidget& form) { Clic(form, "riepilogo"); })
      .Poi([&riepilogo](QWidget& info) {
        for (auto* l : info.findChildren<QLabel*>()) riepilogo += l->text().toStdString() + "|";
        Invio(info);
      })
      .Poi([](QWidget& form) {
        Clic(form, "opzione1");  // the first kind denied
        Clic(form, "ok");
      })
      .Poi(Invio)  // the denial confirmed
      .Poi([](QWidget& esito) {
        auto* riga = esito.findChild<QLabel*>(QStringLiteral("riga0"));
        ASSERT_NE(riga, nullptr);
        EXPECT_NE(riga->text().indexOf(QStringLiteral("Revocato ")), -1)
            << riga->text().toStdString();
        EXPECT_EQ(esito.findChild<QLabel*>(QStringLiteral("riga1")), nullptr) << "one kind only";
        Invio(esito);
      })
      .Poi(Invio);  // the portal notice, left unticked
  ASSERT_TRUE(Consenso(sandbox::regione::kPazienteRossi)) << plugin_.LastError();

  const auto& viste = utente_.Viste();
  ASSERT_EQ(viste.size(), 8u);
  EXPECT_EQ(viste[1], "QMessageBox: Nessuna modifica apportata");
  EXPECT_EQ(viste[3].rfind("FinestraInfoConsenso: ", 0), 0u) << viste[3];
  EXPECT_NE(riepilogo.find("01/03/2026"), std::string::npos) << riepilogo;
  EXPECT_NE(viste[5].find("Confermare la NEGAZIONE DEL CONSENSO?"), std::string::npos) << viste[5];
  ASSERT_EQ(fse_.Pubblicati().size(), 1u) << "the unchanged OK sent nothing";
  EXPECT_EQ(env_.Host()->Paziente()->Privacy().ConsensoFSEr(), "1:;2:1;3:1;4:;5:1;6:");
  EXPECT_EQ(env_.Host()->Utente().Items().GetItem("KIRO.InfoAccessoPortale"), "0");
}

TEST_F(ConsensoQtTest, TheGuardianTabsSearchMenuFillsItFromTheHostsArchiveAndRegistrySearch) {
  auto archivio =
      std::dynamic_pointer_cast<refhost::ArchivioPazienti>(env_.Host()->Archivio("Pazienti"));
  ASSERT_TRUE(archivio);
  auto rossi = archivio->DaiPaziente(sandbox::regione::kPazienteRossi);
  archivio->ScegliAllaProssima(sandbox::regione::kPazienteRossi);
  env_.Host()->RispondiEvento(
      consent::kEventoAnagrafica,
      "<risposta><anagrafica><codiceFiscale>BRNMRC80A01L736V</codiceFiscale>"
      "<cognome>BRUNI</cognome><nome>MARCO</nome><cellulare>3331234567"
      "</cellulare><email>marco.bruni@example.it</email></anagrafica>"
      "</risposta>");
  auto scheda = [](QWidget& form) {
    return form.findChild<QTabWidget*>(QStringLiteral("schede"))->currentWidget();
  };
  auto cerca = [](QWidget* tab, const char* voce) {
    tab->findChild<QAction*>(QString::fromLatin1(voce))->trigger();
  };
  utente_
      .Poi([&](QWidget& form) {
        Clic(form, "aggiungi");
        cerca(scheda(form), "cerca_archivio");
        EXPECT_EQ(Testo(*scheda(form), "cognome"), rossi->Cognome());
        EXPECT_EQ(Testo(*scheda(form), "codice_fiscale"), sandbox::regione::kPazienteRossi);
        Clic(form, "aggiungi");
        Digita(scheda(form)->findChild<QLineEdit*>(QStringLiteral("codice_fiscale")),
               QStringLiteral("BRNMRC80A01L736V"));
        cerca(scheda(form), "cerca_kiro");
        EXPECT_EQ(Testo(*scheda(form), "nome"), "MARCO");
        EXPECT_EQ(Testo(*scheda(form), "email"), "marco.bruni@example.it");
        // The host's list closed without a choice, then an unreadable answer.
        cerca(scheda(form), "cerca_archivio");
        env_.Host()->RispondiEvento(consent::kEventoAnagrafica, "<anagrafica><cognome>");
        cerca(scheda(form), "cerca_kiro");
      })
      .Poi(Invio)
      .Poi([&](QWidget& form) {
        EXPECT_EQ(Testo(*scheda(form), "cognome"), "BRUNI") << "the tab as it was";
        Tasto(form, Qt::Key_Escape);
      });
  EXPECT_FALSE(Consenso(f::kCfBruni));

  ASSERT_EQ(utente_.Viste().size(), 3u);
  EXPECT_EQ(utente_.Viste()[1].rfind(
                "QMessageBox: La risposta della ricerca anagrafica non è leggibile", 0),
            0u)
      << utente_.Viste()[1];
  EXPECT_EQ(archivio->ColonneMostrate(),
            (std::vector<std::string>{"Cognome e nome", "Cognome e nome"}));
  std::vector<std::string> valori;
  for (const auto& [evento, valore] : env_.Host()->Eventi()) {
    if (evento == "plgQZCoopApp.RicezioneAnagrafica") valori.push_back(valore);
  }
  EXPECT_EQ(valori, (std::vector<std::string>{"BRNMRC80A01L736V", "BRNMRC80A01L736V"}))
      << "asked with the fiscal code typed in the tab";
  EXPECT_TRUE(fse_.Pubblicati().empty());
}

}  // namespace
}  // namespace qzkiro
