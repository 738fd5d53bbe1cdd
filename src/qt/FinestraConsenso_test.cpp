#include "qt/FinestraConsenso.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTabWidget>
#include <QTimer>
#include <QtTest/QTest>

#include "qt/PannelloTutore.h"
#include "support/qt/ProvaQt.h"
#include "qt/UiQt.h"

namespace qzkiro::qt {
namespace {

ModuloConsensoFSE Minore() {
  ModuloConsensoFSE form;
  form.Titolo = "Consenso FSEr di FERRARI GIULIA";
  form.Minorenne = true;
  form.Opzioni = {true, false, false, false, false, false};
  form.Cellulare = "3471234567";
  form.Tutori = {{"FERRARI", "ANDREA", "FRRNDR80A01L736X", "", "", "MPI000123"},
                 {"COLOMBO", "SARA", "CLMSRA82E41L736Q", "", "", "MPI000456"}};
  return form;
}

QStringList Schede(const FinestraConsenso& finestra) {
  QStringList titoli;
  for (int i = 0; i < finestra.Schede()->count(); ++i) titoli << finestra.Schede()->tabText(i);
  return titoli;
}

void Clic(QWidget& finestra, const char* nome) {
  auto* pulsante = finestra.findChild<QAbstractButton*>(QString::fromLatin1(nome));
  ASSERT_NE(pulsante, nullptr) << nome;
  QTest::mouseClick(pulsante, Qt::LeftButton);
}

QLineEdit* Campo(QWidget& dove, const char* nome) {
  return dove.findChild<QLineEdit*>(QString::fromLatin1(nome));
}

TEST(FinestraConsenso, SiApreConLeScelteIRecapitiEITutoriDelModulo) {
  ModuloConsensoFSE form = Minore();
  FinestraConsenso finestra(form, {});
  EXPECT_EQ(finestra.windowTitle(), QStringLiteral("Consenso FSEr di FERRARI GIULIA"));
  EXPECT_EQ(finestra.findChild<QLabel*>("didascalia")->text(),
            QString::fromStdString(form.Didascalia()));
  EXPECT_TRUE(finestra.findChild<QRadioButton*>("opzione0")->isChecked());
  for (const char* libera : {"opzione1", "opzione2", "opzione3", "opzione4", "opzione5"}) {
    EXPECT_FALSE(finestra.findChild<QRadioButton*>(libera)->isChecked()) << libera;
  }
  EXPECT_EQ(Campo(finestra, "cellulare_paziente")->text(), QStringLiteral("3471234567"));
  EXPECT_EQ(Schede(finestra), (QStringList{"Dati aggiuntivi", "Genitore/Tutore legale #1",
                                           "Genitore/Tutore legale #2"}));
  EXPECT_EQ(Campo(*finestra.Schede()->widget(2), "cognome")->text(), QStringLiteral("COLOMBO"));
}

TEST(FinestraConsenso, SchedeDeiTutoriAggiunteERimosseConINumeriRifatti) {
  ModuloConsensoFSE form = Minore();
  FinestraConsenso finestra(form, {});
  auto* rimuovi = finestra.findChild<QPushButton*>("rimuovi");
  EXPECT_FALSE(rimuovi->isEnabled());  // "Dati aggiuntivi" stays

  Clic(finestra, "aggiungi");
  EXPECT_EQ(Schede(finestra).size(), 4);
  EXPECT_EQ(Schede(finestra).back(), QStringLiteral("Genitore/Tutore legale #3"));
  EXPECT_EQ(finestra.Schede()->currentIndex(), 3);
  EXPECT_TRUE(rimuovi->isEnabled());

  finestra.Schede()->setCurrentIndex(1);
  Clic(finestra, "rimuovi");
  EXPECT_EQ(Schede(finestra), (QStringList{"Dati aggiuntivi", "Genitore/Tutore legale #1",
                                           "Genitore/Tutore legale #2"}));
  EXPECT_EQ(Campo(*finestra.Schede()->widget(1), "cognome")->text(), QStringLiteral("COLOMBO"));

  ModuloConsensoFSE adulto = Minore();
  adulto.Minorenne = false;
  FinestraConsenso altra(adulto, {});
  EXPECT_EQ(Schede(altra),
            (QStringList{"Dati aggiuntivi", "Tutore legale #1", "Tutore legale #2"}));
}

TEST(FinestraConsenso, OKChiedeConfermaRestaApertaSuFalsoSiChiudeSuVero) {
  UiQt ui;
  ModuloConsensoFSE form = Minore();
  std::vector<ModuloConsensoFSE> visti;  // the form as each conferma saw it
  bool aperta_dopo_il_no = false;
  AzioniConsensoFSE azioni;
  azioni.conferma = [&] {
    visti.push_back(form);
    return visti.size() == 2;
  };
  prova::AlProssimoModale([&](QWidget& finestra) {
    Clic(finestra, "opzione3");  // consultation denied
    Clic(finestra, "opzione4");  // earlier documents given
    Campo(finestra, "cellulare_paziente")->clear();
    prova::Digita(Campo(finestra, "email_paziente"), QStringLiteral("giulia.ferrari@esempio.it"));
    auto& consenso = static_cast<FinestraConsenso&>(finestra);
    consenso.AggiungiTutore();
    prova::Digita(finestra.focusWidget(), QStringLiteral("RICCI"));
    QWidget* nuova = consenso.Schede()->currentWidget();
    prova::Digita(Campo(*nuova, "nome"), QStringLiteral("NICOLÒ"));
    prova::Digita(Campo(*nuova, "codice_fiscale"), QStringLiteral("RCCNCL75B10L736Y"));
    consenso.Schede()->setCurrentIndex(1);
    consenso.RimuoviTutoreCorrente();
    Clic(finestra, "ok");
    QTimer::singleShot(0, &finestra, [&] {
      aperta_dopo_il_no = finestra.isVisible();
      Clic(finestra, "ok");
    });
  });
  ASSERT_TRUE(ui.ConsensoFSE(form, azioni));
  ASSERT_EQ(visti.size(), 2u);
  EXPECT_TRUE(aperta_dopo_il_no);
  // The first conferma already saw the user's choices.
  EXPECT_EQ(visti[0].Opzioni, (std::array<bool, 6>{true, false, false, true, true, false}));
  EXPECT_EQ(visti[0].Cellulare, "");
  EXPECT_EQ(visti[0].Email, "giulia.ferrari@esempio.it");
  ASSERT_EQ(visti[0].Tutori.size(), 2u);
  EXPECT_EQ(visti[0].Tutori[0].Cognome, "COLOMBO");
  EXPECT_EQ(visti[0].Tutori[0].MPI, "MPI000456");
  EXPECT_EQ(visti[0].Tutori[1], (SchedaTutore{"RICCI", "NICOLÒ", "RCCNCL75B10L736Y", "", "", ""}));
  EXPECT_EQ(form.Opzioni, visti[0].Opzioni);
  EXPECT_EQ(form.Tutori, visti[0].Tutori);
}

TEST(FinestraConsenso, EscChiudeSenzaConferma) {
  UiQt ui;
  ModuloConsensoFSE form = Minore();
  int conferme = 0;
  AzioniConsensoFSE azioni;
  azioni.conferma = [&] { return ++conferme > 0; };
  prova::AlProssimoModale([](QWidget& finestra) { prova::Tasto(finestra, Qt::Key_Escape); });
  EXPECT_FALSE(ui.ConsensoFSE(form, azioni));
  EXPECT_EQ(conferme, 0);
}

TEST(FinestraConsenso, RiepilogoEInformativaChiamanoLeAzioni) {
  ModuloConsensoFSE form = Minore();
  int riepiloghi = 0, informative = 0;
  AzioniConsensoFSE azioni;
  azioni.riepilogo = [&] { ++riepiloghi; };
  azioni.informativa = [&] { ++informative; };
  FinestraConsenso finestra(form, azioni);
  Clic(finestra, "riepilogo");
  Clic(finestra, "riepilogo");
  Clic(finestra, "informativa");
  EXPECT_EQ(riepiloghi, 2);
  EXPECT_EQ(informative, 1);
}

TEST(FinestraConsenso, UnAvvisoDellaConfermaStaSopraIlModulo) {
  UiQt ui;
  ModuloConsensoFSE form = Minore();
  const QWidget* genitore_avviso = nullptr;
  QWidget* modulo = nullptr;
  AzioniConsensoFSE azioni;
  azioni.conferma = [&] {
    prova::AlProssimoModale(
        [&](QWidget& box) {
          genitore_avviso = box.parentWidget();
          prova::Tasto(box, Qt::Key_Return);
        },
        modulo);
    return ui.MsgBox("Confermare il RIFIUTO ALLA CONSULTAZIONE?",
                     core::stile::kSiNo | core::stile::kDomanda, "KIRO") == core::risposta::kSi;
  };
  prova::AlProssimoModale([&](QWidget& finestra) {
    modulo = &finestra;
    prova::Tasto(finestra, Qt::Key_Return);
  });
  EXPECT_TRUE(ui.ConsensoFSE(form, azioni));
  EXPECT_EQ(genitore_avviso, modulo);
}

TEST(FinestraConsenso, OrdineDelTab) {
  ModuloConsensoFSE form = Minore();
  AzioniConsensoFSE azioni;
  azioni.riepilogo = [] {};
  azioni.informativa = [] {};
  FinestraConsenso finestra(form, azioni);
  ASSERT_TRUE(prova::MostraAttiva(finestra));
  finestra.findChild<QRadioButton*>("opzione0")->setFocus();
  const QStringList giro = prova::GiroTab(finestra, 12);
  // One stop per pair of option buttons (the arrows move inside a pair),
  // the tabs and their fields, the guardians' buttons, the form's buttons.
  EXPECT_EQ(giro.mid(0, 7), (QStringList{"opzione0", "opzione2", "opzione4", "qt_tabwidget_tabbar",
                                         "cellulare_paziente", "email_paziente", "aggiungi"}));
  EXPECT_EQ(QSet<QString>(giro.begin() + 7, giro.begin() + 11),
            (QSet<QString>{"ok", "riepilogo", "informativa", "annulla"}));
  EXPECT_EQ(giro.mid(11, 1), QStringList{"opzione0"});
}

TEST(FinestraConsenso, ICampiStannoDallAltoNellOrdineInCuiSiLeggono) {
  ModuloConsensoFSE form = Minore();
  FinestraConsenso finestra(form, {});
  const QStringList recapiti{"cellulare_paziente", "email_paziente"};
  EXPECT_EQ(prova::DallAlto(finestra, recapiti), recapiti);
  finestra.Schede()->setCurrentIndex(1);
  const QStringList tutore{"cognome", "nome", "codice_fiscale", "cellulare", "email", "cerca"};
  EXPECT_EQ(prova::DallAlto(*finestra.Schede()->currentWidget(), tutore), tutore);
}

}  // namespace
}  // namespace qzkiro::qt
