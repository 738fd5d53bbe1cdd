#include "services/mef/RichiestePT.h"

#include <algorithm>
#include <cctype>

#include "util/DataOra.h"
#include "util/Testo.h"

namespace qzkiro::mef {

namespace {

constexpr const char* kNsElenco =
    "http://elencoprotocollipianiterapeuticirichiesta.xsd.sanita.finanze.it";
constexpr const char* kNsTipiElenco =
    "http://tipodatielencoprotocollipianiterapeutici.xsd.sanita.finanze.it";
constexpr const char* kNsVisualizza =
    "http://visualizzazionepianoterapeuticoaifarichiesta.xsd.sanita.finanze.it";
constexpr const char* kNsTipiVisualizza =
    "http://tipodativisualizzazionepianoterapeuticoaifa.xsd.sanita.finanze.it";

// The general practitioner's specialization code at the national services.
constexpr const char* kMedicinaGenerale = "F";

// The kinds of plan a list asks for, in the order the service takes them.
constexpr const char* kTipiPiano[] = {"U", "T", "P"};

std::string Elemento(const std::string& nome, const std::string& valore) {
  return "<" + nome + ">" + util::XmlEscape(valore) + "</" + nome + ">";
}

// The envelope with the request's prefix and the prefix of its data types,
// the assertion's placeholder in the WS-Security header and `corpo` in the Body.
std::string Busta(const std::string& prefisso, const char* ns, const char* ns_tipi,
                  const std::string& corpo) {
  return "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
         "xmlns:wsa=\"http://www.w3.org/2005/08/addressing\" "
         "xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/"
         "oasis-200401-wss-wssecurity-secext-1.0.xsd\" xmlns:" +
         prefisso + "=\"" + ns + "\" xmlns:tip=\"" + ns_tipi +
         "\"><soapenv:Header><wsse:Security>[Asserzione]</wsse:Security></soapenv:Header>"
         "<soapenv:Body>" +
         corpo + "</soapenv:Body></soapenv:Envelope>";
}

// The prescriber's elements, each named with `prefisso`.
std::string Medico(const std::string& prefisso, const MedicoPT& m) {
  std::string testo = Elemento(prefisso + "cfMedico", m.cf) +
                      Elemento(prefisso + "codRegione", m.regione) +
                      Elemento(prefisso + "codASLAo", m.asl);
  if (!m.struttura.empty()) testo += Elemento(prefisso + "codStruttura", m.struttura);
  return testo + Elemento(prefisso + "codSpecializzazione", m.specializzazione);
}

bool SoloCifre(const std::string& testo) {
  return std::all_of(testo.begin(), testo.end(),
                     [](unsigned char c) { return std::isdigit(c) != 0; });
}

}  // namespace

std::string RichiestaElencoPT(const MedicoPT& medico, const std::string& cf_cifrato,
                              const FiltroPT& filtro) {
  std::string figli = Medico("elen:", medico) + Elemento("elen:cfAssistito", cf_cifrato);
  if (!filtro.argomento.empty()) figli += Elemento("elen:argomento", filtro.argomento);
  for (const char* tipo : kTipiPiano) figli += Elemento("elen:listaPiani", tipo);
  figli +=
      Elemento("elen:dataInizioPeriodo", filtro.dal) + Elemento("elen:dataFinePeriodo", filtro.al);
  return Busta("elen", kNsElenco, kNsTipiElenco,
               "<elen:ElencoProtocolliPianiTerapeuticiRichiesta>" + figli +
                   "</elen:ElencoProtocolliPianiTerapeuticiRichiesta>");
}

std::string RichiestaVisualizzaPT(const MedicoPT& medico, const std::string& protocollo,
                                  const std::string& cf_cifrato) {
  return Busta("vis", kNsVisualizza, kNsTipiVisualizza,
               "<vis:VisualizzazionePianoTerapeuticoAifaRichiesta>" + Medico("vis:", medico) +
                   Elemento("vis:numProtocollo", protocollo) +
                   Elemento("vis:cfAssistito", cf_cifrato) +
                   "</vis:VisualizzazionePianoTerapeuticoAifaRichiesta>");
}

MedicoPT MedicoDaUnita(const std::string& cf, const std::string& codice_regione_asl,
                       const std::string& struttura) {
  const std::string unita = util::Trim(codice_regione_asl);
  return {cf, unita.substr(0, 3), unita.size() > 3 ? unita.substr(3) : std::string(),
          util::Trim(struttura), kMedicinaGenerale};
}

std::optional<std::string> DataPT(const std::string& data) {
  const std::string testo = util::Trim(data);
  if (testo.empty()) return std::string();
  std::string giorno = testo.substr(0, 10);
  if (testo.size() == 8 && SoloCifre(testo)) {
    giorno = testo.substr(0, 4) + "-" + testo.substr(4, 2) + "-" + testo.substr(6, 2);
  }
  const auto letta = util::DataOra::Leggi(giorno + " 00:00");
  if (!letta || giorno.size() != 10) return std::nullopt;
  return letta->Formato("yyyymmdd");
}

}  // namespace qzkiro::mef
