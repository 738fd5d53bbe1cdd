#include "util/clsZip.h"

#include <zip.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <cstdio>
#include <vector>
#include <string_view>
#include <system_error>
#include <utility>

#include "qzkiro/Failure.h"

namespace qzkiro::util {

namespace fs = std::filesystem;

namespace {

struct Scarta {
  void operator()(zip_t* archivio) const noexcept { zip_discard(archivio); }
};
struct LiberaSorgente {
  void operator()(zip_source_t* sorgente) const noexcept { zip_source_free(sorgente); }
};
struct ChiudiVoce {
  void operator()(zip_file_t* voce) const noexcept { zip_fclose(voce); }
};
using Archivio = std::unique_ptr<zip_t, Scarta>;
using Sorgente = std::unique_ptr<zip_source_t, LiberaSorgente>;
using VoceAperta = std::unique_ptr<zip_file_t, ChiudiVoce>;

// A zip_error_t on the stack, released on every path.
struct ErroreLocale {
  zip_error_t errore;
  ErroreLocale() { zip_error_init(&errore); }
  explicit ErroreLocale(int codice) { zip_error_init_with_code(&errore, codice); }
  ~ErroreLocale() { zip_error_fini(&errore); }
  ErroreLocale(const ErroreLocale&) = delete;
  ErroreLocale& operator=(const ErroreLocale&) = delete;
};

// An archive without entries: the end-of-central-directory record alone.
// libzip removes the file instead of writing an empty archive.
const Bytes kArchivioVuoto = {0x50, 0x4B, 0x05, 0x06, 0, 0, 0, 0, 0, 0, 0,
                              0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0};

constexpr std::size_t kBlocco = 64 * 1024;

// The one place where a libzip error becomes the class's message.
Failure ErroreZip(zip_error_t* errore) {
  const int codice = zip_error_code_zip(errore);
  if (codice == ZIP_ER_OK) return Failure(0, "Errore non specificato");
  return Failure(codice, std::string("Errore zip: ") + zip_error_strerror(errore));
}

Failure ErroreZip(int codice) {
  ErroreLocale locale(codice);
  return ErroreZip(&locale.errore);
}

void CreaCartella(const fs::path& cartella) {
  if (cartella.empty()) return;
  std::error_code ec;
  fs::create_directories(cartella, ec);
  if (ec) throw Failure(ec.value(), "Impossibile creare la cartella: " + cartella.string());
}

fs::path FileEsistente(const std::string& nome) {
  std::error_code ec;
  if (!fs::is_regular_file(nome, ec)) throw Failure(0, "File non trovato: " + nome);
  return nome;
}

// --- Writing ---------------------------------------------------------------

Archivio ApriPerScrivere(const std::string& file) {
  int codice = 0;
  Archivio archivio(zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &codice));
  if (!archivio) throw ErroreZip(codice);
  return archivio;
}

// Writes the archive out. libzip reads the added files only now, so most
// write errors surface here; on failure the archive is discarded.
void Chiudi(Archivio& archivio) {
  if (zip_close(archivio.get()) != 0) throw ErroreZip(zip_get_error(archivio.get()));
  static_cast<void>(archivio.release());
}

void AggiungiSorgente(zip_t* archivio, const std::string& nome, Sorgente sorgente,
                      const std::string& password) {
  const zip_int64_t indice = zip_file_add(archivio, nome.c_str(), sorgente.get(), ZIP_FL_ENC_UTF_8);
  if (indice < 0) throw ErroreZip(zip_get_error(archivio));
  static_cast<void>(sorgente.release());  // the archive owns it now
  if (!password.empty() && zip_file_set_encryption(archivio, static_cast<zip_uint64_t>(indice),
                                                   ZIP_EM_TRAD_PKWARE, password.c_str()) != 0) {
    throw ErroreZip(zip_get_error(archivio));
  }
}

void AggiungiFile(zip_t* archivio, const fs::path& file, const std::string& nome,
                  const std::string& password) {
  Sorgente sorgente(zip_source_file(archivio, file.c_str(), 0, -1));
  if (!sorgente) throw ErroreZip(zip_get_error(archivio));
  AggiungiSorgente(archivio, nome, std::move(sorgente), password);
}

// Builds an archive in memory with `riempi` and answers its bytes.
template <class Riempi>
Bytes ArchivioInMemoria(Riempi&& riempi) {
  ErroreLocale locale;
  Sorgente buffer(zip_source_buffer_create(nullptr, 0, 0, &locale.errore));
  if (!buffer) throw ErroreZip(&locale.errore);
  Archivio archivio(zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &locale.errore));
  if (!archivio) throw ErroreZip(&locale.errore);
  zip_source_keep(buffer.get());  // the archive took our reference; keep one to read the result
  riempi(archivio.get());
  Chiudi(archivio);

