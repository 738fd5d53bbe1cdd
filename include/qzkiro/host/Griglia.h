#pragma once

#include <cstdint>
#include <string>

#include "qzkiro/host/Object.h"

/// \file
/// The grid and progress bar of the host's forms that the PDTA operations
/// fill.

namespace qzkiro::host {

/// A grid of the host's forms ("Grid1"): rows and columns counted from 0, row
/// 0 being the header when the add-on writes one. Setting Rows or Cols keeps
/// the cells that still fit and empties the new ones.
class IGriglia : public Object {
 public:
  /// The number of rows, the header included.
  virtual std::int32_t Rows() = 0;
  /// Sets the number of rows, the header included.
  virtual void SetRows(std::int32_t rows) = 0;
  /// The number of columns.
  virtual std::int32_t Cols() = 0;
  /// Sets the number of columns.
  virtual void SetCols(std::int32_t cols) = 0;
  /// Rows at the top that do not scroll (the header).
  virtual void SetFixedRows(std::int32_t rows) = 0;
  /// A cell's text; Failure when the cell is outside the grid.
  virtual std::string TextMatrix(std::int32_t row, std::int32_t col) = 0;
  /// Sets a cell's text; Failure when the cell is outside the grid.
  virtual void SetTextMatrix(std::int32_t row, std::int32_t col, const std::string& text) = 0;
  /// Stops (false) and resumes (true) repainting while many cells change.
  virtual void SetRedraw(bool redraw) = 0;
};

/// A progress bar of the host's forms ("ProgressBar1"): Value runs from Min to
/// Max; a value outside them is refused with Failure, as the control does.
class IProgressBar : public Object {
 public:
  /// The lowest value.
  virtual std::int32_t Min() = 0;
  /// Sets the lowest value.
  virtual void SetMin(std::int32_t min) = 0;
  /// The highest value.
  virtual std::int32_t Max() = 0;
  /// Sets the highest value.
  virtual void SetMax(std::int32_t max) = 0;
  /// The current value.
  virtual std::int32_t Value() = 0;
  /// Sets the current value, from Min to Max.
  virtual void SetValue(std::int32_t value) = 0;
  /// Shows or hides the bar.
  virtual void SetVisible(bool visible) = 0;
};

}  // namespace qzkiro::host
