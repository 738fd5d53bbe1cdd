#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "qzkiro/Failure.h"
#include "qzkiro/host/Variant.h"

/// \file
/// The host database: queries, single rows opened for change, transactions.

namespace qzkiro::host {

/// A forward-only set of rows returned by a query.
class IRecordSet {
 public:
  virtual ~IRecordSet() = default;
  /// True when there is no current row: the query found none, or MoveNext
  /// went past the last.
  virtual bool Eof() = 0;
  /// Moves to the next row.
  virtual void MoveNext() = 0;
  /// The number of rows the query returned.
  virtual std::size_t RecordCount() = 0;
  /// The named column of the current row; an SQL NULL is an empty Variant.
  /// Throws Failure when there is no current row or no such column.
  virtual Variant Field(const std::string& name) = 0;
};

/// One row opened for change: fields are set, then Update writes them back.
class IRecord {
 public:
  virtual ~IRecord() = default;
  /// True when the query found no row.
  virtual bool Eof() = 0;
  /// The named column of the row; an SQL NULL is an empty Variant.
  virtual Variant Field(const std::string& name) = 0;
  /// Sets the named column; an empty Variant writes NULL. Nothing is written
  /// before Update.
  virtual void SetField(const std::string& name, const Variant& value) = 0;
  /// Writes the fields set back to the row (inserts a new row, see
  /// IDB::OpenRecord).
  virtual void Update() = 0;
};

/// The host database. Every call throws Failure when the database refuses it.
/// The add-on's statements are PostgreSQL's; the user's tables are in the
/// schema IUtente::IDSchema.
class IDB {
 public:
  virtual ~IDB() = default;
  /// Runs a query and returns its rows, positioned on the first.
  virtual std::unique_ptr<IRecordSet> OpenRecordSet(const std::string& sql) = 0;
  /// Opens the first row that a single-table SELECT returns. Given only a
  /// table name ("archivi.arcermete"), opens a new row of that table, which
  /// IRecord::Update inserts.
  virtual std::unique_ptr<IRecord> OpenRecord(const std::string& sql) = 0;
  /// True when the table exists. `table` may carry its schema
  /// ("archivi.arcermete").
  virtual bool ExistTable(const std::string& table) = 0;
  /// Runs a statement that returns no rows (CREATE TABLE, ...).
  virtual void Execute(const std::string& sql) = 0;
  /// One transaction around the calls that follow: CommitTrans keeps all of
  /// their changes, RollbackTrans (or a failure of CommitTrans) none. A host
  /// without them raises the error a late-bound call to a missing member raises.
  virtual void BeginTrans() { NonSupportato("BeginTrans"); }
  /// Ends the transaction of BeginTrans, keeping its changes.
  virtual void CommitTrans() { NonSupportato("CommitTrans"); }
  /// Ends the transaction of BeginTrans, dropping its changes.
  virtual void RollbackTrans() { NonSupportato("RollbackTrans"); }

 private:
  [[noreturn]] static void NonSupportato(const char* membro) {
    throw Failure(kMembroNonSupportato,
                  std::string("L'oggetto DB non supporta la proprietà o il metodo ") + membro);
  }
};

}  // namespace qzkiro::host
