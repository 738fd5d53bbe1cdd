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
  // The record's partition (above 30: records set aside), its second code
  // (t5: the service's or the drug's code), its end date (d1) and the
  // catalogue entry it names (idrif1).
  db.Execute("ALTER TABLE " + schema +
             ".tblworkspace ADD COLUMN IF NOT EXISTS idpartizione integer NOT NULL DEFAULT 0,"
             " ADD COLUMN IF NOT EXISTS t5 text,"
             " ADD COLUMN IF NOT EXISTS d1 timestamp without time zone,"
             " ADD COLUMN IF NOT EXISTS idrif1 character varying(64)");
  // The year's statistics select by record type and date, by catalogue
  // entry, and by pieces of a code or a description (trigram indexes, which
  // serve LIKE and ILIKE with a leading wildcard and equality too; written
  // at once rather than through GIN's pending list, whose backlog after a
  // large import makes the planner fall back to reading the whole table).
  db.Execute("CREATE EXTENSION IF NOT EXISTS pg_trgm WITH SCHEMA public;"
             "CREATE INDEX IF NOT EXISTS tblworkspace_tipo_data ON " + schema +
             ".tblworkspace (tiporecord, data);"
             "CREATE INDEX IF NOT EXISTS tblworkspace_idrif1 ON " + schema +
             ".tblworkspace (idrif1);"
             "CREATE INDEX IF NOT EXISTS tblworkspace_t5_trgm ON " + schema +
             ".tblworkspace USING gin (t5 public.gin_trgm_ops) WITH (fastupdate = off);"
             "CREATE INDEX IF NOT EXISTS tblworkspace_descrizione_trgm ON " + schema +
             ".tblworkspace USING gin (descrizione public.gin_trgm_ops) WITH (fastupdate = off);"
             "CREATE INDEX IF NOT EXISTS tblworkspace_descrizione_upper_trgm ON " + schema +
             ".tblworkspace USING gin ((upper(descrizione)) public.gin_trgm_ops)"
             " WITH (fastupdate = off)");
}

}  // namespace qzkiro::refhost
