#pragma once

#include <string>

#include "qzkiro/host/Database.h"

namespace qzkiro::refhost {

// Makes sure the host database has what the host itself would have made: the
// user's schema `id_schema` with its workspace table "tblworkspace", and the
// shared schema "archivi". Leaves existing tables and their rows as they are.
void PreparaSchemaHost(host::IDB& db, const std::string& id_schema);

}  // namespace qzkiro::refhost
