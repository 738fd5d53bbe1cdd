#pragma once

#include <string>

#include "qzkiro/host/Application.h"

namespace qzkiro::cda {

// What the document readers ask the host while reading. Reading a property
// never fails: without a host (no Init, the command line, the fuzz targets)
// or when the host lacks the member, the add-on's own equivalent answers:
// numbers read by the same rule, dates and texts as they are, Base64 of the
// Latin-1 bytes, "000" milliseconds.

// The host application, null before Init.
host::IApplication* HostCorrente();

// Framework.Valore: the number in a text (decimal point or comma), 0 when it
// is not one. The readers' fixed-point values are rounded to four decimals.
double ValoreNumero(const std::string& testo);
// A number rounded to four decimals, half to even as the host's currency
// type rounds.
double Arrotonda4(double valore);
// The add-on's own reading of a number: a decimal number with point or comma,
// an optional sign, blanks around it and a comparison before it ("<5",
// ">= 10") allowed; 0 for any other text.
double NumeroLocale(const std::string& testo);

// Framework.ValoreData: a date in the host's display form.
std::string ValoreData(const std::string& data);

// The host's Base64.Encode (ISO-8859-1 bytes of the text).
std::string CodificaBase64(const std::string& testo);

// A CDA time stamp ("yyyymmdd[hhnn[ss]]" with optional fractions and time
// zone) in the host's record form "yyyymmddhhnnss": its leading digits,
// completed with zeros; "" for "".
std::string DataOraCompatta(const std::string& ts);

// The time stamp of the files the readers save: the local time
// "yyyymmddhhnnss" followed by the milliseconds of the host's API.LocalTime.
std::string TimbroFile();

// The description of an entry of the host's visit catalogue ("Visite"),
// "" when the host has no such entry or no catalogue.
std::string DescrizioneVisita(const std::string& id);

// Writes an HTML page as `cartella` + "\" + TimbroFile() + `suffisso`, one
// byte per character as the host reads it; false (and nothing written) when
// the page is empty.
bool ScriviPagina(const std::string& html, const std::string& cartella, const std::string& suffisso,
                  std::string& file);

}  // namespace qzkiro::cda
