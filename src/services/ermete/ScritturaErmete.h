#pragma once

#include <string>
#include <vector>

#include "qzkiro/host/Database.h"
#include "services/ermete/CatalogoErmete.h"

namespace qzkiro::ermete {

// Creates the catalogue's table with kCreaTabellaErmete and writes every row
// (OpenRecord on the table, the fields, Update; "lastupdate" = `adesso`,
// "yyyy-mm-dd hh:nn:ss"), all in one transaction of the host database: when
// any step fails the transaction is rolled back, so the table is absent, and
// the failure is thrown on.
void ScriviCatalogoErmete(host::IDB& db, const std::vector<RigaErmete>& righe,
                          const std::string& adesso);

}  // namespace qzkiro::ermete
