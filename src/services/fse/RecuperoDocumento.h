#pragma once

#include <string>
#include <vector>

#include "qzkiro/host/Archivio.h"
#include "qzkiro/host/Input.h"
#include "qzkiro/host/Variant.h"

namespace qzkiro::fse {

// A document of the repository the host asked for.
struct DocumentoRichiesto {
  std::string id;
  std::string repository;
  std::string descrizione;
};

// The documents of the host's list (items carrying "Parametro.idDocumento"
// and "Parametro.idRepository"), or the one named by the arguments.
std::vector<DocumentoRichiesto> DocumentiRichiesti(const host::Variant& lista, const std::string& id,
                                                   const std::string& repository,
                                                   const std::string& descrizione);

// The files a retrieved document became in the host's temporary folder:
// "Referto.pdf" and/or "CDA2.xml" ("" for the one it has not).
struct FileDocumento {
  std::string pdf;
  std::string cda;
};

// Retrieves one document (ITI-43) for the patient (null: the open patient's
// context cannot be told, "C.1.2") and turns it into files by its mimeType.
// False with the user's message in `errore`.
bool RecuperaFile(const DocumentoRichiesto& documento, host::IPaziente* paziente,
                  FileDocumento& file, std::string& errore);

// Hands the files to the host: the CDA imported with the patient of its
// header, or the PDF as a generic report. False with `errore`.
bool ConsegnaDocumento(const FileDocumento& file, const std::string& descrizione,
                       host::IInput& risultato, std::string& errore);

}  // namespace qzkiro::fse
