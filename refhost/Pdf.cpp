#include "refhost/Pdf.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "refhost/Comando.h"

namespace qzkiro::refhost {

namespace {

namespace fs = std::filesystem;

bool Esiste(const std::string& file) {
  std::error_code errore;
  return fs::is_regular_file(file, errore);
}

// The file named after "-pdf", "" when there is none.
std::string UscitaPdf(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == "-pdf") return args[i + 1];
  }
  return {};
}

// A temporary HTML file with the page, removed when the object goes.
class PaginaTemporanea {
 public:
  explicit PaginaTemporanea(const std::string& html) {
    std::error_code errore;
    std::string modello = (fs::temp_directory_path(errore) / "kiro_pagina_XXXXXX.html").string();
    const int fd = mkstemps(modello.data(), 5);
    if (fd < 0) return;
    path_ = modello;
    std::size_t scritti = 0;
    while (scritti < html.size()) {
      const auto n = write(fd, html.data() + scritti, html.size() - scritti);
      if (n <= 0) break;
      scritti += static_cast<std::size_t>(n);
    }
    completa_ = close(fd) == 0 && scritti == html.size();
  }
  ~PaginaTemporanea() {
    std::error_code ignorato;
    if (!path_.empty()) fs::remove(path_, ignorato);
  }
  PaginaTemporanea(const PaginaTemporanea&) = delete;
  PaginaTemporanea& operator=(const PaginaTemporanea&) = delete;

  bool Pronta() const { return completa_; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  bool completa_ = false;
};

}  // namespace

bool EseguiFop(const std::string& argomenti) {
  auto args = DividiArgomenti(argomenti);
  const auto pdf = UscitaPdf(args);
  args.insert(args.begin(), "fop");
  return EseguiComando(args) && (pdf.empty() || Esiste(pdf));
}

bool HtmlInPdf(const std::string& html, const std::string& file) {
  if (file.empty()) return false;
  PaginaTemporanea pagina(html);
  return pagina.Pronta() &&
         EseguiComando({"weasyprint", "--encoding", "utf-8", pagina.Path(), file}) && Esiste(file);
}

}  // namespace qzkiro::refhost
