// The view of a red prescription at the national service.

#include "core/Contesto.h"
#include "services/ricette/RotteRicette.h"
#include "services/ricette/ClienteDem.h"
#include "services/ricette/InvioRicetta.h"
#include "services/ricette/RichiesteTesto.h"
#include "util/DataOra.h"
#include "util/Testo.h"
#include "util/clsXML.h"

namespace qzkiro::services {

namespace {

constexpr const char* kPrefisso = "Visualizza Prescrizione: ";

const char* DescrizioneStato(const std::string& codice) {
  static const char* const kStati[] = {"Lotto richiesto senza associazione Medico",
                                       "Lotto richiesto con associazione Medico",
                                       "Ricetta da erogare",
                                       "Ricetta annullata dal prescrittore",
                                       "Ricetta in corso di erogazione",
                                       "Ricetta sospesa",
                                       "Singola prescrizione erogata",
                                       "Ricetta erogata",
                                       "Annullamento ricetta erogata",
                                       "Ricetta farmaceutica scaduta (non erogata)"};
  for (int i = 1; i <= 10; ++i) {
    if (codice == std::to_string(i)) return kStati[i - 1];
  }
  return nullptr;
}

bool Errore(const std::string& testo) {
  core::Ctx().last_error = kPrefisso + testo;
  return false;
}

void Riga(host::Collection& righe, const std::string& etichetta, const std::string& valore) {
  if (valore.empty()) return;
  auto riga = std::make_shared<host::Collection>();
  riga->Add(std::string("Ricetta"), "Gruppo");
  riga->Add(etichetta, "Etichetta");
  riga->Add(valore, "Valore");
  righe.Add(riga);
}

std::string DataInserimento(std::string testo) {
  if (testo.size() > 10 && testo[10] == 'T') testo[10] = ' ';
  auto data = util::DataOra::Leggi(testo.substr(0, 19));
  return data ? data->Formato("dd/mm/yyyy hh\\:nn\\:ss") : testo;
}

}  // namespace

bool VisualizzaPrescrizione(const std::string& nre, host::Collection& righe) {
  auto asserzione = AsserzioneUtente(dem::kVisualizza);
  if (!asserzione) return false;
  const EsitoDem esito =
      InviaDem(dem::kVisualizza, RichiestaVisualizza(nre, CfUtente()), *asserzione);
  if (!esito.inviata) return Errore(esito.errore);
  util::clsXML xml;
  if (esito.risposta.empty()) return Errore("Il servizio ha restituito una risposta vuota");
  if (!xml.LoadXML(esito.risposta)) return Errore("Risposta del server non corretta");
  auto r = xml.SelectNode(xml.rootNode(), "Body/VisualizzaPrescrittoRicevuta");
  if (xml.GetTextNode(r, "codEsitoVisualizzazione") != "0000") {
    std::string errori;
    for (auto e : xml.SelectNodeList(r, "ElencoErroriRicette/ErroreRicetta")) {
      errori += (errori.empty() ? "" : "\n") + xml.GetTextNode(e, "codEsito") + " - " +
                xml.GetTextNode(e, "esito");
    }
    return Errore(errori.empty() ? "esito " + xml.GetTextNode(r, "codEsitoVisualizzazione")
                                 : errori);
  }
  const std::string stato = xml.GetTextNode(r, "statoProcesso");
  const char* descrizione = DescrizioneStato(stato);
  Riga(righe, "Data Inserimento", DataInserimento(xml.GetTextNode(r, "dataInserimento")));
  Riga(righe, "CF Medico", xml.GetTextNode(r, "cfMedico1"));
  Riga(righe, "CF Medico Sostituto", xml.GetTextNode(r, "cfMedico2"));
  Riga(righe, "Codice NRE", xml.GetTextNode(r, "nre"));
  Riga(righe, "Codice Autenticazione", xml.GetTextNode(r, "codAutenticazione"));
  Riga(righe, "Stato", descrizione ? descrizione : stato);
  for (auto c : xml.SelectNodeList(r, "ElencoComunicazioni/Comunicazione")) {
    Riga(righe, "Comunicazioni", xml.GetTextNode(c, "messaggio"));
  }
  return true;
}

}  // namespace qzkiro::services

namespace qzkiro::op {

bool VisualizzaPrescrizione(Variant&, Variant&, Variant& NRE, Variant& Response) {
  auto righe = std::make_shared<host::Collection>();
  const bool ok = services::VisualizzaPrescrizione(NRE.ToText(), *righe);
  Response = Variant(righe);
  return ok;
}

}  // namespace qzkiro::op
