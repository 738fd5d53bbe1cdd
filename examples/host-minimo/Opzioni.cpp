#include "Opzioni.h"

#include <map>
#include <ostream>

namespace hostminimo {

namespace {

constexpr const char* kUso =
    "Uso: host-minimo --lotti URL (--antigene CODICE | --aic CODICE) [opzioni]\n"
    "\n"
    "Cerca i lotti di un vaccino con il servizio regionale (QZ02025) e li stampa.\n"
    "\n"
    "  --lotti URL           indirizzo di base del servizio di ricerca dei lotti\n"
    "                        (la chiave client/lotti stampata da kiro-sandbox)\n"
    "  --antigene CODICE     codice del principio attivo del vaccino\n"
    "  --aic CODICE          oppure codice AIC del vaccino\n"
    "  --plugin CARTELLA     cartella del componente (imposta QZKIRO_HOME)\n"
    "  --ca FILE             certificati delle autorità dei servizi (imposta\n"
    "                        QZKIRO_CA_BUNDLE)\n"
    "  --certificato NOME    certificato client TLS (PKCS#12), percorso relativo\n"
    "                        alla cartella del componente\n"
    "  --password TESTO      password del certificato client\n"
    "  --log CARTELLA        cartella del log cifrato del componente\n"
    "  --medico CF           codice fiscale dell'utente dell'host\n"
    "  --asl CODICE          azienda sanitaria dell'utente (6 cifre)\n"
    "  --help                mostra questo aiuto\n"
    "\n"
    "Esce con 0 se la ricerca riesce, 1 se fallisce, 2 per un errore d'uso,\n"
    "3 se l'inizializzazione del componente non riesce.\n";

}  // namespace

std::optional<Opzioni> LeggiOpzioni(int argc, char** argv, std::ostream& out, std::ostream& err,
                                    bool& aiuto) {
  Opzioni opzioni;
  const std::map<std::string, std::string*> valori = {
      {"--lotti", &opzioni.lotti},       {"--antigene", &opzioni.antigene},
      {"--aic", &opzioni.aic},           {"--plugin", &opzioni.plugin},
      {"--ca", &opzioni.ca},             {"--certificato", &opzioni.certificato},
      {"--password", &opzioni.password}, {"--log", &opzioni.log},
      {"--medico", &opzioni.medico},     {"--asl", &opzioni.asl},
  };
  aiuto = false;
  for (int i = 1; i < argc; ++i) {
    const std::string nome = argv[i];
    if (nome == "--help" || nome == "-h") {
      aiuto = true;
      out << kUso;
      return std::nullopt;
    }
    const auto voce = valori.find(nome);
    if (voce == valori.end()) {
      err << "Opzione sconosciuta: " << nome << "\n\n" << kUso;
      return std::nullopt;
    }
    if (i + 1 >= argc) {
      err << "Valore mancante per " << nome << "\n\n" << kUso;
      return std::nullopt;
    }
    *voce->second = argv[++i];
  }
  if (opzioni.lotti.empty()) {
    err << "Indicare l'indirizzo del servizio con --lotti\n\n" << kUso;
    return std::nullopt;
  }
  return opzioni;
}

}  // namespace hostminimo
