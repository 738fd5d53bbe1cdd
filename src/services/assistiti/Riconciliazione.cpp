#include "services/assistiti/Riconciliazione.h"

#include <cctype>
#include <map>
#include <set>

#include "util/Testo.h"

namespace qzkiro::assistiti {

namespace {

std::string Chiave(const std::string& cf) {
  std::string chiave = util::Trim(cf);
  for (char& c : chiave) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return chiave;
}

}  // namespace

Riconciliazione Riconcilia(const std::vector<std::string>& cf_host,
                           const std::vector<AssistitoFse>& server) {
  // The host's patients by fiscal code, with their place in the host's list.
  std::map<std::string, std::size_t> del_medico;
  for (std::size_t i = 0; i < cf_host.size(); ++i) {
    const std::string chiave = Chiave(cf_host[i]);
    if (!chiave.empty()) del_medico.emplace(chiave, i);
  }
  Riconciliazione r;
  std::set<std::string> visti;
  for (const AssistitoFse& a : server) {
    const std::string chiave = Chiave(a.codice_fiscale);
    const std::string identita = chiave.empty() ? "MPI:" + a.mpi : chiave;
    if (!visti.insert(identita).second) continue;
    if (!chiave.empty() && del_medico.erase(chiave) > 0) continue;
    r.nuovi.push_back(a);
  }
  std::map<std::size_t, std::string> rimasti;
  for (const auto& [chiave, posizione] : del_medico) rimasti.emplace(posizione, cf_host[posizione]);
  for (auto& [posizione, cf] : rimasti) r.revocati.push_back(util::Trim(cf));
  return r;
}

}  // namespace qzkiro::assistiti
