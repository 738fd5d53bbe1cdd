#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "qzkiro/host/Griglia.h"

namespace qzkiro::refhost {

// The host form's grid, held in memory: a table of texts of Rows × Cols
// cells (one row and one column to start, as the control has).
class Griglia : public host::IGriglia {
 public:
  std::int32_t Rows() override { return static_cast<std::int32_t>(celle_.size()); }
  void SetRows(std::int32_t rows) override;
  std::int32_t Cols() override { return cols_; }
  void SetCols(std::int32_t cols) override;
  void SetFixedRows(std::int32_t rows) override { fisse_ = rows; }
  std::string TextMatrix(std::int32_t row, std::int32_t col) override;
  void SetTextMatrix(std::int32_t row, std::int32_t col, const std::string& text) override;
  void SetRedraw(bool redraw) override { redraw_ = redraw; }

  std::int32_t FixedRows() const { return fisse_; }
  bool Redraw() const { return redraw_; }

 private:
  std::vector<std::string>& Cella(std::int32_t row, std::int32_t col);

  std::vector<std::vector<std::string>> celle_{std::vector<std::string>(1)};
  std::int32_t cols_ = 1;
  std::int32_t fisse_ = 1;
  bool redraw_ = true;
};

// The host form's progress bar: keeps every value it was given, in order.
class ProgressBar : public host::IProgressBar {
 public:
  std::int32_t Min() override { return min_; }
  void SetMin(std::int32_t min) override;
  std::int32_t Max() override { return max_; }
  void SetMax(std::int32_t max) override;
  std::int32_t Value() override { return valore_; }
  void SetValue(std::int32_t value) override;
  void SetVisible(bool visible) override { visibile_ = visible; }

  bool Visible() const { return visibile_; }
  const std::vector<std::int32_t>& Valori() const { return valori_; }

 private:
  std::int32_t min_ = 0, max_ = 100, valore_ = 0;
  bool visibile_ = true;
  std::vector<std::int32_t> valori_;
};

}  // namespace qzkiro::refhost
