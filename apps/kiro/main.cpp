// kiro: the command-line host of the add-on.

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <utility>
#include <iostream>
#include <string>

#include "Demo.h"
#include "LeggiLog.h"
#include "MostraCda.h"
#include "MostraHl7.h"
#include "MostraXds.h"
#ifdef QZKIRO_QT
#include "FacciaQt.h"
#endif

namespace {

constexpr const char* kAiuto =
    "Uso: kiro COMANDO [OPZIONI]\n"
    "\n"
    "Comandi:\n"
    "  demo       avvia l'host di prova, inizializza il componente e mostra\n"
    "             Info, Versione, i valori di set-up scritti e gli eventi\n"
    "             Opzioni: --config FILE   documento di configurazione\n"
    "                      --host DIR      dati dell'host di prova\n"
    "                      --plugin DIR    cartella del componente\n"
    "                      --simulator     i servizi regionali HL7 rispondono\n"
    "                                      con i file del simulatore\n"
    "                      --registra DIR  scrive in DIR ogni richiesta ricevuta\n"
    "                                      dalla sandbox e indice.json\n"
    "  log read FILE [--extract DIR]\n"
    "             decifra un file di log (.mlg) e ne mostra le voci; con --extract\n"
    "             riscrive gli allegati nella cartella DIR\n"
    "  cda show FILE\n"
    "             mostra intestazione e osservazioni di un documento CDA in JSON\n"
    "  cda html FILE\n"
    "             mostra il documento CDA come pagina HTML\n"
    "  hl7 show FILE\n"
    "             mostra in JSON le proprietà di ogni messaggio HL7 v2.5 XML del file\n"
    "  xds show FILE\n"
    "             mostra in JSON le righe che l'host riceve da una risposta del\n"
    "             registro FSE (AdhocQueryResponse) e gli errori che riporta\n"
    "  ui galleria DIR [--scala S]\n"
    "             scrive in DIR un'immagine PNG di ogni finestra e di ogni tipo di\n"
    "             messaggio del componente (Qt, senza mostrarle), alla scala S\n"
    "  --help     mostra questo aiuto\n"
    "\n"
    "Opzione generale, prima del comando:\n"
    "  --ui qt|console\n"
    "             le finestre del componente come finestre Qt (serve uno schermo)\n"
    "             o sulla console (predefinita)\n";

constexpr const char* kSenzaQt = "kiro è stato compilato senza Qt (QZKIRO_QT=OFF)\n";

// The demo's files: an installed kiro finds them from its own place
// (<bindir>/../share/...), a build tree's kiro in the source tree.
std::string Cartella(const char* sorgente, const char* da_programma) {
  std::error_code errore;
  const auto programma = std::filesystem::read_symlink("/proc/self/exe", errore);
  if (!errore) {
    const auto installata = (programma.parent_path() / da_programma).lexically_normal();
    if (std::filesystem::is_directory(installata, errore)) return installata.string();
  }
  return sorgente;
}

// `demo [OPZIONI]`.
int ComandoDemo(int argc, char** argv, std::shared_ptr<qzkiro::core::Ui> ui) {
  const std::string dati = Cartella(QZKIRO_DATA_DIR, QZKIRO_DATI_DA_PROGRAMMA);
  qzkiro::kiro::OpzioniDemo opzioni{dati + "/config.xml",
                                    Cartella(QZKIRO_REFHOST_DATI, QZKIRO_HOST_DA_PROGRAMMA), dati};
  opzioni.ui = std::move(ui);
  for (int i = 2; i < argc; i += 2) {
    const std::string opzione = argv[i];
    if (opzione == "--simulator") {
      opzioni.simulatore = true;
      --i;
      continue;
    }
    if (i + 1 >= argc) {
      std::cerr << "Valore mancante per " << opzione << "\n" << kAiuto;
      return 2;
    }
    if (opzione == "--config")
      opzioni.config = argv[i + 1];
    else if (opzione == "--host")
      opzioni.dati_host = argv[i + 1];
    else if (opzione == "--plugin")
      opzioni.cartella_plugin = argv[i + 1];
    else if (opzione == "--registra")
      opzioni.registra = argv[i + 1];
    else {
      std::cerr << "Opzione sconosciuta: " << opzione << "\n" << kAiuto;
      return 2;
    }
  }
  try {
    return qzkiro::kiro::Demo(opzioni, std::cout);
  } catch (const std::exception& error) {
    std::cerr << "kiro demo: " << error.what() << '\n';
    return 1;
  }
}

// One command; `ui` is the add-on's face for the commands that show dialogs.
int Esegui(int argc, char** argv, std::shared_ptr<qzkiro::core::Ui> ui) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::cout << kAiuto;
    return argc < 2 ? 2 : 0;
  }
  const std::string comando = argv[1];
  if (comando == "demo") return ComandoDemo(argc, argv, std::move(ui));
  if (comando == "log" && argc >= 4 && std::strcmp(argv[2], "read") == 0) {
    std::string estrai;
    if (argc == 6 && std::strcmp(argv[4], "--extract") == 0) {
      estrai = argv[5];
    } else if (argc != 4) {
      std::cerr << kAiuto;
      return 2;
    }
    return qzkiro::kiro::LeggiLog(argv[3], estrai, std::cout, std::cerr);
  }
  if (comando == "cda" && argc == 4) {
    const std::string azione = argv[2];
    if (azione == "show") return qzkiro::kiro::MostraCda(argv[3], std::cout, std::cerr);
    if (azione == "html") return qzkiro::kiro::HtmlCda(argv[3], std::cout, std::cerr);
  }
  if (comando == "xds" && argc == 4 && std::strcmp(argv[2], "show") == 0) {
    return qzkiro::kiro::MostraXds(argv[3], std::cout, std::cerr);
  }
  if (comando == "hl7" && argc == 4 && std::strcmp(argv[2], "show") == 0) {
    return qzkiro::kiro::MostraHl7(argv[3], std::cout, std::cerr);
  }
  std::cerr << "Comando sconosciuto: " << comando << "\n" << kAiuto;
  return 2;
}