  if (zip_source_open(buffer.get()) < 0) throw ErroreZip(zip_source_error(buffer.get()));
  Bytes dati;
  for (;;) {
    const std::size_t letti = dati.size();
    dati.resize(letti + kBlocco);
    const zip_int64_t n = zip_source_read(buffer.get(), dati.data() + letti, kBlocco);
    if (n < 0) {
      Failure errore = ErroreZip(zip_source_error(buffer.get()));
      zip_source_close(buffer.get());
      throw errore;
    }
    dati.resize(letti + static_cast<std::size_t>(n));
    if (n == 0) break;
  }
  zip_source_close(buffer.get());
  return dati;
}

// --- Reading ---------------------------------------------------------------

void ImpostaPassword(zip_t* archivio, const std::string& password) {
  if (zip_set_default_password(archivio, password.empty() ? nullptr : password.c_str()) != 0) {
    throw ErroreZip(zip_get_error(archivio));
  }
}

Archivio ApriFile(const std::string& file, const std::string& password) {
  int codice = 0;
  Archivio archivio(zip_open(file.c_str(), ZIP_RDONLY, &codice));
  if (!archivio) throw ErroreZip(codice);
  ImpostaPassword(archivio.get(), password);
  return archivio;
}

// `dati` must outlive the archive: libzip reads it in place.
Archivio ApriMemoria(const Bytes& dati, const std::string& password) {
  ErroreLocale locale;
  Sorgente sorgente(zip_source_buffer_create(dati.data(), dati.size(), 0, &locale.errore));
  if (!sorgente) throw ErroreZip(&locale.errore);
  Archivio archivio(zip_open_from_source(sorgente.get(), ZIP_RDONLY, &locale.errore));
  if (!archivio) throw ErroreZip(&locale.errore);
  static_cast<void>(sorgente.release());  // the archive owns it now
  ImpostaPassword(archivio.get(), password);
  return archivio;
}

// False for a name that could leave the destination folder: absolute, with a
// drive letter, or with a ".." component (backslash counts as a separator).
bool NomeSicuro(std::string_view nome) {
  if (nome.empty() || nome.front() == '/' || nome.front() == '\\') return false;
  if (nome.size() >= 2 && nome[1] == ':' && std::isalpha(static_cast<unsigned char>(nome[0]))) {
    return false;
  }
  for (std::size_t inizio = 0; inizio <= nome.size();) {
    std::size_t fine = nome.find_first_of("/\\", inizio);
    if (fine == std::string_view::npos) fine = nome.size();
    if (nome.substr(inizio, fine - inizio) == "..") return false;
    inizio = fine + 1;
  }
  return true;
}

struct VoceZip {
  zip_uint64_t indice;
  std::string nome;  // relative path with '/' separators, no trailing '/'
  bool cartella;
};

std::string NomeVoce(zip_t* archivio, zip_uint64_t indice) {
  const char* nome = zip_get_name(archivio, indice, ZIP_FL_ENC_GUESS);
  if (!nome) throw ErroreZip(zip_get_error(archivio));
  return nome;
}

VoceZip VoceSicura(zip_t* archivio, zip_uint64_t indice) {
  std::string nome = NomeVoce(archivio, indice);
  if (!NomeSicuro(nome)) {
    throw Failure(0, "Voce dello zip fuori dalla cartella di destinazione: " + nome);
  }
  std::replace(nome.begin(), nome.end(), '\\', '/');
  const bool cartella = nome.back() == '/';
  while (!nome.empty() && nome.back() == '/') nome.pop_back();
  return {indice, nome, cartella};
}

zip_uint64_t NumeroVoci(zip_t* archivio) {
  const zip_int64_t n = zip_get_num_entries(archivio, 0);
  if (n < 0) throw ErroreZip(zip_get_error(archivio));
  return static_cast<zip_uint64_t>(n);
}

std::string Dimensione(std::uint64_t byte) {
  if (byte >= (1u << 20) && byte % (1u << 20) == 0) return std::to_string(byte >> 20) + " MB";
  return std::to_string(byte) + " byte";
}

// Reads entries block by block within the limits; one per extraction, so the
// archive-wide count covers every entry written by that call.
class LettoreVoci {
 public:
  LettoreVoci(zip_t* archivio, const LimitiZip& limiti) : archivio_(archivio), limiti_(limiti) {}

