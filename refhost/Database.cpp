#include "refhost/Database.h"

#include <pqxx/pqxx>

#include <charconv>
#include <cstdint>
#include <map>
#include <optional>
#include <regex>
#include <string_view>
#include <utility>
#include <vector>

#include "qzkiro/Failure.h"

namespace qzkiro::refhost {

using host::Variant;

namespace {

std::string TrimRight(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\r')) {
    text.pop_back();
  }
  return text;
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// Type OIDs of pg_catalog.pg_type (fixed since PostgreSQL 7).
constexpr pqxx::oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26;
constexpr pqxx::oid kFloat4 = 700, kFloat8 = 701, kNumeric = 1700;

Variant ToVariant(const pqxx::field& field) {
  if (field.is_null()) return {};
  const std::string_view text(field.c_str(), field.size());
  const char* first = text.data();
  const char* last = first + text.size();
  switch (field.type()) {
    case kBool:
      return text == "t";
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid: {
      std::int64_t n = 0;
      auto [end, ec] = std::from_chars(first, last, n);
      if (ec == std::errc() && end == last) return n;
      break;
    }
    case kFloat4:
    case kFloat8:
    case kNumeric: {
      double d = 0;
      auto [end, ec] = std::from_chars(first, last, d);
      if (ec == std::errc() && end == last) return d;
      break;
    }
    default:
      break;
  }
  return std::string(text);
}

// The parameter text for a value: nullopt is SQL NULL.
std::optional<std::string> ParameterText(const Variant& value, const std::string& column) {
  if (value.IsEmpty()) return std::nullopt;
  if (value.IsBool()) return value.ToBool() ? "true" : "false";
  if (value.IsObject()) {
    throw Failure(kValoreNonValido, "Valore non valido per il campo " + column +
                                        ": un oggetto non può essere scritto nel database");
  }
  // Numbers as Variant prints them (doubles with 15 significant digits), texts as they are.
  return value.ToText();
}

std::string QuoteIdentifier(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

// Column names of a result, looked up exactly first, then ignoring case.
class Columns {
 public:
  Columns() = default;
  Columns(const pqxx::result& result, pqxx::row::size_type first) {
    for (auto c = first; c < result.columns(); ++c) names_.emplace_back(result.column_name(c));
  }
  std::optional<std::size_t> Find(const std::string& name) const {
    for (std::size_t i = 0; i < names_.size(); ++i) {
      if (names_[i] == name) return i;
    }
    for (std::size_t i = 0; i < names_.size(); ++i) {
      if (EqualsNoCase(names_[i], name)) return i;
    }
    return std::nullopt;
  }
  std::size_t Index(const std::string& name) const {
    if (auto i = Find(name)) return *i;
    throw Failure(kCampoInesistente, "Campo inesistente nel risultato della query: " + name);
  }
  const std::string& Name(std::size_t i) const { return names_[i]; }

 private:
  std::vector<std::string> names_;
};

[[noreturn]] void ThrowEof() {
  throw Failure(kNessunRecordCorrente,
                "Nessun record corrente: la fine dei dati è stata raggiunta");
}

// The pieces of "SELECT <columns> FROM <table> <rest>".
struct SingleTableSelect {
  std::string columns;
  std::string table;
  std::string rest;
  bool has_limit = false;
};

struct Word {
  std::string upper;
  std::size_t begin;
  std::size_t end;
};

bool IsWordStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}
bool IsWordChar(char c) {
  return IsWordStart(c) || (c >= '0' && c <= '9') || c == '$';
}

// The words outside parentheses, quotes and comments, with their positions.
// Returns nullopt when quotes, comments or parentheses are left open.
std::optional<std::vector<Word>> TopLevelWords(std::string_view sql) {
  std::vector<Word> words;
  int depth = 0;
  std::size_t i = 0;
  const std::size_t n = sql.size();
  while (i < n) {
    const char c = sql[i];
    if (c == '\'') {
      const bool escapes = i > 0 && (sql[i - 1] == 'E' || sql[i - 1] == 'e');
      for (++i;; ++i) {
        if (i >= n) return std::nullopt;
        if (escapes && sql[i] == '\\') {
          ++i;
        } else if (sql[i] == '\'') {
          if (i + 1 < n && sql[i + 1] == '\'') {
            ++i;
          } else {
            break;
          }
        }
      }
      ++i;
    } else if (c == '"') {
      const auto close = sql.find('"', i + 1);
      if (close == std::string_view::npos) return std::nullopt;
      i = close + 1;
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      const auto eol = sql.find('\n', i);
      i = eol == std::string_view::npos ? n : eol + 1;
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      const auto close = sql.find("*/", i + 2);
      if (close == std::string_view::npos) return std::nullopt;
      i = close + 2;
    } else if (c == '$' && (i == 0 || !IsWordChar(sql[i - 1]))) {
      // Dollar quoting: $tag$ ... $tag$ (a bare $1 is a parameter).
      auto tag_end = i + 1;
      while (tag_end < n && IsWordChar(sql[tag_end]) && sql[tag_end] != '$') ++tag_end;
      if (tag_end < n && sql[tag_end] == '$') {
        const std::string_view tag = sql.substr(i, tag_end - i + 1);
        const auto close = sql.find(tag, tag_end + 1);
        if (close == std::string_view::npos) return std::nullopt;
        i = close + tag.size();
      } else {
        i = tag_end;
      }
    } else if (c == '(') {
      ++depth;
      ++i;
    } else if (c == ')') {
      if (--depth < 0) return std::nullopt;
      ++i;
    } else if (IsWordStart(c)) {
      const auto begin = i;
      while (i < n && IsWordChar(sql[i])) ++i;
      if (depth == 0) {
        std::string upper(sql.substr(begin, i - begin));
        for (char& u : upper) u = (u >= 'a' && u <= 'z') ? static_cast<char>(u - 'a' + 'A') : u;
        words.push_back({std::move(upper), begin, i});
      }
    } else {
      ++i;
    }
  }
  if (depth != 0) return std::nullopt;
  return words;
}

// Length of the identifier ("name" or bare word) at `pos`, 0 when there is none.
std::size_t IdentifierLength(std::string_view sql, std::size_t pos) {
  if (pos >= sql.size()) return 0;
  if (sql[pos] == '"') {
    for (auto i = pos + 1; i < sql.size(); ++i) {
      if (sql[i] != '"') continue;
      if (i + 1 < sql.size() && sql[i + 1] == '"') {
        ++i;
      } else {
        return i + 1 - pos;
      }
    }
    return 0;
  }
  if (!IsWordStart(sql[pos])) return 0;
  auto i = pos;
  while (i < sql.size() && IsWordChar(sql[i])) ++i;
  return i - pos;
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && (IsSpace(text.back()) || text.back() == ';')) text.remove_suffix(1);
  return text;
}

std::optional<SingleTableSelect> ParseSingleTableSelect(std::string_view full_sql) {
  const std::string_view sql = Trim(full_sql);
  const auto words = TopLevelWords(sql);
  if (!words || words->empty() || (*words)[0].upper != "SELECT" || (*words)[0].begin != 0) {
    return std::nullopt;
  }
  std::size_t from = 1;
  while (from < words->size() && (*words)[from].upper != "FROM") ++from;
  if (from == words->size()) return std::nullopt;
  const std::string& first_after_select = (*words)[1].upper;
  if (first_after_select == "DISTINCT" || first_after_select == "ALL") return std::nullopt;
  for (std::size_t w = 1; w < from; ++w) {
    if ((*words)[w].upper == "INTO") return std::nullopt;
  }

  SingleTableSelect parts;
  parts.columns = std::string(Trim(sql.substr(6, (*words)[from].begin - 6)));
  if (parts.columns.empty()) return std::nullopt;

  // [schema.]table, as written.
  auto pos = (*words)[from].end;
  while (pos < sql.size() && IsSpace(sql[pos])) ++pos;
  const auto table_begin = pos;
  auto length = IdentifierLength(sql, pos);
  if (length == 0) return std::nullopt;
  pos += length;
  if (pos < sql.size() && sql[pos] == '.') {
    length = IdentifierLength(sql, pos + 1);
    if (length == 0) return std::nullopt;
    pos += 1 + length;
  }
  parts.table = std::string(sql.substr(table_begin, pos - table_begin));
  parts.rest = std::string(Trim(sql.substr(pos)));
  if (parts.rest.empty()) return parts;

  // What follows the table must be a filter, an order or a limit: no alias, join,
  // second table, grouping or set operation.
  std::size_t next = from + 1;
  while (next < words->size() && (*words)[next].begin < pos) ++next;
  if (next == words->size() ||
      sql.substr(pos, (*words)[next].begin - pos).find_first_not_of(" \t\r\n\f") !=
          std::string_view::npos) {
    return std::nullopt;
  }
  const std::string& clause = (*words)[next].upper;
  if (clause != "WHERE" && clause != "ORDER" && clause != "LIMIT" && clause != "OFFSET") {
    return std::nullopt;
  }
  for (auto w = next; w < words->size(); ++w) {
    const std::string& u = (*words)[w].upper;
    if (u == "UNION" || u == "INTERSECT" || u == "EXCEPT" || u == "GROUP" || u == "HAVING" ||
        u == "WINDOW" || u == "JOIN") {
      return std::nullopt;
    }
    if (u == "LIMIT" || u == "FETCH") parts.has_limit = true;
  }
  return parts;
}

}  // namespace

