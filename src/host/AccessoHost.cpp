#include "host/AccessoHost.h"

#include <exception>
#include <type_traits>

#include "qzkiro/Failure.h"
#include "util/NumeroLocale.h"
#include "util/Testo.h"
#include "util/clsBase64.h"

namespace qzkiro::host {

namespace {

// Runs `chiamata` on the host application; `altrimenti` when there is no
// host or the call raises an error (a member the host lacks, a failed
// look-up, a file it cannot write).
template <class F, class R = std::invoke_result_t<F, IApplication&>>
R ConHost(const AccessoHost& accesso, F&& chiamata, R altrimenti) {
  IApplication* app = accesso.Applicazione();
  if (!app) return altrimenti;
  try {
    return chiamata(*app);
  } catch (const std::exception&) {
    return altrimenti;
  }
}

template <class T>
std::shared_ptr<T> ArchivioDi(IApplication& app, const std::string& nome) {
  return Come<T>(app.Archivio(nome), nome);
}

}  // namespace

std::shared_ptr<const AccessoHost> AccessoHost::SenzaHost() {
  static const auto senza_host = std::make_shared<const AccessoHost>();
  return senza_host;
}

std::string AccessoHost::FileDelPlugin(const std::string&) const {
  return {};
}

IApplication& AccessoHost::App() const {
  IApplication* app = Applicazione();
  if (!app) throw Failure(91, "Applicazione host non impostata: chiamare Init");
  return *app;
}

std::string AccessoHost::ValoreData(const std::string& data) const {
  return ConHost(*this, [&](IApplication& app) { return app.Framework().ValoreData(data); }, data);
}

double AccessoHost::ValoreNumero(const std::string& testo) const {
  if (testo.empty()) return 0;
  return ConHost(
      *this, [&](IApplication& app) { return app.Framework().Valore(testo); },
      util::NumeroLocale(testo));
}

std::string AccessoHost::CodificaBase64(const std::string& testo) const {
  if (testo.empty()) return {};
  if (auto base64 = CodificaBase64Host(testo)) return *base64;
  return util::clsBase64().Encode(testo);
}

std::optional<std::string> AccessoHost::CodificaBase64Host(const std::string& testo) const {
  return ConHost(
      *this, [&](IApplication& app) { return std::optional(app.Base64().Encode(testo)); },
      std::optional<std::string>());
}

std::optional<std::string> AccessoHost::DecodificaBase64(const std::string& base64) const {
  return ConHost(
      *this, [&](IApplication& app) { return std::optional(app.Base64().Decode(base64)); },
      std::optional<std::string>());
}

bool AccessoHost::DecodificaBase64File(const std::string& base64, const std::string& file) const {
  return ConHost(
      *this, [&](IApplication& app) { return app.Base64().DecodeFile(base64, file); }, false);
}

std::string AccessoHost::SenzaEntita(const std::string& testo) const {
  // Without the host's escaping the text is still never written raw into HTML.
  return ConHost(
      *this, [&](IApplication& app) { return app.Framework().NoEntity(testo); },
      util::XmlEscape(testo));
}

std::string AccessoHost::CorpoMime(const std::string& testo) const {
  return ConHost(
      *this, [&](IApplication& app) { return app.Framework().GetMime(testo); }, std::string());
}

std::shared_ptr<IMime> AccessoHost::NuovoMime() const {
  return ConHost(
      *this, [](IApplication& app) { return app.Framework().NewMime(); },
      std::shared_ptr<IMime>());
}

std::optional<VoceComune> AccessoHost::ComuneIstat(const std::string& istat,
                                                   const std::string& data) const {
  return ConHost(
      *this,
      [&](IApplication& app) {
        return ArchivioDi<IArchivioComuni>(app, "Comuni")->CaricaIstat(istat, data);
      },
      std::optional<VoceComune>());
}

std::optional<VoceComune> AccessoHost::ComuneCatastale(const std::string& codice) const {
  return ConHost(
      *this,
      [&](IApplication& app) { return ArchivioDi<IArchivioComuni>(app, "Comuni")->CaricaCF(codice); },
      std::optional<VoceComune>());
}

std::string AccessoHost::DenominazioneStruttura(const std::string& codice) const {
  return ConHost(
      *this,
      [&](IApplication& app) {
        return ArchivioDi<IArchivioStrutture>(app, "Strutture")->Denominazione(codice);
      },
      std::string());
}

std::string AccessoHost::DescrizioneVisita(const std::string& id) const {
  if (id.empty()) return {};
  return ConHost(
      *this,
      [&](IApplication& app) {
        auto voce = ArchivioDi<IArchivioVisite>(app, "Visite")->Carica(id);
        return voce ? voce->Descrizione : std::string();
      },
      std::string());
}

std::string AccessoHost::FileTemporaneo() const {
  return ConHost(*this, [](IApplication& app) { return app.Utente().TempFile(); }, std::string());
}

std::string AccessoHost::CartellaTemporanea() const {
  return ConHost(*this, [](IApplication& app) { return app.Utente().TempDir(); }, std::string());
}

std::string AccessoHost::Millisecondi() const {
  const std::string ora =
      ConHost(*this, [](IApplication& app) { return app.API().LocalTime(); }, std::string());
  return ora.size() >= 3 ? ora.substr(ora.size() - 3) : std::string();
}

std::string AccessoHost::TimbroFile() const {
  std::string millesimi = Millisecondi();
  if (millesimi.empty()) millesimi = "000";
  return Adesso().Formato("yyyymmddhhnnss") + millesimi;
}

}  // namespace qzkiro::host