  // Hands each block of the entry to `scrivi`. libzip checks the password and
  // the CRC while reading, so a bad entry fails before its last block.
  template <class Scrivi>
  void Leggi(const VoceZip& voce, Scrivi&& scrivi) {
    zip_stat_t info;
    zip_stat_init(&info);
    if (zip_stat_index(archivio_, voce.indice, 0, &info) != 0) {
      throw ErroreZip(zip_get_error(archivio_));
    }
    VerificaMetodi(info);
    const bool compressa = (info.valid & ZIP_STAT_COMP_SIZE) != 0;
    VoceAperta aperta(zip_fopen_index(archivio_, voce.indice, 0));
    if (!aperta) throw ErroreZip(zip_get_error(archivio_));
    std::vector<char> blocco(kBlocco);
    for (std::uint64_t letti = 0;;) {
      const zip_int64_t n = zip_fread(aperta.get(), blocco.data(), blocco.size());
      if (n < 0) throw ErroreZip(zip_file_get_error(aperta.get()));
      if (n == 0) return;
      letti += static_cast<std::uint64_t>(n);
      totale_ += static_cast<std::uint64_t>(n);
      Controlla(voce.nome, letti, compressa ? info.comp_size : 0);
      scrivi(blocco.data(), static_cast<std::size_t>(n));
    }
  }

 private:
  // Refuses an entry whose compression or encryption libzip cannot handle
  // before opening it: libzip 1.7 leaks its decryption source when opening
  // such an entry fails halfway.
  static void VerificaMetodi(const zip_stat_t& info) {
    if ((info.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 &&
        info.encryption_method != ZIP_EM_NONE &&
        !zip_encryption_method_supported(info.encryption_method, 0)) {
      throw ErroreZip(ZIP_ER_ENCRNOTSUPP);
    }
    if ((info.valid & ZIP_STAT_COMP_METHOD) != 0 &&
        !zip_compression_method_supported(info.comp_method, 0)) {
      throw ErroreZip(ZIP_ER_COMPNOTSUPP);
    }
  }

  void Controlla(const std::string& nome, std::uint64_t letti, std::uint64_t compressi) const {
    if (letti > limiti_.voce) {
      throw Failure(0, "Voce dello zip troppo grande: " + nome + " supera " + Dimensione(limiti_.voce));
    }
    if (totale_ > limiti_.archivio) {
      throw Failure(0, "Contenuto dello zip troppo grande: le voci superano " +
                           Dimensione(limiti_.archivio));
    }
    if (letti > limiti_.soglia_rapporto && letti / std::max<std::uint64_t>(compressi, 1) >
                                               limiti_.rapporto) {
      throw Failure(0, "Voce dello zip rifiutata: " + nome + " si espande oltre " +
                           std::to_string(limiti_.rapporto) + " volte la sua dimensione compressa");
    }
  }

  zip_t* archivio_;
  const LimitiZip& limiti_;
  std::uint64_t totale_ = 0;
};

Bytes Contenuto(LettoreVoci& lettore, const VoceZip& voce) {
  Bytes dati;
  lettore.Leggi(voce, [&](const char* blocco, std::size_t n) {
    dati.insert(dati.end(), blocco, blocco + n);
  });
  return dati;
}

// Streams the entry into a temporary file beside `destinazione`, renamed over
// it only once the entry was read whole.
void ScriviVoce(LettoreVoci& lettore, const VoceZip& voce, const fs::path& destinazione) {
  const fs::path provvisorio = destinazione.parent_path() /
                               ("." + destinazione.filename().string() + ".parziale");
  const auto scrittura = [&] {
    return Failure(0, "Impossibile scrivere il file: " + destinazione.string());
  };
  try {
    // Extracted documents are patient data: readable by their owner only.
    std::unique_ptr<std::FILE, decltype(&std::fclose)> uscita(
        ApriFilePrivato(provvisorio.string(), false), &std::fclose);
    if (!uscita) throw scrittura();
    lettore.Leggi(voce, [&](const char* blocco, std::size_t n) {
      if (std::fwrite(blocco, 1, n, uscita.get()) != n) throw scrittura();
    });
    if (std::fclose(uscita.release()) != 0) throw scrittura();
    std::error_code ec;
    fs::rename(provvisorio, destinazione, ec);
    if (ec) throw Failure(ec.value(), "Impossibile scrivere il file: " + destinazione.string());
  } catch (...) {
    std::error_code ignorato;
    fs::remove(provvisorio, ignorato);
    throw;
  }
}

fs::path EstraiVoce(LettoreVoci& lettore, const VoceZip& voce, const fs::path& cartella) {
  const fs::path destinazione = voce.nome.empty() ? cartella : cartella / voce.nome;
  if (voce.cartella) {
    CreaCartella(destinazione);
    return destinazione;
  }
  CreaCartella(destinazione.parent_path());
  ScriviVoce(lettore, voce, destinazione);
  return destinazione;
}

// Extracts every entry, after checking all names; answers the files written.
std::vector<std::string> EstraiTutto(zip_t* archivio, const std::string& cartella,
                                     const LimitiZip& limiti) {
  std::vector<VoceZip> voci;
  const zip_uint64_t n = NumeroVoci(archivio);
  for (zip_uint64_t i = 0; i < n; ++i) voci.push_back(VoceSicura(archivio, i));
  CreaCartella(cartella);
  LettoreVoci lettore(archivio, limiti);
  std::vector<std::string> files;
  for (const auto& voce : voci) {
    const fs::path scritto = EstraiVoce(lettore, voce, cartella);
    if (!voce.cartella) files.push_back(scritto.string());
  }
  return files;
}

}  // namespace

