#pragma once

#include <optional>
#include <string>
#include <vector>

#include "util/clsXML.h"
#include "xds/RispostaRegistro.h"

namespace qzkiro::xds {

// The GP who signs and submits the documents.
struct AutoreInvio {
  std::string CodiceFiscale;
  std::string Cognome;
  std::string Nome;
  std::string CodiceRegionale;
  std::string CodiceASL;
  std::string DenominazioneASL;
  std::string CodiceRegioneASL;
  std::string Email;
  std::string Telefono;
};

// The patient as the metadata describe them.
struct PazienteInvio {
  std::string CodiceFiscale;
  std::string Cognome;
  std::string Nome;
  std::string Sesso;
  std::string DataNascita;  // "yyyymmdd"
  std::string Indirizzo;    // street and house number of residence
  std::string Citta;
  std::string Provincia;
  std::string CAP;
  std::string CittaNascita;
  std::string ProvinciaNascita;
  std::string StatoNascita;  // ISO code
  std::string Email;
  std::string Telefono;
  std::string MPI;  // regional identifier
};

// One document of the submission (an ebXML document entry).
struct DocumentoInvio {
  std::string id;                         // "Document00": entry id and id of its attachment
  std::string id_unico;                   // the document's unique id (the extension of its CDA id)
  std::string guid;                       // a new GUID: id of the unique-id identifier
  Codifica evento;                        // event code: the consent and its title
  std::optional<Codifica> evento_tutore;  // second event code, with a guardian
  Codifica tipo;                          // type code and type name
  std::string parte_mime;                 // name of the part that carries the document
  std::string id_associazione;            // id of the HasMember association ("as00")
  std::string id_sostituzione;            // id of the replacement association ("Assoc1")
  std::string sostituito;                 // id of the document this one replaces, "" when none
};

// A ProvideAndRegisterDocumentSet-b request of the regional repository.
struct InvioDocumenti {
  std::string to;               // the repository endpoint
  std::string message_id;       // a new GUID; written "urn:uuid:" + it in lower case
  std::string marca_temporale;  // creation time, zone-qualified
  std::string id_unico;         // completes the submission set's unique id
  AutoreInvio autore;
  PazienteInvio paziente;
  std::vector<DocumentoInvio> documenti;
};

// The SOAP 1.2 envelope: WS-Addressing header, a WS-Security header holding
// the "[Asserzione]" placeholder, and in the body the request with one
// ExtrinsicObject per document, the submission set ("SubmissionSet01"), its
// associations and one XOP reference per document.
util::clsXML BustaProvideAndRegister(const InvioDocumenti& invio);

}  // namespace qzkiro::xds
