#include "qt/BarraQt.h"

#include <string>

#include "qt/ValoreNonValido.h"

namespace qzkiro::qt {

BarraQt::BarraQt(QProgressBar& barra) : barra_(&barra) {
  Aggiorna();
}

void BarraQt::Aggiorna() {
  if (!barra_) return;
  barra_->setRange(min_, max_);
  barra_->setValue(valore_);
}

void BarraQt::SetMin(std::int32_t min) {
  if (min > max_) ValoreNonValido("Min");
  min_ = min;
  if (valore_ < min_) valore_ = min_;
  Aggiorna();
}

void BarraQt::SetMax(std::int32_t max) {
  if (max < min_) ValoreNonValido("Max");
  max_ = max;
  if (valore_ > max_) valore_ = max_;
  Aggiorna();
}

void BarraQt::SetValue(std::int32_t value) {
  if (value < min_ || value > max_) ValoreNonValido("Value");
  valore_ = value;
  Aggiorna();
}

void BarraQt::SetVisible(bool visible) {
  if (barra_) barra_->setVisible(visible);
}

}  // namespace qzkiro::qt
