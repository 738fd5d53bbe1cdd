#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "qzkiro/host/Archivio.h"
#include "qzkiro/host/Workspace.h"
#include "refhost/Workspace.h"

namespace qzkiro::refhost {

// What a month's flow set reads: the host database (workspace records of
// every patient), the user's schema, the patients' archive, and the folder
// where the set is kept ("flussi/<yyyymm>.json").
struct SorgenteFlussi {
  SorgenteWorkspace workspace;
  std::function<std::shared_ptr<host::IArchivioPazienti>()> pazienti;
  std::filesystem::path cartella;
};

// The care-plan flows of one month (host::IFlussi). AnalisiDati makes a flow
// for every patient with accesses, home visits, measures or vaccinations in
// the month, restoring what a previous Salva kept of it (state, receipt,
// dates); RecordsLocali turns the patient's records of the month into flow
// items: accesses (Tipo 1, the access code in t1), home visits (Tipo 4),
// vaccinations (Tipo 6, from the history item), and the diastolic pressure
// and heart rate (Tipo 7) of a patient in diabetes care.
class FlussiMese : public host::IFlussi {
 public:
  FlussiMese(std::string mese, SorgenteFlussi sorgente);
  bool AnalisiDati() override;
  std::string IDFlusso() override { return id_; }
  bool CreaFlusso() override;
  std::vector<std::shared_ptr<host::IFlusso>> ListaFlussiInviabili(
      const std::string& codice_fiscale) override;
  std::vector<std::shared_ptr<host::IItemFlusso>> RecordsLocali(host::IFlusso& flusso) override;
  bool Salva() override;

 private:
  std::filesystem::path File() const;

  std::string mese_;    // "mm/yyyy"
  std::string inizio_;  // "yyyymmdd" of the first day, "" when the month is not valid
  SorgenteFlussi sorgente_;
  std::string id_;
  // By fiscal code, in the order of the patients' ids.
  std::map<std::string, std::shared_ptr<host::IFlusso>> flussi_;
};

}  // namespace qzkiro::refhost
