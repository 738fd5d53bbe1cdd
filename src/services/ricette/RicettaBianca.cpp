// The white prescription of drugs: request, receipt and send.

#include <cctype>
#include <filesystem>

#include "core/Contesto.h"
#include "core/modLog.h"
#include "net/EsitoScambio.h"
#include "qzkiro/Failure.h"
#include "services/ricette/ClienteDem.h"
#include "services/ricette/InvioRicetta.h"
#include "services/ricette/ProprietaRicetta.h"
#include "services/ricette/RichiestaRicetta.h"
#include "util/DataOra.h"
#include "util/File.h"
#include "util/Testo.h"
#include "util/clsBase64.h"

namespace qzkiro::services {

namespace {

using Nodo = util::clsXML::Nodo;

std::string IndirizzoMedico(host::IRicetta& r) {
  std::string indirizzo = Testo(r, "MedicoIndirizzo");
  const std::string luogo = util::Trim(
      Testo(r, "MedicoCAP") + " " + Testo(r, "MedicoComune") +
      (Testo(r, "MedicoProvincia").empty() ? "" : " (" + Testo(r, "MedicoProvincia") + ")"));
  if (!luogo.empty()) indirizzo += (indirizzo.empty() ? "" : ", ") + luogo;
  return indirizzo;
}

std::string Telefono(const std::string& numero) {
  if (numero.empty() || numero.starts_with("+")) return numero;
  return "+39" + numero;
}

void Testata(util::clsXML& xml, Nodo r, host::IRicetta& ricetta) {
  const std::string asl = Testo(ricetta, "MedicoCodiceRegioneASL");
  const std::string struttura = core::Ctx().settings.codice_struttura;
  const std::string attivita = Testo(ricetta, "MedicoCodiceAttivita");
  xml.AddNode(r, "inv:pinCode");
  xml.AddNode(r, "inv:cfMedico", Testo(ricetta, "MedicoCodiceFiscale"));
  xml.AddNode(r, "inv:codRegione", asl.substr(0, 3));
  xml.AddNode(r, "inv:codASLAo", asl.size() > 3 ? asl.substr(3) : std::string());
  xml.AddNode(r, "inv:codStruttura",
              struttura.empty() ? util::Trim(Testo(ricetta, "MedicoCodiceStruttura")) : struttura);
  xml.AddNode(r, "inv:codSpecializzazione", attivita.empty() ? "F" : attivita);
  xml.AddNode(r, "inv:specialClinica", Testo(ricetta, "SpecialitaClinica"));
  xml.AddNode(r, "inv:numIscrizAlbo", Testo(ricetta, "MedicoCodiceOrdine"));
  xml.AddNode(r, "inv:indirMedico", IndirizzoMedico(ricetta));
  xml.AddNode(r, "inv:telefMedico", Telefono(Testo(ricetta, "MedicoTelefono")));
  xml.AddNode(r, "inv:codicePaziente", CifraFse(Testo(ricetta, "PazienteCodiceFiscale")));
  xml.AddNode(r, "inv:cognNome",
              Testo(ricetta, "PazienteCognome") + " " + Testo(ricetta, "PazienteNome"));
  xml.AddNode(r, "inv:indirizzo", Testo(ricetta, "PazienteIndirizzoPipe"));
  xml.AddNode(r, "inv:tipoPrescrizione", Intero(ricetta, "Tipo") == 1 ? "F" : "P");
  if (Flag(ricetta, "StampaDiagnosi") || Flag(ricetta, "InviaDiagnosi")) {
    const std::string icd9 = Testo(ricetta, "ICD9");
    xml.AddNode(r, "inv:codDiagnosi", util::Trim(icd9.substr(0, icd9.find('_'))));
    xml.AddNode(r, "inv:descrDiagnosi", Sinistra(Testo(ricetta, "Diagnosi"), 256));
  }
  auto data = util::DataOra::Leggi(Testo(ricetta, "Data"));
  xml.AddNode(r, "inv:dataCompilazione",
              data ? data->Formato("yyyy-mm-dd hh\\:nn\\:ss") : Testo(ricetta, "Data"));
}

void Riga(util::clsXML& xml, Nodo r, host::IRigaPrescrizione& riga) {
  Nodo d = xml.AddNode(r, "inv:dettaglioPrescrizioneRicettaBianca");
  const std::string nota = util::Trim(Testo(riga, "NotaPrescrizione"));
  auto numero = [&](const char* nome) {
    const auto n = Intero(riga, nome);
    return n > 0 ? std::to_string(n) : std::string();
  };
  const auto quantita = Intero(riga, "Quantita");
  std::string prodotto = Testo(riga, "CodicePrescrizione");
  xml.AddNode(d, "tip:codProdPrest", prodotto.empty() ? Testo(riga, "IDRif") : prodotto);
  xml.AddNode(d, "tip:descrProdPrest", Testo(riga, "Descrizione"));
  xml.AddNode(d, "tip:codGruppoEquival", Testo(riga, "GruppoEquivalenza"));
  xml.AddNode(d, "tip:descrGruppoEquival", Testo(riga, "DescrizioneGruppoEquivalenza"));
  xml.AddNode(d, "tip:nonSost", Flag(riga, "NonSostituibile") ? "1" : "0");
  xml.AddNode(d, "tip:codMotivazNonSost", MotivazioneNonSost(nota));
  xml.AddNode(d, "tip:tdl", Testo(riga, "TestoLibero"));
  xml.AddNode(d, "tip:descrTestoLiberoNote", nota);
  xml.AddNode(d, "tip:quantita", std::to_string(quantita > 0 ? quantita : 1));
  xml.AddNode(d, "tip:posologia", util::Trim(Testo(riga, "Posologia")));
  xml.AddNode(d, "tip:numRipetibilita", numero("NumRipetibilita"));
  xml.AddNode(d, "tip:validitaFarm", numero("ValiditaFarm"));
  xml.AddNode(d, "tip:prescrizione1");
  xml.AddNode(d, "tip:prescrizione2");
}

std::string RichiestaBianca(host::IRicetta& ricetta) {
  util::clsXML xml;
  Nodo corpo = BustaDem(xml);
  Nodo r = xml.CreateNode(corpo, "inv:InvioPrescrittoRicettaBiancaRichiesta");
  xml.AddAttribute(r, "xmlns:inv",
                   "http://invioprescrittoricettabiancarichiesta.xsd.dem.sanita.finanze.it");
  xml.AddAttribute(r, "xmlns:tip",
                   "http://tipodatiinvioprescrittoricettabianca.xsd.dem.sanita.finanze.it");
  Testata(xml, r, ricetta);
  for (const auto& riga : ricetta.ListaPrescrizioni()) Riga(xml, r, *riga);
  return xml.XML_UTF8();
}

// The receipt's outcome written into the prescription; "" on success, else
// the error. `pdf`: the reminder the service made (Base64).
std::string LeggiRicevutaBianca(host::IRicetta& ricetta, const std::string& risposta,
                                std::string& pdf) {
  if (risposta.empty()) return "Nessuna risposta dal server";
  util::clsXML xml;
  if (!xml.LoadXML(risposta)) return "Risposta del server non corretta";
  auto r = xml.rootNode();
  const std::string base = "Body/InvioPrescrittoRicettaBiancaRicevuta/";
  if (xml.GetTextNode(r, base + "codEsitoInserimento") == "0000") {
    ricetta.Imposta("NRBE", xml.GetTextNode(r, base + "nrbe"));
    ricetta.Imposta("pinNrBe", xml.GetTextNode(r, base + "pinNrbe"));
    ricetta.Imposta("RicevutaInvio", xml.GetTextNode(r, base + "protocolloTransazione"));
    pdf = xml.GetTextNode(r, base + "pdfPromemoria");
    return {};
  }
  const std::string codice = xml.GetTextNode(r, base + "erroreRicetta/codEsito");
  const std::string esito = xml.GetTextNode(r, base + "erroreRicetta/esito");
  if (!esito.empty()) return codice.empty() ? esito : codice + " - " + esito;
  core::RispostaHttp ricevuta;
  ricevuta.corpo = risposta;
  return net::MessaggioEsito(net::EsitoScambio::kFaultServizio, ricevuta);
}

// The reminder saved as "<NRBE>.pdf" in the user's temporary folder, for the
// host to print with the white reminder's form; its path goes to the
// prescription's FilePromemoria ("" when the service sent none or it could
// not be saved). A host without that property still has its prescription sent.
void SalvaPromemoria(host::IRicetta& ricetta, const std::string& pdf) {
  std::string nome;
  for (char c : Testo(ricetta, "NRBE")) {
    if (std::isalnum(static_cast<unsigned char>(c))) nome += c;
  }
  std::string file;
  if (!pdf.empty()) {
    // Without a number nothing fixes the name: a unique one, so that two
    // reminders never overwrite each other.
    const std::string cartella = core::Ctx().App().Utente().TempDir();
    file = nome.empty() ? util::CreaFileUnico(cartella, "promemoria_", ".pdf").value_or("")
                        : (std::filesystem::path(cartella) / (nome + ".pdf")).string();
    if (file.empty() || !util::clsBase64().DecodeFile(pdf, file)) {
      core::modLog::Log("Promemoria ricetta bianca non salvato", file, true);
      file.clear();
    }
  }
  try {
    ricetta.Imposta("FilePromemoria", file);
  } catch (const Failure& e) {
    core::modLog::Log("Promemoria ricetta bianca", e.what(), true);
  }
}

}  // namespace

bool InviaPrescrizioneBianca(host::IRicetta& ricetta, host::IMedico* medico, ScelteLista& scelte) {
  auto fallimento = [&](const std::string& errore) {
    SegnaFallimento(ricetta, errore);
    if (medico) DialogoFallimento(ricetta, errore, true, scelte);
    return false;
  };
  auto asserzione = AsserzioneRicetta(dem::kInvioBianca, ricetta);
  if (!asserzione) {
    FallimentoAsserzione(ricetta, medico, true, scelte);
    return false;
  }
  const EsitoDem esito = InviaDem(dem::kInvioBianca, RichiestaBianca(ricetta), *asserzione);
  if (!esito.inviata) return fallimento(esito.errore);
  std::string pdf;
  const std::string errore = LeggiRicevutaBianca(ricetta, esito.risposta, pdf);
  if (!errore.empty()) return fallimento(errore);
  ricetta.Imposta("StatoInvio", stato_invio::kInviata);
  ricetta.Imposta("ErroreInvio", "");
  SalvaPromemoria(ricetta, pdf);
  if (medico && !core::Ctx().settings.no_stampa_dema && !scelte.non_stampare_tutte) {
    DialogoSuccesso(ricetta, {}, scelte, kModuloPromemoriaBianca);
  }
  return true;
}

}  // namespace qzkiro::services
