#pragma once

#include <cstdint>
#include <string>

#include "qzkiro/host/Object.h"

namespace qzkiro::host {

// A grid of the host's forms ("Grid1"): rows and columns counted from 0, row
// 0 being the header when the add-on writes one. Setting Rows or Cols keeps
// the cells that still fit and empties the new ones.
class IGriglia : public Object {
 public:
  virtual std::int32_t Rows() = 0;
  virtual void SetRows(std::int32_t rows) = 0;
  virtual std::int32_t Cols() = 0;
  virtual void SetCols(std::int32_t cols) = 0;
  // Rows at the top that do not scroll (the header).
  virtual void SetFixedRows(std::int32_t rows) = 0;
  // A cell's text; Failure when the cell is outside the grid.
  virtual std::string TextMatrix(std::int32_t row, std::int32_t col) = 0;
  virtual void SetTextMatrix(std::int32_t row, std::int32_t col, const std::string& text) = 0;
  // Stops and resumes repainting while many cells change.
  virtual void SetRedraw(bool redraw) = 0;
};

// A progress bar of the host's forms ("ProgressBar1"): Value runs from Min to
// Max; a value outside them is refused with Failure, as the control does.
class IProgressBar : public Object {
 public:
  virtual std::int32_t Min() = 0;
  virtual void SetMin(std::int32_t min) = 0;
  virtual std::int32_t Max() = 0;
  virtual void SetMax(std::int32_t max) = 0;
  virtual std::int32_t Value() = 0;
  virtual void SetValue(std::int32_t value) = 0;
  virtual void SetVisible(bool visible) = 0;
};

}  // namespace qzkiro::host
