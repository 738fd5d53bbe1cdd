#pragma once

#include <array>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "sandbox/FseDocumenti.h"

namespace qzkiro::sandbox::fse {

// The fixed data of the regional health record (see Fse.h for the list).

struct Esenzione {
  std::string_view codice, scadenza;
};

struct PazienteFse {
  std::string_view cf, mpi, cognome, nome, sesso, nascita, tessera;
  std::string_view citta_nascita, provincia_nascita, istat_nascita;
  std::string_view via, citta, provincia, cap, istat;  // residence
  std::string_view telefono, email;
  std::string_view ulss;  // the local health unit that assists the patient
  std::array<Esenzione, 2> esenzioni;
  std::string_view inizio_rapporto;      // with the GP
  std::string_view evento, data_evento;  // doctor-relation event ("" for none)
};

// A coded value of a classification: node representation, display name, scheme.
struct Codice {
  std::string_view codice, nome, schema;
};

enum class Contenuto {
  kCdaLaboratorioFirmato,
  kPdfFirmato,
  kLettera,
  kPdf,
  kPdfConCda,
  kIgnoto,
  kCda,  // a simple CDA R2 of its title
};

struct DocumentoFse {
  std::string_view id;
  std::size_t paziente;  // index in Pazienti()
  std::string_view mime, titolo;
  std::string_view creazione;        // yyyymmddhhmmss
  std::string_view inizio_servizio;  // yyyymmdd; "" for none
  Codice formato, reparto, classe, struttura, tipo;
  Contenuto contenuto;
  std::string_view riferimento = {};  // workflow reference (referenceIdList), "" for none
};

std::span<const PazienteFse> Pazienti();
// By fiscal code or MPI id; null when unknown.
const PazienteFse* CercaPaziente(std::string_view cf_o_mpi);
std::span<const DocumentoFse> Documenti();
const DocumentoFse* CercaDocumento(std::string_view id);

// The bytes of every document, made once: signatures with `firmatario`.
std::map<std::string, std::string, std::less<>> Contenuti(const Firmatario& firmatario);

// The CDA laboratory report inside kDocCdaFirmato (and attached to kDocPdfConCda).
std::string RefertoLaboratorioRossi();

}  // namespace qzkiro::sandbox::fse
