#include "cda/HostCDA.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <filesystem>

#include "core/Contesto.h"
#include "qzkiro/host/Archivio.h"
#include "util/File.h"
#include "util/Testo.h"
#include "util/clsBase64.h"

namespace qzkiro::cda {

host::IApplication* HostCorrente() {
  return core::Ctx().app.get();
}

double NumeroLocale(const std::string& testo) {
  std::string numero = util::Trim(testo);
  // A comparison before the number ("<5", ">= 10") is no part of it.
  const std::size_t confronto = numero.find_first_not_of("<>=");
  if (confronto != 0) numero = util::Trim(numero.substr(std::min(confronto, numero.size())));
  if (numero.starts_with('+')) numero.erase(0, 1);
  std::replace(numero.begin(), numero.end(), ',', '.');
  double valore = 0;
  const char* fine = numero.data() + numero.size();
  const auto [letto, errore] = std::from_chars(numero.data(), fine, valore);
  return !numero.empty() && errore == std::errc() && letto == fine && std::isfinite(valore) ? valore
                                                                                            : 0;
}

double Arrotonda4(double valore) {
  const double scalato = std::nearbyint(valore * 10000.0);
  return std::isfinite(scalato) ? scalato / 10000.0 : 0;
}

double ValoreNumero(const std::string& testo) {
  if (testo.empty()) return 0;
  if (auto* host = HostCorrente()) {
    try {
      return host->Framework().Valore(testo);
    } catch (const std::exception&) {
      // The host cannot convert: the add-on's own rule below.
    }
  }
  return NumeroLocale(testo);
}

std::string ValoreData(const std::string& data) {
  if (auto* host = HostCorrente()) {
    try {
      return host->Framework().ValoreData(data);
    } catch (const std::exception&) {
      // The text as it is, as the host gives back what is no date.
    }
  }
  return data;
}

std::string CodificaBase64(const std::string& testo) {
  if (testo.empty()) return {};
  if (auto* host = HostCorrente()) {
    try {
      return host->Base64().Encode(testo);
    } catch (const std::exception&) {
      // The same encoding done here.
    }
  }
  return util::clsBase64().Encode(testo);
}

std::string DataOraCompatta(const std::string& ts) {
  std::string cifre;
  for (char c : ts) {
    if (c < '0' || c > '9' || cifre.size() == 14) break;
    cifre.push_back(c);
  }
  if (cifre.empty()) return {};
  cifre.resize(14, '0');
  return cifre;
}

std::string TimbroFile() {
  std::string millesimi = "000";
  if (auto* host = HostCorrente()) {
    try {
      const std::string ora = host->API().LocalTime();
      if (ora.size() >= 3) millesimi = ora.substr(ora.size() - 3);
    } catch (const std::exception&) {
      // No milliseconds from the host: "000".
    }
  }
  return core::Ctx().orologio->Adesso().Formato("yyyymmddhhnnss") + millesimi;
}

std::string DescrizioneVisita(const std::string& id) {
  auto* host = HostCorrente();
  if (!host || id.empty()) return {};
  try {
    auto visite = host::Come<host::IArchivioVisite>(host->Archivio("Visite"), "Visite");
    if (auto voce = visite->Carica(id)) return voce->Descrizione;
  } catch (const std::exception&) {
    // No visit catalogue on this host.
  }
  return {};
}

bool ScriviPagina(const std::string& html, const std::string& cartella, const std::string& suffisso,
                  std::string& file) {
  if (html.empty()) return false;
  file = (std::filesystem::path(cartella) / (TimbroFile() + suffisso)).string();
  return util::ScriviFile(file, util::ComeByte(util::Utf8ToLatin1(html)));
}

}  // namespace qzkiro::cda
