#include "core/Contesto.h"

#include "core/UiRegistrata.h"
#include "qzkiro/Failure.h"

#include <utility>

namespace qzkiro::core {

namespace {

std::unique_ptr<Contesto> Nuovo() {
  auto contesto = std::make_unique<Contesto>();
  contesto->ui = std::make_shared<UiRegistrata>();
  return contesto;
}

std::unique_ptr<Contesto>& Istanza() {
  static std::unique_ptr<Contesto> istanza = Nuovo();
  return istanza;
}

}  // namespace

host::IApplication& Contesto::App() const {
  if (!app) throw Failure(91, "Applicazione host non impostata: chiamare Init");
  return *app;
}

Contesto& Ctx() {
  return *Istanza();
}

void ImpostaUi(std::shared_ptr<Ui> ui) {
  Ctx().ui = ui ? std::move(ui) : std::make_shared<UiRegistrata>();
}

Contesto& NuovoContesto() {
  Istanza() = Nuovo();
  return *Istanza();
}

}  // namespace qzkiro::core
