#include "refhost/Giornale.h"

#include <ctime>
#include <fstream>

#include "qzkiro/Failure.h"

namespace qzkiro::refhost {

namespace {

std::string Adesso() {
  const std::time_t t = std::time(nullptr);
  std::tm locale{};
  localtime_r(&t, &locale);
  char testo[20];
  std::strftime(testo, sizeof testo, "%Y-%m-%d %H:%M:%S", &locale);
  return testo;
}

}  // namespace

void Giornale::ScriviGiornaleMacchina(const std::string& testo) {
  std::string riga = testo;
  for (char& c : riga) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  if (!file_.parent_path().empty()) std::filesystem::create_directories(file_.parent_path());
  std::ofstream out(file_, std::ios::binary | std::ios::app);
  out << Adesso() << '\t' << utente_ << '\t' << riga << '\n';
  if (!out.flush()) throw Failure(75, "Impossibile scrivere nel giornale: " + file_.string());
}

std::vector<std::string> Giornale::Voci() const {
  std::vector<std::string> voci;
  std::ifstream in(file_, std::ios::binary);
  std::string riga;
  while (std::getline(in, riga)) {
    const auto prima = riga.find('\t');
    const auto seconda = prima == std::string::npos ? prima : riga.find('\t', prima + 1);
    voci.push_back(seconda == std::string::npos ? riga : riga.substr(seconda + 1));
  }
  return voci;
}

}  // namespace qzkiro::refhost
