#include "qzkiro/clsItemAsserzione.h"

#include <array>

#include "core/Contesto.h"
#include "util/ListaStringhe.h"

namespace qzkiro {

namespace {

// The properties of the text form, in their order.
constexpr std::array<std::string clsItemAsserzione::*, 17> kProprieta = {
    &clsItemAsserzione::Asserzione,     &clsItemAsserzione::Contesto,
    &clsItemAsserzione::Ruolo,          &clsItemAsserzione::Audience,
    &clsItemAsserzione::CFResponsabile, &clsItemAsserzione::CFUtente,
    &clsItemAsserzione::CFPaziente,     &clsItemAsserzione::TipologiaAutenticazione,
    &clsItemAsserzione::UserName,       &clsItemAsserzione::Password,
    &clsItemAsserzione::Nonce,          &clsItemAsserzione::TimeStamp,
    &clsItemAsserzione::TimeStamp1d,    &clsItemAsserzione::LastError,
    &clsItemAsserzione::LastErrorCode,  &clsItemAsserzione::Servizio,
    &clsItemAsserzione::Struttura};

}  // namespace

std::string clsItemAsserzione::ApplicationID() const {
  const std::string& configurato = core::Ctx().settings.application_id;
  return configurato.empty() ? "urn:uuid:010ba07a-5fbf-4a86-8364-9a026ab3be3e" : configurato;
}

std::shared_ptr<clsItemAsserzione> clsItemAsserzione::Clone() const {
  auto clone = std::make_shared<clsItemAsserzione>();
  for (auto proprieta :
       {&clsItemAsserzione::Contesto, &clsItemAsserzione::Ruolo, &clsItemAsserzione::Audience,
        &clsItemAsserzione::CFResponsabile, &clsItemAsserzione::CFUtente,
        &clsItemAsserzione::CFPaziente, &clsItemAsserzione::TipologiaAutenticazione,
        &clsItemAsserzione::UserName, &clsItemAsserzione::Password, &clsItemAsserzione::Servizio,
        &clsItemAsserzione::Struttura}) {
    (*clone).*proprieta = this->*proprieta;
  }
  return clone;
}

std::string clsItemAsserzione::ToString() const {
  util::ListaStringhe lista;
  for (auto proprieta : kProprieta) lista.Append(this->*proprieta);
  return lista.Serializza();
}

bool clsItemAsserzione::FromString(const std::string& txt) {
  auto lista = util::ListaStringhe::Carica(txt);
  if (!lista) return false;
  for (std::size_t i = 0; i < kProprieta.size(); ++i) this->*kProprieta[i] = lista->Item(i + 1);
  return true;
}

}  // namespace qzkiro
