#include "flows/asl/VerificaPPIP.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "core/Contesto.h"
#include "qzkiro/host/Archivio.h"
#include "qzkiro/host/Collection.h"
#include "qzkiro/host/Workspace.h"
#include "util/DataOra.h"

namespace qzkiro::asl {

namespace {

constexpr const char* kUnita = "050505";
constexpr const char* kInizioFlusso = "20180701";
constexpr int kRecordPPIP = 209;
constexpr const char* kDal = "01/01/2018";
constexpr const char* kAl = "30/06/2018";

bool OttoCifre(const std::string& t) {
  return t.size() >= 8 && std::all_of(t.begin(), t.begin() + 8,
                                      [](unsigned char c) { return std::isdigit(c) != 0; });
}

// The history's items of the new codes, in the history's order.
std::vector<std::shared_ptr<host::IItemStorico>> PPIPNuoviCodici(host::IApplication& app) {
  auto archivio = host::Come<host::IArchivioPPIP>(app.Archivio("PPIP"), "PPIP");
  std::vector<std::shared_ptr<host::IItemStorico>> trovate;
  for (auto& voce : app.Utente().Storico().Lista(kRecordPPIP, kDal, kAl)) {
    if (!voce || !voce->FromStringPPIP()) continue;
    if (CodiceNuovoPPIP(archivio->DaiCodice(voce->Membro("IDRif1").ToText()))) {
      trovate.push_back(voce);
    }
  }
  return trovate;
}

bool Verifica(host::Variant& DallaData, host::Variant& Lista) {
  auto& c = core::Ctx();
  auto& app = c.App();
  if (app.Utente().CodiceRegioneASL() != kUnita) return true;
  if (DataFlussoCompatta(DallaData.ToText()) != kInizioFlusso) return true;
  auto lista = Lista.As<host::Collection>();
  if (!lista) {
    c.last_error = "Lista dei record del flusso non valida";
    return false;
  }
  const auto trovate = PPIPNuoviCodici(app);
  if (trovate.empty()) return true;
  const int risposta = c.ui ? c.ui->MsgBox(DomandaPPIP(trovate.size()),
                                           core::stile::kSiNo | core::stile::kDomanda, "KIRO")
                            : core::risposta::kNo;
  if (risposta != core::risposta::kSi) return true;
  for (const auto& voce : trovate) lista->Add(host::Variant(voce));
  return true;
}

}  // namespace

bool CodiceNuovoPPIP(const std::string& codice) {
  return codice.size() == 4 && codice.compare(0, 3, "A11") == 0 && codice[3] >= '0' &&
         codice[3] <= '5';
}

std::string DomandaPPIP(std::size_t quante) {
  return "Sono state rilevate " + std::to_string(quante) +
         " prestazioni PPIP che rientrano nei nuovi codici 'A110, A111, A112, A113, A114, A115'"
         " effettuate da Gennaio a Giugno 2018.\r\n"
         "Si desidera includere queste PPIP nel flusso di Luglio 2018?";
}

std::string DataFlussoCompatta(const std::string& data) {
  std::string testo = data;
  if (OttoCifre(testo) && (testo.size() == 8 || testo[8] == ' ')) {
    testo =
        testo.substr(0, 4) + "-" + testo.substr(4, 2) + "-" + testo.substr(6, 2) + testo.substr(8);
  }
  auto letta = util::DataOra::Leggi(testo);
  if (!letta) letta = util::DataOra::Leggi(testo + " 00:00:00");
  return letta ? letta->Formato("yyyymmdd") : std::string();
}

}  // namespace qzkiro::asl

namespace qzkiro::op {

bool VerificaPPIP(host::Variant& DallaData, host::Variant&, host::Variant&, host::Variant& Lista) {
  return asl::Verifica(DallaData, Lista);
}

}  // namespace qzkiro::op
