#include "qt/FinestraCredenziali.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QSet>
#include <QTimer>
#include <QtTest/QTest>

#include "support/qt/ProvaQt.h"
#include "qt/UiQt.h"

namespace qzkiro::qt {
namespace {

frmPasswordAsserzione Ricordate() {
  frmPasswordAsserzione form;
  form.UserName = "mrossi";
  form.Password = "vecchia";
  form.Responsabili = {{"RSSMRA60A01L736U", "ROSSI MARIO"}, {"BNCLRA72M45F241K", "BIANCHI LAURA"}};
  form.IndiceResponsabile = 0;
  form.Ricorda = true;
  return form;
}

template <class T>
T* Campo(QWidget& finestra, const char* nome) {
  T* campo = finestra.findChild<T*>(QString::fromLatin1(nome));
  EXPECT_NE(campo, nullptr) << nome;
  return campo;
}

TEST(FinestraCredenziali, SiApreConLeCredenzialiRicordate) {
  frmPasswordAsserzione form = Ricordate();
  FinestraCredenziali finestra(form);
  ASSERT_TRUE(prova::MostraAttiva(finestra));
  EXPECT_EQ(Campo<QLineEdit>(finestra, "utente")->text(), QStringLiteral("mrossi"));
  EXPECT_EQ(Campo<QLineEdit>(finestra, "password")->text(), QStringLiteral("vecchia"));
  EXPECT_EQ(Campo<QLineEdit>(finestra, "password")->echoMode(), QLineEdit::Password);
  auto* responsabile = Campo<QComboBox>(finestra, "responsabile");
  EXPECT_EQ(responsabile->count(), 2);
  EXPECT_EQ(responsabile->currentText(), QStringLiteral("ROSSI MARIO"));
  EXPECT_TRUE(Campo<QCheckBox>(finestra, "ricorda")->isChecked());
  // A remembered user only has to type the password.
  EXPECT_EQ(finestra.focusWidget(), Campo<QLineEdit>(finestra, "password"));
}

TEST(FinestraCredenziali, OrdineDelTab) {
  frmPasswordAsserzione form;
  form.Responsabili = {{"RSSMRA60A01L736U", "ROSSI MARIO"}};
  FinestraCredenziali finestra(form);
  ASSERT_TRUE(prova::MostraAttiva(finestra));
  const QStringList giro = prova::GiroTab(finestra, 6);
  EXPECT_EQ(giro.mid(0, 4), (QStringList{"utente", "password", "responsabile", "ricorda"}));
  EXPECT_EQ(QSet<QString>(giro.begin() + 4, giro.begin() + 6), (QSet<QString>{"ok", "annulla"}));
  EXPECT_EQ(giro[6], QStringLiteral("utente"));
}

TEST(FinestraCredenziali, QuelloCheSiDigitaEOKRiempionoIlModulo) {
  UiQt ui;
  frmPasswordAsserzione form;
  form.Responsabili = {{"RSSMRA60A01L736U", "ROSSI MARIO"}, {"BNCLRA72M45F241K", "BIANCHI LAURA"}};
  prova::AlProssimoModale([](QWidget& finestra) {
    prova::Digita(finestra.focusWidget(), QStringLiteral("lbianchi"));
    prova::Tasto(finestra, Qt::Key_Tab);
    prova::Digita(finestra.focusWidget(), QStringLiteral("Passwòrd.1"));
    prova::Tasto(finestra, Qt::Key_Tab);
    prova::Tasto(finestra, Qt::Key_Down);
    prova::Tasto(finestra, Qt::Key_Down);
    prova::Tasto(finestra, Qt::Key_Tab);
    prova::Tasto(finestra, Qt::Key_Space);
    prova::Tasto(finestra, Qt::Key_Return);
  });
  ASSERT_TRUE(ui.Credenziali(form));
  EXPECT_EQ(form.UserName, "lbianchi");
  EXPECT_EQ(form.Password, "Passwòrd.1");
  EXPECT_EQ(form.IndiceResponsabile, 1);
  ASSERT_NE(form.Scelto(), nullptr);
  EXPECT_EQ(form.Scelto()->CodiceFiscale, "BNCLRA72M45F241K");
  EXPECT_TRUE(form.Ricorda);
}

TEST(FinestraCredenziali, EscAnnullaELasciaIlModuloComEra) {
  UiQt ui;
  frmPasswordAsserzione form = Ricordate();
  prova::AlProssimoModale([](QWidget& finestra) {
    prova::Digita(finestra.focusWidget(), QStringLiteral("altra"));
    prova::Tasto(finestra, Qt::Key_Escape);
  });
  EXPECT_FALSE(ui.Credenziali(form));
  EXPECT_EQ(form.Password, "vecchia");
}

TEST(FinestraCredenziali, LAvvisoDiValidaLasciaLaFinestraAperta) {
  UiQt ui;
  frmPasswordAsserzione form = Ricordate();
  form.UserName.clear();
  QString titolo, avviso;
  bool aperta_dopo_l_avviso = false;
  prova::AlProssimoModale([&](QWidget& finestra) {
    prova::AlProssimoModale(
        [&](QWidget& box) {
          titolo = box.windowTitle();
          avviso = static_cast<QMessageBox&>(box).text();
          prova::Tasto(box, Qt::Key_Return);
          QTimer::singleShot(0, &finestra, [&] {
            aperta_dopo_l_avviso = finestra.isVisible();
            prova::Digita(Campo<QLineEdit>(finestra, "utente"), QStringLiteral("mrossi"));
            prova::Tasto(finestra, Qt::Key_Return);
          });
        },
        &finestra);
    prova::Tasto(finestra, Qt::Key_Return);  // empty user name
  });
  ASSERT_TRUE(ui.Credenziali(form));
  EXPECT_EQ(titolo, QStringLiteral("KIRO"));
  EXPECT_EQ(avviso, QStringLiteral("Il nome utente non può essere vuoto"));
  EXPECT_TRUE(aperta_dopo_l_avviso);
  EXPECT_EQ(form.UserName, "mrossi");
}

TEST(FinestraCredenziali, SenzaResponsabileLAvvisoDelResponsabile) {
  frmPasswordAsserzione form = Ricordate();
  form.IndiceResponsabile = -1;
  FinestraCredenziali finestra(form);
  QString avviso;
  prova::AlProssimoModale([&](QWidget& box) {
    avviso = static_cast<QMessageBox&>(box).text();
    prova::Tasto(box, Qt::Key_Escape);
  });
  finestra.accept();
  EXPECT_EQ(avviso, QStringLiteral("Il nome del responsabile non può essere vuoto"));
  EXPECT_EQ(finestra.result(), QDialog::Rejected);
  EXPECT_EQ(form.IndiceResponsabile, -1);
}

}  // namespace
}  // namespace qzkiro::qt
