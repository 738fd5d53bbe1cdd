#pragma once

#include <memory>
#include <string>

#include "qzkiro/host/Database.h"

namespace qzkiro::refhost {

// Failure numbers raised by Database and its record sets (the ADO numbers a
// Visual Basic host would raise for the same conditions).
inline constexpr long kErroreConnessione = 3704;        // cannot connect / connection lost
inline constexpr long kErroreSql = -2147217900;         // PostgreSQL refused the statement
inline constexpr long kIstruzioneNonSupportata = 3251;  // OpenRecord on an unsuitable query
inline constexpr long kNessunRecordCorrente = 3021;     // Eof: no current row
inline constexpr long kCampoInesistente = 3265;         // no column with that name
inline constexpr long kValoreNonValido = 3421;          // a value that cannot be written
inline constexpr long kRecordNonTrovato = -2147217864;  // the row vanished before Update

namespace detail {
class Session;
struct FormeTabelle;
}  // namespace detail

// The host database on a PostgreSQL server, through libpqxx.
//
// The connection string is a libpq one ("host=... dbname=..." or a URI); an
// empty string takes everything from the PG* environment variables. The
// connection opens on first use and reopens after it is lost. Every call runs
// in a transaction of its own, committed before it returns (between
// BeginTrans and CommitTrans, in that one transaction). Record sets and
// records keep the connection alive, so they may outlive the Database.
//
// Values come back as: NULL -> empty Variant, boolean -> bool, integer types
// -> integer, real/double/numeric -> double, anything else (dates, times,
// text) -> the text PostgreSQL prints. Column names match case-insensitively.
class Database final : public host::IDB {
 public:
  explicit Database(std::string connection_string = {});
  ~Database() override;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  std::unique_ptr<host::IRecordSet> OpenRecordSet(const std::string& sql) override;
  // Accepts "SELECT <columns> FROM [schema.]table [WHERE ...] [ORDER BY ...]
  // [LIMIT ...] [OFFSET ...]". The row is kept by its ctid; Update writes the
  // changed fields back to that row only, with bound parameters.
  // Given only a table name ("archivi.arcermete"), opens a new row of that
  // table: Update inserts it with the fields set, then it is a row like the
  // others.
  std::unique_ptr<host::IRecord> OpenRecord(const std::string& sql) override;
  // True for a table, view or materialized view; "schema.table" or a name
  // resolved through the search_path.
  bool ExistTable(const std::string& table) override;
  void Execute(const std::string& sql) override;
  // Until CommitTrans or RollbackTrans every call joins one transaction
  // instead of committing its own. A second BeginTrans, or CommitTrans with
  // none open, throws Failure; RollbackTrans with none open does nothing.
  void BeginTrans() override;
  void CommitTrans() override;
  void RollbackTrans() override;

 private:
  std::shared_ptr<detail::Session> session_;
  // The columns of each table opened for a new record, read once: a batch
  // of inserts costs one round trip per row. Execute (which may alter a
  // table) forgets them.
  std::unique_ptr<detail::FormeTabelle> forme_;
};

}  // namespace qzkiro::refhost
