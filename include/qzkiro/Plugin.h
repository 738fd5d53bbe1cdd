#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "qzkiro/host/Application.h"
#include "qzkiro/host/Collection.h"
#include "qzkiro/host/ConfigXML.h"
#include "qzkiro/host/Object.h"
#include "qzkiro/host/Variant.h"

/// \file
/// The add-on's entry class, the only object a host creates.

namespace qzkiro {

/// The add-on's entry class. The host creates one, calls Init once, then one
/// member per user action. Members never throw: they return their result and
/// leave an Italian message in LastError. The state behind them is shared by
/// every Plugin of the process. Members are declared in the order of the
/// component's public interface.
///
/// The operations named QZxxxxx take host objects inside Variant arguments
/// (a template, a patient, a prescription, a grid...) and reach them as the
/// interfaces of qzkiro::host; an argument of the wrong kind makes the
/// operation fail with a message. Unless said otherwise an operation that
/// hands records to the host puts them into a new result container
/// (host::IFramework::NewInput), which LastResponse then returns.
class Plugin {
 public:
  /// The value of a late-bound argument.
  using Variant = host::Variant;
  /// The host's ordered, keyed collection.
  using Collection = host::Collection;

  /// Registers every module's operations in the process-wide state (once per
  /// process), creates the identity service and deciphers the protection
  /// keys.
  Plugin();
  /// Releases the host, the last answers and the identity service, and stops
  /// the host's HL7 service component when one was started.
  ~Plugin();
  /// Not copyable.
  Plugin(const Plugin&) = delete;
  /// Not copyable.
  Plugin& operator=(const Plugin&) = delete;

