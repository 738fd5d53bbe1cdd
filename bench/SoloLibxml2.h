#pragma once

// The baseline of the builders' benchmarks: what libxml2 alone spends on a
// finished text.

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <string>

namespace qzkiro::bench {

// Parses `testo` and, unless `serializza` is false, writes it back as UTF-8.
inline void LeggiEScrivi(const std::string& testo, bool serializza = true) {
  xmlDoc* doc = xmlReadMemory(testo.data(), static_cast<int>(testo.size()), nullptr, nullptr,
                              XML_PARSE_NONET);
  if (serializza) {
    xmlChar* uscita = nullptr;
    int lunghezza = 0;
    xmlDocDumpMemoryEnc(doc, &uscita, &lunghezza, "UTF-8");
    benchmark::DoNotOptimize(uscita);
    xmlFree(uscita);
  }
  xmlFreeDoc(doc);
}

}  // namespace qzkiro::bench
