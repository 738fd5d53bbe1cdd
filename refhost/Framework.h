#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "qzkiro/host/Framework.h"

namespace qzkiro::refhost {

class Input;

// A dialog the add-on opened, with the parameters it read.
struct FinestraAperta {
  std::string form;
  bool modale = false;
  bool argomento_omesso = true;
  std::string titolo;
  host::Variant parametro;
  host::Variant parametro2;
};

// The host framework: AES-256-GCM protection of stored credentials, recorded
// dialogs, recording result containers, file-based request templates, the
// display forms of dates and numbers (FormatiHost.h), MIME and Base64 objects
// and PDF making by Debian's programs (Pdf.h).
class Framework : public host::IFramework {
 public:
  // Encrypt gives Base64 of nonce, cipher text and tag, under a key derived
  // from `key` with SHA-256. Decrypt throws Failure when the text was not
  // made under that key.
  std::string Encrypt(const std::string& text, const std::string& key) override;
  std::string Decrypt(const std::string& text, const std::string& key) override;
  // The constants the add-on carries are made with Encrypt under the key it
  // gives here, so they are deciphered as Decrypt does.
  std::string DecodeBF(const std::string& text, const std::string& key) override {
    return Decrypt(text, key);
  }
  // The save dialog answers the default name inside the folder set with
  // ImpostaCartellaSalvataggio; without one the "user" cancels ("").
  // Every dialog shown is kept (title, filter, default name).
  std::string SalvaFile(const std::string& titolo, const std::string& filtro,
                        const std::string& nome_predefinito) override;
  void ImpostaCartellaSalvataggio(std::filesystem::path cartella) {
    cartella_salvataggio_ = std::move(cartella);
  }
  const std::vector<std::vector<std::string>>& DialoghiSalvataggio() const {
    return dialoghi_salvataggio_;
  }

  void SetDialogParameter(const host::Variant& value) override { parametro_ = value; }
  void SetDialogParameter2(const host::Variant& value) override { parametro2_ = value; }
  void OpenChild(const std::string& form, bool modal, const host::Variant& omitted,
                 const std::string& caption) override;
  std::shared_ptr<host::IInput> NewInput() override;
  std::string TimeStampOraEsatta() override { return ora_esatta_; }
  void SetCredenzialiSAR(const std::string& utente, const std::string& password,
                         const std::string&) override {
    credenziali_sar_ = {utente, password};
  }
  std::string TokenMef2F() override { return token_; }
  void ImpostaTokenMef2F(const std::string& token, const std::string& scadenza) override {
    token_ = token;
    scadenza_token_ = scadenza;
  }
  // Its dialog gives the token prepared with PreparaToken2F (none: dismissed).
  bool AutenticazioneMef2F(const std::string&, const std::string&, const std::string&) override {
    ++richieste_token_;
    if (token_preparato_.empty()) return false;
    token_ = std::exchange(token_preparato_, {});
    return true;
  }
  // A new random (version 4) GUID on each call, in upper case as the
  // platform writes them.
  std::string GetSmartGUID() override;
  void PreparaToken2F(std::string token) { token_preparato_ = std::move(token); }
  const std::string& ScadenzaToken() const { return scadenza_token_; }
  int RichiesteToken() const { return richieste_token_; }
  // What TimeStampOraEsatta answers ("" = not available).
  void ImpostaOraEsatta(std::string ora) { ora_esatta_ = std::move(ora); }
  const std::pair<std::string, std::string>& CredenzialiSAR() const { return credenziali_sar_; }
  std::shared_ptr<host::ITemplate> newTemplate(const std::string& file,
                                               const host::Variant& parent) override;
  std::shared_ptr<host::IRicetta> NewRicetta() override;
  std::shared_ptr<host::IFlusso> NewFlusso() override;
  std::shared_ptr<host::IFlusso> NewFlussoPA() override;
  std::shared_ptr<host::IItemFlussoPA> NewItemFlussoPA() override;
  std::shared_ptr<host::IItemFlusso> NewItemFlusso() override;
  // The month's flows, made by what the application set (see
  // ImpostaFlussi); the host raises its missing-member error without one.
  std::shared_ptr<host::IFlussi> NewFlussi(const std::string& mese) override;
  void ImpostaFlussi(std::function<std::shared_ptr<host::IFlussi>(const std::string&)> crea) {
    crea_flussi_ = std::move(crea);
  }

  std::string ValoreData(const std::string& data) override;
  double Valore(const std::string& testo) override;
  std::string NoEntity(const std::string& testo) override;
  // The body of the message's first part as written (Base64 for the
  // documents), without its line ends; "" when the text is not MIME.
  std::string GetMime(const std::string& testo) override;
  std::shared_ptr<host::IMime> NewMime() override;
  std::shared_ptr<host::IBase64> NewBase64() override;
  // True when the file is not there afterwards (also when it never was).
  bool KillFile(const std::string& file) override;
  bool FOP(const std::string& argomenti) override;
  bool HtmlToPdf(const std::string& html, const std::string& file) override;
  // The Italian fiscal code's layout and check character (or a temporary
  // code of 11 digits with its Luhn-like check digit).
  bool VerificaCodiceFiscale(const std::string& codice) override;
  // Against the date the stand-in host was given (SetOggi), else today.
  int CalcolaEta(const std::string& data) override;
  // Records the document and opens it with the desktop's program
  // (ApriDocumento.h: xdg-open, or the command of $QZKIRO_APRI_DOCUMENTO).
  bool StartExDoc(const std::string& file) override;
  void SetOggi(std::string oggi) { oggi_ = std::move(oggi); }
  const std::vector<std::string>& DocumentiAperti() const { return documenti_; }

  const std::vector<FinestraAperta>& Finestre() const { return finestre_; }
  // The containers made by NewInput, oldest first.
  const std::vector<std::shared_ptr<Input>>& Inputs() const { return inputs_; }

 private:
  std::function<std::shared_ptr<host::IFlussi>(const std::string&)> crea_flussi_;
  std::filesystem::path cartella_salvataggio_;
  std::vector<std::vector<std::string>> dialoghi_salvataggio_;
  std::string oggi_;  // "yyyymmdd"
  std::vector<std::string> documenti_;
  host::Variant parametro_, parametro2_;
  std::vector<FinestraAperta> finestre_;
  std::vector<std::shared_ptr<Input>> inputs_;
  std::string ora_esatta_;
  std::string token_, scadenza_token_, token_preparato_;
  int richieste_token_ = 0;
  std::pair<std::string, std::string> credenziali_sar_;
};

}  // namespace qzkiro::refhost