void clsZip::Chiusura::operator()(zip* archivio) const noexcept {
  zip_discard(archivio);
}

clsZip::clsZip() = default;
clsZip::~clsZip() = default;
clsZip::clsZip(clsZip&&) noexcept = default;
clsZip& clsZip::operator=(clsZip&&) noexcept = default;

template <class Azione>
bool clsZip::Esegui(Azione&& azione) {
  try {
    azione();
    return true;
  } catch (const Failure& e) {
    last_error_ = e.Description();
  } catch (const std::exception& e) {
    last_error_ = std::string("Errore zip: ") + e.what();
  }
  return false;
}

const std::string& clsZip::PasswordPer(const std::string& argomento) const {
  return argomento.empty() ? password_ : argomento;
}

bool clsZip::ZipFile(const std::string& SourceFileOrDir, const std::string& DestFile,
                     const std::string& Password) {
  return Esegui([&] {
    const std::string& password = PasswordPer(Password);
    std::error_code ec;
    fs::path sorgente(SourceFileOrDir);
    if (fs::is_regular_file(sorgente, ec)) {
      Archivio archivio = ApriPerScrivere(DestFile);
      AggiungiFile(archivio.get(), sorgente, sorgente.filename().string(), password);
      Chiudi(archivio);
      return;
    }
    if (!fs::is_directory(sorgente, ec)) {
      throw Failure(0, "File o cartella non trovati: " + SourceFileOrDir);
    }
    if (!sorgente.has_filename()) sorgente = sorgente.parent_path();  // "dir/" -> "dir"

    // Sorted, so that a folder comes before its content and archives are reproducible.
    std::vector<fs::path> contenuto;
    for (fs::recursive_directory_iterator it(sorgente, ec), fine; !ec && it != fine;
         it.increment(ec)) {
      if (!fs::equivalent(it->path(), DestFile, ec)) contenuto.push_back(it->path());
      ec.clear();
    }
    if (ec) throw Failure(ec.value(), "Impossibile leggere la cartella: " + SourceFileOrDir);
    std::sort(contenuto.begin(), contenuto.end());

    Archivio archivio = ApriPerScrivere(DestFile);
    for (const auto& percorso : contenuto) {
      const std::string nome = percorso.lexically_relative(sorgente).generic_string();
      if (fs::is_directory(percorso, ec)) {
        if (zip_dir_add(archivio.get(), (nome + "/").c_str(), ZIP_FL_ENC_UTF_8) < 0) {
          throw ErroreZip(zip_get_error(archivio.get()));
        }
      } else if (fs::is_regular_file(percorso, ec)) {
        AggiungiFile(archivio.get(), percorso, nome, password);
      }
    }
    const bool vuoto = NumeroVoci(archivio.get()) == 0;
    Chiudi(archivio);
    if (vuoto && !ScriviFile(DestFile, kArchivioVuoto)) {
      throw Failure(0, "Impossibile scrivere il file: " + DestFile);
    }
  });
}

bool clsZip::ZipFileList(const std::vector<std::string>& Lista, const std::string& DestFile,
                         const std::string& Password) {
  return Esegui([&] {
    if (Lista.empty()) throw Failure(0, "Nessun file da comprimere");
    Archivio archivio = ApriPerScrivere(DestFile);
    for (const auto& file : Lista) {
      const fs::path percorso = FileEsistente(file);
      AggiungiFile(archivio.get(), percorso, percorso.filename().string(), PasswordPer(Password));
    }
    Chiudi(archivio);
  });
}

