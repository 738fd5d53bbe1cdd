#include "qt/ModelloGriglia.h"

#include <string>

#include "qt/ValoreNonValido.h"

namespace qzkiro::qt {

// One row and one column to start, as the host's control has.
ModelloGriglia::ModelloGriglia(QObject* genitore)
    : QAbstractTableModel(genitore), celle_(1, std::vector<QString>(1)) {}

template <class Modifica>
void ModelloGriglia::Struttura(Modifica&& modifica) {
  if (pausa_) {
    modifica();
    return;
  }
  beginResetModel();
  modifica();
  endResetModel();
}

void ModelloGriglia::ImpostaRighe(std::int32_t righe) {
  if (righe < 0) ValoreNonValido("Rows");
  Struttura([&] {
    celle_.resize(static_cast<std::size_t>(righe),
                  std::vector<QString>(static_cast<std::size_t>(colonne_)));
  });
}

void ModelloGriglia::ImpostaColonne(std::int32_t colonne) {
  if (colonne < 0) ValoreNonValido("Cols");
  Struttura([&] {
    colonne_ = colonne;
    for (auto& riga : celle_) riga.resize(static_cast<std::size_t>(colonne));
  });
}

void ModelloGriglia::ImpostaRigheFisse(std::int32_t righe) {
  if (righe < 0) ValoreNonValido("FixedRows");
  Struttura([&] { fisse_ = righe; });
}

void ModelloGriglia::Controlla(std::int32_t riga, std::int32_t colonna) const {
  if (riga < 0 || colonna < 0 || riga >= Righe() || colonna >= colonne_) {
    ValoreNonValido("TextMatrix(" + std::to_string(riga) + ", " + std::to_string(colonna) + ")");
  }
}

const QString& ModelloGriglia::Testo(std::int32_t riga, std::int32_t colonna) const {
  Controlla(riga, colonna);
  return celle_[static_cast<std::size_t>(riga)][static_cast<std::size_t>(colonna)];
}

void ModelloGriglia::ImpostaTesto(std::int32_t riga, std::int32_t colonna, const QString& testo) {
  Controlla(riga, colonna);
  celle_[static_cast<std::size_t>(riga)][static_cast<std::size_t>(colonna)] = testo;
  if (!pausa_) Cambiata(riga, colonna);
}

void ModelloGriglia::Cambiata(std::int32_t riga, std::int32_t colonna) {
  if (riga < Primo()) {
    emit headerDataChanged(Qt::Horizontal, colonna, colonna);
    return;
  }
  const QModelIndex i = index(riga - Primo(), colonna);
  emit dataChanged(i, i, {Qt::DisplayRole});
}

void ModelloGriglia::Pausa(bool pausa) {
  if (pausa == pausa_) return;
  if (pausa) {
    // Views must not read the cells while they change unannounced.
    beginResetModel();
    pausa_ = true;
    return;
  }
  pausa_ = false;
  endResetModel();
}

int ModelloGriglia::rowCount(const QModelIndex& genitore) const {
  if (genitore.isValid() || pausa_) return 0;
  return Righe() - Primo();
}

int ModelloGriglia::columnCount(const QModelIndex& genitore) const {
  return genitore.isValid() || pausa_ ? 0 : colonne_;
}

QVariant ModelloGriglia::data(const QModelIndex& indice, int ruolo) const {
  if (ruolo != Qt::DisplayRole || !indice.isValid() || pausa_) return {};
  const int riga = indice.row() + Primo();
  if (riga >= Righe() || indice.column() >= colonne_) return {};
  return celle_[static_cast<std::size_t>(riga)][static_cast<std::size_t>(indice.column())];
}

QVariant ModelloGriglia::headerData(int sezione, Qt::Orientation orientamento, int ruolo) const {
  if (ruolo != Qt::DisplayRole || orientamento != Qt::Horizontal || Primo() == 0 || pausa_ ||
      sezione < 0 || sezione >= colonne_) {
    return QAbstractTableModel::headerData(sezione, orientamento, ruolo);
  }
  return celle_.front()[static_cast<std::size_t>(sezione)];
}

}  // namespace qzkiro::qt
