#include "qt/FinestraAttivita.h"

#include <QCommandLinkButton>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include "qt/Misure.h"
#include "qt/TestoQt.h"

namespace qzkiro::qt {

namespace {

QLabel* Etichetta(const QString& testo, const char* nome, QWidget* genitore) {
  auto* etichetta = new QLabel(testo, genitore);
  etichetta->setObjectName(QString::fromLatin1(nome));
  etichetta->setWordWrap(true);
  etichetta->setTextFormat(Qt::PlainText);
  return etichetta;
}

// The content: plain text, or rich text when it carries links.
QLabel* Contenuto(const std::string& testo, QWidget* genitore) {
  auto* etichetta = Etichetta(Mostrato(testo), "contenuto", genitore);
  if (HaCollegamenti(testo)) {
    etichetta->setTextFormat(Qt::RichText);
    etichetta->setText(ContenutoConCollegamenti(testo));
  }
  // The text can be copied; links, when there are any, are reached by Tab too.
  etichetta->setTextInteractionFlags(HaCollegamenti(testo) ? Qt::TextBrowserInteraction
                                                           : Qt::TextSelectableByMouse);
  return etichetta;
}

// The content in a scroll area, wrapped to the area's width.
QScrollArea* Scorrevole(QLabel* contenuto, QWidget* genitore) {
  auto* area = new QScrollArea(genitore);
  area->setObjectName(QStringLiteral("scorrimento"));
  area->setWidgetResizable(true);
  area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* interno = new QWidget(area);
  auto* layout = new QVBoxLayout(interno);
  layout->addWidget(contenuto);
  layout->addStretch();
  area->setWidget(interno);
  area->setMinimumHeight(contenuto->fontMetrics().lineSpacing() * 6);
  return area;
}

QCommandLinkButton* Comando(const std::string& testo, QWidget* genitore) {
  const QString t = Mostrato(testo);
  const qsizetype a_capo = t.indexOf(QLatin1Char('\n'));
  auto* pulsante = new QCommandLinkButton(a_capo < 0 ? t : t.left(a_capo), genitore);
  if (a_capo >= 0) pulsante->setDescription(t.mid(a_capo + 1));
  return pulsante;
}

}  // namespace

std::optional<QStyle::StandardPixmap> FinestraAttivita::IconaStandard(int icona) {
  switch (icona) {
    case 1:
      return QStyle::SP_MessageBoxInformation;
    case 2:
      return QStyle::SP_MessageBoxQuestion;
    case 3:
      return QStyle::SP_MessageBoxCritical;
    case 4:
      return QStyle::SP_VistaShield;
    case 5:
      return QStyle::SP_MessageBoxWarning;
    default:
      return std::nullopt;
  }
}

FinestraAttivita::FinestraAttivita(const core::DialogoAttivita& d, QWidget* genitore)
    : QDialog(genitore), scelta_(core::risposta::kAnnulla) {
  setWindowTitle(Q(d.titolo));
  auto* colonna = new QVBoxLayout;

  auto* istruzione = Etichetta(Mostrato(d.istruzione), "istruzione", this);
  QFont grande = istruzione->font();
  grande.setBold(true);
  grande.setPointSizeF(grande.pointSizeF() * 1.25);
  istruzione->setFont(grande);
  colonna->addWidget(istruzione);

  if (!d.contenuto.empty()) {
    QLabel* contenuto = Contenuto(d.contenuto, this);
    connect(contenuto, &QLabel::linkActivated, this, &FinestraAttivita::collegamento);
    if (d.scorrimento) {
      colonna->addWidget(Scorrevole(contenuto, this), 1);
    } else {
      colonna->addWidget(contenuto);
    }
  }
  if (!d.domanda.empty()) colonna->addWidget(Etichetta(Mostrato(d.domanda), "domanda", this));

  for (std::size_t i = 0; i < d.pulsanti.size(); ++i) {
    const auto& [id, testo] = d.pulsanti[i];
    QCommandLinkButton* pulsante = Comando(testo, this);
    pulsante->setObjectName(QStringLiteral("pulsante%1").arg(i));
    pulsante->setAutoDefault(true);
    if (i == 0) {
      pulsante->setDefault(true);
      pulsante->setFocus();
    }
    connect(pulsante, &QCommandLinkButton::clicked, this, [this, scelta = id] {
      scelta_ = scelta;
      QDialog::accept();
    });
    colonna->addWidget(pulsante);
  }

  auto* testa = new QHBoxLayout;
  if (const auto standard = IconaStandard(d.icona)) {
    auto* icona = new QLabel(this);
    icona->setObjectName(QStringLiteral("icona"));
    const int lato = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icona->setPixmap(style()->standardIcon(*standard, nullptr, this).pixmap(lato, lato));
    icona->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    testa->addWidget(icona, 0, Qt::AlignTop);
  }
  testa->addLayout(colonna, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(testa, 1);
  if (!d.piede.empty()) {
    auto* linea = new QFrame(this);
    linea->setFrameShape(QFrame::HLine);
    linea->setFrameShadow(QFrame::Sunken);
    layout->addWidget(linea);
    auto* piede = Etichetta(Mostrato(d.piede), "piede", this);
    piede->setTextFormat(Qt::RichText);
    piede->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(piede, &QLabel::linkActivated, this, &FinestraAttivita::collegamento);
    layout->addWidget(piede);
  }
  // As wide as a platform task dialog, so headings and notes wrap little.
  LarghezzaMinima(*layout, 64);
}

}  // namespace qzkiro::qt
