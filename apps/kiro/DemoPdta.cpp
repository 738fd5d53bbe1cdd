#include "DemoPdta.h"

#include <unistd.h>

#include <memory>
#include <ostream>
#include <stdexcept>

#include "core/Contesto.h"
#include "flows/pdta/CostantiPdta.h"
#include "flows/pdta/FilePDTA.h"
#include "refhost/Griglia.h"
#include "refhost/Oggetti.h"
#include "sandbox/server/ServerSftp.h"
#include "util/File.h"

namespace qzkiro::kiro {

namespace fs = std::filesystem;

namespace {

// Diary records of the demo user's patients (sample archive: 1 BIANCHI F
// 1980, 3 NERI F 1991, 4 ROSSI F 1945, 5 BRUNI F 2015).
constexpr const char* kRecord[] = {
    "(4, 205, '2025-10-20 10:00', 'VACCINO ANTINFLUENZALE', NULL, NULL, NULL)",
    "(4, 614, '2023-03-01 09:00', 'PDTA Diabete mellito tipo 2', NULL, NULL, NULL)",
    "(4, 401, '2025-05-12 08:00', 'Emoglobina glicata', NULL, NULL,"
    " '{772C66C4-3B34-4B2A-B3EE-05F16ECAA042}')",
    "(4, 0, '2024-09-10 11:00', 'MAMMOGRAFIA BILATERALE', '87.37.1', NULL, NULL)",
    "(1, 0, '2023-04-02 11:00', 'Ricerca HPV', NULL, NULL, NULL)",
    "(3, 0, '2025-06-15 11:00', 'Citologico', '91.38.5', NULL, NULL)",
};

host::Collection Anno(const char* anno) {
  auto voce = std::make_shared<refhost::Membri>();
  voce->Imposta("Value", host::Variant(anno));
  host::Collection param;
  param.Add(host::Variant(voce), "Parametro.Anno");
  return param;
}

// The diary records; false, saying why, without a database.
bool PreparaDiario(refhost::Applicazione& host, std::ostream& out) {
  try {
    const std::string tabella = host.Utente().IDSchema() + ".tblworkspace";
    std::string valori;
    for (const char* r : kRecord) valori += (valori.empty() ? "" : ", ") + std::string(r);
    host.DB().Execute("INSERT INTO " + tabella +
                      " (idpaziente, tiporecord, data, descrizione, t5, d1, idrif1) VALUES " +
                      valori);
    return true;
  } catch (const std::exception& e) {
    out << "Indicatori PDTA: database PostgreSQL non disponibile (" << e.what()
        << "): calcolo e invio non eseguiti\n";
    return false;
  }
}

void Invio(Plugin& plugin, refhost::Applicazione& host,
           const std::string& file, Verifica& verifica, std::ostream& out) {
  auto& c = core::Ctx();
  auto& framework = host.Framework();
  std::unique_ptr<sandbox::AccountSftp> account;
  std::unique_ptr<sandbox::ServerSftp> server;
  try {
    if (geteuid() != 0) throw std::runtime_error("servono i permessi di root");
    account = std::make_unique<sandbox::AccountSftp>(
        framework.DecodeBF(std::string(pdta::kUtenteSftpCifrato), c.chiave_protezione_1),
        framework.DecodeBF(std::string(pdta::kPasswordSftpCifrata), c.chiave_protezione_1));
    server = std::make_unique<sandbox::ServerSftp>(*account);
  } catch (const std::exception& e) {
    out << "Server SFTP della demo non avviato (" << e.what()
        << "): invio degli indicatori PDTA non eseguito\n";
    return;
  }
  c.settings.server_pdta = "127.0.0.1:" + std::to_string(server->Porta());
  c.settings.impronta_pdta = server->Impronta();
  host::Collection param = Anno("2025");
  host::Variant t, g, dati(file);
  const bool inviato = plugin.QZ04048_Invio(param, t, g, dati);
  const fs::path remoto =
      server->Upload() / pdta::NomeFileRemoto(host.Utente().CodiceFiscale(), 2025);
  out << "Invio PDTA a sftp://" << c.settings.server_pdta
      << "/upload/: " << (inviato ? remoto.filename().string() : plugin.LastError()) << '\n';
  const auto arrivato = util::LeggiFile(remoto.string());
  verifica(inviato && arrivato && util::ComeTesto(*arrivato) == pdta::TestoAnsi(file),
           "Invio PDTA via SFTP (chiave del server verificata), file identico in ISO-8859-1");
  const auto voci = host.Giornale().Voci();
  out << "Giornale: " << (voci.empty() ? "" : voci.back()) << '\n';
  verifica(!voci.empty() && voci.back() == "Indicatori 2025 inviati con successo",
           "Giornale dell'host: indicatori inviati");
}

}  // namespace

void DemoPdta(Plugin& plugin, refhost::Applicazione& host,
              Verifica& verifica, std::ostream& out) {
  const std::string asl = host.Utente().CodiceRegioneASL();
  host.Utente().SetCodiceRegioneASL("050505");
  host::Collection param = Anno("2025");
  host::Variant t;
  if (!PreparaDiario(host, out)) {
    verifica(plugin.QZ04048_Carica(param, t).empty() &&
                 plugin.LastError().rfind("Calcolo degli indicatori PDTA non riuscito", 0) == 0,
             "Indicatori PDTA senza database: errore riportato");
    host.Utente().SetCodiceRegioneASL(asl);
    return;
  }
  const std::string file = plugin.QZ04048_Carica(param, t);
  auto griglia = std::make_shared<refhost::Griglia>();
  auto barra = std::make_shared<refhost::ProgressBar>();
  host::Variant g(griglia), b(barra), dati(file);
  const auto righe = plugin.QZ04048_RefreshGrid(g, b, dati);
  out << "Indicatori PDTA 2025 (" << righe << "):\n";
  for (int r = 0; r < griglia->Rows(); ++r) {
    out << "  ";
    for (int col = 0; col < griglia->Cols(); ++col) {
      out << (col ? " | " : "") << griglia->TextMatrix(r, col);
    }
    out << '\n';
  }
  verifica(righe == 11 && griglia->TextMatrix(1, 3) == "100.00",
           "Indicatori PDTA calcolati sul diario e mostrati nella griglia");
  Invio(plugin, host, file, verifica, out);
  host.Utente().SetCodiceRegioneASL(asl);
}

}  // namespace qzkiro::kiro
