#include "flows/asl/FlussoContatti.h"

#include <filesystem>
#include <iomanip>
#include <sstream>

#include "core/Contesto.h"
#include "flows/DateFlusso.h"
#include "flows/asl/CredenzialiACN.h"
#include "flows/asl/InvioFlussoAsl.h"
#include "flows/asl/RecordContatti.h"
#include "flows/asl/RotteAsl.h"
#include "util/clsBase64.h"

namespace qzkiro::asl {

namespace {

// The regional code of the doctor written with six digits ("000000").
std::string SeiCifre(const std::string& codice) {
  try {
    std::size_t letti = 0;
    const long numero = std::stol(codice, &letti);
    if (letti != codice.size() || numero < 0) return codice;
    std::ostringstream out;
    out << std::setw(6) << std::setfill('0') << numero;
    return out.str();
  } catch (const std::exception&) {
    return codice;
  }
}

std::string Maiuscolo(std::string testo) {
  for (char& c : testo) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return testo;
}

ArchiviContatti ArchiviDellHost(host::IApplication& app) {
  ArchiviContatti archivi;
  auto ppip = host::Come<host::IArchivioPPIP>(app.Archivio("PPIP"), "PPIP");
  auto comuni = host::Come<host::IArchivioComuni>(app.Archivio("Comuni"), "Comuni");
  archivi.ppip = [ppip](const std::string& id) { return ppip->Carica(id); };
  archivi.catastale = [comuni](const std::string& nome) {
    return comuni->DaiCodiceCatastale(nome);
  };
  archivi.istat = [comuni](const std::string& nome) { return comuni->DaiCodiceISTAT(nome); };
  archivi.ricetta = [&app](const std::string& testo) -> std::shared_ptr<host::IRicetta> {
    auto ricetta = app.Framework().NewRicetta();
    return ricetta && ricetta->FromString(testo) ? ricetta : nullptr;
  };
  return archivi;
}

TestataContatti Testata(host::IApplication& app, const std::string& dalla_data,
                        const std::string& alla_data) {
  auto& utente = app.Utente();
  TestataContatti t;
  t.data_ora_produzione = core::Ctx().orologio->Adesso().Formato("yyyymmddhhnnss");
  t.data_inizio = flows::DataCompatta(dalla_data);
  t.data_fine = flows::DataCompatta(alla_data);
  t.codice_asl = utente.CodiceRegioneASL();
  t.medico = {SeiCifre(utente.CodiceRegionale()), Maiuscolo(utente.CodiceFiscale()),
              utente.Cognome(), utente.Nome()};
  return t;
}

}  // namespace

std::string SalvaFileContatti(host::IGrigliaContatti& griglia, const std::string& dalla_data,
                              const std::string& alla_data) {
  auto& app = core::Ctx().App();
  const auto assistiti =
      RaccogliContatti(griglia.Records(), app.Utente().CodiceRegioneASL(), ArchiviDellHost(app));
  const std::string file = (std::filesystem::path(app.Utente().TempDir()) / "ACN.xml").string();
  ScriviFileContatti(file, Testata(app, dalla_data, alla_data), assistiti);
  return file;
}

bool CaricaFileContatti(ServizioAsl servizio, const std::string& file) {
  auto& c = core::Ctx();
  const auto credenziali = ChiediCredenzialiACN();
  if (!credenziali) {
    c.last_error = "Invio annullato dall'utente";
    return false;
  }
  // The Base64 text lives only until it is inside the envelope: a month's
  // file is many megabytes.
  std::string busta;
  {
    const std::string dati = util::clsBase64().EncodeFileL64(file);
    if (dati.empty()) {
      c.last_error = "Impossibile leggere il file " + file;
      return false;
    }
    busta = BustaInvioFlusso(dati, "nome_file.xml", credenziali->utente, credenziali->password);
  }
  const auto scambio = InviaAlServizioFlussi(servizio, "InvioACN", busta, "invioFlusso");
  if (!scambio.errore.empty()) {
    c.last_error = scambio.errore;
    return false;
  }
  if (!scambio.esito.letto) {
    c.last_error = kRispostaNonValida;
    return false;
  }
  if (!scambio.esito.Accettato()) {
    c.last_error = scambio.esito.Messaggio(file);
    return false;
  }
  return true;
}

}  // namespace qzkiro::asl

namespace qzkiro::op {

bool FlussoPPIP(Variant& Grid, Variant& DallaData, Variant& AllaData, Variant&) {
  auto& c = core::Ctx();
  auto griglia = Grid.As<host::IGrigliaContatti>();
  if (!griglia) {
    c.last_error = "Griglia dei contatti non valida";
    return false;
  }
  std::string file;
  try {
    file = asl::SalvaFileContatti(*griglia, DallaData.ToText(), AllaData.ToText());
  } catch (const std::runtime_error& e) {
    c.last_error = e.what();
    return false;
  }
  const std::string codice_asl = c.App().Utente().CodiceRegioneASL();
  const auto servizio = asl::ServizioDellaAsl(codice_asl);
  if (servizio == asl::ServizioAsl::kNessuno) {
    c.last_error = "Codice ASL " + codice_asl + " non implementato";
    return false;
  }
  return asl::CaricaFileContatti(servizio, file);
}

}  // namespace qzkiro::op
