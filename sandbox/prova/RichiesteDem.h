#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qzkiro::sandbox::prova {

// Requests to the e-prescription services as the add-on builds them, valid
// against the national kit unless a test changes them.

constexpr const char* kNsTipiDati = "http://tipodati.xsd.dem.sanita.finanze.it";

using Valori = std::map<std::string, std::string>;
using Campi = std::vector<std::pair<std::string, std::string>>;

// A SOAP 1.1 envelope with a WS-Security header carrying a SAML 2.0 assertion
// whose ID is `asserzione` (no header at all when it is ""), `corpo` in the body.
std::string BustaDem(const std::string& corpo, const std::string& asserzione = "_a1");

// <p:radice xmlns:p="ns"> with each field in order, then `dentro`.
std::string ElementoDem(std::string_view radice, std::string_view ns, const Campi& campi,
                        const std::string& dentro = {});

// A red send from doctor MDCPRV70A01H501X with the fields the kit requires
// ("QUJD" as the patient's code) and `righe` lines (product "P0", "P1"…,
// quantity 1); `testata` changes or adds header fields, `riga` each line's.
// Written in the kit's order (confidentialityCode where the add-on puts it,
// after classePriorita). Throws std::invalid_argument for a name the kit does
// not order.
std::string Rossa(const Valori& testata = {}, const Valori& riga = {}, int righe = 1);

// Cancel and view of a red prescription: pinCode, nre, cfMedico.
std::string Annullamento(const std::string& nre, const std::string& cf_medico);
std::string Visualizzazione(const std::string& nre, const std::string& cf_medico);

// The HTTP headers of a SOAP 1.1 call to `servizio` ("AnnullaPrescritto").
std::vector<std::string> IntestazioniDem(std::string_view servizio);

}  // namespace qzkiro::sandbox::prova
