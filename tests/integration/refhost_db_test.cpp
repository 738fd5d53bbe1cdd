#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "qzkiro/Failure.h"
#include "refhost/Applicazione.h"
#include "refhost/Database.h"
#include "sandbox/server/CartellaTemporanea.h"
#include "support/PostgresServer.h"

namespace {

using qzkiro::Failure;
using qzkiro::host::Variant;
using qzkiro::refhost::Database;
using qzkiro::testsupport::ScratchSchema;

::testing::AssertionResult Contains(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\"" << text << "\" non contiene \"" << part << "\"";
}

Failure FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Failure& failure) {
    return failure;
  }
  ADD_FAILURE() << "nessuna Failure sollevata";
  return Failure(0, "");
}

class RefhostDbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_.Execute(R"sql(
      CREATE TABLE tblworkspace (ID serial PRIMARY KEY, TipoRecord integer,
        Data timestamp without time zone, i2 integer, m1 text, m2 character varying,
        StatoInvio varchar(20), Inviato boolean, Importo numeric(10, 2));
      INSERT INTO tblworkspace (TipoRecord, Data, i2, m1, m2, StatoInvio, Inviato, Importo) VALUES
        (1, '2024-03-05 10:20:30', 7, 'Referto glicemia', NULL, 'DA_INVIARE', true, 12.50),
        (2, '2024-03-31 23:00:00', NULL, 'referto EMOCROMO', 'b', 'INVIATO', false, NULL),
        (1, '2024-04-01 00:00:00', 3, NULL, 'c', 'DA_INVIARE', NULL, 0);
      -- Fails every UPDATE whose SET list names Data or Importo.
      CREATE FUNCTION vieta() RETURNS trigger LANGUAGE plpgsql
        AS $$BEGIN RAISE EXCEPTION 'colonna non modificata riscritta'; END$$;
      CREATE TRIGGER solo_modificate BEFORE UPDATE OF Data, Importo ON tblworkspace
        FOR EACH ROW EXECUTE FUNCTION vieta();
      CREATE TABLE archivi.arcermete (codice varchar(10) PRIMARY KEY, descrizione text);
      INSERT INTO archivi.arcermete VALUES ('A1', 'Glicemia'), ('A2', 'Emocromo');
    )sql");
  }

  // The text of `field` in each row of `sql`.
  std::vector<std::string> Texts(const std::string& sql, const std::string& field) {
    std::vector<std::string> texts;
    for (auto rs = db_.OpenRecordSet(sql); !rs->Eof(); rs->MoveNext()) {
      texts.push_back(rs->Field(field).ToText());
    }
    return texts;
  }

  ScratchSchema user_;
  ScratchSchema archivi_{"archivi"};
  Database db_{user_.ConnectionString()};
};

TEST_F(RefhostDbTest, RecordSetConvertsTypesAndNullsRowByRow) {
  auto rs = db_.OpenRecordSet("SELECT * FROM tblworkspace ORDER BY ID");
  EXPECT_EQ(rs->RecordCount(), 3u);
  ASSERT_FALSE(rs->Eof());
  EXPECT_EQ(rs->Field("ID"), Variant(1));
  EXPECT_EQ(rs->Field("TipoRecord"), Variant(1));
  EXPECT_EQ(rs->Field("Data"), Variant("2024-03-05 10:20:30"));
  EXPECT_EQ(rs->Field("m1"), Variant("Referto glicemia"));
  EXPECT_TRUE(rs->Field("M2").IsEmpty());
  EXPECT_EQ(rs->Field("Inviato"), Variant(true));
  EXPECT_EQ(rs->Field("importo"), Variant(12.5));
  rs->MoveNext();
  EXPECT_TRUE(rs->Field("i2").IsEmpty());
  EXPECT_EQ(rs->Field("statoinvio"), Variant("INVIATO"));
  EXPECT_EQ(rs->Field("Inviato"), Variant(false));
  EXPECT_TRUE(rs->Field("Importo").IsEmpty());
  rs->MoveNext();
  EXPECT_TRUE(rs->Field("m1").IsEmpty());
  EXPECT_TRUE(rs->Field("Inviato").IsEmpty());
  EXPECT_EQ(rs->Field("Importo"), Variant(0.0));
  EXPECT_EQ(FailureOf([&] { rs->Field("Inesistente"); }).Number(),
            qzkiro::refhost::kCampoInesistente);
  rs->MoveNext();
  EXPECT_TRUE(rs->Eof());
  EXPECT_EQ(FailureOf([&] { rs->Field("ID"); }).Number(), qzkiro::refhost::kNessunRecordCorrente);
  EXPECT_EQ(FailureOf([&] { rs->MoveNext(); }).Number(), qzkiro::refhost::kNessunRecordCorrente);
}

