#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <qzkiro/host/Application.h>
#include <qzkiro/host/Archivio.h>

namespace hostminimo {

// The user's stored settings ("KIRO.Debug", ...), kept in memory for the run.
class ImpostazioniUtente : public qzkiro::host::IItems {
 public:
  std::string GetItem(const std::string& key) override;
  void SetItem(const std::string& key, const std::string& value) override;

 private:
  std::map<std::string, std::string> voci_;
};

// Who works at this host.
struct DatiUtente {
  std::string codice_fiscale;
  std::string codice_asl;  // six digits: region and health unit
  std::string cognome;
  std::string nome;
};

// The host's current user: the doctor's identity, the health unit and the
// temporary folder. There is no database schema in this host.
class UtenteMinimo : public qzkiro::host::IUtente {
 public:
  explicit UtenteMinimo(DatiUtente dati) : dati_(std::move(dati)) {}

  std::string CodiceFiscale() override { return dati_.codice_fiscale; }
  std::string CodiceRegioneASL() override { return dati_.codice_asl; }
  std::int16_t Tipo() override { return 0; }  // a doctor who holds the practice
  std::string TempDir() override;
  std::string Cognome() override { return dati_.cognome; }
  std::string Nome() override { return dati_.nome; }
  std::string NomeCompleto() override { return dati_.cognome + " " + dati_.nome; }
  std::string CodiceRegionale() override { return {}; }
  std::string IDSchema() override;
  std::string Email() override { return {}; }
  std::string CodiceStruttura() override { return {}; }
  qzkiro::host::IItems& Items() override { return items_; }

 private:
  DatiUtente dati_;
  ImpostazioniUtente items_;
};

// A catalogue archive ("Esami", "Visite") of which the add-on reads only the
// version at Init: an empty version would switch the e-prescription of
// examinations and visits off, with a message.
class CatalogoMinimo : public qzkiro::host::IArchivio {
 public:
  std::string Versione() override { return "1"; }
};

// The host application handed to Init: the user, the set-up values and the
// two catalogues. Everything else this example does not offer: those members
// throw qzkiro::Failure, which the add-on turns into its LastError.
class Applicazione : public qzkiro::host::IApplication {
 public:
  explicit Applicazione(DatiUtente utente) : utente_(std::move(utente)) {}

  qzkiro::host::IUtente& Utente() override { return utente_; }
  qzkiro::host::Variant Setup(const std::string& name) override;
  void SetSetup(const std::string& name, const qzkiro::host::Variant& value) override;
  void GeneraEvento(const std::string& event, const std::string& value) override;
  qzkiro::host::IFramework& Framework() override;
  qzkiro::host::IRegistry& Registry() override;
  qzkiro::host::IDB& DB() override;
  std::shared_ptr<qzkiro::host::IArchivio> Archivio(const std::string& name) override;
  qzkiro::host::IBase64& Base64() override;

  // What the add-on wrote, in order (set-up values and events).
  const std::vector<std::pair<std::string, qzkiro::host::Variant>>& ScrittureSetup() const {
    return scritture_;
  }
  const std::vector<std::pair<std::string, std::string>>& Eventi() const { return eventi_; }

 private:
  UtenteMinimo utente_;
  std::map<std::string, qzkiro::host::Variant> setup_;
  std::vector<std::pair<std::string, qzkiro::host::Variant>> scritture_;
  std::vector<std::pair<std::string, std::string>> eventi_;
  std::shared_ptr<CatalogoMinimo> catalogo_ = std::make_shared<CatalogoMinimo>();
};

}  // namespace hostminimo
