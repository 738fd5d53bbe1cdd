#include "hl7/TabelleHL7.h"
#include "hl7/TestoHL7.h"
#include "hl7/clsHL7.h"

namespace qzkiro::hl7 {

std::string clsHL7::TipoNotifica() const {
  return Testo("TXA/TXA.2");
}

std::string clsHL7::StatoNotifica() const {
  return Testo("TXA/TXA.17");
}

std::string clsHL7::IDNotifica() const {
  return Testo("PV1/PV1.50/CX.1");
}

std::string clsHL7::DataNotifica() const {
  const std::string data = Testo("TXA/TXA.4/TS.1");
  if (!data.empty()) return data;
  // Some senders write the time stamp straight into the field.
  std::string campo = Testo("TXA/TXA.4");
  return SoloCifre(campo) ? campo : std::string();
}

std::string clsHL7::DataNotificaGenerica() const {
  return Testo("TXA/TXA.6/TS.1");
}

std::string clsHL7::DataDocumento() const {
  return Testo("TXA/TXA.22/PPN.15/TS.1");
}

std::string clsHL7::IDDocumentoNotificato() const {
  return Testo("TXA/TXA.12/EI.1");
}

std::string clsHL7::IDDocumentoSostituito() const {
  return Testo("TXA/TXA.13/EI.1");
}

std::string clsHL7::TipoDocumentoNotificato() const {
  return Testo("TXA/TXA.21");
}

std::string clsHL7::FormatoDocumentoNotificato() const {
  return Testo("TXA/TXA.3");
}

std::string clsHL7::MotivoFineRapporto() const {
  return tabelle::MotivoFineRapporto(TipoNotifica());
}

std::string clsHL7::DescrizioneTipoDocumento() const {
  return tabelle::TipoDocumento(TipoDocumentoNotificato());
}

std::string clsHL7::DescrizioneNotifica(std::string& Cod) const {
  if (Cod.empty()) Cod = TipoDocumentoNotificato();
  // Document-type codes of ten characters fall back to the notification type.
  if (Cod.size() != 3) Cod = TipoNotifica();
  return tabelle::Notifica(Cod);
}

std::string clsHL7::DescrizioneNotifica() const {
  std::string codice;
  return DescrizioneNotifica(codice);
}

}  // namespace qzkiro::hl7