namespace detail {

// The connection, opened when first needed and shared by the Database and
// the record sets and records it opened.
class Session {
 public:
  explicit Session(std::string connection_string)
      : connection_string_(std::move(connection_string)) {}

  // Runs `body(work)` in a transaction and commits it; libpqxx errors become
  // Failure. `sql` only describes the statement in messages.
  template <class Body>
  auto Run(const std::string& sql, Body&& body) {
    pqxx::connection& connection = Connect();
    if (in_transazione_ && !transazione_) ThrowTransazionePersa();
    try {
      if (transazione_) return body(*transazione_);  // inside BeginTrans: no commit of its own
      pqxx::work work(connection);
      auto result = body(work);
      work.commit();
      return result;
    } catch (const Failure&) {
      throw;
    } catch (const pqxx::broken_connection& e) {
      transazione_.reset();
      connection_.reset();
      throw Failure(kErroreConnessione,
                    "Connessione al database interrotta: " + TrimRight(e.what()));
    } catch (const pqxx::sql_error& e) {
      throw Failure(kErroreSql,
                    "Errore del database: " + TrimRight(e.what()) + " (istruzione: " + sql + ")");
    } catch (const std::exception& e) {
      if (connection_ && !connection_->is_open()) {
        transazione_.reset();
        connection_.reset();
      }
      throw Failure(kErroreSql,
                    "Errore del database: " + TrimRight(e.what()) + " (istruzione: " + sql + ")");
    }
  }

