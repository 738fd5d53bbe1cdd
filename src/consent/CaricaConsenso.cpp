#include "consent/CaricaConsenso.h"

#include "util/Testo.h"
#include "util/clsXML.h"

namespace qzkiro::consent {

const char* const kMpiNonLetto =
    "Non è stato possibile leggere il codice MPI del paziente dall'archivio regionale\r\n"
    "Verificare che l'ASL di assistenza del paziente sia della Regione Veneto.\r\n"
    "Provare inoltre ad effettuare una ricerca Anagrafica in KIRO e ad importare i dati "
    "anagrafici in Curalis";

namespace {

using util::clsXML;
using Nodo = clsXML::Nodo;

constexpr std::string_view kOidCodiceFiscale = "2.16.840.1.113883.2.9.4.3.2";
constexpr std::string_view kOidMpi = "2.16.840.1.113883.2.9.2.50.4.1.2";

Nodo Figlio(Nodo padre, std::string_view nome) {
  for (Nodo n : clsXML::Figli(padre)) {
    if (clsXML::HaNome(n, nome)) return n;
  }
  return nullptr;
}

bool Inizia(std::string_view testo, std::string_view prefisso) {
  return testo.substr(0, prefisso.size()) == prefisso;
}

SchedaTutore LeggiTutore(Nodo guardian) {
  SchedaTutore t;
  Nodo nome = Figlio(Figlio(guardian, "guardianPerson"), "name");
  t.Cognome = util::Trim(clsXML::Testo(Figlio(nome, "family")));
  t.Nome = util::Trim(clsXML::Testo(Figlio(nome, "given")));
  for (Nodo n : clsXML::Figli(guardian)) {
    const std::string root = clsXML::Attributo(n, "root");
    const std::string valore = clsXML::Attributo(n, "value");
    if (clsXML::HaNome(n, "id") && root == kOidCodiceFiscale) {
      t.CodiceFiscale = clsXML::Attributo(n, "extension");
    } else if (clsXML::HaNome(n, "id") && root == kOidMpi) {
      t.MPI = clsXML::Attributo(n, "extension");
    } else if (clsXML::HaNome(n, "telecom") && Inizia(valore, "mailto:")) {
      t.Email = valore.substr(7);
    } else if (clsXML::HaNome(n, "telecom") && Inizia(valore, "tel:")) {
      t.Cellulare = valore.substr(4);
    }
  }
  return t;
}

// The 18th birthday as "yyyymmdd" (29 February stays as it is: compared as
// text it falls between 28 February and 1 March).
std::string Diciottesimo(const util::DataOra& nascita) {
  return std::to_string(nascita.anno + 18) + nascita.Formato("mmdd");
}

}  // namespace

std::array<bool, 6> OpzioniDaConsensi(const xds::ConsensiInVigore& consensi) {
  std::array<bool, 6> opzioni{};
  for (std::size_t i = 0; i < consensi.per_tipo.size(); ++i) {
    const xds::Consenso& c = consensi.per_tipo[i];
    if (!c.data.empty()) opzioni[i * 2 + (c.revocato ? 1 : 0)] = true;
  }
  return opzioni;
}

Recapiti RecapitiDaInfo(const std::vector<std::string>& info_paziente) {
  Recapiti r;
  for (const std::string& riga : info_paziente) {
    if (!Inizia(riga, "PID-13|")) continue;
    const std::string valore = riga.substr(7);
    const std::size_t fine = valore.find_last_not_of('^');
    if (fine == std::string::npos) continue;
    const std::size_t inizio = valore.find_last_of('^', fine);
    const std::string recapito =
        util::Trim(valore.substr(inizio == std::string::npos ? 0 : inizio + 1,
                                 inizio == std::string::npos ? fine + 1 : fine - inizio));
    (recapito.find('@') != std::string::npos ? r.email : r.cellulare) = recapito;
  }
  return r;
}

std::vector<SchedaTutore> TutoriDaDocumento(std::string_view documento) {
  std::vector<SchedaTutore> tutori;
  clsXML x;
  if (documento.empty() || !x.LoadXML(std::string(documento))) return tutori;
  Nodo paziente = Figlio(Figlio(Figlio(x.rootNode(), "recordTarget"), "patientRole"), "patient");
  for (Nodo n : clsXML::Figli(paziente)) {
    if (clsXML::HaNome(n, "guardian") && clsXML::Attributo(n, "classCode") == "GUARD") {
      tutori.push_back(LeggiTutore(n));
    }
  }
  return tutori;
}

bool Minorenne(const util::DataOra& nascita, const util::DataOra& oggi) {
  return oggi.Formato("yyyymmdd") < Diciottesimo(nascita);
}

bool MaggioreEtaRaggiunta(const util::DataOra& nascita, std::string_view data_consenso,
                          const util::DataOra& oggi) {
  return data_consenso.size() >= 8 && data_consenso.substr(0, 8) < Diciottesimo(nascita) &&
         !Minorenne(nascita, oggi);
}

void CaricaModulo(frmConsensoFSE& form, const DatiCaricamento& dati) {
  form.Opzioni = OpzioniDaConsensi(dati.consensi);
  form.Cellulare = dati.cellulare;
  form.Email = dati.email;
  const Recapiti registro = RecapitiDaInfo(dati.consensi.ultimo.info_paziente);
  if (!registro.cellulare.empty()) form.Cellulare = registro.cellulare;
  if (!registro.email.empty()) form.Email = registro.email;
  form.Minorenne = dati.nascita && Minorenne(*dati.nascita, dati.oggi);
  std::vector<SchedaTutore> tutori = TutoriDaDocumento(dati.documento);
  form.ScadutoPerMaggioreEta =
      !tutori.empty() && dati.nascita &&
      MaggioreEtaRaggiunta(*dati.nascita, dati.consensi.ultimo.data, dati.oggi);
  if (form.ScadutoPerMaggioreEta) tutori.clear();
  form.Tutori = std::move(tutori);
  form.FissaCaricato();
}

std::string CaricaDaServizi(ServiziConsenso& servizi, frmConsensoFSE& form, DatiCaricamento& dati) {
  std::string mpi;
  if (servizi.MPI(mpi) != EsitoServizio::Ok || mpi.empty()) return kMpiNonLetto;
  dati.mpi = mpi;
  std::string errore;
  if (servizi.Consensi(dati.consensi, errore) != EsitoServizio::Ok) return errore;
  dati.documento.clear();
  if (!dati.consensi.ultimo.id_documento.empty() &&
      servizi.Documento(dati.consensi.ultimo, dati.documento, errore) != EsitoServizio::Ok) {
    return errore;
  }
  CaricaModulo(form, dati);
  return {};
}

std::string ControllaPaziente(bool codice_fiscale_valido, std::string_view codice_regione) {
  if (!codice_fiscale_valido) return "Il codice fiscale del paziente non è valido";
  if (!Inizia(codice_regione, "050")) {
    return "Il paziente deve avere la propria ASL di Assistenza nella Regione Veneto";
  }
  return {};
}

}  // namespace qzkiro::consent
