#pragma once

#include <string>
#include <string_view>

namespace qzkiro::hl7::tabelle {

// The code-to-text tables of the HL7 reader. A code not listed gives "".

std::string PropostaDiRicovero(std::string_view codice);     // PV1.4
std::string TipoRicovero(std::string_view codice);           // PV1.18
std::string ModalitaDimissione(std::string_view codice);     // PV1.36
std::string Mobilita(std::string_view codice);               // PV1.15
std::string TipoPaziente(std::string_view codice);           // PV1.18, diabetology
std::string MotivoFineCarico(std::string_view codice);       // PV1.36, diabetology
std::string StatoPrescrizione(std::string_view codice);      // ORC.5
std::string StatoPrescrizioneDema(std::string_view codice);  // TXA.20
std::string MotivoFineRapporto(std::string_view codice);     // TXA.2
std::string TipoDocumento(std::string_view codice);          // TXA.21
std::string Notifica(std::string_view codice);               // TXA.2 or TXA.21

}  // namespace qzkiro::hl7::tabelle