 private:
  pqxx::connection& Connect() {
    if (connection_ && connection_->is_open()) return *connection_;
    transazione_.reset();
    connection_.reset();
    try {
      connection_ = std::make_unique<pqxx::connection>(connection_string_);
    } catch (const std::exception& e) {
      throw Failure(kErroreConnessione,
                    "Connessione al database non riuscita: " + TrimRight(e.what()));
    }
    return *connection_;
  }

  std::string connection_string_;
  std::unique_ptr<pqxx::connection> connection_;
  // The transaction BeginTrans opened; destroyed before the connection.
  // When the connection is lost inside it, every call fails until it ends.
  std::unique_ptr<pqxx::work> transazione_;
  bool in_transazione_ = false;

  [[noreturn]] static void ThrowTransazionePersa() {
    throw Failure(kErroreConnessione,
                  "Transazione interrotta: la connessione al database è stata persa");
  }

 public:
  void Inizia() {
    if (in_transazione_) {
      throw Failure(kIstruzioneNonSupportata, "Una transazione è già aperta sul database");
    }
    pqxx::connection& connection = Connect();
    try {
      transazione_ = std::make_unique<pqxx::work>(connection);
      in_transazione_ = true;
    } catch (const std::exception& e) {
      throw Failure(kErroreConnessione,
                    "Impossibile aprire la transazione: " + TrimRight(e.what()));
    }
  }
  void Concludi() {
    if (!in_transazione_) throw Failure(kIstruzioneNonSupportata, "Nessuna transazione aperta");
    in_transazione_ = false;
    auto transazione = std::move(transazione_);
    if (!transazione) ThrowTransazionePersa();
    try {
      transazione->commit();
    } catch (const std::exception& e) {
      throw Failure(kErroreSql, "Errore del database: " + TrimRight(e.what()) +
                                    " (conferma della transazione)");
    }
  }
  // Without an open transaction there is nothing to undo.
  void Annulla() {
    in_transazione_ = false;
    auto transazione = std::move(transazione_);
    if (!transazione) return;
    try {
      transazione->abort();
    } catch (const std::exception&) {
      // the server drops what the lost transaction did anyway
    }
  }
};

}  // namespace detail