  /// The Italian message of the last failure, left by the member that failed.
  std::string LastError() const;
  /// The result container filled by the last operation that hands records to
  /// the host (patients, notifications, reports, admissions, documents); null
  /// before the first such operation and after one of them failed.
  std::shared_ptr<host::Object> LastResponse() const;
  /// The add-on's state as a list of texts (each written as its length in
  /// bytes, ':', the text, ','): the debug flag and the disabled flag ("1" or
  /// "0"), the identity provider's address and the address of the
  /// e-prescription send service in use.
  std::string Info() const;
  /// Always "": the add-on names no template file of its own for a service.
  std::string TemplateFileName(const std::string& Servizio, std::vector<Variant>& Param);
  /// Starts the add-on for the host: keeps `Application`, reads the user's
  /// settings and the endpoints of the configuration document `myXML`, writes
  /// the host's set-up values, reads the proxy, checks that the examination
  /// and visit catalogues are up to date, remembers `LogDir` as the log
  /// folder, turns the regional health-record services on when their
  /// information notice is installed in the add-on's folder and reads the
  /// simulator switch. False when a host call fails, with
  /// "Init QZKiro: <number> - <description>" in LastError; what was done
  /// before the failure stays done.
  bool Init(std::shared_ptr<host::IApplication>& Application,
            std::shared_ptr<host::IConfigXML>& myXML, std::string& LogDir);
  /// Does nothing: the add-on has nothing to finish at the end of a request.
  void RichiestaFine(Variant& Template, bool& Cancel);
  /// Always false: the add-on has no configuration button of its own.
  bool ConfigButtonClick(const std::string& ID, std::string& RetValue);
  /// Not offered by this add-on: always false.
  bool QZ01005(Variant& frm);
  /// Not offered by this add-on: always false.
  bool QZ01006(Variant& frm);
  /// Not offered by this add-on: always false.
  bool QZ01007(Variant& frm);
  /// Changes the user's password at the identity provider: shows the
  /// password-change dialog for the user name last used or saved, and on
  /// success a confirmation. Only for the host user types 0 and 1; any other
  /// user gets a warning box and false. False when the user cancels or the
  /// provider refuses the change. `Template` is not used.
  bool QZ01011(Variant& Template);
  /// Asks the regional notification service (SAIN) for the doctor's
  /// notifications with the request in `Template` (a host::ITemplate; the
  /// add-on adds "Versione" and sends its text through the host's HL7 service
  /// component). The result container gets one notification per message
  /// (AddNotifica) and, for registry notifications, the patient's record.
  /// False when the send fails or the answer is refused. `Param` is not used.
  bool QZ02001(Collection& Param, Variant& Template);
  /// The same operation as QZ02001.
  bool QZ02002(Collection& Param, Variant& Template);
  /// Looks a patient up in the regional registry. With the "querypaziente"
  /// endpoint configured it asks the regional patient index over SOAP with
  /// the items of `Param` ("Parametro.Paziente.CodiceFiscale", or "MPI:" and
  /// the index identifier; "...Tessera", "...Cognome", "...Nome",
  /// "...DataNascita"), saves the identifier found in the items of the host's
  /// patient with that fiscal code and sets LastResponse only when a patient
  /// was found; otherwise it
  /// sends the request in `Template` to the HL7 registry service (SAIA). The
  /// result container gets each patient with registry data, GP relationship
  /// and exemptions.
  bool QZ02003(Collection& Param, Variant& Template);
  /// The doctor's patient list. Without the "getmypatients" endpoint it sends
  /// the request in `Template` to the HL7 registry service (SAIA); with it it
  /// reads the list from the regional FHIR server and hands each patient to
  /// the result container with the regional index's data, or with what the
  /// host knows when the index gives none. `Param` is not used.
  bool QZ02004(Collection& Param, Variant& Template);
  /// The doctor's reports from the regional report service (SARR), with the
  /// request in `Template`: each report goes to the result container with its
  /// patient through the CDA readers; a report that cannot be read becomes a
  /// partial report (AddRefertoParziale) the host can ask for again. True
  /// only when at least one report was handled. `Param` is not used.
  bool QZ02005(Collection& Param, Variant& Template);
  /// As QZ02005, from the regional reports service SARRePS.
  bool QZ02006(Collection& Param, Variant& Template);
  /// The doctor's admissions from the regional service (SARIR), with the
  /// request in `Template`: each admission with its patient and details; its
  /// discharge letters are saved in the user's TempDir, attached to it, and
  /// their text (HTML in Base64) becomes its notes. `Param` is not used.
  bool QZ02007(Collection& Param, Variant& Template);
  /// Opens what a notification points to. `Notifica` is a host::INotifica:
  /// an admission or report notification ("RIC", "DIM", "REF", "SRF",
  /// "NPS", ...) is asked again of its regional service with a new template
  /// for the document IDRif2; "kiro_cc001", "kiro_cc005" and "kiro_cc006"
  /// retrieve the health-record document IDRif1 from repository IDRif2.
  /// `Template` receives the template used. False for any other type.
  bool QZ03001(Variant& Notifica, Variant& Template);
  /// Sends the request in `Template` to the regional SAASN service; the
  /// answer is not read. False when the send fails or is refused.
  bool QZ04001(Variant& Template);
  /// Sends again the red prescriptions of the last day that the host saved in
  /// the user's workspace without sending them (record type 100, i2 = 0); each
  /// record gets its outcome (i2 1 sent, 2 failed, 3 not to be sent, and the
  /// reason in t2). False when any record could not be read or sent (the
  /// reason is also logged). `Template` is not used.
  bool QZ04003(Variant& Template);
  /// The contact flow to the local health unit: writes the contacts of the
  /// host's grid `Grid` (a host::IGrigliaContatti) for the period `DallaData`
  /// to `AllaData` as "ACN.xml" in the user's TempDir, asks the flow
  /// services' credentials (core::Ui::AccessoACN) and uploads the file to the
  /// user's unit. False, with the reason, when the unit has no such service,
  /// the user cancels or the service refuses the file. `Template` is not used.
  bool QZ04022(Variant& Grid, Variant& DallaData, Variant& AllaData, Variant& Template);
  /// Sends a list of prescriptions to the national e-prescription services.
  /// `ListaRicette` is a Collection of host::IRicetta; `Medico` the
  /// prescribing doctor (a host::IMedico, which hands out new numbers) for an
  /// interactive send with its dialogs; `Cancel` is read before each
  /// prescription and stops the list once it is true. A prescription on white
  /// paper (TipoStampa 1) is sent as a white prescription when it is a drug
  /// prescription (Tipo 1) marked RicettaBiancaInviabile and the host set-up
  /// "DematBiancaFarmaci" is on, and is marked not to be sent otherwise; any
  /// other prescription not cancelled (Annullata) is sent as a red one. Each
  /// prescription gets its outcome (StatoInvio, NRE, ErroreInvio...). False
  /// when any send failed. `Template` is not used.
  bool QZ04024(Variant& ListaRicette, Variant& Medico, Variant& Template, Variant& Cancel);
  /// Cancels the red prescription `Ricetta` (a host::IRicetta) at the national
  /// service by its NRE. True when it has no NRE, or the service cancelled it
  /// or had already done so; a non-blocking warning of the service is shown.
  /// `Template` is not used.
  bool QZ04029(Variant& Ricetta, Variant& Template);
  /// Changes a setting while the add-on runs: "KIRO.Debug" turns debugging on
  /// with "1" and off otherwise; "KIRO.Disattivato" disables the add-on with
  /// "1", and when it turns a disabled add-on on again the host gets the
  /// event "plgQZCoopApp.Enabled" = "1". Other keys are ignored. Always true.
  bool QZ05001(const std::string& Key, const Variant& Value);
  /// Runs a named command. "QZKiroRicetteDaInviare" and
  /// "QZKiroRicetteInviate" open the host's dialog "frmmef" on the
  /// prescriptions to send or on the receipts; "QZKiroGetContenutoDocumento"
  /// retrieves the health-record documents of the request in `Param[1]` (a
  /// host object with the member "Lista") into the result container, and
  /// answers whether that succeeded; "QZDashboard" opens the regional
  /// operators' portal. Every other answer is false, also for an unknown
  /// command or a failure.
  bool Execute(const std::string& Key, std::vector<Variant>& Param);
  /// The add-on's version as "MM.mm.rrrr" (for example "01.02.0034").
  std::string Versione() const;
  /// The consents of the patient `Paziente` (a host::IPaziente) to the
  /// regional health record. With `Check` true it verifies them silently: it
  /// finds the patient's regional identifier, reads the consents in force,
  /// stores their state in the patient's privacy record and copies the
  /// contacts the registry has; after a server that does not answer it stays
  /// off for an hour; true when the verification ran to the end. With `Check`
  /// false it shows the consent form and sends what the user confirms; true
  /// when a submission succeeded. Failures are also shown. `Template` is not
  /// used.
  bool QZ01015(Variant& Paziente, Variant& Template, Variant& Check);
  /// Looks the patient `Paziente` (a host::IPaziente) up in the regional
  /// patient index by fiscal code or regional identifier, name and birth
  /// date: the result container (registry data, GP relationship and
  /// exemptions) becomes LastResponse and the identifier is saved in the
  /// patient's items. False when no patient was found. `Param` and
  /// `Template` are not used.
  bool QZ03002(Variant& Paziente, Collection& Param, Variant& Template);
  /// Sends the quality-index flow (IVAQ): `XML` is the host's document,
  /// whose FlussoIVAQC content goes to the regional service with the user's
  /// assertion. On acceptance `Ricevuta` receives "MessageID " and the
  /// message's id. `Grid1` and `Template` are not used.
  bool QZ04043(Variant& Grid1, Variant& XML, Variant& Template, Variant& Ricevuta);
  /// The patient's documents in the regional health record. The patient is
  /// "Parametro.Paziente.CodiceFiscale" of `Param` in the host's archive, else
  /// the patient open on the host; "Parametro.TipoDoc", "Parametro.DallaData"
  /// and "Parametro.AllaData" narrow the query. The result container gets the
  /// patient and one partial report per document, which the host retrieves
  /// later with Execute("QZKiroGetContenutoDocumento"). False when the
  /// health-record service is not installed, the patient is not found or a
  /// query fails. `Template` is not used.
  bool QZ02022(Collection& Param, Variant& Template);
  /// Before the July 2018 contact flow of unit 050505 (`DallaData` on
  /// 1 July 2018): when the user's history holds additional services (PPIP)
  /// with the new codes A110 to A115 done from January to June 2018, asks
  /// whether to include them and, on yes, adds those history items to `Lista`
  /// (a Collection). True for any other unit or period. `AllaData` and
  /// `SoloPPIPCodificate` are not used.
  bool QZ04022_Check(Variant& DallaData, Variant& AllaData, Variant& SoloPPIPCodificate,
                     Variant& Lista);
  /// Views a red prescription at the national service by its number `NRE`:
  /// `Response` receives a Collection of rows, each a Collection with the
  /// items "Gruppo" ("Ricetta"), "Etichetta" and "Valore" (insertion date,
  /// doctors, NRE, authentication code, state, messages). `Template`,
  /// `PinCode` and `ID` are not used.
  bool QZ02021(Variant& Template, Variant& PinCode, Variant& ID, Variant& NRE, Variant& Response);
  /// Finds the process document of the regional health record linked to the
  /// prescription `Ricetta` (a host::IRicetta) by its NRE, retrieves it and,
  /// when the user agrees to link the prescription to it, puts its
  /// workflowInstanceId into `Ricevuta`. False when the patient has no
  /// regional identifier, the document is not found or the user declines.
  bool QZ02023(Variant& Ricetta, Variant& Ricevuta);
  /// Sends one patient's care-plan flow for the period `DallaData` to
  /// `AllaData` to the regional FHIR server. `itmFlusso` is the flow
  /// (host::IFlusso, naming its patient in "anagrafica") and `ListaRecords`
  /// its local records (host::IItemFlusso); observations outside the care
  /// programme's period `DallaDataPC` to `AllaDataPC` are left out. A flow
  /// that already has a receipt is sent as an update. The outcome goes into
  /// the flow, which is saved: Stato 1 and the receipt, or Stato 2 or 3 with
  /// the reasons in Errori. `Cancel` becomes true when the flow was stopped
  /// before reaching the server. The host set-up "VaccinazioneEstesa" = 2
  /// chooses the extended variant. False unless the server accepted it;
  /// after an accepted send `RisorseEliminate` is "".
  bool QZ04022_InvioPaziente(Collection& ListaRecords, Variant& itmFlusso, Variant& DallaData,
                             Variant& AllaData, Variant& Cancel, Variant& DallaDataPC,
                             Variant& AllaDataPC, Variant& RisorseEliminate);
  /// Reads back from the regional FHIR server the CarePlan named by the
  /// receipt of the flow `itmFlusso` into a new flow (Stato 4), handed back
  /// in `itmFlussoRec`.
  bool QZ04022_Recupera(Variant& itmFlusso, Variant& itmFlussoRec);
  /// Searches the CarePlans of the regional FHIR server: the user's when
  /// `CFPaziente` is empty, else the patient's, within `DallaData` and
  /// `AllaData` when they are dates. Each becomes a new flow (Stato 4) added
  /// to `ListaFlussi`, its patient matched to the host's by fiscal code
  /// ("SCONOSCIUTO" when the host has no such patient).
  bool QZ04022_Ricerca(Collection& ListaFlussi, Variant& CFPaziente, Variant& DallaData,
                       Variant& AllaData);
  /// The local records of the care-plan flow of the patient with fiscal code
  /// `CodiceFiscale`: for a patient in diabetes care, the workspace records
  /// 204 and 210 dated from `DallaData` to `AllaData`, added to `Records` as
  /// flow items of Tipo 7. False when the host has no such patient or the
  /// period is not a period. `DallaDataPC` and `AllaDataPC` are not used.
  bool QZ04022_RecordsLocali(Collection& Records, Variant& CodiceFiscale, Variant& DallaData,
                             Variant& AllaData, Variant& DallaDataPC, Variant& AllaDataPC);
  /// Cancels on the regional FHIR server the CarePlan that the receipt of the
  /// flow `itmFlusso` names, with the same arguments as
  /// QZ04022_InvioPaziente: the flow gets Stato 5 on success, and
  /// `RisorseEliminate` lists the resources cancelled
  /// ("CarePlan/12;Immunization/13").
  bool QZ04022_Elimina(Collection& ListaRecords, Variant& itmFlusso, Variant& DallaData,
                       Variant& AllaData, Variant& Cancel, Variant& DallaDataPC,
                       Variant& AllaDataPC, Variant& RisorseEliminate);
  /// Sends the PA indicators of the period `DallaData` to `AllaData` to the
  /// regional FHIR server. `ListaIndicatori` holds PA flows
  /// (host::IFramework::NewFlussoPA), one per indicator, each with its
  /// indicator item first in DatiRecuperati. Each flow gets its outcome:
  /// Stato 1 and the receipt "Observation////" + id, or Stato 2 or 3 with the
  /// server's reasons in Errori. The host set-up "VaccinazioneEstesa" above 1
  /// chooses the extended variant. False when nothing was accepted.
  bool QZ04046_Invio(Collection& ListaIndicatori, Variant& DallaData, Variant& AllaData);
  /// Reads back the Observation named by the receipt of the PA flow
  /// `itmFlusso` into a new PA flow (Stato 4, the indicator in
  /// DatiRecuperati), handed back in `itmFlussoRec`.
  bool QZ04046_Recupera(Variant& itmFlusso, Variant& itmFlussoRec);
  /// Searches the user's indicators on the regional FHIR server, by indicator
  /// `Codice` when given and within `DallaData` and `AllaData` when they are
  /// dates; each becomes a new PA flow (Stato 4) added to `ListaFlussi`.
  bool QZ04046_Ricerca(Collection& ListaFlussi, Variant& Codice, Variant& DallaData,
                       Variant& AllaData);
  /// Cancels the indicators of the PA flows in `ListaRecords` for the period:
  /// as QZ04046_Invio, with every Observation cancelled and Stato 5 on
  /// success.
  bool QZ04046_Elimina(Collection& ListaRecords, Variant& DallaData, Variant& AllaData);
  /// Requests a home blood sample from the local health unit: the PDF of the
  /// prescription `Ricetta` (a host::IRicetta), made by the host, is packed
  /// into a password-protected zip archive, uploaded to the mail relay and
  /// mailed from the user's address to the unit's mailbox. On success
  /// `Ricevuta` receives the archive's name, by which the unit finds the
  /// mail. The user's e-mail address must be set and well formed.
  bool QZ04047(Variant& Ricetta, Variant& Ricevuta);
  /// Sends the PDTA indicators as text to the flow service of the user's
  /// local health unit, after asking the flow services' credentials: `XML`
  /// is the indicators' text. On acceptance `Ricevuta` receives the
  /// service's description of the outcome (its code when it gives none).
  /// `Grid1` and `Template` are not used.
  bool QZ04048(Variant& Grid1, Variant& XML, Variant& Template, Variant& Ricevuta);
  /// Searches the regional catalogue of vaccine lots by active principle
  /// `CodiceAntigene` (when given) or by AIC code `CodiceAIC`, for the user's
  /// health unit. Each lot is added to `Lista` (a Collection, made when the
  /// host gave none) as one line: number, expiry, AIC code and active
  /// principle separated by tabs.
  bool QZ02025(Variant& CodiceAntigene, Variant& CodiceAIC, Variant& Lista);
  /// Publishes the GP's patient summary of `Paziente` (a host::IPaziente) to
  /// the regional repository, as the new version of the one in force. Only
  /// for diabetic patients (exemption 013.250, or a problem of the ICD-9
  /// family 250 other than 250.01 and 250.03) with a regional identifier. On
  /// success the host's last summary code is updated and `Ricevuta` receives
  /// the document's unique id ("root^extension"). `Template` is not used.
  bool QZ04020(Variant& Paziente, Variant& Template, Variant& Ricevuta);
  /// Brings the doctor's patient registry in line with the regional FHIR
  /// server's list: the result container gets every new patient with the
  /// regional index's data and, for each of the practice's patients the list
  /// no longer has, a relationship ended now and a "Revoca" notification.
  /// True even when some new patients were not found in the index; LastError
  /// then lists them. `Param` and `Template` are not used.
  bool QZ02030(Collection& Param, Variant& Template);
  /// Sends at once the care-plan flow of a vaccination just recorded:
  /// `myItmStorico` is the history item (host::IItemStorico) and `myItm` its
  /// workspace record. The month's flows are read, a flow already sent is
  /// cancelled first, and the patient's flow goes in the extended variant;
  /// its receipt is written into the workspace record and into `Ricevuta`.
  /// For a patient of another doctor of the group nothing is sent and the
  /// user is told so. Errors are shown in a box. `Template` is not used.
  bool QZ04028(Variant& Template, Variant& myItm, Variant& myItmStorico, Variant& Ricevuta);
  /// The same operation as QZ04028.
  bool QZ04049(Variant& Template, Variant& myItm, Variant& myItmStorico, Variant& Ricevuta);
  /// As QZ04028, without handing back the receipt.
  bool QZ04056(Variant& Template, Variant& myItm, Variant& myItmStorico);
  /// The national therapeutic-plan services, as the request `myMEF` (a
  /// host::IMEF) asks: Operazione 19 lists the patient's plans (the latest
  /// plan's protocol number into Response), 20 views one plan (the plan
  /// document into Response), 21 lists and then views the plan found. The
  /// answer document goes to ResponseXML and the service's errors to
  /// SetErrorCode. Send and cancel (22, 23, 24) are refused with the region's
  /// explanation. `Template` is not used.
  bool QZ02031(Variant& Template, Variant& myMEF);
  /// The same operation as QZ02031.
  bool QZ02032(Variant& Template, Variant& myMEF);
  /// Cancels the white prescription `Ricetta` (a host::IRicetta) at the
  /// national service by its NRBE, with the second authentication factor when
  /// the host requires it. True when it has no NRBE, or the service cancelled
  /// it or had already done so. `Template` is not used.
  bool QZ04058(Variant& Ricetta, Variant& Template);
  /// The PDTA indicator file of the year "Parametro.Anno" of `Param`, computed
  /// over the doctor's patients and the user's workspace; "" with LastError
  /// set when it cannot be made. `Template` is not used.
  std::string QZ04048_Carica(Collection& Param, Variant& Template);
  /// Shows the indicators of the file text `Dati` (from QZ04048_Carica) in the
  /// host's grid `Grid1` (a host::IGriglia; columns "Descrizione", "Numer.",
  /// "Denom.", "Valore"), with `ProgressBar1` (a host::IProgressBar)
  /// following the rows. Returns the number of indicators; 0 with LastError
  /// set when `Dati` is no indicator file or `Grid1` no grid.
  std::int32_t QZ04048_RefreshGrid(Variant& Grid1, Variant& ProgressBar1, Variant& Dati);
  /// Uploads the indicator file `Dati` of the year "Parametro.Anno" of
  /// `Param` to the local health unit's SFTP server and writes the outcome to
  /// the host's journal. `Template` and `Grid1` are not used.
  bool QZ04048_Invio(Collection& Param, Variant& Template, Variant& Grid1, Variant& Dati);
  /// For unit 050507 only: the patients enrolled in each care pathway among
  /// the doctor's patients in the year "Parametro.Anno" of `Param`, as the
  /// unit's file text; "" with LastError set when it cannot be made, or
  /// "Servizio non implementato" for any other unit. `Template` is not used.
  std::string QZ04059_Carica(Collection& Param, Variant& Template);
  /// For unit 050507 only (see QZ04059_Carica): shows the pathways of the file text `Dati` in the
  /// grid `Grid1` (columns "Descrizione", "Arruolati") with `ProgressBar1`
  /// following the rows. Returns the number of pathways; 0 with LastError set.
  std::int32_t QZ04059_RefreshGrid(Variant& Grid1, Variant& ProgressBar1, Variant& Dati);
  /// For unit 050507 only (see QZ04059_Carica): asks with the host's save dialog where to save the
  /// file text `Dati`, writes it there and notes the save in the host's
  /// journal. False when the user cancels or the file cannot be written.
  /// `Param`, `Template` and `Grid1` are not used.
  bool QZ04059_Salva(Collection& Param, Variant& Template, Variant& Grid1, Variant& Dati);
  /// Second-factor authentication requests, by `Operazione`:
  /// "InviaIDSessione" announces the user's login session to the region's
  /// multi-factor service so that it can push a code (a failed exchange is
  /// also shown); "ImpostaToken" stores the token `Params` as the host's
  /// second-factor token, valid for eight hours. Any other operation fails
  /// with "Operazione sconosciuta".
  bool QZ01028(Variant& Operazione, Variant& Params);
};

}  // namespace qzkiro
