// A generated CDA laboratory report of 2,000 or 16,000 results in ten
// sections: the bare libxml2 parse of its bytes, against loading it into
// clsCDA2 and importing it into a result container of the stand-in host (the
// whole of what the add-on does with a report it receives), and against
// reading every result's values without a host (what `kiro cda show` reads,
// and the comment). Both report their time as a ratio to the bare parse
// ("rapporto"): a reader that stays linear keeps about the same ratio at
// 2,000 and at 16,000 results.
//
// The import reads a report whose results each point to a note of their
// own. The reading also runs on a report laid out as the national laboratory
// example is: every result's comment points to its section's whole results
// table, so a reader that renders that table again for each result grows
// with the square of the results.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "cda/clsCDA2.h"
#include "core/AccessoContesto.h"
#include "core/Contesto.h"
#include "refhost/Applicazione.h"
#include "refhost/Input.h"
#include "util/Libxml.h"
#include "util/clsXML.h"

namespace {

namespace fs = std::filesystem;
using Orologio = std::chrono::steady_clock;

constexpr int kSezioni = 10;
constexpr int kPerGruppo = 20;

// What each result's comment points to.
enum class Note { PerRisultato, TabellaSezione };

std::string Osservazione(int i, const std::string& nota) {
  const std::string n = std::to_string(i);
  return "<component><observation classCode=\"OBS\" moodCode=\"EVN\">"
         "<code code=\"" +
         n +
         "-7\" codeSystem=\"2.16.840.1.113883.6.1\" codeSystemName=\"LOINC\" "
         "displayName=\"Esame " +
         n + "\"><translation code=\"E" + n +
         "\" codeSystem=\"1.2.3\" codeSystemName=\"DNLAB\" displayName=\"Esame locale " + n +
         "\"/></code><statusCode code=\"completed\"/>"
         "<effectiveTime value=\"20261205093000+0100\"/>"
         "<value xsi:type=\"PQ\" value=\"" +
         std::to_string(i % 97) + "." + std::to_string(i % 10) +
         "\" unit=\"mg/dL\"/><interpretationCode code=\"" + (i % 7 == 0 ? "H" : "N") +
         "\"/>"
         "<specimen><specimenRole><id extension=\"CAMP." +
         std::to_string(i / kPerGruppo) +
         "\"/></specimenRole></specimen>"
         "<entryRelationship typeCode=\"SUBJ\"><act classCode=\"ACT\" moodCode=\"EVN\"><text>"
         "<reference value=\"#" +
         nota +
         "\"/></text></act></entryRelationship>"
         "<referenceRange><observationRange><value xsi:type=\"IVL_PQ\"><low value=\"10\" "
         "unit=\"mg/dL\"/><high value=\"90,5\" unit=\"mg/dL\"/></value></observationRange>"
         "</referenceRange><referenceRange><observationRange><value xsi:type=\"IVL_PQ\">"
         "<low value=\"12\" unit=\"mg/dL\"/><high value=\"85\" unit=\"mg/dL\"/></value>"
         "</observationRange></referenceRange></observation></component>";
}

// The narrative of the results [da, a) of section `s`: a results table with
// one row per result and, with notes per result, one note each.
std::string Narrativa(int s, int da, int a, Note note) {
  std::string narrativa = "<text><paragraph>Referto generato\r\nsezione " + std::to_string(s) +
                          "</paragraph><table ID=\"tabella." + std::to_string(s) +
                          "\"><thead><tr><th>Esame</th><th>Esito</th><th/></tr></thead><tbody>";
  for (int i = da; i < a; ++i) {
    narrativa += "<tr><td>Esame " + std::to_string(i) + "</td><td>" + std::to_string(i % 97) +
                 "</td><td/></tr>";
  }
  narrativa += "</tbody></table>";
  for (int i = da; note == Note::PerRisultato && i < a; ++i) {
    narrativa += "<paragraph ID=\"nota." + std::to_string(i) + "\">Nota " + std::to_string(i) +
                 "</paragraph>";
  }
  return narrativa + "</text>";
}

// The results [da, a) of section `s` in batteries of 20, each battery with
// its specimen collection act beside it.
std::string Batterie(int s, int da, int a, Note note) {
  std::string voci;
  for (int primo = da; primo < a; primo += kPerGruppo) {
    const std::string g = std::to_string(primo / kPerGruppo);
    voci +=
        "<entryRelationship typeCode=\"COMP\"><act classCode=\"ACT\" moodCode=\"EVN\">"
        "<effectiveTime value=\"20261205073000+0100\"/><specimen><specimenRole>"
        "<id extension=\"CAMP." +
        g +
        "\"/></specimenRole></specimen></act></entryRelationship>"
        "<entryRelationship typeCode=\"COMP\"><organizer classCode=\"BATTERY\" moodCode=\"EVN\">"
        "<code code=\"G" +
        g + "\" displayName=\"Gruppo " + g +
        "\"/><component><organizer classCode=\"BATTERY\" moodCode=\"EVN\"><code code=\"B" + g +
        "\"/>";
    for (int i = primo; i < std::min(a, primo + kPerGruppo); ++i) {
      voci += Osservazione(i, note == Note::PerRisultato ? "nota." + std::to_string(i)
                                                         : "tabella." + std::to_string(s));
    }
    voci += "</organizer></component></organizer></entryRelationship>";
  }
  return voci;
}

std::string Referto(int risultati, Note note) {
  std::string sezioni;
  const int per_sezione = risultati / kSezioni;
  for (int s = 0; s < kSezioni; ++s) {
    const int da = s * per_sezione;
    const int a = s + 1 == kSezioni ? risultati : da + per_sezione;
    sezioni += "<component><section><code code=\"18719-5\"/><title>Chimica clinica " +
               std::to_string(s) + "</title>" + Narrativa(s, da, a, note) +
               "<entry><act classCode=\"ACT\" moodCode=\"EVN\">" + Batterie(s, da, a, note) +
               "</act></entry></section></component>";
  }
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
         "<ClinicalDocument xmlns=\"urn:hl7-org:v3\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
         "<id root=\"2.16.840.1.113883.2.9.2.50.4.4\" extension=\"LAB.BENCH\"/>"
         "<code code=\"11502-2\" codeSystem=\"2.16.840.1.113883.6.1\"/>"
         "<title>Referto di laboratorio</title><effectiveTime value=\"20261205093000+0100\"/>"
         "<recordTarget><patientRole><id extension=\"BNCGLI80A41L736C\"/><patient><name>"
         "<family>Bianchi</family><given>Giulia</given></name><administrativeGenderCode "
         "code=\"F\"/></patient></patientRole></recordTarget><custodian><assignedCustodian>"
         "<representedCustodianOrganization><id assigningAuthorityName=\"ULSS 3\"/>"
         "</representedCustodianOrganization></assignedCustodian></custodian>"
         "<inFulfillmentOf><order><id root=\"2.16.840.1.113883.2.9.2.80.3.1.4.8\" "
         "extension=\"050A1\"/></order></inFulfillmentOf>"
         "<component><structuredBody>" +
         sezioni + "</structuredBody></component></ClinicalDocument>";
}

// The report and a stand-in host on a copy of its sample data.
struct Ambiente {
  explicit Ambiente(int risultati)
      : testo(Referto(risultati, Note::PerRisultato)),
        dati(fs::temp_directory_path() / "qzkiro-bench-cda") {
    fs::remove_all(dati);
    fs::copy(QZKIRO_REFHOST_DATI, dati, fs::copy_options::recursive);
    fs::create_directories(dati / "temp");
    auto& contesto = qzkiro::core::NuovoContesto();
    contesto.app = std::make_shared<qzkiro::refhost::Applicazione>(dati);
  }
  ~Ambiente() {
    qzkiro::core::NuovoContesto();
    fs::remove_all(dati);
  }
  std::string testo;
  fs::path dati;
};

void AnalisiNuda(const std::string& testo) {
  auto doc = qzkiro::util::libxml::LeggiMemoria(testo, "referto.xml", nullptr,
                                                XML_PARSE_NONET | XML_PARSE_NOBLANKS);
  benchmark::DoNotOptimize(doc.get());
}

// Seconds of one bare parse of `testo`, for the ratio.
double SecondiAnalisiNuda(const std::string& testo) {
  constexpr int kRiferimento = 5;
  AnalisiNuda(testo);
  const auto inizio = Orologio::now();
  for (int i = 0; i < kRiferimento; ++i) AnalisiNuda(testo);
  return std::chrono::duration<double>(Orologio::now() - inizio).count() / kRiferimento;
}

std::shared_ptr<qzkiro::util::clsXML> Carica(benchmark::State& state, const std::string& testo) {
  auto xml = std::make_shared<qzkiro::util::clsXML>();
  if (!xml->LoadXML(testo)) state.SkipWithError("LoadXML");
  return xml;
}

// Time per iteration as a ratio to the bare parse, and the bytes read.
void Riporta(benchmark::State& state, Orologio::duration totale, const std::string& testo) {
  const double per_volta =
      std::chrono::duration<double>(totale).count() / static_cast<double>(state.iterations());
  state.counters["rapporto"] = per_volta / SecondiAnalisiNuda(testo);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(testo.size()));
}

