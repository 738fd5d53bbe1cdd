#pragma once

#include <memory>
#include <optional>
#include <string>

#include "qzkiro/host/Application.h"
#include "qzkiro/host/Archivio.h"
#include "qzkiro/host/Mime.h"
#include "util/DataOra.h"

namespace qzkiro::host {

// What the document readers (HL7, CDA) ask of their surroundings while
// reading: the host application, the clock, the add-on's folder, the user and
// the log. The readers receive it when they are made, so they never reach the
// process-wide state: this base answers as if there were no host at all (the
// command line, the fuzz targets), and the add-on hands the readers one that
// answers from the current process.
//
// Reading never fails: each host member below answers the add-on's own
// equivalent (or "nothing": nullopt, "", false, null) when there is no host
// or the host call raises an error.
class AccessoHost {
 public:
  virtual ~AccessoHost() = default;

  // The shared access without a host.
  static std::shared_ptr<const AccessoHost> SenzaHost();

  // --- what a subclass provides ---
  // The host application; null when there is none.
  virtual IApplication* Applicazione() const { return nullptr; }
  // The local time.
  virtual util::DataOra Adesso() const { return util::AdessoLocale(); }
  // The path of a file of the add-on's own folder ("\\SA_COMUNI.csv"); ""
  // when the add-on has no folder.
  virtual std::string FileDelPlugin(const std::string& nome) const;
  // Tells the user something that needs their attention (a warning box).
  virtual void Avviso(const std::string& /*testo*/) const {}
  // Writes a line to the add-on's log.
  virtual void Log(const std::string& /*titolo*/, const std::string& /*dettaglio*/,
                   bool /*errore*/) const {}

  // The host application; throws Failure when there is none (imports into
  // the host's containers stop with that message).
  IApplication& App() const;

  // --- host members with the add-on's fallbacks ---
  // Framework.ValoreData: a date in the host's display form; the text as it is.
  std::string ValoreData(const std::string& data) const;
  // Framework.Valore: the number in a text; the add-on's NumeroLocale rule.
  double ValoreNumero(const std::string& testo) const;
  // Base64.Encode of the text's ISO-8859-1 bytes; the add-on's own encoding.
  std::string CodificaBase64(const std::string& testo) const;
  // The same, only from the host (nullopt without one).
  std::optional<std::string> CodificaBase64Host(const std::string& testo) const;
  std::optional<std::string> DecodificaBase64(const std::string& base64) const;
  bool DecodificaBase64File(const std::string& base64, const std::string& file) const;
  // Text made safe inside HTML: the host's NoEntity, our own escaping.
  std::string SenzaEntita(const std::string& testo) const;
  // The Base64 body of a single-part MIME text ("" without a host).
  std::string CorpoMime(const std::string& testo) const;
  // A new MIME parser of the host; null when there is none.
  std::shared_ptr<IMime> NuovoMime() const;
  // The municipality with this ISTAT code (valid at `data`, "yyyymmdd").
  std::optional<VoceComune> ComuneIstat(const std::string& istat,
                                        const std::string& data = {}) const;
  // The municipality with this cadastral code.
  std::optional<VoceComune> ComuneCatastale(const std::string& codice) const;
  // The name of a health structure, "" when unknown.
  std::string DenominazioneStruttura(const std::string& codice) const;
  // The description of an entry of the visit catalogue ("Visite"), "".
  std::string DescrizioneVisita(const std::string& id) const;
  // A new temporary file name and the user's temporary folder ("" when none).
  std::string FileTemporaneo() const;
  std::string CartellaTemporanea() const;
  // The milliseconds of the host's API.LocalTime (3 digits, "" without).
  std::string Millisecondi() const;
  // The time stamp of the files the readers save: local "yyyymmddhhnnss"
  // followed by the host's milliseconds, "000" without them.
  std::string TimbroFile() const;
};

}  // namespace qzkiro::host
