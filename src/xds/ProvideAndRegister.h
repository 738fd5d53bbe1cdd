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

// What tells one family of document entries from another: the consents are
// the default; the patient summary has its own (ProfiloPatientSummary).
struct ProfiloVoce {
  std::string nome = "Consenso";  // the entry's Name
  Codifica classe{"rv_cc_0701", "Consenso", "regioneveneto classCodes v1"};
  Codifica riservatezza{"V",
                        "Dati e documenti soggetti a maggiore tutela dell'anonimato (art. 5 del "
                        "D.P.C.M. n. 178/2015)",
                        "2.16.840.1.113883.2.9.2.50.6.34.8"};
  Codifica formato{"urn:ihe:iti:bppc:2007", "Basic Patient Privacy Consents",
                   "1.3.6.1.4.1.19376.1.2.3"};
  std::string sistema_tipo = "regioneveneto typeCodes list v1";  // the type code's codingScheme
  std::string radice_unico = ".4.4.7";  // after the GP's root in the unique id
  bool recapiti = true;                 // the author's telecom and the patient's PID-13
  std::string fine_servizio;            // the serviceStopTime slot, "" for none
};
// The patient summary's entry ("Profilo Sanitario Sintetico").
ProfiloVoce ProfiloPatientSummary(const std::string& fine_servizio);

// One document of the submission (an ebXML document entry).
struct DocumentoInvio {
  ProfiloVoce profilo;
  std::string id;                         // "Document00": entry id and id of its attachment
  std::string id_unico;                   // the document's unique id (the extension of its CDA id)
  std::string guid;                       // a new GUID: id of the unique-id identifier
  Codifica evento;                        // event code: the consent and its title ("" none)
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
