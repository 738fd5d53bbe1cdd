#include "hl7/ElencoProprieta.h"

namespace qzkiro::hl7 {

namespace {

constexpr std::string (clsHL7::*kDescrizioneNotifica)() const = &clsHL7::DescrizioneNotifica;

#define P(nome)          \
  ProprietaHL7 {         \
#nome, &clsHL7::nome \
  }

constexpr ProprietaHL7 kProprieta[] = {
    P(Cognome),
    P(Nome),
    P(Sesso),
    P(DataNascita),
    P(Paziente),
    P(Telefono),
    P(Cellulare),
    P(Email),
    P(Nazionalita),
    P(CodiceFiscale),
    P(Tessera),
    P(MPI),
    P(RegioneASLAssistenza),
    P(RegioneASLResidenza),
    P(IndirizzoDomicilio),
    P(CivicoDomicilio),
    P(CittaDomicilio),
    P(ProvinciaDomicilio),
    P(CAPDomicilio),
    P(IstatDomicilio),
    P(IndirizzoResidenza),
    P(CivicoResidenza),
    P(CittaResidenza),
    P(ProvinciaResidenza),
    P(CAPResidenza),
    P(IstatResidenza),
    P(IstatNascita),
    P(CittaNascita),
    P(ProvinciaNascita),
    P(MedicoSSNCognome),
    P(MedicoSSNNome),
    P(MedicoSSNCodiceFiscale),
    P(MedicoREFCognome),
    P(MedicoREFNome),
    P(MedicoREFCodiceFiscale),
    P(MedicoREFRuolo),
    P(MedicoREFCodiceAUSL),
    P(MedicoREF),
    P(MedicoPrescrittoreCognome),
    P(MedicoPrescrittoreNome),
    P(MedicoPrescrittoreCodiceFiscale),
    P(MedicoPrescrittoreRuolo),
    P(MedicoPrescrittoreCodiceAUSL),
    P(MedicoRapportoCognome),
    P(MedicoRapportoNome),
    P(MedicoRapportoCodiceRegionale),
    P(DataInizioRapporto),
    P(DataFineRapporto),
    P(MedicoPrescrittoreRicovero),
    P(MedicoAccertanteRicovero),
    P(ConsensoLivello),
    P(ConsensoDataInizio),
    P(ConsensoDataFine),
    P(ConsensoRaccoltoDa),
    P(ConsensoData),
    P(ID),
    P(IDPrescrizione),
    P(IDReferto),
    P(StatoPrescrizione),
    P(StatoPrescrizioneDema),
    P(DataPrescrizione),
    P(DataVisita),
    P(Oggetto),
    P(RegimeRicovero),
    P(PropostaDiRicovero),
    P(TipoRicovero),
    P(Struttura),
    P(Reparto),
    P(StrutturaRefertante),
    P(CodiceNosologico),
    P(ModalitaDimissione),
    P(MotivoRicovero),
    P(MotivoVisita),
    P(TipoVisita),
    P(Mobilita),
    P(TipoPaziente),
    P(MotivoFineCarico),
    P(DataRicovero),
    P(DataDimissione),
    P(DiagnosiRicovero),
    P(DiagnosiDimissione),
    P(TipoNotifica),
    P(StatoNotifica),
    P(IDNotifica),
    P(DataNotifica),
    P(DataNotificaGenerica),
    P(DataDocumento),
    P(IDDocumentoNotificato),
    P(IDDocumentoSostituito),
    P(TipoDocumentoNotificato),
    P(FormatoDocumentoNotificato),
    P(MotivoFineRapporto),
    P(DescrizioneTipoDocumento),
    ProprietaHL7{"DescrizioneNotifica", kDescrizioneNotifica},
    P(MimeCDA),
};

#undef P

}  // namespace

std::span<const ProprietaHL7> ProprietaTesto() {
  return kProprieta;
}

}  // namespace qzkiro::hl7
