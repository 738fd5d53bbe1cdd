#pragma once

#include <memory>
#include <string>

#include "qzkiro/Failure.h"
#include "qzkiro/host/Base64.h"
#include "qzkiro/host/Flussi.h"
#include "qzkiro/host/Input.h"
#include "qzkiro/host/Mime.h"
#include "qzkiro/host/Ricetta.h"
#include "qzkiro/host/Template.h"
#include "qzkiro/host/Variant.h"
#include "qzkiro/host/Workspace.h"

namespace qzkiro::host {

// The host's framework object: protection of stored credentials, child
// dialogs, result containers and templates.
class IFramework {
 public:
  virtual ~IFramework() = default;
  // Reversible protection: Decrypt(Encrypt(t, k), k) == t.
  virtual std::string Encrypt(const std::string& text, const std::string& key) = 0;
  virtual std::string Decrypt(const std::string& text, const std::string& key) = 0;
  // Parameters read by the next dialog opened with OpenChild.
  virtual void SetDialogParameter(const Variant& value) = 0;
  virtual void SetDialogParameter2(const Variant& value) = 0;
  // Opens a host dialog; `omitted` is the argument the add-on leaves out (empty).
  virtual void OpenChild(const std::string& form, bool modal, const Variant& omitted,
                         const std::string& caption) = 0;
  virtual std::shared_ptr<IInput> NewInput() = 0;
  // The national reference time as "yyyy-mm-dd hh:nn:ss" (local time), ""
  // when the host could not get it.
  virtual std::string TimeStampOraEsatta() = 0;
  // The second authentication factor the host keeps: the current one-time
  // token ("" when none), storing it with its expiry ("yyyy-mm-dd hh:nn:ss"),
  // and the host's own dialog that obtains a new one (false when dismissed).
  virtual std::string TokenMef2F() = 0;
  virtual void ImpostaTokenMef2F(const std::string& token, const std::string& scadenza) = 0;
  virtual bool AutenticazioneMef2F(const std::string& titolo, const std::string& pulsante,
                                   const std::string& didascalia) = 0;
  // The GUID of the user's login session on the host.
  virtual std::string GetSmartGUID() = 0;
  // The identity provider's credentials of the user, for the host's own use.
  virtual void SetCredenzialiSAR(const std::string& utente, const std::string& password,
                                 const std::string& altro) = 0;
  // A new request template loaded from a template file; `parent` is empty.
  virtual std::shared_ptr<ITemplate> newTemplate(const std::string& file,
                                                 const Variant& parent) = 0;
  // A new, empty prescription object (loaded with FromString).
  virtual std::shared_ptr<IRicetta> NewRicetta() = 0;

  // Members the document readers use. A host without one raises the error a
  // late-bound call to a missing member raises.
  //
  // A date or time stamp of the messages (HL7 "yyyymmdd[hhnn[ss]]...", or
  // "yyyy-mm-dd...") in the host's display form; the text itself when it is
  // not a date.
  virtual std::string ValoreData(const std::string& data) {
    return NonSupportato("ValoreData", data);
  }
  // The number in a text (decimal point or comma); 0 when it is not one.
  virtual double Valore(const std::string& testo) {
    NonSupportato("Valore", testo);
    return 0;
  }
  // The text made safe inside HTML.
  virtual std::string NoEntity(const std::string& testo) {
    return NonSupportato("NoEntity", testo);
  }
  // The Base64 body of a single-part MIME text ("" when there is none).
  virtual std::string GetMime(const std::string& testo) { return NonSupportato("GetMime", testo); }
  virtual std::shared_ptr<IMime> NewMime() {
    NonSupportato("NewMime", {});
    return nullptr;
  }
  // A new Base64 object of its own (for file conversions).
  virtual std::shared_ptr<IBase64> NewBase64() {
    NonSupportato("NewBase64", {});
    return nullptr;
  }
  // Deletes a file; false when it exists and cannot be deleted (still open).
  virtual bool KillFile(const std::string& file) {
    NonSupportato("KillFile", file);
    return false;
  }
  // Runs the XSL-FO formatter with a command line ("-xml "a" -xsl "b" -pdf "c"").
  virtual bool FOP(const std::string& argomenti) {
    NonSupportato("FOP", argomenti);
    return false;
  }
  // Converts an HTML page into a PDF file.
  virtual bool HtmlToPdf(const std::string& html, const std::string& file) {
    NonSupportato("HtmlToPdf", html + file);
    return false;
  }
  // Whether a text is a valid fiscal code (its check character included).
  virtual bool VerificaCodiceFiscale(const std::string& codice) {
    NonSupportato("VerificaCodiceFiscale", codice);
    return false;
  }
  // The age in whole years of someone born on `data` ("yyyymmdd"), today.
  virtual int CalcolaEta(const std::string& data) {
    NonSupportato("CalcolaEta", data);
    return 0;
  }
  // Opens a document with the program the system associates with it.
  virtual bool StartExDoc(const std::string& file) {
    NonSupportato("StartExDoc", file);
    return false;
  }
  // A new care-plan flow.
  virtual std::shared_ptr<IFlusso> NewFlusso() {
    NonSupportato("NewFlusso", {});
    return nullptr;
  }
  // A new PA indicators flow and a new indicator item for it.
  virtual std::shared_ptr<IFlusso> NewFlussoPA() {
    NonSupportato("NewFlussoPA", {});
    return nullptr;
  }
  virtual std::shared_ptr<IItemFlussoPA> NewItemFlussoPA() {
    NonSupportato("NewItemFlussoPA", {});
    return nullptr;
  }
  // The care-plan flows of a month ("mm/yyyy").
  virtual std::shared_ptr<IFlussi> NewFlussi(const std::string& mese) {
    NonSupportato("NewFlussi", mese);
    return nullptr;
  }
  // A new local-record item of a care-plan flow.
  virtual std::shared_ptr<IItemFlusso> NewItemFlusso() {
    NonSupportato("NewItemFlusso", {});
    return nullptr;
  }
  // Deciphers a constant the add-on carries enciphered (Base64 text) under
  // `key`; Failure when the text was not made under that key.
  virtual std::string DecodeBF(const std::string& text, const std::string& key) {
    return NonSupportato("DecodeBF", text + key);
  }
  // The host's save dialog: asks where to save a file, proposing
  // `nome_predefinito` in the user's usual folder and offering the types of
  // `filtro` ("File XML (*.xml)|*.xml"); the full path chosen, "" when the
  // user cancels.
  virtual std::string SalvaFile(const std::string& titolo, const std::string& filtro,
                                const std::string& nome_predefinito) {
    return NonSupportato("SalvaFile", titolo + filtro + nome_predefinito);
  }

 private:
  static std::string NonSupportato(const char* membro, const std::string&) {
    throw Failure(
        kMembroNonSupportato,
        std::string("L'oggetto Framework non supporta la proprietà o il metodo ") + membro);
  }
};

}  // namespace qzkiro::host
