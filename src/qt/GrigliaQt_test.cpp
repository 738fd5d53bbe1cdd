#include "qt/GrigliaQt.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTableView>

#include "support/qt/ProvaQt.h"

#include "qzkiro/Failure.h"

namespace qzkiro::qt {
namespace {

TEST(GrigliaQt, TextMatrixAndataERitornoERigheColonne) {
  QTableView vista;
  GrigliaQt griglia(vista);
  EXPECT_EQ(griglia.Rows(), 1);
  EXPECT_EQ(griglia.Cols(), 1);
  griglia.SetRows(3);
  griglia.SetCols(4);
  EXPECT_EQ(griglia.Rows(), 3);
  EXPECT_EQ(griglia.Cols(), 4);
  griglia.SetTextMatrix(0, 0, "Descrizione");
  griglia.SetTextMatrix(2, 3, "Attività è già 77,74%");
  EXPECT_EQ(griglia.TextMatrix(0, 0), "Descrizione");
  EXPECT_EQ(griglia.TextMatrix(2, 3), "Attività è già 77,74%");
  EXPECT_EQ(griglia.TextMatrix(1, 1), "");
  // Shrinking keeps the cells that still fit; growing adds empty ones.
  griglia.SetCols(1);
  griglia.SetCols(4);
  EXPECT_EQ(griglia.TextMatrix(0, 0), "Descrizione");
  EXPECT_EQ(griglia.TextMatrix(2, 3), "");
  griglia.SetRows(2);
  EXPECT_EQ(griglia.Rows(), 2);
}

TEST(GrigliaQt, FuoriDallaGrigliaFailure380) {
  QTableView vista;
  GrigliaQt griglia(vista);
  griglia.SetRows(2);
  griglia.SetCols(2);
  for (const auto& [r, c] : {std::pair{2, 0}, {0, 2}, {-1, 0}, {0, -1}}) {
    try {
      griglia.TextMatrix(r, c);
      ADD_FAILURE() << r << "," << c;
    } catch (const Failure& f) {
      EXPECT_EQ(f.Number(), 380);
    }
    EXPECT_THROW(griglia.SetTextMatrix(r, c, "x"), Failure);
  }
  EXPECT_THROW(griglia.SetRows(-1), Failure);
  EXPECT_THROW(griglia.SetCols(-1), Failure);
}

TEST(GrigliaQt, LaRigaFissaEIntestazioneDellaVista) {
  QTableView vista;
  GrigliaQt griglia(vista);
  griglia.SetRows(3);
  griglia.SetCols(2);
  griglia.SetFixedRows(1);
  griglia.SetTextMatrix(0, 0, "Descrizione");
  griglia.SetTextMatrix(0, 1, "Valore");
  griglia.SetTextMatrix(1, 0, "Registrazione SOF");
  griglia.SetTextMatrix(2, 1, "46.97");
  QAbstractItemModel* modello = vista.model();
  ASSERT_EQ(modello, &griglia.Modello());
  EXPECT_EQ(modello->rowCount(), 2);
  EXPECT_EQ(modello->columnCount(), 2);
  EXPECT_EQ(modello->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Valore"));
  EXPECT_EQ(modello->index(0, 0).data().toString(), QStringLiteral("Registrazione SOF"));
  EXPECT_EQ(modello->index(1, 1).data().toString(), QStringLiteral("46.97"));
  EXPECT_FALSE(modello->data(QModelIndex()).isValid()) << "no cell for an invalid index";
  griglia.SetFixedRows(0);
  EXPECT_EQ(modello->rowCount(), 3);
  EXPECT_EQ(modello->index(0, 0).data().toString(), QStringLiteral("Descrizione"));
}

TEST(GrigliaQt, SenzaRidisegnoNessunAvvisoPoiUnSoloAzzeramento) {
  QTableView vista;
  GrigliaQt griglia(vista);
  QSignalSpy celle(&griglia.Modello(), &QAbstractItemModel::dataChanged);
  QSignalSpy azzeramenti(&griglia.Modello(), &QAbstractItemModel::modelReset);
  griglia.SetRedraw(false);
  griglia.SetRows(10);
  griglia.SetCols(4);
  for (int r = 0; r < 10; ++r) griglia.SetTextMatrix(r, 1, std::to_string(r));
  EXPECT_EQ(celle.count(), 0);
  EXPECT_EQ(azzeramenti.count(), 0);
  EXPECT_EQ(griglia.TextMatrix(9, 1), "9");
  griglia.SetRedraw(true);
  EXPECT_EQ(azzeramenti.count(), 1);
  EXPECT_EQ(vista.model()->rowCount(), 9);
  griglia.SetTextMatrix(5, 2, "x");
  EXPECT_EQ(celle.count(), 1);
}

TEST(GrigliaQt, LaVistaSopravviveAllaGrigliaEViceversa) {
  auto vista = std::make_unique<QTableView>();
  {
    GrigliaQt griglia(*vista);
    EXPECT_NE(vista->model(), nullptr);
  }
  EXPECT_EQ(vista->model(), nullptr);
  GrigliaQt griglia(*vista);
  vista.reset();
  griglia.SetRedraw(false);
  griglia.SetRedraw(true);
  EXPECT_EQ(griglia.Rows(), 1);
}

}  // namespace
}  // namespace qzkiro::qt
