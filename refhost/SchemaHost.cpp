#include "refhost/SchemaHost.h"

#include "qzkiro/Failure.h"

namespace qzkiro::refhost {

namespace {

// The schema name as a quoted identifier; PostgreSQL folds it to lower case
// like the unquoted names the add-on writes in its statements.
std::string Identificatore(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    out += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (c == '"') out += '"';
  }
  return out + "\"";
}

}  // namespace

void PreparaSchemaHost(host::IDB& db, const std::string& id_schema) {
  if (id_schema.empty()) throw Failure(5, "Schema dell'utente non impostato (IDSchema)");
  const std::string schema = Identificatore(id_schema);
  db.Execute("CREATE SCHEMA IF NOT EXISTS archivi; CREATE SCHEMA IF NOT EXISTS " + schema + ";" +
             "CREATE TABLE IF NOT EXISTS " + schema +
             ".tblworkspace ("
             "id serial PRIMARY KEY, idpaziente integer, tiporecord integer NOT NULL,"
             " data timestamp without time zone NOT NULL DEFAULT now(),"
             " descrizione text, iddiagnosi character varying(20), diagnosi text,"
             " idpadre integer, i1 integer NOT NULL DEFAULT 0, i2 integer NOT NULL DEFAULT 0,"
             " t1 text, t2 text, m1 text, m2 text, idrifp character varying(64));" +
             "ALTER TABLE " + schema + ".tblworkspace ADD COLUMN IF NOT EXISTS idrifp"
             " character varying(64)");
}

}  // namespace qzkiro::refhost
