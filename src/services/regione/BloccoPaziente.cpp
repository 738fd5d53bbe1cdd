#include "services/regione/BloccoPaziente.h"

#include "core/Contesto.h"

namespace qzkiro::regione {

using hl7::clsHL7;

namespace {

using host::Variant;

void Anagrafica(const clsHL7& l, host::IInput& risultato, const Variant& paziente) {
  risultato.Add("AddAnagrafica", {paziente,
                                  Oggi(),
                                  l.CodiceFiscale(),
                                  l.Tessera(),
                                  l.Cognome(),
                                  l.Nome(),
                                  l.Sesso(),
                                  l.DataNascita(),
                                  l.CittaNascita(),
                                  l.ProvinciaNascita(),
                                  l.IstatNascita(),
                                  l.IndirizzoResidenza(),
                                  l.CivicoResidenza(),
                                  l.CittaResidenza(),
                                  l.CAPResidenza(),
                                  l.ProvinciaResidenza(),
                                  l.IstatResidenza(),
                                  l.IndirizzoDomicilio(),
                                  l.CivicoDomicilio(),
                                  l.CittaDomicilio(),
                                  l.CAPDomicilio(),
                                  l.ProvinciaDomicilio(),
                                  l.IstatDomicilio(),
                                  l.Email(),
                                  l.Telefono(),
                                  l.Cellulare(),
                                  l.RegioneASLAssistenza(),
                                  l.RegioneASLResidenza()});
}

// The GP relationship. On a revocation notice an open relationship ends on
// the notice's date; one that already ended (end not before start) no longer
// names the patient's GP, so its doctor's fiscal code is cleared.
void RapportoSSN(const clsHL7& l, host::IInput& risultato, const Variant& paziente,
                 const std::string& fine_revoca) {
  std::string codice_fiscale = l.MedicoSSNCodiceFiscale();
  const std::string inizio = l.DataInizioRapporto();
  std::string fine = l.DataFineRapporto();
  if (!fine_revoca.empty()) {
    if (fine.empty()) {
      fine = fine_revoca;
    } else if (fine >= inizio) {
      codice_fiscale.clear();
    }
  }
  risultato.Add("AddRapportoSSN",
                {paziente, l.MedicoSSNCognome(), l.MedicoSSNNome(), codice_fiscale, inizio, fine});
}

void Esenzioni(const clsHL7& l, host::IInput& risultato, const Variant& paziente) {
  const auto esenzioni = l.ListaEsenzioni();
  if (esenzioni.empty()) return;
  risultato.Add("AddEsenzioni", {paziente, "KIRO"});
  for (auto* esenzione : esenzioni) {
    risultato.Add("AddEsenzione",
                  {paziente, l.CodiceEsenzione(esenzione), l.DataScadenzaEsenzione(esenzione)});
  }
}

}  // namespace

std::string Oggi() {
  return core::Ctx().orologio->Adesso().Formato("yyyymmdd");
}

Variant BloccoPaziente(const clsHL7& l, host::IInput& risultato, const OpzioniPaziente& opzioni) {
  if (l.Cognome().empty()) return {};
  Variant paziente = risultato.Add("AddPaziente", {});
  Anagrafica(l, risultato, paziente);
  if (opzioni.rapporto_ssn) RapportoSSN(l, risultato, paziente, opzioni.fine_revoca);
  if (opzioni.privacy) {
    risultato.Add("AddPrivacy",
                  {paziente, l.ConsensoData(), l.ConsensoLivello(), l.ConsensoRaccoltoDa(),
                   l.ConsensoDataInizio(), l.ConsensoDataFine()});
  }
  if (opzioni.esenzioni) Esenzioni(l, risultato, paziente);
  return paziente;
}

}  // namespace qzkiro::regione
