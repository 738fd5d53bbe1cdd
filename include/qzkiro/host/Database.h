#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "qzkiro/Failure.h"
#include "qzkiro/host/Variant.h"

namespace qzkiro::host {

// A forward-only set of rows returned by a query.
class IRecordSet {
 public:
  virtual ~IRecordSet() = default;
  virtual bool Eof() = 0;
  virtual void MoveNext() = 0;
  virtual std::size_t RecordCount() = 0;
  // The named column of the current row; an SQL NULL is an empty Variant.
  // Throws Failure when there is no current row or no such column.
  virtual Variant Field(const std::string& name) = 0;
};

// One row opened for change: fields are set, then Update writes them back.
class IRecord {
 public:
  virtual ~IRecord() = default;
  // True when the query found no row.
  virtual bool Eof() = 0;
  virtual Variant Field(const std::string& name) = 0;
  virtual void SetField(const std::string& name, const Variant& value) = 0;
  virtual void Update() = 0;
};

// The host database. Every call throws Failure when the database refuses it.
class IDB {
 public:
  virtual ~IDB() = default;
  virtual std::unique_ptr<IRecordSet> OpenRecordSet(const std::string& sql) = 0;
  // Opens the first row that a single-table SELECT returns.
  virtual std::unique_ptr<IRecord> OpenRecord(const std::string& sql) = 0;
  // `table` may carry its schema ("archivi.arcermete").
  virtual bool ExistTable(const std::string& table) = 0;
  virtual void Execute(const std::string& sql) = 0;
  // One transaction around the calls that follow: CommitTrans keeps all of
  // their changes, RollbackTrans (or a failure of CommitTrans) none. A host
  // without them raises the error a late-bound call to a missing member raises.
  virtual void BeginTrans() { NonSupportato("BeginTrans"); }
  virtual void CommitTrans() { NonSupportato("CommitTrans"); }
  virtual void RollbackTrans() { NonSupportato("RollbackTrans"); }

 private:
  [[noreturn]] static void NonSupportato(const char* membro) {
    throw Failure(kMembroNonSupportato,
                  std::string("L'oggetto DB non supporta la proprietà o il metodo ") + membro);
  }
};

}  // namespace qzkiro::host
