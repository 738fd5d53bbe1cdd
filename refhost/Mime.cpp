#include "refhost/Mime.h"

#include <fstream>

#include <filesystem>
#include <optional>

#include "qzkiro/Failure.h"
#include "refhost/Base64.h"
#include "refhost/TestoMime.h"
#include "util/File.h"

namespace qzkiro::refhost {

namespace {

// Deeper multiparts stay whole, as one part: no message nests this far, and
// a hostile one must not exhaust the stack.
constexpr int kProfonditaMassima = 32;
constexpr long kContenutoNonValido = 5;

enum class RigaDelimitatore { kNessuna, kApertura, kChiusura };

// A delimiter line may carry spaces after it (transport padding).
RigaDelimitatore Tipo(std::string_view riga, std::string_view delimitatore) {
  if (!riga.starts_with(delimitatore)) return RigaDelimitatore::kNessuna;
  riga.remove_prefix(delimitatore.size());
  const bool chiusura = riga.starts_with("--");
  if (chiusura) riga.remove_prefix(2);
  if (!SoloSpazi(riga)) return RigaDelimitatore::kNessuna;
  return chiusura ? RigaDelimitatore::kChiusura : RigaDelimitatore::kApertura;
}

// The end of the content that began at `inizio`, before the line end that
// precedes the delimiter line at `riga`.
std::size_t FineContenuto(std::string_view corpo, std::size_t inizio, std::size_t riga) {
  if (riga > inizio && corpo[riga - 1] == '\n') {
    --riga;
    if (riga > inizio && corpo[riga - 1] == '\r') --riga;
  }
  return riga;
}

bool NomeSicuro(const std::string& nome) {
  return !nome.empty() && nome != "." && nome != ".." &&
         nome.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos;
}

}  // namespace

std::vector<std::string_view> DividiMultipart(std::string_view corpo,
                                              std::string_view delimitatore) {
  std::vector<std::string_view> parti;
  std::optional<std::size_t> inizio;
  for (std::size_t pos = 0; pos < corpo.size();) {
    const auto riga = LeggiRiga(corpo, pos);
    const auto tipo = Tipo(riga.testo, delimitatore);
    if (tipo != RigaDelimitatore::kNessuna) {
      if (inizio)
        parti.push_back(corpo.substr(*inizio, FineContenuto(corpo, *inizio, pos) - *inizio));
      if (tipo == RigaDelimitatore::kChiusura) return parti;
      inizio = riga.successiva;
    }
    pos = riga.successiva;
  }
  // Cut short: the last part runs to the end, when anything of it arrived.
  if (inizio && corpo.find_first_not_of(" \t\r\n", *inizio) != std::string_view::npos) {
    parti.push_back(corpo.substr(*inizio));
  }
  return parti;
}

MimeParte::MimeParte(IntestazioniMime intestazioni, std::shared_ptr<const std::string> testo,
                     std::string_view corpo)
    : intestazioni_(std::move(intestazioni)), testo_(std::move(testo)), corpo_(corpo) {}

std::string MimeParte::FileName() {
  auto nome = CampoConParametri(intestazioni_.Valore("Content-Disposition")).Nome("filename");
  if (!nome.empty()) return nome;
  return CampoConParametri(intestazioni_.Valore("Content-Type")).Nome("name");
}

std::string MimeParte::Name() {
  auto nome = CampoConParametri(intestazioni_.Valore("Content-Type")).Nome("name");
  return nome.empty() ? FileName() : nome;
}

std::string MimeParte::ContentType() {
  auto tipo = CampoConParametri(intestazioni_.Valore("Content-Type")).Valore();
  return tipo.empty() ? "text/plain" : tipo;
}

std::string MimeParte::Decode() {
  const auto codifica =
      CampoConParametri(intestazioni_.Valore("Content-Transfer-Encoding")).Valore();
  if (codifica == "quoted-printable") return DecodificaQuotedPrintable(corpo_);
  if (codifica != "base64") return std::string(corpo_);
  try {
    return Base64::Decodifica(std::string(corpo_));
  } catch (const Failure&) {
    throw Failure(kContenutoNonValido,
                  "Il contenuto Base64 della parte MIME \"" + FileName() + "\" non è valido");
  }
}

bool MimeParte::ExtractFile(const std::string& cartella, const std::string& nome) {
  const auto file = nome.empty() ? FileName() : nome;
  if (cartella.empty() || !NomeSicuro(file)) return false;
  std::string dati;
  try {
    dati = Decode();
  } catch (const Failure&) {
    return false;
  }
  return util::ScriviFile((std::filesystem::path(cartella) / file).string(), util::ComeByte(dati));
}

bool Mime::InitStr(const std::string& testo, const std::string& prefisso) {
  return Leggi(std::make_shared<const std::string>(testo), prefisso);
}

bool Mime::Leggi(std::shared_ptr<const std::string> testo, const std::string& prefisso) {
  parti_.clear();
  testo_ = std::move(testo);
  prefisso_ = prefisso;
  const auto inizio = testo_->find_first_not_of(" \t\r\n");
  if (inizio == std::string::npos) return false;
  IntestazioniMime intestazioni;
  const auto corpo = intestazioni.Leggi(*testo_, inizio);
  if (intestazioni.Vuote()) return false;
  Aggiungi(std::move(intestazioni), std::string_view(*testo_).substr(corpo), 0);
  return true;
}

bool Mime::InitFile(const std::string& file) {
  parti_.clear();
  // Read straight into one string: a message of many megabytes is held once
  // while its parts are taken out.
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  if (!in) return false;
  auto testo = std::make_shared<std::string>(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  return in.read(testo->data(), static_cast<std::streamsize>(testo->size())) &&
         Leggi(std::move(testo), "--");
}

std::vector<std::shared_ptr<host::IMimeParte>> Mime::Items() {
  return {parti_.begin(), parti_.end()};
}

void Mime::Aggiungi(IntestazioniMime intestazioni, std::string_view corpo, int profondita) {
  const CampoConParametri tipo(intestazioni.Valore("Content-Type"));
  const auto boundary = tipo.Parametro("boundary");
  if (!tipo.Valore().starts_with("multipart/") || boundary.empty() ||
      profondita >= kProfonditaMassima) {
    parti_.push_back(std::make_shared<MimeParte>(std::move(intestazioni), testo_, corpo));
    return;
  }
  for (const auto contenuto : DividiMultipart(corpo, prefisso_ + boundary)) {
    IntestazioniMime proprie;
    const auto inizio_corpo = proprie.Leggi(contenuto, 0);
    Aggiungi(std::move(proprie), contenuto.substr(inizio_corpo), profondita + 1);
  }
}

}  // namespace qzkiro::refhost
