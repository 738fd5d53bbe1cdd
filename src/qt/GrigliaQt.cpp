#include "qt/GrigliaQt.h"

#include <QHeaderView>

#include "qt/TestoQt.h"

namespace qzkiro::qt {

GrigliaQt::GrigliaQt(QTableView& vista)
    : modello_(std::make_unique<ModelloGriglia>()), vista_(&vista) {
  vista.setModel(modello_.get());
  vista.verticalHeader()->hide();
  vista.setEditTriggers(QAbstractItemView::NoEditTriggers);
  vista.setSelectionBehavior(QAbstractItemView::SelectRows);
  vista.setWordWrap(false);
}

GrigliaQt::~GrigliaQt() {
  if (vista_ && vista_->model() == modello_.get()) vista_->setModel(nullptr);
}

std::int32_t GrigliaQt::Rows() {
  return modello_->Righe();
}

void GrigliaQt::SetRows(std::int32_t rows) {
  modello_->ImpostaRighe(rows);
}

std::int32_t GrigliaQt::Cols() {
  return modello_->Colonne();
}

void GrigliaQt::SetCols(std::int32_t cols) {
  modello_->ImpostaColonne(cols);
}

void GrigliaQt::SetFixedRows(std::int32_t rows) {
  modello_->ImpostaRigheFisse(rows);
}

std::string GrigliaQt::TextMatrix(std::int32_t row, std::int32_t col) {
  return U(modello_->Testo(row, col));
}

void GrigliaQt::SetTextMatrix(std::int32_t row, std::int32_t col, const std::string& text) {
  modello_->ImpostaTesto(row, col, Q(text));
}

void GrigliaQt::SetRedraw(bool redraw) {
  modello_->Pausa(!redraw);
  if (vista_) {
    vista_->setUpdatesEnabled(redraw);
    if (redraw) {
      vista_->resizeColumnsToContents();
      vista_->updateGeometry();
    }
  }
}

}  // namespace qzkiro::qt
