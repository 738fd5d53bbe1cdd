#include "sandbox/Compressione.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

namespace qzkiro::sandbox {

namespace {

struct Voce {
  std::string codifica;  // lower case; "x-gzip" already read as "gzip"
  int millesimi = 1000;  // the q-value in thousandths
};

std::string_view SenzaSpazi(std::string_view testo) {
  const auto inizio = testo.find_first_not_of(" \t");
  if (inizio == std::string_view::npos) return {};
  return testo.substr(inizio, testo.find_last_not_of(" \t") + 1 - inizio);
}

std::string Minuscolo(std::string_view testo) {
  std::string esito(testo);
  for (char& c : esito) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return esito;
}

// A qvalue ("0", "0.5", "1.000": at most three decimals, never above 1) in
// thousandths; nothing when it is not one.
std::optional<int> Millesimi(std::string_view q) {
  if (q.empty() || (q[0] != '0' && q[0] != '1')) return std::nullopt;
  int valore = (q[0] - '0') * 1000;
  if (q.size() == 1) return valore;
  if (q[1] != '.' || q.size() > 5) return std::nullopt;
  int scala = 100;
  for (char c : q.substr(2)) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    valore += (c - '0') * scala;
    scala /= 10;
  }
  if (valore > 1000) return std::nullopt;
  return valore;
}

std::vector<std::string_view> Dividi(std::string_view testo, char separatore) {
  std::vector<std::string_view> parti;
  for (auto at = testo.find(separatore); at != std::string_view::npos;
       at = testo.find(separatore)) {
    parti.push_back(testo.substr(0, at));
    testo.remove_prefix(at + 1);
  }
  parti.push_back(testo);
  return parti;
}

// One element of the list: a coding and its parameters, of which only the
// weight counts. An element with a malformed weight is dropped.
std::optional<Voce> LeggiVoce(std::string_view elemento) {
  const auto parti = Dividi(elemento, ';');
  Voce voce;
  voce.codifica = Minuscolo(SenzaSpazi(parti[0]));
  if (voce.codifica.empty()) return std::nullopt;
  if (voce.codifica == "x-gzip") voce.codifica = "gzip";
  for (std::size_t i = 1; i < parti.size(); ++i) {
    const auto uguale = parti[i].find('=');
    if (uguale == std::string_view::npos ||
        Minuscolo(SenzaSpazi(parti[i].substr(0, uguale))) != "q") {
      continue;
    }
    const auto peso = Millesimi(SenzaSpazi(parti[i].substr(uguale + 1)));
    if (!peso) return std::nullopt;
    voce.millesimi = *peso;
  }
  return voce;
}

std::vector<Voce> LeggiVoci(std::string_view accept_encoding) {
  std::vector<Voce> voci;
  for (const auto elemento : Dividi(accept_encoding, ',')) {
    if (auto voce = LeggiVoce(elemento)) voci.push_back(*voce);
  }
  return voci;
}

// The weight of `codifica`: its own element's, else that of "*", else 0.
int Peso(const std::vector<Voce>& voci, std::string_view codifica) {
  std::optional<int> stella;
  for (const auto& voce : voci) {
    if (voce.codifica == codifica) return voce.millesimi;
    if (voce.codifica == "*" && !stella) stella = voce.millesimi;
  }
  return stella.value_or(0);
}

// `dati` compressed in one pass: `finestra` MAX_WBITS is the zlib format,
// MAX_WBITS + 16 gzip.
std::string Comprimi(std::string_view dati, int finestra) {
  z_stream z{};
  if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, finestra, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    throw std::runtime_error("zlib: compressione non disponibile");
  }
  const std::unique_ptr<z_stream, int (*)(z_streamp)> fine(&z, deflateEnd);
  std::string compresso(deflateBound(&z, static_cast<uLong>(dati.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(dati.data()));
  z.avail_in = static_cast<uInt>(dati.size());
  z.next_out = reinterpret_cast<Bytef*>(compresso.data());
  z.avail_out = static_cast<uInt>(compresso.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("zlib: compressione fallita");
  compresso.resize(z.total_out);
  return compresso;
}

}  // namespace

std::string CodificaAccettata(std::string_view accept_encoding) {
  const auto voci = LeggiVoci(accept_encoding);
  const int deflate = Peso(voci, "deflate");
  const int gzip = Peso(voci, "gzip");
  if (deflate > 0 && deflate >= gzip) return "deflate";
  return gzip > 0 ? "gzip" : "";
}

Risposta Comprimi(std::string_view accept_encoding, Risposta risposta) {
  const std::string codifica = CodificaAccettata(accept_encoding);
  if (codifica.empty() || risposta.corpo.empty() ||
      !CercaIntestazione(risposta.intestazioni, "Content-Encoding").empty()) {
    return risposta;
  }
  risposta.corpo = Comprimi(risposta.corpo, codifica == "gzip" ? MAX_WBITS + 16 : MAX_WBITS);
  risposta.intestazioni.emplace_back("Content-Encoding", codifica);
  risposta.intestazioni.emplace_back("Vary", "Accept-Encoding");
  return risposta;
}

std::string InBlocchi(std::string_view corpo, std::size_t blocco) {
  if (blocco == 0) blocco = std::max<std::size_t>(corpo.size(), 1);
  std::string esito;
  for (std::size_t da = 0; da < corpo.size(); da += blocco) {
    const std::string_view parte = corpo.substr(da, blocco);
    char lunghezza[20];
    std::snprintf(lunghezza, sizeof lunghezza, "%zx\r\n", parte.size());
    esito.append(lunghezza).append(parte).append("\r\n");
  }
  return esito + "0\r\n\r\n";
}

}  // namespace qzkiro::sandbox
