#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <vector>

/// \file
/// The table of texts behind GrigliaQt.

namespace qzkiro::qt {

/// A grid of Rows × Cols texts addressed as the host's grid control does
/// (row and column from 0, the fixed rows included), shown as a table
/// model: when the grid has fixed rows, row 0 is the view's horizontal
/// header and the model's rows are the grid's rows from 1; otherwise every
/// row is a model row. Changing Rows or Cols keeps the cells that still fit.
///
/// While paused (Pausa(true)) the model tells its views nothing; resuming
/// resets them once, so that filling many cells costs one repaint.
class ModelloGriglia : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit ModelloGriglia(QObject* genitore = nullptr);

  std::int32_t Righe() const { return static_cast<std::int32_t>(celle_.size()); }
  /// Sets the number of rows; Failure (380) when negative.
  void ImpostaRighe(std::int32_t righe);
  std::int32_t Colonne() const { return colonne_; }
  /// Sets the number of columns; Failure (380) when negative.
  void ImpostaColonne(std::int32_t colonne);
  std::int32_t RigheFisse() const { return fisse_; }
  /// Sets the fixed rows; Failure (380) when negative.
  void ImpostaRigheFisse(std::int32_t righe);
  /// A cell's text; Failure (380) outside the grid.
  const QString& Testo(std::int32_t riga, std::int32_t colonna) const;
  /// Sets a cell's text; Failure (380) outside the grid.
  void ImpostaTesto(std::int32_t riga, std::int32_t colonna, const QString& testo);
  /// Stops (true) or resumes (false) telling the views about changes.
  void Pausa(bool pausa);

  int rowCount(const QModelIndex& genitore = QModelIndex()) const override;
  int columnCount(const QModelIndex& genitore = QModelIndex()) const override;
  QVariant data(const QModelIndex& indice, int ruolo = Qt::DisplayRole) const override;
  QVariant headerData(int sezione, Qt::Orientation orientamento,
                      int ruolo = Qt::DisplayRole) const override;

 private:
  // Model rows start here: 1 with a header row, 0 without.
  int Primo() const { return fisse_ > 0 && !celle_.empty() ? 1 : 0; }
  void Controlla(std::int32_t riga, std::int32_t colonna) const;
  void Cambiata(std::int32_t riga, std::int32_t colonna);
  template <class Modifica>
  void Struttura(Modifica&& modifica);

  std::vector<std::vector<QString>> celle_;
  std::int32_t colonne_ = 1;
  std::int32_t fisse_ = 1;
  bool pausa_ = false;
};

}  // namespace qzkiro::qt
