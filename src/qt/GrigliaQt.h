#pragma once

#include <QPointer>
#include <QTableView>
#include <memory>

#include "qt/ModelloGriglia.h"
#include "qzkiro/host/Griglia.h"

/// \file
/// The host's grid on a Qt table view.

namespace qzkiro::qt {

/// The host's grid ("Grid1") that the PDTA operations fill, shown in a
/// QTableView of the host's form: the cells live in a ModelloGriglia owned
/// by this object; row 0, when fixed, is the view's header. SetRedraw(false)
/// pauses the model and the view's painting until SetRedraw(true).
class GrigliaQt : public host::IGriglia {
 public:
  /// Attaches the grid to `vista`, which the host's form owns.
  explicit GrigliaQt(QTableView& vista);
  /// Detaches the model from the view when the view is still there.
  ~GrigliaQt() override;
  GrigliaQt(const GrigliaQt&) = delete;
  GrigliaQt& operator=(const GrigliaQt&) = delete;

  std::int32_t Rows() override;
  void SetRows(std::int32_t rows) override;
  std::int32_t Cols() override;
  void SetCols(std::int32_t cols) override;
  void SetFixedRows(std::int32_t rows) override;
  std::string TextMatrix(std::int32_t row, std::int32_t col) override;
  void SetTextMatrix(std::int32_t row, std::int32_t col, const std::string& text) override;
  void SetRedraw(bool redraw) override;

  /// The cells as the view sees them.
  ModelloGriglia& Modello() { return *modello_; }

 private:
  std::unique_ptr<ModelloGriglia> modello_;
  QPointer<QTableView> vista_;
};

}  // namespace qzkiro::qt
