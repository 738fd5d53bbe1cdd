#include "DemoContatti.h"

#include <filesystem>
#include <iostream>
#include <map>
#include <ostream>

#include "UiConsole.h"
#include "core/Contesto.h"
#include "refhost/GrigliaContatti.h"

namespace qzkiro::kiro {

namespace {

using host::Variant;

// The console, answering the flow credentials with the sandbox's account.
class UiContattiDemo : public UiConsole {
 public:
  using UiConsole::UiConsole;
  bool AccessoACN(frmAccessoACN& form) override {
    form.Testo1 = sandbox::ServiziFlussiAsl::kUtente;
    form.Testo2 = sandbox::ServiziFlussiAsl::kPassword;
    return true;
  }
};

Variant Griglia() {
  auto g = std::make_shared<refhost::GrigliaContatti>();
  const std::map<std::string, std::string> rossi = {{"CodiceFiscale", "RSSMRA45M41L736K"},
                                                    {"Cognome", "ROSSI"},
                                                    {"Nome", "MARIA"},
                                                    {"Sesso", "F"},
                                                    {"DataNascita", "19450801"},
                                                    {"ComuneNascita", "VENEZIA"}};
  auto verdi = rossi;
  verdi["CodiceFiscale"] = "VRDLGU52C12G224M";
  verdi["Cognome"] = "VERDI";
  verdi["Nome"] = "LUIGI";
  verdi["Sesso"] = "M";
  verdi["DataNascita"] = "19520312";
  verdi["ComuneNascita"] = "PADOVA";
  auto riga = [&](std::map<std::string, std::string> p, std::map<std::string, std::string> c) {
    p.insert(c.begin(), c.end());
    g->Aggiungi(std::make_shared<refhost::RecordContatto>(p));
  };
  riga(rossi, {{"categoria", "ACCESSO CON VISITA"},
               {"Data", "20261103"},
               {"Motivo", "Controllo glicemico"},
               {"CodiceIcpc2", "T90"}});
  riga(rossi, {{"categoria", "PPIP"}, {"Data", "20261103"}, {"IDRif1", "101"}});
  riga(verdi, {{"categoria", "VACCINAZIONE"},
               {"Data", "20261112"},
               {"Descrizione", "Vaccino antinfluenzale quadrivalente"}});
  riga(verdi, {{"categoria", "VISITA DOMICILIARE"}, {"Data", "20261120"}, {"Motivo", "Febbre"}});
  return Variant(std::static_pointer_cast<host::IGrigliaContatti>(g));
}

}  // namespace

void DemoContatti(Plugin& plugin, sandbox::Ambiente& ambiente, refhost::Applicazione& host,
                  bool simulatore, Verifica& verifica, std::ostream& out) {
  auto& c = core::Ctx();
  for (const auto& [chiave, valore] : ambiente.Chiavi()) {
    if (chiave == "client/flussoasl") c.settings.endpoint["flussoasl"] = valore;
    if (chiave == "client/flussoasl050103") c.settings.endpoint["flussoasl050103"] = valore;
  }
  auto ui_precedente = c.ui;
  c.ui = std::make_shared<UiContattiDemo>(out, std::cin, false);
  const std::string asl = host.Utente().CodiceRegioneASL();
  host.Utente().SetCodiceRegioneASL("050118");
  const auto prima = ambiente.FlussiAsl().Ricevuti().size();

  Variant griglia = Griglia(), dal("01/11/2026"), al("30/11/2026"), modello;
  const bool inviato = plugin.QZ04022(griglia, dal, al, modello);
  const auto file = std::filesystem::path(host.Utente().TempDir()) / "ACN.xml";
  out << "Flusso contatti ULSS 050118: " << (inviato ? "accettato" : plugin.LastError())
      << "\n  file " << file.string() << " ("
      << (std::filesystem::exists(file) ? std::filesystem::file_size(file) : 0) << " byte)\n";
  const auto ricevuti = ambiente.FlussiAsl().Ricevuti();
  const bool arrivato =
      simulatore || (ricevuti.size() == prima + 1 &&
                     ricevuti.back().contenuto.find("<tipologia>A112") != std::string::npos);
  verifica(inviato && arrivato, "Flusso dei contatti all'azienda sanitaria (invioFlusso)");

  host.Utente().SetCodiceRegioneASL("050505");
  Variant vuota, xml("<records><indicatori/></records>"), ricevuta;
  const bool pdta = plugin.QZ04048(vuota, xml, modello, ricevuta);
  out << "Indicatori PDTA come testo: " << (pdta ? ricevuta.ToText() : plugin.LastError()) << '\n';
  verifica(pdta, "Indicatori PDTA al servizio dei flussi (invioPdta)");

  host.Utente().SetCodiceRegioneASL(asl);
  c.ui = ui_precedente;
}

}  // namespace qzkiro::kiro
