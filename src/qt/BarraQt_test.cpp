#include "qt/BarraQt.h"

#include <gtest/gtest.h>

#include "qzkiro/Failure.h"

namespace qzkiro::qt {
namespace {

TEST(BarraQt, IValoriArrivanoAllaBarra) {
  QProgressBar barra;
  BarraQt progresso(barra);
  EXPECT_EQ(progresso.Min(), 0);
  EXPECT_EQ(progresso.Max(), 100);
  progresso.SetMax(11);
  progresso.SetValue(7);
  EXPECT_EQ(progresso.Value(), 7);
  EXPECT_EQ(barra.maximum(), 11);
  EXPECT_EQ(barra.value(), 7);
  progresso.SetVisible(false);
  EXPECT_TRUE(barra.isHidden());
}

TEST(BarraQt, ValoriRifiutatiComeDalControllo) {
  QProgressBar barra;
  BarraQt progresso(barra);
  progresso.SetMax(10);
  EXPECT_THROW(progresso.SetValue(11), Failure);
  EXPECT_THROW(progresso.SetValue(-1), Failure);
  EXPECT_THROW(progresso.SetMin(11), Failure);
  progresso.SetValue(8);
  progresso.SetMax(5);  // the value moves inside
  EXPECT_EQ(progresso.Value(), 5);
  EXPECT_EQ(barra.value(), 5);
  progresso.SetMin(3);
  EXPECT_THROW(progresso.SetMax(2), Failure);
  EXPECT_EQ(barra.minimum(), 3);
}

}  // namespace
}  // namespace qzkiro::qt
