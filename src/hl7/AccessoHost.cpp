#include "hl7/AccessoHost.h"

#include <exception>
#include <type_traits>

#include "core/Contesto.h"
#include "util/Testo.h"

namespace qzkiro::hl7::accesso_host {

namespace {

// Runs `chiamata` on the host application; `altrimenti` when the process has
// no host or the call raises an error (a member the host lacks, a failed
// look-up, a file it cannot write).
template <class F, class R = std::invoke_result_t<F, host::IApplication&>>
R ConHost(F&& chiamata, R altrimenti) {
  const auto& app = core::Ctx().app;
  if (!app) return altrimenti;
  try {
    return chiamata(*app);
  } catch (const std::exception&) {
    return altrimenti;
  }
}

template <class T>
std::shared_ptr<T> Archivio(host::IApplication& app, const std::string& nome) {
  return host::Come<T>(app.Archivio(nome), nome);
}

}  // namespace

std::string DataVisibile(const std::string& data) {
  return ConHost([&](host::IApplication& app) { return app.Framework().ValoreData(data); }, data);
}

std::optional<host::VoceComune> ComuneIstat(const std::string& istat, const std::string& data) {
  return ConHost(
      [&](host::IApplication& app) {
        return Archivio<host::IArchivioComuni>(app, "Comuni")->CaricaIstat(istat, data);
      },
      std::optional<host::VoceComune>());
}

std::optional<host::VoceComune> ComuneCatastale(const std::string& codice) {
  return ConHost(
      [&](host::IApplication& app) {
        return Archivio<host::IArchivioComuni>(app, "Comuni")->CaricaCF(codice);
      },
      std::optional<host::VoceComune>());
}

std::string DenominazioneStruttura(const std::string& codice) {
  return ConHost(
      [&](host::IApplication& app) {
        return Archivio<host::IArchivioStrutture>(app, "Strutture")->Denominazione(codice);
      },
      std::string());
}

std::string SenzaEntita(const std::string& testo) {
  // Without the host's escaping the text is still never written raw into HTML.
  return ConHost([&](host::IApplication& app) { return app.Framework().NoEntity(testo); },
                 util::XmlEscape(testo));
}

std::string CorpoMime(const std::string& testo) {
  return ConHost([&](host::IApplication& app) { return app.Framework().GetMime(testo); },
                 std::string());
}

std::optional<std::string> DecodificaBase64(const std::string& base64) {
  return ConHost(
      [&](host::IApplication& app) { return std::optional(app.Base64().Decode(base64)); },
      std::optional<std::string>());
}

bool DecodificaBase64File(const std::string& base64, const std::string& file) {
  return ConHost([&](host::IApplication& app) { return app.Base64().DecodeFile(base64, file); },
                 false);
}

std::optional<std::string> CodificaBase64(const std::string& testo) {
  return ConHost([&](host::IApplication& app) { return std::optional(app.Base64().Encode(testo)); },
                 std::optional<std::string>());
}

std::shared_ptr<host::IMime> NuovoMime() {
  return ConHost([](host::IApplication& app) { return app.Framework().NewMime(); },
                 std::shared_ptr<host::IMime>());
}

std::string FileTemporaneo() {
  return ConHost([](host::IApplication& app) { return app.Utente().TempFile(); }, std::string());
}

std::string CartellaTemporanea() {
  return ConHost([](host::IApplication& app) { return app.Utente().TempDir(); }, std::string());
}

std::string Millisecondi() {
  const std::string ora =
      ConHost([](host::IApplication& app) { return app.API().LocalTime(); }, std::string());
  return ora.size() >= 3 ? ora.substr(ora.size() - 3) : std::string();
}

}  // namespace qzkiro::hl7::accesso_host
