#include "flows/asl/CredenzialiACN.h"

#include "core/Contesto.h"
#include "core/modLog.h"
#include "qzkiro/Ui.h"
#include "qzkiro/host/Registry.h"

namespace qzkiro::asl {

namespace {

constexpr const char* kMarca = "Curalis";
constexpr const char* kValore = "Credenziali";

std::string ChiaveRegistro(const std::string& codice_fiscale) {
  return std::string(host::kChiaveRegistroHost) + "ACN\\" + codice_fiscale;
}

std::optional<frmAccessoACN> Memorizzate(host::IApplication& app, const std::string& chiave) {
  try {
    const std::string cifrato = app.Registry().ReadReg(
        host::kRadiceUtente, ChiaveRegistro(app.Utente().CodiceFiscale()), kValore);
    if (cifrato.empty()) return std::nullopt;
    return LeggiRecordCredenzialiACN(app.Framework().Decrypt(cifrato, chiave));
  } catch (const std::exception&) {
    return std::nullopt;  // an unreadable record is asked again
  }
}

void Memorizza(host::IApplication& app, const std::string& chiave, const frmAccessoACN& form) {
  const std::string cifrato = app.Framework().Encrypt(RecordCredenzialiACN(form), chiave);
  app.Registry().WriteReg(host::kRadiceUtente, ChiaveRegistro(app.Utente().CodiceFiscale()),
                          kValore, cifrato);
}

}  // namespace

std::string RecordCredenzialiACN(const frmAccessoACN& form) {
  return std::string(kMarca) + '\t' + form.Testo2 + '\t' + form.Testo1;
}

std::optional<frmAccessoACN> LeggiRecordCredenzialiACN(const std::string& record) {
  const auto primo = record.find('\t');
  if (primo == std::string::npos) return std::nullopt;
  const auto secondo = record.find('\t', primo + 1);
  if (secondo == std::string::npos || record.find('\t', secondo + 1) != std::string::npos) {
    return std::nullopt;
  }
  if (record.compare(0, primo, kMarca) != 0) return std::nullopt;
  frmAccessoACN form;
  form.Testo2 = record.substr(primo + 1, secondo - primo - 1);
  form.Testo1 = record.substr(secondo + 1);
  return form;
}

std::optional<CredenzialiACN> ChiediCredenzialiACN() {
  auto& c = core::Ctx();
  auto& app = c.App();
  frmAccessoACN form = Memorizzate(app, c.chiave_protezione_2).value_or(frmAccessoACN{});
  form.Ricorda = false;
  if (!c.ui || !c.ui->AccessoACN(form)) return std::nullopt;
  if (form.Ricorda) {
    try {
      Memorizza(app, c.chiave_protezione_2, form);
    } catch (const std::exception& e) {
      // Not remembering them does not stop this upload.
      core::modLog::Log("Credenziali ACN non memorizzate", e.what(), true);
    }
  }
  return CredenzialiACN{form.Testo1, form.Testo2};
}

}  // namespace qzkiro::asl
