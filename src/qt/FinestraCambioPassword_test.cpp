#include "qt/FinestraCambioPassword.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QSet>
#include <QTimer>
#include <QtTest/QTest>

#include "support/qt/ProvaQt.h"
#include "qt/UiQt.h"

namespace qzkiro::qt {
namespace {

QLineEdit* Campo(QWidget& finestra, const char* nome) {
  return finestra.findChild<QLineEdit*>(QString::fromLatin1(nome));
}

TEST(FinestraCambioPassword, SiApreSullaPasswordAttualeDellUtente) {
  frmUpdatePasswordAsserzione form;
  form.UserName = "mrossi";
  FinestraCambioPassword finestra(form);
  ASSERT_TRUE(prova::MostraAttiva(finestra));
  EXPECT_EQ(finestra.windowTitle(), QStringLiteral("Aggiorna Password"));
  EXPECT_EQ(Campo(finestra, "utente")->text(), QStringLiteral("mrossi"));
  for (const char* segreto : {"password", "nuova", "ridigita"}) {
    EXPECT_EQ(Campo(finestra, segreto)->echoMode(), QLineEdit::Password) << segreto;
  }
  const QStringList giro = prova::GiroTab(finestra, 5);
  EXPECT_EQ(giro.mid(0, 3), (QStringList{"password", "nuova", "ridigita"}));
  EXPECT_EQ(QSet<QString>(giro.begin() + 3, giro.begin() + 5), (QSet<QString>{"ok", "annulla"}));
  EXPECT_EQ(giro[5], QStringLiteral("utente"));
}

TEST(FinestraCambioPassword, UnaRipetizioneDiversaAvvisaPoiLeNuovePasswordArrivano) {
  UiQt ui;
  frmUpdatePasswordAsserzione form;
  form.UserName = "mrossi";
  QStringList avvisi;
  prova::AlProssimoModale([&](QWidget& finestra) {
    prova::Digita(Campo(finestra, "password"), QStringLiteral("vecchia"));
    prova::Digita(Campo(finestra, "nuova"), QStringLiteral("Nuova.2025"));
    prova::Digita(Campo(finestra, "ridigita"), QStringLiteral("Nuova.2052"));
    prova::AlProssimoModale(
        [&](QWidget& box) {
          avvisi << box.windowTitle() + QStringLiteral(": ") +
                        static_cast<QMessageBox&>(box).text();
          prova::Tasto(box, Qt::Key_Return);
          QTimer::singleShot(0, &finestra, [&] {
            // The focus is back on the repeated password, all of it selected.
            prova::Digita(finestra.focusWidget(), QStringLiteral("Nuova.2025"));
            prova::Tasto(finestra, Qt::Key_Return);
          });
        },
        &finestra);
    prova::Tasto(finestra, Qt::Key_Return);
  });
  ASSERT_TRUE(ui.CambioPassword(form));
  EXPECT_EQ(avvisi, QStringList{"KIRO: La nuova password non coincide con quella ridigitata"});
  EXPECT_EQ(form.UserName, "mrossi");
  EXPECT_EQ(form.Password, "vecchia");
  EXPECT_EQ(form.NuovaPassword, "Nuova.2025");
  EXPECT_EQ(form.Ridigita, "Nuova.2025");
}

TEST(FinestraCambioPassword, EscAnnulla) {
  UiQt ui;
  frmUpdatePasswordAsserzione form;
  prova::AlProssimoModale([](QWidget& finestra) {
    prova::Digita(finestra.focusWidget(), QStringLiteral("mrossi"));
    prova::Tasto(finestra, Qt::Key_Escape);
  });
  EXPECT_FALSE(ui.CambioPassword(form));
  EXPECT_EQ(form.UserName, "");
}

}  // namespace
}  // namespace qzkiro::qt