// `ui galleria DIR [--scala S]`.
int Galleria(int argc, char** argv) {
  if (argc != 4 && !(argc == 6 && std::strcmp(argv[4], "--scala") == 0)) {
    std::cerr << kAiuto;
    return 2;
  }
  const double scala = argc == 6 ? std::atof(argv[5]) : 1.0;
  if (scala < 0.5 || scala > 4) {
    std::cerr << "Scala non valida: " << argv[5] << " (da 0.5 a 4)\n";
    return 2;
  }
#ifdef QZKIRO_QT
  return qzkiro::kiro::GalleriaQt(argc, argv, argv[3], scala);
#else
  std::cerr << kSenzaQt;
  return 2;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "ui") == 0 && std::strcmp(argv[2], "galleria") == 0) {
    return Galleria(argc, argv);
  }
  if (argc >= 3 && std::strcmp(argv[1], "--ui") == 0) {
    const std::string faccia = argv[2];
    // The command's own arguments follow the face: argv[2] stands for argv[0].
    char** resto = argv + 2;
    const int n = argc - 2;
    if (faccia == "console") return Esegui(n, resto, nullptr);
    if (faccia != "qt") {
      std::cerr << "Interfaccia sconosciuta: " << faccia << " (qt o console)\n";
      return 2;
    }
#ifdef QZKIRO_QT
    int argc_qt = argc;
    return qzkiro::kiro::ConFacciaQt(argc_qt, argv, [&](std::shared_ptr<qzkiro::core::Ui> ui) {
      return Esegui(n, resto, std::move(ui));
    });
#else
    std::cerr << kSenzaQt;
    return 2;
#endif
  }
  return Esegui(argc, argv, nullptr);
}
