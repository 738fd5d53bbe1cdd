#include "services/fse/DatiInvio.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "core/Contesto.h"

namespace qzkiro::fse {

std::string MarcaTemporale(const core::Orologio& orologio) {
  const util::DataOra locale = orologio.Adesso();
  const long long minuti = locale.SecondiDa(orologio.AdessoUTC()) / 60;
  const int assoluti = static_cast<int>(std::llabs(minuti) % (24 * 60));  // within a day
  char scarto[16];
  std::snprintf(scarto, sizeof scarto, "%c%02d%02d", minuti < 0 ? '-' : '+', assoluti / 60,
                assoluti % 60);
  return locale.Formato("yyyymmddhhnnss") + scarto;
}

cda::MedicoConsenso MedicoDi(host::IUtente& u) {
  const std::string asl = u.CodiceRegioneASL();
  return {u.CodiceFiscale(), u.Cognome(), u.Nome(), u.CodiceRegionale(),
          asl.size() > 3 ? asl.substr(3) : asl, "", asl.substr(0, 3), u.Email(), ""};
}

cda::PazienteConsenso PazienteDi(host::IPaziente& p, const std::string& mpi) {
  cda::PazienteConsenso out;
  out.CodiceFiscale = p.CodiceFiscale();
  out.Cognome = p.Cognome();
  out.Nome = p.Nome();
  out.Sesso = p.Sesso();
  const std::string nascita = p.DataNascita();
  if (nascita.size() == 8) {
    out.DataNascita = util::DataOra{std::atoi(nascita.substr(0, 4).c_str()),
                                    std::atoi(nascita.substr(4, 2).c_str()),
                                    std::atoi(nascita.substr(6, 2).c_str())};
  }
  out.MPI = mpi;
  return out;
}

bool InviaPubblicazione(const std::function<net::RichiestaPreparata(const clsItemAsserzione&)>& prepara,
                        clsItemAsserzione& asserzione, const std::string& servizio,
                        std::string& risposta, std::string& errore) {
  auto& c = core::Ctx();
  net::clsSOAP soap;
  soap.ImpostaDaSettings(c.settings);
  soap.URL = c.settings.Endpoint("repositoryreg");
  soap.ConnectTimeOut = 60;
  soap.ReadTimeOut = 30;
  soap.Servizio = servizio;
  soap.PreparaRichiesta = prepara;
  if (!soap.SendAsserzione("", asserzione, false, true)) {
    // A SOAP fault travels with status 500: its code and reason are the
    // answer to read.
    if (soap.LastHttpError() == "500" &&
        soap.LastErrorResponse().find("Fault") != std::string::npos) {
      risposta = soap.LastErrorResponse();
      return true;
    }
    errore = soap.LastError();
    return false;
  }
  risposta = soap.PrendiResponse();
  return true;
}

}  // namespace qzkiro::fse
