#include "services/ricette/RichiestaRicetta.h"

#include <cstdio>

#include "services/ricette/ProprietaRicetta.h"
#include "util/DataOra.h"
#include "util/Testo.h"

namespace qzkiro::services {

namespace {

using Nodo = util::clsXML::Nodo;

constexpr const char* kNsRichiesta = "http://invioprescrittorichiesta.xsd.dem.sanita.finanze.it";
constexpr const char* kNsTipiDati = "http://tipodati.xsd.dem.sanita.finanze.it";

// Adds the element only when its text is not empty.
void Se(util::clsXML& xml, Nodo padre, const std::string& nome, const std::string& testo) {
  if (!testo.empty()) xml.AddNode(padre, nome, testo);
}

// "yyyy-mm-dd hh:nn:ss" of a host date; the text itself when it is not a date.
std::string DataOraRichiesta(const std::string& testo, const char* formato) {
  auto data = util::DataOra::Leggi(testo);
  return data ? data->Formato(formato) : testo;
}

bool Estero(const std::string& tipo) {
  return tipo == "NE" || tipo == "UE" || tipo == "EE" || tipo == "NX";
}

void Medico(util::clsXML& xml, Nodo r, host::IRicetta& ricetta, const ContestoRichiesta& ctx) {
  xml.AddNode(r, "pinCode");
  xml.AddNode(r, "cfMedico1", Testo(ricetta, "MedicoCodiceFiscale"));
  Se(xml, r, "cfMedico2", Testo(ricetta, "MedicoSosCodiceFiscale"));
  const std::string asl = Testo(ricetta, "MedicoCodiceRegioneASL");
  xml.AddNode(r, "codRegione", asl.substr(0, 3));
  xml.AddNode(r, "codASLAo", asl.size() > 3 ? asl.substr(3) : std::string());
  Se(xml, r, "codStruttura",
     ctx.codice_struttura.empty() ? util::Trim(Testo(ricetta, "MedicoCodiceStruttura"))
                                  : ctx.codice_struttura);
  const std::string attivita = Testo(ricetta, "MedicoCodiceAttivita");
  xml.AddNode(r, "codSpecializzazione", attivita.empty() ? "F" : attivita);
  const std::string nppt = Testo(ricetta, "NPPT");
  if (!nppt.empty()) xml.AddNode(r, "testata1", "PT=" + nppt + ";");
  Se(xml, r, "nre", Testo(ricetta, "NRE"));
}

void Paziente(util::clsXML& xml, Nodo r, host::IRicetta& ricetta, const ContestoRichiesta& ctx) {
  const std::string tipo = Testo(ricetta, "TipoRicetta");
  auto cifrato = [&] { return ctx.cifra(Testo(ricetta, "PazienteCodiceFiscale")); };
  if (Estero(tipo)) {
    xml.AddNode(r, "tipoRic", tipo);
    xml.AddNode(r, "codiceAss");
  } else if (tipo == "ST" || tipo == "NA" || tipo == "ND") {
    xml.AddNode(r, "tipoRic", tipo);
    xml.AddNode(r, "codiceAss", cifrato());
  } else {
    xml.AddNode(r, "codiceAss", cifrato());
  }
  xml.AddNode(r, "cognNome",
              Testo(ricetta, "PazienteCognome") + " " + Testo(ricetta, "PazienteNome"));
  xml.AddNode(r, "indirizzo", Testo(ricetta, "PazienteIndirizzoConCivico"));
  if (Flag(ricetta, "PazienteOscurato")) xml.AddNode(r, "oscuramDati", "1");
  if (tipo == "NA" || tipo == "ND") {
    xml.AddNode(r, "numTessSasn", Testo(ricetta, "PazienteTesseraAssistenzaSASN"));
    xml.AddNode(r, "socNavigaz", Testo(ricetta, "PazienteSocietaNavigazione"));
  }
}

void Testata(util::clsXML& xml, Nodo r, host::IRicetta& ricetta, const ContestoRichiesta& ctx,
             Nodo& disp_reg) {
  const bool farmaci = Intero(ricetta, "Tipo") == 1;
  xml.AddNode(r, "tipoPrescrizione", farmaci ? "F" : "P");
  Se(xml, r, "codEsenzione", Testo(ricetta, "CodiceEsenzione"));
  if (Flag(ricetta, "FlagN")) xml.AddNode(r, "nonEsente", "1");
  if (Flag(ricetta, "FlagR")) xml.AddNode(r, "reddito", "1");
  if (!farmaci || Flag(ricetta, "StampaDiagnosi")) {
    const std::string icd9 = Testo(ricetta, "ICD9");
    Se(xml, r, "codDiagnosi", util::Trim(icd9.substr(0, icd9.find('_'))));
    Se(xml, r, "descrizioneDiagnosi", Sinistra(Testo(ricetta, "Diagnosi"), 256));
  }
  xml.AddNode(r, "dataCompilazione",
              DataOraRichiesta(Testo(ricetta, "Data"), "yyyy-mm-dd hh\\:nn\\:ss"));
  const std::string visita = Testo(ricetta, "TipoVisita");
  xml.AddNode(r, "tipoVisita", visita.empty() ? "A" : visita);
  disp_reg = xml.AddNode(r, "dispReg", Intero(ricetta, "TipoStampa") == 3 ? "1" : "0");
  if (Flag(ricetta, "FlagSug")) xml.AddNode(r, "indicazionePrescr", "S");
  if (Flag(ricetta, "FlagInt")) xml.AddNode(r, "altro", "A");
  Se(xml, r, "classePriorita", Testo(ricetta, "Priorita"));
  if (!Testo(ricetta, "OscuramentoClinico").empty()) xml.AddNode(r, "confidentialityCode", "O");
  Se(xml, r, "WDsorgente", ctx.wd_sorgente);
}

void DatiEsteri(util::clsXML& xml, Nodo r, host::IRicetta& ricetta) {
  if (!Estero(Testo(ricetta, "TipoRicetta"))) return;
  xml.AddNode(r, "statoEstero", Testo(ricetta, "PazienteStatoEstero"));
  xml.AddNode(r, "istituzCompetente", Testo(ricetta, "PazienteIstituzCompetente"));
  xml.AddNode(r, "numIdentPers", Testo(ricetta, "PazienteNumIdentPers"));
  xml.AddNode(r, "numIdentTess", Testo(ricetta, "PazienteNumIdentTess"));
  // A date the host does not know is left out: the service refuses an empty one.
  Se(xml, r, "dataNascitaEstero",
     DataOraRichiesta(Testo(ricetta, "PazienteDataNascita"), "yyyy-mm-dd"));
  Se(xml, r, "dataScadTessera",
     DataOraRichiesta(Testo(ricetta, "PazienteDataScadTessera"), "yyyy-mm-dd"));
}

std::string Tre(std::int64_t n) {
  char testo[24];
  std::snprintf(testo, sizeof testo, "%03lld", static_cast<long long>(n));
  return testo;
}

void Riga(util::clsXML& xml, Nodo elenco, host::IRigaPrescrizione& riga,
          const std::string& versione) {
  Nodo d = xml.AddNode(elenco, "DettaglioPrescrizione");
  const bool servizio = !Testo(riga, "CodiceDMR").empty();
  const std::string nota = NotaRiga(riga);
  // The product: the service's catalogue code, the drug's AIC code, else the host's own.
  std::string prodotto = Testo(riga, servizio ? "CodiceDMR" : "CodicePrescrizione");
  if (prodotto.empty()) prodotto = Testo(riga, "IDRif");
  xml.AddNode(d, "codProdPrest", prodotto);
  xml.AddNode(d, "descrProdPrest", Testo(riga, "Descrizione"));
  Se(xml, d, "codGruppoEquival", Testo(riga, "GruppoEquivalenza"));
  Se(xml, d, "descrGruppoEquival", Testo(riga, "DescrizioneGruppoEquivalenza"));
  Se(xml, d, "testoLibero", Testo(riga, "TestoLibero"));
  Se(xml, d, "descrTestoLiberoNote", nota);
  if (Flag(riga, "NonSostituibile")) xml.AddNode(d, "nonSost", "1");
  Se(xml, d, "codMotivazione", MotivazioneNonSost(nota));
  const auto aifa = Intero(riga, "NotaAifa");
  if (aifa > 0) xml.AddNode(d, "notaProd", Tre(aifa));
  const auto quantita = Intero(riga, "Quantita");
  xml.AddNode(d, "quantita", std::to_string(quantita > 0 ? quantita : 1));
  if (!servizio) return;
  std::string prescrizione2 =
      Testo(riga, "CodicePrescrizione") + "#" + Testo(riga, "CodicePacchetto") + "^" + versione;
  const std::string ermete = riga.GetTag("Ermete");
  if (!ermete.empty()) prescrizione2 += "|" + ermete;
  xml.AddNode(d, "prescrizione2", prescrizione2);
  xml.AddNode(d, "codCatalogoPrescr", Testo(riga, "CodicePrescrizione"));
  const std::string accesso = Testo(riga, "TipoAccesso");
  if (!accesso.empty()) xml.AddNode(d, "tipoAccesso", accesso.substr(0, 1));
}

}  // namespace

util::clsXML::Nodo BustaDem(util::clsXML& xml) {
  Nodo busta = xml.CreateRootNode("soapenv:Envelope");
  xml.AddAttribute(busta, "xmlns:soapenv", "http://schemas.xmlsoap.org/soap/envelope/");
  xml.AddAttribute(busta, "xmlns:wsa", "http://www.w3.org/2005/08/addressing");
  xml.AddAttribute(busta, "xmlns:wsse",
                   "http://docs.oasis-open.org/wss/2004/01/"
                   "oasis-200401-wss-wssecurity-secext-1.0.xsd");
  Nodo testata = xml.CreateNode(busta, "soapenv:Header");
  xml.CreateNode(testata, "wsse:Security", "[Asserzione]");
  return xml.CreateNode(busta, "soapenv:Body");
}

std::unique_ptr<RichiestaRossa> CreaRichiestaRossa(host::IRicetta& ricetta,
                                                   const ContestoRichiesta& contesto) {
  auto richiesta = std::make_unique<RichiestaRossa>();
  auto& xml = richiesta->xml;
  Nodo corpo = BustaDem(xml);
  xml.SetDefaultNameSpace(kNsRichiesta);
  Nodo r = xml.AddNode(corpo, "InvioPrescrittoRichiesta");
  Medico(xml, r, ricetta, contesto);
  Paziente(xml, r, ricetta, contesto);
  Testata(xml, r, ricetta, contesto, richiesta->disp_reg);
  DatiEsteri(xml, r, ricetta);
  Nodo elenco = xml.AddNode(r, "ElencoDettagliPrescrizioni");
  const std::string versione =
      Intero(ricetta, "Tipo") == 2 ? contesto.versione_esami : contesto.versione_visite;
  xml.SetDefaultNameSpace(kNsTipiDati);
  for (const auto& riga : ricetta.ListaPrescrizioni()) Riga(xml, elenco, *riga, versione);
  return richiesta;
}

std::string NotaRiga(host::IRigaPrescrizione& riga) {
  std::string nota = util::Trim(Testo(riga, "NotaPrescrizione"));
  const std::string posologia = util::Trim(Testo(riga, "Posologia"));
  if (!posologia.empty()) nota += (nota.empty() ? "" : "; ") + std::string("Pos: ") + posologia;
  return nota;
}

std::string MotivazioneNonSost(const std::string& nota) {
  const std::string n = Minuscolo(nota);
  if (n.find("non sost") == std::string::npos) return {};
  auto ha = [&](const char* parola) { return n.find(parola) != std::string::npos; };
  if (ha("ipersensibilità") || ha("intolleranza") || ha("interazione") || ha("controindicazione")) {
    return "1";
  }
  if (ha("obiettive diff")) return "2";
  if (ha("terapia complessa") || ha("problematiche assistenziali")) return "3";
  if (ha("art. 15, comma 11-bis")) return "4";
  return {};
}

}  // namespace qzkiro::services
