#include "consent/MetadatiInvio.h"

#include <optional>

#include "util/TabellaValidita.h"

namespace qzkiro::consent {

xds::AutoreInvio AutoreDi(const cda::MedicoConsenso& m) {
  return {m.CodiceFiscale,    m.Cognome,          m.Nome,  m.CodiceRegionale, m.CodiceASL,
          m.DenominazioneASL, m.CodiceRegioneASL, m.Email, m.Telefono};
}

xds::PazienteInvio PazienteDi(const cda::PazienteConsenso& p, const std::string& email,
                              const std::string& telefono, const cda::TabelleIstat& tabelle) {
  xds::PazienteInvio out;
  out.CodiceFiscale = p.CodiceFiscale;
  out.Cognome = p.Cognome;
  out.Nome = p.Nome;
  out.Sesso = p.Sesso;
  out.DataNascita = p.DataNascitaAAAAMMGG();
  out.Indirizzo = p.IndirizzoConCivico;
  out.Citta = p.Citta;
  out.Provincia = p.Provincia;
  out.CAP = p.CAP;
  out.CittaNascita = p.CittaNascitaITA;
  out.ProvinciaNascita = p.ProvinciaNascitaITA;
  out.StatoNascita = cda::StatoNascita(p, tabelle);
  out.Email = email;
  out.Telefono = telefono;
  out.MPI = p.MPI;
  return out;
}

cda::CercaRiga RicercaTabelle(const util::DataOra& oggi) {
  return [giorno = oggi.Formato("yyyymmdd")](const std::filesystem::path& file,
                                              const std::string& chiave, const std::string& data) {
    return util::RigaValida(file.string(), chiave,
                            data.empty() ? std::nullopt : std::optional(data), giorno);
  };
}

net::RichiestaPreparata Preparata(const xds::RichiestaHttpXop& xop) {
  net::RichiestaPreparata richiesta;
  richiesta.Method = xop.metodo;
  richiesta.Headers = xop.intestazioni;
  richiesta.Body = xop.corpo;
  return richiesta;
}

}  // namespace qzkiro::consent
