#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "consent/ServiziConsenso.h"
#include "consent/frmConsensoFSE.h"
#include "util/DataOra.h"
#include "xds/Consensi.h"

namespace qzkiro::consent {

// What the consent form starts from.
struct DatiCaricamento {
  // The patient's regional identifier (set by CaricaDaServizi).
  std::string mpi;
  xds::ConsensiInVigore consensi;
  // The text of the most recent consent document ("" when there is none or
  // it could not be retrieved).
  std::string documento;
  // The patient's own record: contacts and birth date.
  std::string cellulare;
  std::string email;
  std::optional<util::DataOra> nascita;
  util::DataOra oggi;
};

// Fills the form: the option pairs from the consents in force, the contacts
// from the record and then from the registry's "PID-13|" values, the guardian
// tabs from the document, whether the patient is a minor, and the lapse of
// the guardians' consent when the patient came of age since; then fixes all
// that as the state loaded. Guardians of a lapsed consent are not loaded.
void CaricaModulo(frmConsensoFSE& form, const DatiCaricamento& dati);

// The registry steps of loading: the regional identifier, the consents in
// force and the most recent consent document (kept in `dati`), then
// CaricaModulo. "" when the form is loaded, else the message to show: a
// missing identifier gives kMpiNonLetto, any other failure the service's
// text; the form is then left as it was.
std::string CaricaDaServizi(ServiziConsenso& servizi, frmConsensoFSE& form, DatiCaricamento& dati);

// The option buttons that show the consents in force (no button of a pair
// for a kind never given).
std::array<bool, 6> OpzioniDaConsensi(const xds::ConsensiInVigore& consensi);

struct Recapiti {
  std::string cellulare;
  std::string email;
};
// The contacts among sourcePatientInfo values: each "PID-13|" value's last
// non-empty component, an e-mail when it holds "@", a phone number otherwise.
Recapiti RecapitiDaInfo(const std::vector<std::string>& info_paziente);

// The guardians (classCode "GUARD") of a consent document's patient; none
// for text that is no document.
std::vector<SchedaTutore> TutoriDaDocumento(std::string_view documento);

// Whether the patient is under 18 on `oggi`.
bool Minorenne(const util::DataOra& nascita, const util::DataOra& oggi);
// The consent dated `data_consenso` ("yyyymmdd...") was given before the
// 18th birthday, which has come by `oggi`.
bool MaggioreEtaRaggiunta(const util::DataOra& nascita, std::string_view data_consenso,
                          const util::DataOra& oggi);

// The first checks of loading: the patient's fiscal code and the region of
// his health unit (its code must begin "050"). "" when both pass, else the
// message to show.
std::string ControllaPaziente(bool codice_fiscale_valido, std::string_view codice_regione);

}  // namespace qzkiro::consent
