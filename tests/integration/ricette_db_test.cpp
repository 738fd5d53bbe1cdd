// The batch resend of the prescriptions saved in the host's workspace, with
// the stand-in host on a throw-away PostgreSQL server and the sandbox's
// e-prescription services.

#include <gtest/gtest.h>

#include "integration/AmbienteRicette.h"
#include "support/PostgresServer.h"

namespace qzkiro::services {
namespace {

using sandbox::ServiziRicetta;

class RicetteSospeseTest : public ::testing::Test, protected testsupport::AmbienteRicette {
 protected:
  ~RicetteSospeseTest() override { Db().Execute("DROP SCHEMA IF EXISTS medico01 CASCADE"); }

  host::IDB& Db() { return env_.Host()->DB(); }

  // A workspace record of type `tipo` at `data` holding the prescription.
  void Salva(refhost::Ricetta& ricetta, const std::string& data, int tipo = 100, int i2 = 0) {
    auto record = Db().OpenRecord("medico01.tblworkspace");
    record->SetField("tiporecord", tipo);
    record->SetField("data", data);
    record->SetField("i2", i2);
    record->SetField("m1", ricetta.ToString());
    record->SetField("m2", ricetta.PrescrizioniToString());
    record->Update();
  }

  // "i2|t2" of each record, in insertion order.
  std::vector<std::string> Esiti() {
    std::vector<std::string> esiti;
    for (auto rs = Db().OpenRecordSet("SELECT i2, t2 FROM medico01.tblworkspace ORDER BY id");
         !rs->Eof(); rs->MoveNext()) {
      esiti.push_back(rs->Field("i2").ToText() + "|" + rs->Field("t2").ToText());
    }
    return esiti;
  }
};

TEST_F(RicetteSospeseTest, EachRecordOfTheLastDayGetsItsOutcomeAndOneFailureDoesNotStopTheOthers) {
  auto con_nre = [](const char* nre) {
    auto r = Campione("rossa_farmaci.json");
    r->Imposta("NRE", nre);
    return r;
  };
  Salva(*con_nre("050A00000000701"), "2026-12-06 08:00:00");  // the service times out
  Salva(*con_nre("050A00000000702"), "2026-12-06 08:10:00");  // sent
  auto asl = con_nre("050A00000000704");
  asl->Imposta("PazienteASLResidenza", "");
  asl->Imposta("PazienteASLAssistenza", "");
  Salva(*asl, "2026-12-06 08:40:00");
  Salva(*con_nre("050A00000000705"), "2026-12-04 09:00:00");          // older than a day
  Salva(*con_nre("050A00000000706"), "2026-12-06 09:00:00", 101);     // another record type
  Salva(*con_nre("050A00000000707"), "2026-12-06 09:10:00", 100, 1);  // already sent
  Salva(*con_nre("050A00000000708"), "2026-12-06 10:29:00");          // sent with a warning
  dem_.Programma(ServiziRicetta::Esito::kTimeout);
  dem_.Programma(ServiziRicetta::Esito::kAvvisoGenerico);

  host::Variant modello;
  EXPECT_FALSE(plugin_.QZ04003(modello)) << "one record failed";
  EXPECT_EQ(Esiti(), (std::vector<std::string>{
                         "2|Il sistema non ha risposto nei tempi prestabiliti (Timeout)",
                         "1|",
                         "3|ASL di Residenza o Assistenza non specificato",
                         "0|",
                         "0|",
                         "1|",
                         "1|",
                     }));
  EXPECT_TRUE(dem_.Ricetta("050A00000000702"));
  EXPECT_TRUE(dem_.Ricetta("050A00000000708"));
  EXPECT_FALSE(dem_.Ricetta("050A00000000705"));
  EXPECT_TRUE(env_.Ui().DialoghiMostrati().empty()) << "a batch shows nothing";
}

}  // namespace
}  // namespace qzkiro::services

int main(int argc, char** argv) {
  return qzkiro::testsupport::RunAllTestsUnderPostgres(argc, argv);
}
