#include "flows/pdta/GrigliaPDTA.h"

#include <algorithm>

#include "core/Contesto.h"

namespace qzkiro::pdta {

std::int32_t RiempiGriglia(host::IGriglia& griglia, host::IProgressBar* barra,
                           const std::vector<std::string>& intestazioni,
                           const std::vector<std::vector<std::string>>& righe) {
  const auto n = static_cast<std::int32_t>(righe.size());
  const auto colonne = static_cast<std::int32_t>(intestazioni.size());
  if (barra) {
    barra->SetMin(0);
    barra->SetMax(std::max<std::int32_t>(n, 1));
    barra->SetValue(0);
  }
  griglia.SetRedraw(false);
  griglia.SetRows(n + 1);
  griglia.SetCols(colonne);
  griglia.SetFixedRows(1);
  for (std::int32_t c = 0; c < colonne; ++c) {
    griglia.SetTextMatrix(0, c, intestazioni[static_cast<std::size_t>(c)]);
  }
  for (std::int32_t r = 0; r < n; ++r) {
    const auto& riga = righe[static_cast<std::size_t>(r)];
    for (std::int32_t c = 0; c < colonne; ++c) {
      const auto i = static_cast<std::size_t>(c);
      griglia.SetTextMatrix(r + 1, c, i < riga.size() ? riga[i] : std::string());
    }
    if (barra) barra->SetValue(r + 1);
  }
  griglia.SetRedraw(true);
  if (barra) barra->SetValue(0);
  return n;
}

std::shared_ptr<host::IGriglia> GrigliaDi(const host::Variant& grid) {
  auto griglia = grid.As<host::IGriglia>();
  if (!griglia) core::Ctx().last_error = "Griglia degli indicatori non disponibile";
  return griglia;
}

std::int32_t MostraRighe(host::Variant& grid, host::Variant& barra,
                         const std::vector<std::string>& intestazioni,
                         const std::optional<std::vector<std::vector<std::string>>>& righe) {
  auto griglia = GrigliaDi(grid);
  if (!griglia) return 0;
  if (!righe) {
    core::Ctx().last_error = "Dati degli indicatori PDTA non validi: ricaricare gli indicatori";
    return 0;
  }
  auto progresso = barra.As<host::IProgressBar>();
  return RiempiGriglia(*griglia, progresso.get(), intestazioni, *righe);
}

}  // namespace qzkiro::pdta