namespace {

class RecordSet final : public host::IRecordSet {
 public:
  explicit RecordSet(pqxx::result result) : result_(std::move(result)), columns_(result_, 0) {}

  bool Eof() override { return row_ >= result_.size(); }
  void MoveNext() override {
    if (Eof()) ThrowEof();
    ++row_;
  }
  std::size_t RecordCount() override { return result_.size(); }
  Variant Field(const std::string& name) override {
    if (Eof()) ThrowEof();
    const auto column = columns_.Index(name);
    return ToVariant(result_[static_cast<pqxx::result::size_type>(row_)]
                            [static_cast<pqxx::row::size_type>(column)]);
  }

 private:
  pqxx::result result_;
  Columns columns_;
  std::size_t row_ = 0;
};

constexpr std::string_view kCtidColumn = "ctid::text AS qz_ctid";

class Record final : public host::IRecord {
 public:
  Record(std::shared_ptr<detail::Session> session, SingleTableSelect select,
         const pqxx::result& result)
      : session_(std::move(session)), select_(std::move(select)) {
    if (result.empty()) return;
    Load(result);
  }

  // A new row of `table`, with the columns of `shape` (a result without rows):
  // Update inserts it, then the record is that row.
  Record(std::shared_ptr<detail::Session> session, std::string table, const pqxx::result& shape)
      : session_(std::move(session)),
        select_{"*", std::move(table), "", false},
        nuovo_(true),
        columns_(shape, 1),
        values_(shape.columns() - 1) {}

  bool Eof() override { return !ctid_ && !nuovo_; }

  Variant Field(const std::string& name) override {
    if (Eof()) ThrowEof();
    const auto column = columns_.Index(name);
    if (auto changed = changes_.find(column); changed != changes_.end()) return changed->second;
    return values_[column];
  }

  void SetField(const std::string& name, const Variant& value) override {
    if (Eof()) ThrowEof();
    const auto column = columns_.Index(name);
    ParameterText(value, columns_.Name(column));  // refuse now what Update could not write
    changes_[column] = value;
  }

  void Update() override {
    if (Eof()) ThrowEof();
    if (nuovo_) return Insert();
    if (changes_.empty()) return;
    std::string sql = "UPDATE " + select_.table + " SET ";
    std::vector<std::optional<std::string>> texts;
    for (const auto& [column, value] : changes_) {
      if (!texts.empty()) sql += ", ";
      texts.push_back(ParameterText(value, columns_.Name(column)));
      sql += QuoteIdentifier(columns_.Name(column)) + " = $" + std::to_string(texts.size());
    }
    texts.push_back(*ctid_);
    sql += " WHERE ctid = $" + std::to_string(texts.size()) + "::tid RETURNING " +
           std::string(kCtidColumn) + ", " + select_.columns;
    const pqxx::result result = Exec(sql, texts);
    if (result.empty()) {
      throw Failure(kRecordNonTrovato, "Impossibile aggiornare il record di " + select_.table +
                                           ": è stato modificato o eliminato da un altro utente");
    }
    Load(result);
  }

 private:
  void Insert() {
    std::string names, placeholders;
    std::vector<std::optional<std::string>> texts;
    for (const auto& [column, value] : changes_) {
      if (!texts.empty()) names += ", ", placeholders += ", ";
      texts.push_back(ParameterText(value, columns_.Name(column)));
      names += QuoteIdentifier(columns_.Name(column));
      placeholders += "$" + std::to_string(texts.size());
    }
    std::string sql =
        "INSERT INTO " + select_.table +
        (texts.empty() ? " DEFAULT VALUES" : " (" + names + ") VALUES (" + placeholders + ")") +
        " RETURNING " + std::string(kCtidColumn) + ", *";
    Load(Exec(sql, texts));
    nuovo_ = false;
  }