void BM_ParseLibxml2(benchmark::State& state) {
  const std::string testo = Referto(static_cast<int>(state.range(0)), Note::PerRisultato);
  for (auto _ : state) AnalisiNuda(testo);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(testo.size()));
}
BENCHMARK(BM_ParseLibxml2)->Arg(2000)->Arg(16000)->Unit(benchmark::kMillisecond);

void BM_CDA2AddToInput(benchmark::State& state) {
  Ambiente a(static_cast<int>(state.range(0)));
  Orologio::duration totale{};
  for (auto _ : state) {
    const auto inizio = Orologio::now();
    qzkiro::cda::clsCDA2 cda(qzkiro::core::AccessoDelContesto());
    cda.SetCodificaCatalogo("DNLAB");
    cda.InitXML(Carica(state, a.testo));
    qzkiro::refhost::Input input;
    if (!cda.AddToInput(input)) state.SkipWithError(cda.LastError().c_str());
    totale += Orologio::now() - inizio;
    benchmark::DoNotOptimize(input.Chiamate().size());
  }
  Riporta(state, totale, a.testo);
}
BENCHMARK(BM_CDA2AddToInput)->Arg(2000)->Arg(16000)->Unit(benchmark::kMillisecond);

// Every result of the report with the values a reader without a host gives:
// code, result, unit, ranges, group and its code, specimen time, comment.
void LetturaRisultati(benchmark::State& state, Note note) {
  const std::string testo = Referto(static_cast<int>(state.range(0)), note);
  Orologio::duration totale{};
  for (auto _ : state) {
    const auto inizio = Orologio::now();
    qzkiro::cda::clsCDA2 cda;
    cda.SetCodificaCatalogo("DNLAB");
    cda.InitXML(Carica(state, testo));
    std::size_t letti = 0;
    for (qzkiro::cda::Nodo n : cda.ListaObservationsLAB()) {
      cda.InitParentNode(n);
      letti += cda.Codice().size() + cda.Esito().size() + cda.UM().size() + cda.Gruppo().size() +
               cda.CodicePadre().size() + cda.DataOraPrelievo().size() + cda.Commento().size();
      benchmark::DoNotOptimize(cda.RangeDaPerSesso("F") + cda.RangeAPerSesso("F"));
    }
    totale += Orologio::now() - inizio;
    benchmark::DoNotOptimize(letti);
  }
  Riporta(state, totale, testo);
}

void BM_CDA2LetturaNotePerRisultato(benchmark::State& state) {
  LetturaRisultati(state, Note::PerRisultato);
}
BENCHMARK(BM_CDA2LetturaNotePerRisultato)->Arg(2000)->Arg(16000)->Unit(benchmark::kMillisecond);

void BM_CDA2LetturaTabellaDiSezione(benchmark::State& state) {
  LetturaRisultati(state, Note::TabellaSezione);
}
BENCHMARK(BM_CDA2LetturaTabellaDiSezione)->Arg(2000)->Arg(16000)->Unit(benchmark::kMillisecond);

}  // namespace
