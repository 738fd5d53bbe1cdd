#include "core/Orologio.h"

#include <ctime>
#include <thread>

namespace qzkiro::core {

util::DataOra OrologioDiSistema::Adesso() const {
  return util::AdessoLocale();
}

util::DataOra OrologioDiSistema::AdessoUTC() const {
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  return {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec};
}

int OrologioDiSistema::Millisecondi() const {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::system_clock::now().time_since_epoch());
  return static_cast<int>(ms.count() % 1000);
}

void OrologioDiSistema::Attendi(std::chrono::milliseconds durata) {
  std::this_thread::sleep_for(durata);
}

util::DataOra OrologioFisso::AdessoUTC() const {
  return adesso_.PiuSecondi(-3600L * scarto_ore_);
}

void OrologioFisso::Attendi(std::chrono::milliseconds durata) {
  adesso_ = adesso_.PiuSecondi(static_cast<long>(durata.count() / 1000));
}

}  // namespace qzkiro::core
