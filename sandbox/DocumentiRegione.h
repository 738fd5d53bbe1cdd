#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qzkiro::sandbox::documenti {

// The clinical documents the regional services carry inside their HL7
// answers, and the MIME wrapping they travel in. Line ends inside MIME texts
// are "\n": the texts sit in XML, whose parser turns every CR LF into LF.

// Base64 in lines of 76 characters separated by "\n".
std::string Base64Mime(std::string_view dati);

// A one-part MIME message: the file `nome` of type `tipo`, in Base64.
std::string MimeSemplice(std::string_view tipo, std::string_view nome, std::string_view dati);

struct ParteMime {
  std::string tipo;
  std::string nome;
  std::string dati;
};
// A multipart/mixed MIME message of `parti`, each in Base64, cut by `confine`.
std::string MimeMultiparte(std::string_view confine, const std::vector<ParteMime>& parti);

// A valid one-page PDF 1.4 that shows `riga` (ASCII, without parentheses).
std::string PdfMinimo(std::string_view riga);

// The patient in the header of a document.
struct PazienteCda {
  std::string_view codice_fiscale;
  std::string_view cognome;
  std::string_view nome;
  std::string_view sesso;    // "M", "F"
  std::string_view nascita;  // yyyymmdd
};

// A CDA R2 laboratory report (LOINC 11502-2): glucose, total cholesterol
// (high) and haemoglobin, with DNLAB translations and reference ranges.
std::string RefertoLaboratorio(const PazienteCda& paziente, std::string_view id,
                               std::string_view data);
// A CDA R2 emergency-room report (LOINC 59258-4).
std::string VerbaleProntoSoccorso(const PazienteCda& paziente, std::string_view id,
                                  std::string_view data);

// What a discharge letter says about its admission.
struct DatiLettera {
  std::string_view id;
  std::string_view ricovero;    // yyyymmdd
  std::string_view dimissione;  // yyyymmdd
  std::string_view struttura;   // name of the hospital
  std::string_view reparto;
  std::string_view diagnosi_ricovero;
  std::string_view diagnosi_dimissione;
  bool day_hospital = false;
};
// A CDA R2 discharge letter (LOINC 34105-7).
std::string LetteraDimissione(const PazienteCda& paziente, const DatiLettera& lettera);

// Documents of the older regional layout ("component/bodyChoice/StructuredBody"),
// with the family code `tipo` ("LAB", "RPS", "DIM"). The laboratory report
// holds haemoglobin (13.2 g/dL, 12-16.5) and platelets; the discharge letter
// holds `pdf` as an external MIME document.
std::string RefertoLaboratorioLegacy(std::string_view id, std::string_view data);
std::string VerbaleProntoSoccorsoLegacy(std::string_view id, std::string_view data);
std::string LetteraDimissioneLegacy(std::string_view id, std::string_view data,
                                    std::string_view pdf);

}  // namespace qzkiro::sandbox::documenti
