#include "qt/TestoQt.h"

namespace qzkiro::qt {

namespace {

constexpr std::string_view kApri = "<Hyperlink Tag='";
constexpr std::string_view kFineTag = "'>";
constexpr std::string_view kChiudi = "</Hyperlink>";

QString Paragrafo(const std::string& testo) {
  return Mostrato(testo).toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

}  // namespace

QString Q(const std::string& testo) {
  return QString::fromUtf8(testo.data(), static_cast<qsizetype>(testo.size()));
}

std::string U(const QString& testo) {
  return testo.toUtf8().toStdString();
}

QString Mostrato(const std::string& testo) {
  return Q(testo).remove(QLatin1Char('\r'));
}

bool HaCollegamenti(const std::string& testo) {
  return testo.find(kApri) != std::string::npos;
}

QString ContenutoConCollegamenti(const std::string& testo) {
  QString html;
  std::size_t da = 0;
  for (;;) {
    const std::size_t apri = testo.find(kApri, da);
    const std::size_t fine_tag =
        apri == std::string::npos ? apri : testo.find(kFineTag, apri + kApri.size());
    const std::size_t chiudi =
        fine_tag == std::string::npos ? fine_tag : testo.find(kChiudi, fine_tag);
    if (chiudi == std::string::npos) break;
    html += Paragrafo(testo.substr(da, apri - da));
    // The address arrives with "&" already written "&amp;", as in markup.
    const std::string indirizzo = testo.substr(apri + kApri.size(), fine_tag - apri - kApri.size());
    const std::string etichetta =
        testo.substr(fine_tag + kFineTag.size(), chiudi - fine_tag - kFineTag.size());
    html += QStringLiteral("<a href=\"%1\">%2</a>")
                .arg(Q(indirizzo).replace(QLatin1Char('"'), QStringLiteral("&quot;")),
                     Paragrafo(etichetta));
    da = chiudi + kChiudi.size();
  }
  return html + Paragrafo(testo.substr(da));
}

}  // namespace qzkiro::qt
