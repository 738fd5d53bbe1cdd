#pragma once

#include <array>
#include <string>
#include <vector>

#include "util/clsCSV.h"

namespace qzkiro::ermete {

// The regional catalogue of prescriptive indications in the host database.
inline constexpr const char* kTabellaErmete = "archivi.arcermete";
inline constexpr const char* kCreaTabellaErmete =
    "CREATE TABLE archivi.arcermete (id character varying(50) NOT NULL,descrizione text,codicetr "
    "text,indirizzo text,bibliografia text,note text,versione text,dataversione timestamp without "
    "time zone,codiceip text,lastupdate timestamp without time zone,CONSTRAINT arcermete_primary "
    "PRIMARY KEY (id))";
// The file's columns, in the file's order, and the table's columns they fill.
inline constexpr std::array<const char*, 9> kColonneErmete = {
    "id",   "descrizione", "codicetr",     "indirizzo", "bibliografia",
    "note", "versione",    "dataversione", "codiceip"};
inline constexpr std::size_t kColonnaData = 7;  // dataversione
inline constexpr std::size_t kLunghezzaId = 50;

// One indication, its values in the order of kColonneErmete; the version
// date as "yyyy-mm-dd hh:nn:ss", "" for none (NULL).
using RigaErmete = std::array<std::string, kColonneErmete.size()>;

struct CatalogoErmete {
  std::vector<RigaErmete> righe;
  std::string errore;  // the first fault of the file; no rows then
};

// The catalogue in the records of the file: the first is the header, each
// further one an indication with exactly the columns of kColonneErmete. A
// record with another number of columns, without id, with an id longer than
// the table takes or already given, or with a version date that is neither
// "yyyy-mm-dd" nor "dd/mm/yyyy" (with or without the time) is a fault, named
// with its record's number (the header is 1).
CatalogoErmete LeggiCatalogoErmete(const std::vector<util::clsCSV::Record>& records);

}  // namespace qzkiro::ermete
