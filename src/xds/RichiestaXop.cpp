#include "xds/RichiestaXop.h"

#include "util/Testo.h"

namespace qzkiro::xds {

namespace {

constexpr std::string_view kCrLf = "\r\n";

struct Parte {
  std::vector<std::pair<std::string, std::string>> intestazioni;
  std::string contenuto;
};

Parte ParteRadice(std::string_view busta, std::string_view asserzione) {
  return {{{"Content-Type",
            "application/xop+xml;charset=UTF-8;type=\"application/soap+xml\"; "
            "action=\"DocumentRepository_ProvideAndRegisterDocumentSet-b\""},
           {"Content-Transfer-Encoding", "8bit"},
           {"Content-ID", std::string(kIdParteRadice)}},
          util::Replace(std::string(busta), "[Asserzione]", asserzione)};
}

Parte ParteDocumento(const AllegatoXop& allegato) {
  return {{{"Content-Type", "text/xml; charset=us-ascii"},
           {"Content-Transfer-Encoding", "7bit"},
           {"Content-ID", "<" + allegato.nome + ">"},
           {"Content-Disposition", "attachment; name=\"" + allegato.nome + "\""}},
          util::SoloAscii(allegato.xml)};
}

// A boundary whose delimiter line occurs in no part: the first free one of a
// numbered series.
std::string Confine(const std::vector<Parte>& parti) {
  for (unsigned n = 0;; ++n) {
    const std::string confine = "MIMEBoundary_qzkiro_xop_" + std::to_string(n);
    bool libero = true;
    for (const Parte& parte : parti) {
      libero = libero && parte.contenuto.find("--" + confine) == std::string::npos;
      for (const auto& [nome, valore] : parte.intestazioni) {
        libero = libero && valore.find("--" + confine) == std::string::npos;
      }
    }
    if (libero) return confine;
  }
}

std::string Corpo(const std::vector<Parte>& parti, const std::string& confine) {
  std::string corpo;
  for (const Parte& parte : parti) {
    corpo += "--" + confine + std::string(kCrLf);
    for (const auto& [nome, valore] : parte.intestazioni) {
      corpo += nome + ": " + valore + std::string(kCrLf);
    }
    corpo += std::string(kCrLf) + parte.contenuto + std::string(kCrLf);
  }
  return corpo + "--" + confine + "--" + std::string(kCrLf);
}

}  // namespace

RichiestaHttpXop RichiestaXop(std::string_view busta, std::string_view asserzione,
                              const std::vector<AllegatoXop>& allegati) {
  std::vector<Parte> parti = {ParteRadice(busta, asserzione)};
  for (const AllegatoXop& allegato : allegati) parti.push_back(ParteDocumento(allegato));
  const std::string confine = Confine(parti);
  RichiestaHttpXop richiesta;
  richiesta.intestazioni = {
      {"MIME-Version", "1.0"},
      {"Content-Type",
       "multipart/related; start-info=\"text/xml\"; type=\"application/xop+xml\"; start=\"" +
           std::string(kIdParteRadice) + "\"; boundary=\"" + confine + "\""}};
  richiesta.corpo = Corpo(parti, confine);
  return richiesta;
}

}  // namespace qzkiro::xds