  pqxx::result Exec(const std::string& sql, const std::vector<std::optional<std::string>>& texts) {
    std::vector<const char*> parameters;
    for (const auto& text : texts) parameters.push_back(text ? text->c_str() : nullptr);
    return session_->Run(sql, [&](pqxx::work& work) {
      return work.exec_params(sql, pqxx::prepare::make_dynamic_params(parameters));
    });
  }

  void Load(const pqxx::result& result) {
    columns_ = Columns(result, 1);
    const auto row = result[0];
    ctid_ = row[0].c_str();
    values_.clear();
    for (pqxx::row::size_type c = 1; c < row.size(); ++c) values_.push_back(ToVariant(row[c]));
    changes_.clear();
  }

  std::shared_ptr<detail::Session> session_;
  SingleTableSelect select_;
  bool nuovo_ = false;
  std::optional<std::string> ctid_;
  Columns columns_;
  std::vector<Variant> values_;
  std::map<std::size_t, Variant> changes_;  // by column, so the UPDATE lists them in order
};

}  // namespace

namespace detail {
struct FormeTabelle {
  std::map<std::string, pqxx::result> perTabella;
};
}  // namespace detail

Database::Database(std::string connection_string)
    : session_(std::make_shared<detail::Session>(std::move(connection_string))),
      forme_(std::make_unique<detail::FormeTabelle>()) {}

Database::~Database() = default;

std::unique_ptr<host::IRecordSet> Database::OpenRecordSet(const std::string& sql) {
  return std::make_unique<RecordSet>(
      session_->Run(sql, [&](pqxx::work& work) { return work.exec(sql); }));
}

std::unique_ptr<host::IRecord> Database::OpenRecord(const std::string& sql) {
  static const std::regex kSoloTabella(R"(\s*("?[A-Za-z_]\w*"?(\."?[A-Za-z_]\w*"?)?)\s*)");
  if (std::smatch tabella; std::regex_match(sql, tabella, kSoloTabella)) {
    auto forma = forme_->perTabella.find(tabella[1].str());
    if (forma == forme_->perTabella.end()) {
      const std::string query =
          "SELECT " + std::string(kCtidColumn) + ", * FROM " + tabella[1].str() + " LIMIT 0";
      forma = forme_->perTabella
                  .emplace(tabella[1].str(),
                           session_->Run(sql, [&](pqxx::work& work) { return work.exec(query); }))
                  .first;
    }
    return std::make_unique<Record>(session_, tabella[1].str(), forma->second);
  }
  auto select = ParseSingleTableSelect(sql);
  if (!select) {
    throw Failure(kIstruzioneNonSupportata,
                  "Istruzione non supportata da OpenRecord: " + sql +
                      " (è ammessa solo SELECT colonne FROM tabella [WHERE ...] [ORDER BY ...])");
  }
  std::string query =
      "SELECT " + std::string(kCtidColumn) + ", " + select->columns + " FROM " + select->table;
  if (!select->rest.empty()) query += " " + select->rest;
  if (!select->has_limit) query += " LIMIT 1";
  const pqxx::result result =
      session_->Run(sql, [&](pqxx::work& work) { return work.exec(query); });
  return std::make_unique<Record>(session_, std::move(*select), result);
}

bool Database::ExistTable(const std::string& table) {
  static const std::string sql =
      "SELECT EXISTS (SELECT 1 FROM pg_catalog.pg_class"
      " WHERE oid = pg_catalog.to_regclass($1) AND relkind IN ('r', 'p', 'v', 'm', 'f'))";
  return session_->Run(
      sql, [&](pqxx::work& work) { return work.exec_params1(sql, table)[0].as<bool>(); });
}

void Database::Execute(const std::string& sql) {
  forme_->perTabella.clear();
  session_->Run(sql, [&](pqxx::work& work) { return work.exec(sql); });
}

void Database::BeginTrans() {
  session_->Inizia();
}

void Database::CommitTrans() {
  session_->Concludi();
}

void Database::RollbackTrans() {
  session_->Annulla();
}

}  // namespace qzkiro::refhost
