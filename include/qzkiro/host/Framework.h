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

/// \file
/// The host's framework object: credentials protection, dialogs, result
/// containers, templates, document helpers and the flows' objects.

namespace qzkiro::host {

/// The host's framework object: protection of stored credentials, child
/// dialogs, result containers and templates.
///
/// The members with a body are those the document readers and the flows
/// use; a host without one raises the error a late-bound call to a missing
/// member raises.
class IFramework {
 public:
  virtual ~IFramework() = default;
  /// Reversible protection: Decrypt(Encrypt(t, k), k) == t. The add-on
  /// protects the credentials it saves in the registry with it.
  virtual std::string Encrypt(const std::string& text, const std::string& key) = 0;
  /// Undoes Encrypt under the same key.
  virtual std::string Decrypt(const std::string& text, const std::string& key) = 0;
  /// Parameters read by the next dialog opened with OpenChild.
  virtual void SetDialogParameter(const Variant& value) = 0;
  /// The second parameter read by the next dialog opened with OpenChild.
  virtual void SetDialogParameter2(const Variant& value) = 0;
  /// Opens a host dialog; `omitted` is the argument the add-on leaves out (empty).
  /// Plugin::Execute opens "frmmef" this way.
  virtual void OpenChild(const std::string& form, bool modal, const Variant& omitted,
                         const std::string& caption) = 0;
  /// A new, empty result container; the operations fill it and hand it back
  /// through Plugin::LastResponse.
  virtual std::shared_ptr<IInput> NewInput() = 0;
  /// The national reference time as "yyyy-mm-dd hh:nn:ss" (local time), ""
  /// when the host could not get it. Before asking for assertions the add-on
  /// warns the user when the computer's clock is a minute or more away from it.
  virtual std::string TimeStampOraEsatta() = 0;
  /// The second authentication factor the host keeps: the current one-time
  /// token ("" when none).
  virtual std::string TokenMef2F() = 0;
  /// Stores the second-factor token with its expiry ("yyyy-mm-dd hh:nn:ss");
  /// an empty token clears it.
  virtual void ImpostaTokenMef2F(const std::string& token, const std::string& scadenza) = 0;
  /// The host's own dialog that obtains a new second-factor token, with its
  /// title, button caption and caption text; false when dismissed.
  virtual bool AutenticazioneMef2F(const std::string& titolo, const std::string& pulsante,
                                   const std::string& didascalia) = 0;
  /// A GUID from the host. The add-on announces it as the user's login
  /// session (Plugin::QZ01028 "InviaIDSessione") and takes the GUIDs of
  /// successive calls as fresh identifiers (the care-plan flow's entries, the
  /// patient summary's request), so each call should answer a new one.
  virtual std::string GetSmartGUID() = 0;
  /// The identity provider's credentials of the user, for the host's own use;
  /// the add-on hands them over after each successful authentication.
  virtual void SetCredenzialiSAR(const std::string& utente, const std::string& password,
                                 const std::string& altro) = 0;
  /// A new request template loaded from a template file; `parent` is empty.
  virtual std::shared_ptr<ITemplate> newTemplate(const std::string& file,
                                                 const Variant& parent) = 0;
  /// A new, empty prescription object (loaded with FromString).
  virtual std::shared_ptr<IRicetta> NewRicetta() = 0;

  /// A date or time stamp of the messages (HL7 "yyyymmdd[hhnn[ss]]...", or
  /// "yyyy-mm-dd...") in the host's display form; the text itself when it is
  /// not a date.
  virtual std::string ValoreData(const std::string& data) {
    return NonSupportato("ValoreData", data);
  }
  /// The number in a text (decimal point or comma); 0 when it is not one.
  virtual double Valore(const std::string& testo) {
    NonSupportato("Valore", testo);
    return 0;
  }
  /// The text made safe inside HTML.
  virtual std::string NoEntity(const std::string& testo) {
    return NonSupportato("NoEntity", testo);
  }
  /// The Base64 body of a single-part MIME text ("" when there is none).
  virtual std::string GetMime(const std::string& testo) { return NonSupportato("GetMime", testo); }
  /// A new MIME parser.
  virtual std::shared_ptr<IMime> NewMime() {
    NonSupportato("NewMime", {});
    return nullptr;
  }
  /// A new Base64 object of its own (for file conversions).
  virtual std::shared_ptr<IBase64> NewBase64() {
    NonSupportato("NewBase64", {});
    return nullptr;
  }
  /// Deletes a file; false when it exists and cannot be deleted (still open).
  virtual bool KillFile(const std::string& file) {
    NonSupportato("KillFile", file);
    return false;
  }
  /// Runs the XSL-FO formatter with a command line ("-xml "a" -xsl "b" -pdf "c"").
  virtual bool FOP(const std::string& argomenti) {
    NonSupportato("FOP", argomenti);
    return false;
  }
  /// Converts the HTML page `html` (its text) into the PDF file `file`; false
  /// when it cannot.
  virtual bool HtmlToPdf(const std::string& html, const std::string& file) {
    NonSupportato("HtmlToPdf", html + file);
    return false;
  }
  /// Whether a text is a valid fiscal code (its check character included).
  virtual bool VerificaCodiceFiscale(const std::string& codice) {
    NonSupportato("VerificaCodiceFiscale", codice);
    return false;
  }
  /// The age in whole years of someone born on `data` ("yyyymmdd"), today.
  virtual int CalcolaEta(const std::string& data) {
    NonSupportato("CalcolaEta", data);
    return 0;
  }
  /// Opens a document (a file or a web address) with the program the system
  /// associates with it; false when it cannot.
  virtual bool StartExDoc(const std::string& file) {
    NonSupportato("StartExDoc", file);
    return false;
  }
  /// A new care-plan flow.
  virtual std::shared_ptr<IFlusso> NewFlusso() {
    NonSupportato("NewFlusso", {});
    return nullptr;
  }
  /// A new PA indicators flow.
  virtual std::shared_ptr<IFlusso> NewFlussoPA() {
    NonSupportato("NewFlussoPA", {});
    return nullptr;
  }
  /// A new indicator item for a PA indicators flow.
  virtual std::shared_ptr<IItemFlussoPA> NewItemFlussoPA() {
    NonSupportato("NewItemFlussoPA", {});
    return nullptr;
  }
  /// The care-plan flows of a month ("mm/yyyy").
  virtual std::shared_ptr<IFlussi> NewFlussi(const std::string& mese) {
    NonSupportato("NewFlussi", mese);
    return nullptr;
  }
  /// A new local-record item of a care-plan flow.
  virtual std::shared_ptr<IItemFlusso> NewItemFlusso() {
    NonSupportato("NewItemFlusso", {});
    return nullptr;
  }
  /// Deciphers a constant the add-on carries enciphered (Base64 text) under
  /// `key`; Failure when the text was not made under that key.
  virtual std::string DecodeBF(const std::string& text, const std::string& key) {
    return NonSupportato("DecodeBF", text + key);
  }
  /// The host's save dialog: asks where to save a file, proposing
  /// `nome_predefinito` in the user's usual folder and offering the types of
  /// `filtro` ("File XML (*.xml)|*.xml"); the full path chosen, "" when the
  /// user cancels.
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