TEST_F(RefhostDbTest, RecordSetReadsAggregatesAndEmptyResults) {
  auto rs = db_.OpenRecordSet(
      "SELECT count(*) AS Quanti, max(Data) AS Ultima FROM tblworkspace WHERE TipoRecord = 1");
  EXPECT_EQ(rs->Field("QUANTI"), Variant(2));
  EXPECT_EQ(rs->Field("ultima"), Variant("2024-04-01 00:00:00"));
  EXPECT_EQ(db_.OpenRecordSet("SELECT ID FROM tblworkspace WHERE ID < 0")->RecordCount(), 0u);
}

TEST_F(RefhostDbTest, UpdateWritesOnlyChangedFieldsOfThatRowAndCanRepeat) {
  auto record = db_.OpenRecord("SELECT * FROM tblworkspace WHERE ID = 2");
  ASSERT_FALSE(record->Eof());
  record->SetField("StatoInvio", "INVIATO_OK");
  record->SetField("i2", "42");
  record->SetField("M2", Variant());
  EXPECT_EQ(record->Field("statoinvio"), Variant("INVIATO_OK"));  // visible before Update
  record->Update();                             // the trigger rejects any SET of Data or Importo
  EXPECT_EQ(record->Field("i2"), Variant(42));  // as stored: an integer now
  EXPECT_EQ(record->Field("Data"), Variant("2024-03-31 23:00:00"));

  record->SetField("TipoRecord", 9);  // the row moved on the first Update
  record->Update();

  EXPECT_EQ(Texts("SELECT * FROM tblworkspace ORDER BY ID", "StatoInvio"),
            (std::vector<std::string>{"DA_INVIARE", "INVIATO_OK", "DA_INVIARE"}));
  EXPECT_EQ(Texts("SELECT * FROM tblworkspace ORDER BY ID", "i2"),
            (std::vector<std::string>{"7", "42", "3"}));
  EXPECT_EQ(Texts("SELECT ID FROM tblworkspace WHERE m2 IS NULL ORDER BY ID", "ID"),
            (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(Texts("SELECT * FROM tblworkspace ORDER BY ID", "TipoRecord"),
            (std::vector<std::string>{"1", "9", "1"}));
  EXPECT_EQ(Texts("SELECT * FROM tblworkspace ORDER BY ID", "m1"),
            (std::vector<std::string>{"Referto glicemia", "referto EMOCROMO", ""}));
}

TEST_F(RefhostDbTest, UpdateRoundTripsQuotesUtf8BooleansAndOtherSchemas) {
  const std::string nota = "perché l'ha detto \"lui\"; DROP TABLE tblworkspace; --";
  auto record = db_.OpenRecord("select id, m1 AS nota, Inviato from tblworkspace where id = 3");
  record->SetField("Inviato", true);
  record->Update();
  EXPECT_EQ(record->Field("inviato"), Variant(true));
  record->SetField("Nota", nota);  // an alias, not a column of the table
  EXPECT_TRUE(Contains(FailureOf([&] { record->Update(); }).Description(), "\"nota\""));

  auto m1 = db_.OpenRecord("SELECT ID, m1 FROM tblworkspace WHERE m1 IS NULL");
  m1->SetField("M1", nota);
  m1->Update();
  EXPECT_EQ(Texts("SELECT m1 FROM tblworkspace WHERE ID = 3", "m1"),
            std::vector<std::string>{nota});

  auto esame =
      db_.OpenRecord("SELECT * FROM archivi.arcermete WHERE descrizione ILIKE 'emo%' ORDER BY 1");
  EXPECT_EQ(esame->Field("Codice"), Variant("A2"));
  esame->SetField("Descrizione", "Emocromo completo");
  esame->Update();
  EXPECT_EQ(Texts("SELECT * FROM archivi.arcermete ORDER BY codice", "descrizione"),
            (std::vector<std::string>{"Glicemia", "Emocromo completo"}));
}

TEST_F(RefhostDbTest, OpenRecordWithoutRowIsEofAndRefusesOtherStatements) {
  auto none = db_.OpenRecord("SELECT * FROM tblworkspace WHERE ID = -1");
  EXPECT_TRUE(none->Eof());
  for (const auto& action : std::vector<std::function<void()>>{
           [&] { none->Field("ID"); }, [&] { none->SetField("i2", 1); }, [&] { none->Update(); }}) {
    EXPECT_EQ(FailureOf(action).Number(), qzkiro::refhost::kNessunRecordCorrente);
  }
  auto year =
      db_.OpenRecord("SELECT ID, extract(year FROM Data) AS anno FROM tblworkspace ORDER BY ID");
  EXPECT_EQ(year->Field("Anno").ToInteger(), 2024);

  for (const std::string sql :
       {"UPDATE tblworkspace SET i2 = 1", "SELECT * FROM tblworkspace t WHERE t.ID = 1",
        "SELECT * FROM tblworkspace, archivi.arcermete",
        "SELECT * FROM tblworkspace JOIN archivi.arcermete ON true",
        "SELECT TipoRecord FROM tblworkspace GROUP BY TipoRecord",
        "SELECT DISTINCT TipoRecord FROM tblworkspace"}) {
    const Failure failure = FailureOf([&] { db_.OpenRecord(sql); });
    EXPECT_EQ(failure.Number(), qzkiro::refhost::kIstruzioneNonSupportata) << sql;
    EXPECT_TRUE(Contains(failure.Description(), "Istruzione non supportata da OpenRecord")) << sql;
  }
  EXPECT_EQ(Texts("SELECT i2 FROM tblworkspace ORDER BY ID", "i2"),
            (std::vector<std::string>{"7", "", "3"}));
}

TEST_F(RefhostDbTest, OpenRecordOnATableNameInsertsANewRow) {
  auto nuovo = db_.OpenRecord("archivi.arcermete");
  ASSERT_FALSE(nuovo->Eof());
  EXPECT_TRUE(nuovo->Field("descrizione").IsEmpty());
  nuovo->SetField("codice", "B7");
  nuovo->SetField("descrizione", "Indicazione d'uso: perché");
  nuovo->Update();
  EXPECT_EQ(Texts("SELECT * FROM archivi.arcermete ORDER BY codice", "codice"),
            (std::vector<std::string>{"A1", "A2", "B7"}));
  nuovo->SetField("descrizione", "cambiata");  // now an existing row: Update changes it
  nuovo->Update();
  EXPECT_EQ(Texts("SELECT * FROM archivi.arcermete WHERE codice = 'B7'", "descrizione"),
            (std::vector<std::string>{"cambiata"}));
  EXPECT_EQ(Texts("SELECT count(*) AS n FROM archivi.arcermete", "n"),
            (std::vector<std::string>{"3"}));

  auto doppio = db_.OpenRecord("archivi.arcermete");
  doppio->SetField("codice", "A1");
  EXPECT_TRUE(Contains(FailureOf([&] { doppio->Update(); }).Description(), "duplicate key"));
  EXPECT_THROW(db_.OpenRecord("archivi.inesistente"), Failure);
}

TEST(RefhostHostDbTest, HostMakesTheUserSchemaOnFirstUse) {
  qzkiro::sandbox::CartellaTemporanea dati;
  dati.Scrivi("utente.json", R"({"CodiceFiscale": "X", "IDSchema": "Medico07"})");
  qzkiro::refhost::Applicazione app(dati.Path());
  auto& db = app.DB();
  EXPECT_TRUE(db.ExistTable("medico07.tblworkspace"));
  db.Execute("INSERT INTO Medico07.tblworkspace (TipoRecord, m1) VALUES (100, 'ricetta')");
  auto rs = db.OpenRecordSet("Select ID,m1,m2 from Medico07.tblworkspace Where (i2=0)");
  ASSERT_EQ(rs->RecordCount(), 1u);
  EXPECT_EQ(rs->Field("m1"), Variant("ricetta"));
  qzkiro::refhost::Applicazione seconda(dati.Path());
  EXPECT_EQ(seconda.DB().OpenRecordSet("SELECT * FROM medico07.tblworkspace")->RecordCount(), 1u)
      << "a second start keeps the rows";
  EXPECT_TRUE(
      db.OpenRecordSet("SELECT 1 FROM pg_namespace WHERE nspname = 'archivi'")->RecordCount() ==
      1u);
  db.Execute("DROP SCHEMA medico07 CASCADE; DROP SCHEMA archivi CASCADE");
}

TEST_F(RefhostDbTest, ExistTableWithAndWithoutSchema) {
  EXPECT_TRUE(db_.ExistTable("tblworkspace"));
  EXPECT_TRUE(db_.ExistTable("TblWorkspace"));
  EXPECT_TRUE(db_.ExistTable("archivi.arcermete"));
  EXPECT_TRUE(db_.ExistTable(user_.Name() + ".tblworkspace"));
  EXPECT_FALSE(db_.ExistTable("arcermete"));  // archivi is not on the search_path
  EXPECT_FALSE(db_.ExistTable("archivi.tblworkspace"));
  EXPECT_FALSE(db_.ExistTable("nessuna"));
  try {
    db_.ExistTable("x'); DROP TABLE tblworkspace; --");
  } catch (const Failure&) {
  }
  EXPECT_TRUE(db_.ExistTable("tblworkspace"));
}

TEST_F(RefhostDbTest, ExecuteCommitsWholeStatementsAndReportsPostgresErrors) {
  db_.Execute("INSERT INTO archivi.arcermete VALUES ('A3', 'Urine')");
  Database other{user_.ConnectionString()};
  EXPECT_EQ(other.OpenRecordSet("SELECT * FROM archivi.arcermete")->RecordCount(), 3u);

  const Failure missing = FailureOf([&] {
    db_.Execute("INSERT INTO archivi.arcermete VALUES ('A4', 'x'); INSERT INTO nessuna VALUES (1)");
  });
  EXPECT_EQ(missing.Number(), qzkiro::refhost::kErroreSql);
  EXPECT_TRUE(Contains(missing.Description(), "Errore del database"));
  EXPECT_TRUE(Contains(missing.Description(), "relation \"nessuna\" does not exist"));
  EXPECT_TRUE(
      Contains(FailureOf([&] { db_.OpenRecordSet("SELEC 1"); }).Description(), "syntax error"));
  EXPECT_TRUE(Contains(
      FailureOf([&] { db_.Execute("UPDATE tblworkspace SET Data = now()"); }).Description(),
      "colonna non modificata riscritta"));
  // Nothing of the failed statements stayed, and the connection still works.
  EXPECT_EQ(db_.OpenRecordSet("SELECT * FROM archivi.arcermete")->RecordCount(), 3u);
}

TEST(RefhostDbConnection, WrongConnectionStringFailsOnFirstUse) {
  Database db{"dbname=qz_inesistente"};
  const Failure failure = FailureOf([&] { db.Execute("SELECT 1"); });
  EXPECT_EQ(failure.Number(), qzkiro::refhost::kErroreConnessione);
  EXPECT_TRUE(Contains(failure.Description(), "Connessione al database non riuscita"));
  EXPECT_TRUE(Contains(failure.Description(), "\"qz_inesistente\" does not exist"));
  EXPECT_EQ(FailureOf([&] { Database("host=/nessuna/cartella").ExistTable("x"); }).Number(),
            qzkiro::refhost::kErroreConnessione);
}

}  // namespace

int main(int argc, char** argv) {
  return qzkiro::testsupport::RunAllTestsUnderPostgres(argc, argv);
}
