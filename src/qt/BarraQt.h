#pragma once

#include <QPointer>
#include <QProgressBar>

#include "qzkiro/host/Griglia.h"

/// \file
/// The host's progress bar on a Qt progress bar.

namespace qzkiro::qt {

/// The host's progress bar ("ProgressBar1") on a QProgressBar of the host's
/// form: 0 to 100 to start; a value outside Min..Max, a Min above Max or a
/// Max below Min is refused with Failure (380), as the control does. A Min
/// or Max that leaves the value outside moves the value inside.
class BarraQt : public host::IProgressBar {
 public:
  /// Drives `barra`, which the host's form owns.
  explicit BarraQt(QProgressBar& barra);

  std::int32_t Min() override { return min_; }
  void SetMin(std::int32_t min) override;
  std::int32_t Max() override { return max_; }
  void SetMax(std::int32_t max) override;
  std::int32_t Value() override { return valore_; }
  void SetValue(std::int32_t value) override;
  void SetVisible(bool visible) override;

 private:
  void Aggiorna();

  QPointer<QProgressBar> barra_;
  std::int32_t min_ = 0;
  std::int32_t max_ = 100;
  std::int32_t valore_ = 0;
};

}  // namespace qzkiro::qt
