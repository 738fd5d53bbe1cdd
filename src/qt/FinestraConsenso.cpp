#include "qt/FinestraConsenso.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "qt/PannelloTutore.h"
#include "qt/Pulsanti.h"
#include "qt/TestoQt.h"

namespace qzkiro::qt {

namespace {

// The three kinds of consent, in the order of the option pairs.
constexpr const char* kTipi[] = {
    "Consenso all'alimentazione del FSEr",
    "Consenso alla consultazione del FSEr",
    "Consenso all'alimentazione del FSEr con documenti pregressi",
};

QLineEdit* Campo(const std::string& testo, const char* nome, QWidget* genitore) {
  auto* campo = new QLineEdit(Q(testo), genitore);
  campo->setObjectName(QString::fromLatin1(nome));
  return campo;
}

}  // namespace

FinestraConsenso::FinestraConsenso(ModuloConsensoFSE& form, const AzioniConsensoFSE& azioni,
                                   QWidget* genitore)
    : QDialog(genitore), form_(form), azioni_(azioni) {
  setWindowTitle(Q(form.Titolo));
  auto* layout = new QVBoxLayout(this);
  auto* didascalia = new QLabel(Q(form.Didascalia()), this);
  didascalia->setObjectName(QStringLiteral("didascalia"));
  didascalia->setWordWrap(true);
  layout->addWidget(didascalia);
  CreaScelte(*layout);
  CreaSchede(*layout);
  CreaPulsanti(*layout);
  layout->setSizeConstraint(QLayout::SetMinimumSize);
}

void FinestraConsenso::CreaScelte(QVBoxLayout& layout) {
  for (std::size_t tipo = 0; tipo < 3; ++tipo) {
    auto* gruppo = new QGroupBox(QString::fromUtf8(kTipi[tipo]), this);
    auto* riga = new QHBoxLayout(gruppo);
    auto* esclusivi = new QButtonGroup(gruppo);
    for (std::size_t i = 0; i < 2; ++i) {
      const std::size_t n = tipo * 2 + i;
      auto* opzione = new QRadioButton(
          i == 0 ? QStringLiteral("Rilascia il consenso") : QStringLiteral("Nega il consenso"),
          gruppo);
      opzione->setObjectName(QStringLiteral("opzione%1").arg(n));
      // A pair may start with neither button set; a form with both set
      // shows the first.
      opzione->setChecked(form_.Opzioni[n] && (i == 0 || !form_.Opzioni[n - 1]));
      esclusivi->addButton(opzione);
      riga->addWidget(opzione);
      opzioni_[n] = opzione;
    }
    riga->addStretch();
    layout.addWidget(gruppo);
  }
}

void FinestraConsenso::CreaSchede(QVBoxLayout& layout) {
  schede_ = new QTabWidget(this);
  schede_->setObjectName(QStringLiteral("schede"));
  auto* dati = new QWidget(schede_);
  auto* recapiti = new QFormLayout(dati);
  cellulare_ = Campo(form_.Cellulare, "cellulare_paziente", dati);
  email_ = Campo(form_.Email, "email_paziente", dati);
  recapiti->addRow(QStringLiteral("&Cellulare:"), cellulare_);
  recapiti->addRow(QStringLiteral("&E-mail:"), email_);
  schede_->addTab(dati, QStringLiteral("Dati aggiuntivi"));
  for (const SchedaTutore& t : form_.Tutori) AggiungiScheda(t);
  Rinumera();
  layout.addWidget(schede_, 1);

  auto* tutori = new QHBoxLayout;
  auto* aggiungi = new QPushButton(QStringLiteral("&Aggiungi tutore"), this);
  aggiungi->setObjectName(QStringLiteral("aggiungi"));
  rimuovi_ = new QPushButton(QStringLiteral("&Rimuovi tutore"), this);
  rimuovi_->setObjectName(QStringLiteral("rimuovi"));
  rimuovi_->setEnabled(false);
  tutori->addWidget(aggiungi);
  tutori->addWidget(rimuovi_);
  tutori->addStretch();
  layout.addLayout(tutori);
  connect(aggiungi, &QPushButton::clicked, this, &FinestraConsenso::AggiungiTutore);
  connect(rimuovi_, &QPushButton::clicked, this, &FinestraConsenso::RimuoviTutoreCorrente);
  connect(schede_, &QTabWidget::currentChanged, this,
          [this](int indice) { rimuovi_->setEnabled(indice > 0); });
}

void FinestraConsenso::CreaPulsanti(QVBoxLayout& layout) {
  QDialogButtonBox* pulsanti = PulsantiOkAnnulla(*this, QStringLiteral("Annulla"));
  ok_ = PulsanteOk(*pulsanti);
  struct Azione {
    const char* nome;
    const char* testo;
    const std::function<void()>* esegui;
  };
  const Azione azioni[] = {{"riepilogo", "Riepilogo consensi", &azioni_.riepilogo},
                           {"informativa", "Informativa", &azioni_.informativa}};
  for (const Azione& a : azioni) {
    QPushButton* pulsante =
        pulsanti->addButton(QString::fromUtf8(a.testo), QDialogButtonBox::ActionRole);
    pulsante->setObjectName(QString::fromLatin1(a.nome));
    pulsante->setEnabled(static_cast<bool>(*a.esegui));
    connect(pulsante, &QPushButton::clicked, this, [esegui = a.esegui] { (*esegui)(); });
  }
  layout.addWidget(pulsanti);
}

void FinestraConsenso::AggiungiScheda(const SchedaTutore& tutore) {
  schede_->addTab(new PannelloTutore(tutore, azioni_, schede_), QString());
}

void FinestraConsenso::Rinumera() {
  for (int i = 1; i < schede_->count(); ++i) {
    schede_->setTabText(i, Q(form_.TitoloScheda(static_cast<std::size_t>(i - 1))));
  }
  // Every caption whole: the tabs widen the form rather than scroll.
  schede_->setMinimumWidth(schede_->tabBar()->sizeHint().width() +
                           2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this));
}

void FinestraConsenso::AggiungiTutore() {
  AggiungiScheda(SchedaTutore{});
  Rinumera();
  schede_->setCurrentIndex(schede_->count() - 1);
  static_cast<PannelloTutore*>(schede_->currentWidget())->PrimoCampo()->setFocus();
}

void FinestraConsenso::RimuoviTutoreCorrente() {
  const int indice = schede_->currentIndex();
  if (indice < 1) return;
  QWidget* scheda = schede_->widget(indice);
  schede_->removeTab(indice);
  delete scheda;
  Rinumera();
}

void FinestraConsenso::CopiaNelModulo() {
  for (std::size_t n = 0; n < opzioni_.size(); ++n) form_.Opzioni[n] = opzioni_[n]->isChecked();
  form_.Cellulare = U(cellulare_->text());
  form_.Email = U(email_->text());
  form_.Tutori.clear();
  for (int i = 1; i < schede_->count(); ++i) {
    form_.Tutori.push_back(static_cast<PannelloTutore*>(schede_->widget(i))->Tutore());
  }
}

void FinestraConsenso::accept() {
  CopiaNelModulo();
  ok_->setEnabled(false);
  const bool chiudi = !azioni_.conferma || azioni_.conferma();
  ok_->setEnabled(true);
  if (chiudi) QDialog::accept();
}

}  // namespace qzkiro::qt
