#include "refhost/Griglia.h"

#include "qzkiro/Failure.h"

namespace qzkiro::refhost {

namespace {

// The control's own error for a value it does not accept.
constexpr long kValoreNonValido = 380;

[[noreturn]] void NonValido(const std::string& cosa) {
  throw Failure(kValoreNonValido, "Valore della proprietà non valido: " + cosa);
}

}  // namespace

void Griglia::SetRows(std::int32_t rows) {
  if (rows < 0) NonValido("Rows");
  celle_.resize(static_cast<std::size_t>(rows), std::vector<std::string>(cols_));
}

void Griglia::SetCols(std::int32_t cols) {
  if (cols < 0) NonValido("Cols");
  cols_ = cols;
  for (auto& riga : celle_) riga.resize(static_cast<std::size_t>(cols));
}

std::vector<std::string>& Griglia::Cella(std::int32_t row, std::int32_t col) {
  if (row < 0 || col < 0 || row >= Rows() || col >= cols_) {
    NonValido("TextMatrix(" + std::to_string(row) + ", " + std::to_string(col) + ")");
  }
  return celle_[static_cast<std::size_t>(row)];
}

std::string Griglia::TextMatrix(std::int32_t row, std::int32_t col) {
  return Cella(row, col)[static_cast<std::size_t>(col)];
}

void Griglia::SetTextMatrix(std::int32_t row, std::int32_t col, const std::string& text) {
  Cella(row, col)[static_cast<std::size_t>(col)] = text;
}

void ProgressBar::SetMin(std::int32_t min) {
  if (min > max_) NonValido("Min");
  min_ = min;
  if (valore_ < min_) valore_ = min_;
}

void ProgressBar::SetMax(std::int32_t max) {
  if (max < min_) NonValido("Max");
  max_ = max;
  if (valore_ > max_) valore_ = max_;
}

void ProgressBar::SetValue(std::int32_t value) {
  if (value < min_ || value > max_) NonValido("Value");
  valore_ = value;
  valori_.push_back(value);
}

}  // namespace qzkiro::refhost