bool clsZip::ZipString(const std::string& Testo, Bytes& Zip) {
  Zip.clear();
  return Esegui([&] {
    Zip = ArchivioInMemoria([&](zip_t* archivio) {
      Sorgente sorgente(zip_source_buffer(archivio, Testo.data(), Testo.size(), 0));
      if (!sorgente) throw ErroreZip(zip_get_error(archivio));
      AggiungiSorgente(archivio, "temp.txt", std::move(sorgente), password_);
    });
  });
}

bool clsZip::ZipFileString(const std::string& NomeFile, Bytes& Zip) {
  Zip.clear();
  return Esegui([&] {
    const fs::path percorso = FileEsistente(NomeFile);
    Zip = ArchivioInMemoria([&](zip_t* archivio) {
      AggiungiFile(archivio, percorso, percorso.filename().string(), password_);
    });
  });
}

bool clsZip::UnzipFile(const std::string& SourceFile, const std::string& DestPath,
                       const std::string& Password) {
  lista_files_.clear();
  return Esegui([&] {
    Archivio archivio = ApriFile(SourceFile, PasswordPer(Password));
    lista_files_ = EstraiTutto(archivio.get(), DestPath, limiti_);
  });
}

bool clsZip::UnzipSingleFile(const std::string& SourceFile, const std::string& FileName,
                             const std::string& DestPath, const std::string& Password) {
  lista_files_.clear();
  return Esegui([&] {
    Archivio archivio = ApriFile(SourceFile, PasswordPer(Password));
    const zip_int64_t indice = zip_name_locate(archivio.get(), FileName.c_str(), ZIP_FL_NOCASE);
    if (indice < 0) throw Failure(0, "File non presente nello zip: " + FileName);
    const VoceZip voce = VoceSicura(archivio.get(), static_cast<zip_uint64_t>(indice));
    CreaCartella(DestPath);
    LettoreVoci lettore(archivio.get(), limiti_);
    const fs::path scritto = EstraiVoce(lettore, voce, DestPath);
    if (!voce.cartella) lista_files_.push_back(scritto.string());
  });
}

std::string clsZip::UnzipString(const Bytes& Zip) {
  std::string testo;
  Esegui([&] {
    Archivio archivio = ApriMemoria(Zip, password_);
    const zip_uint64_t n = NumeroVoci(archivio.get());
    for (zip_uint64_t i = 0; i < n; ++i) {
      const std::string nome = NomeVoce(archivio.get(), i);
      if (!nome.empty() && nome.back() == '/') continue;
      LettoreVoci lettore(archivio.get(), limiti_);
      testo = ComeTesto(Contenuto(lettore, VoceZip{i, nome, false}));
      return;
    }
    throw Failure(0, "Nessun file contenuto nello zip");
  });
  return testo;
}

bool clsZip::UnzipStringFile(const Bytes& Zip, const std::string& DestPath) {
  lista_files_.clear();
  return Esegui([&] {
    Archivio archivio = ApriMemoria(Zip, password_);
    lista_files_ = EstraiTutto(archivio.get(), DestPath, limiti_);
  });
}

bool clsZip::OpenZip(const std::string& SourceFile, const std::string& Password) {
  aperto_.reset();
  cartella_aperto_.clear();
  return Esegui([&] {
    Archivio archivio = ApriFile(SourceFile, PasswordPer(Password));
    cartella_aperto_ = fs::path(SourceFile).parent_path().string();
    aperto_.reset(archivio.release());
  });
}

std::vector<std::string> clsZip::Entries() const {
  std::vector<std::string> nomi;
  if (!aperto_) return nomi;
  const zip_int64_t n = zip_get_num_entries(aperto_.get(), 0);
  for (zip_int64_t i = 0; i < n; ++i) {
    if (const char* nome = zip_get_name(aperto_.get(), static_cast<zip_uint64_t>(i), 0)) {
      nomi.emplace_back(nome);
    }
  }
  return nomi;
}

std::string clsZip::Extract(const std::string& entry, const std::string& DestPath) {
  std::string percorso;
  Esegui([&] {
    if (!aperto_) throw Failure(0, "Nessun archivio zip aperto");
    const zip_int64_t indice = zip_name_locate(aperto_.get(), entry.c_str(), 0);
    if (indice < 0) throw Failure(0, "File non presente nello zip: " + entry);
    const VoceZip voce = VoceSicura(aperto_.get(), static_cast<zip_uint64_t>(indice));
    const std::string& cartella = DestPath.empty() ? cartella_aperto_ : DestPath;
    CreaCartella(cartella);
    LettoreVoci lettore(aperto_.get(), limiti_);
    percorso = EstraiVoce(lettore, voce, cartella).string();
  });
  return percorso;
}

}  // namespace qzkiro::util
