#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "util/File.h"

struct zip;  // libzip's zip_t, kept out of this header

namespace qzkiro::util {

// Packs and unpacks zip archives (files, folders, in-memory texts) with libzip.
//
// Every member answers false ("" for texts) on failure and leaves an Italian
// message in LastError; libzip's own text is kept after the prefix
// "Errore zip: ". LastError is not cleared by a success.
//
// Password: the object's password applies to every operation; the optional
// `Password` argument of a member, when not empty, takes its place for that
// call. Archives are written with traditional PKWARE encryption when a
// password applies; reading also accepts WinZip AES archives.
//
// Extraction first checks every entry name and refuses the whole archive when
// one would land outside the destination folder ("..", absolute names, drive
// letters; backslashes count as separators). Backslashes in names become
// folder separators on disk. Directory entries create folders; missing
// destination folders are created.
//
// Entries are streamed, never held whole, and bounded (LimitiZip): an entry
// that grows past its cap, an archive whose entries together pass theirs, or
// an entry that expands far beyond its compressed size (a zip bomb) stops the
// extraction with a message. A file is written under a temporary name and
// renamed only when its entry was read whole, so a refused or damaged entry
// leaves nothing behind and never replaces an existing file.
struct LimitiZip {
  std::uint64_t voce = 256ull << 20;      // bytes of one extracted entry
  std::uint64_t archivio = 1024ull << 20; // bytes of all entries of one extraction
  std::uint64_t rapporto = 200;           // extracted / compressed bytes, at most...
  std::uint64_t soglia_rapporto = 1u << 20;  // ...once an entry passed this size
};

class clsZip {
 public:
  clsZip();
  ~clsZip();
  clsZip(clsZip&&) noexcept;
  clsZip& operator=(clsZip&&) noexcept;
  clsZip(const clsZip&) = delete;
  clsZip& operator=(const clsZip&) = delete;

  // New archive `DestFile` holding the file, or the content of the folder
  // (recursively, entry names relative to the folder, sub-folders as
  // directory entries). An empty folder gives a valid empty archive.
  bool ZipFile(const std::string& SourceFileOrDir, const std::string& DestFile,
               const std::string& Password = "");
  // New archive holding the listed files, each under its name without folder.
  bool ZipFileList(const std::vector<std::string>& Lista, const std::string& DestFile,
                   const std::string& Password = "");
  // In-memory archive "temp.zip" with one entry "temp.txt" holding `Testo`
  // (UTF-8 bytes).
  bool ZipString(const std::string& Testo, Bytes& Zip);
  // In-memory archive "temp.zip" holding the file under its name without folder.
  bool ZipFileString(const std::string& NomeFile, Bytes& Zip);

  // Extracts every entry into `DestPath`; ListaFiles receives DestPath / name
  // for every file entry, in archive order.
  bool UnzipFile(const std::string& SourceFile, const std::string& DestPath,
                 const std::string& Password = "");
  // Extracts the entry `FileName` only (name compared ignoring letter case).
  bool UnzipSingleFile(const std::string& SourceFile, const std::string& FileName,
                       const std::string& DestPath, const std::string& Password);
  // Content of the first file entry of an in-memory archive, as UTF-8 text.
  std::string UnzipString(const Bytes& Zip);
  // As UnzipFile, for an in-memory archive.
  bool UnzipStringFile(const Bytes& Zip, const std::string& DestPath);

  // Opens an archive for browsing with Entries and Extract; replaces any
  // archive opened before.
  bool OpenZip(const std::string& SourceFile, const std::string& Password = "");
  // Names of all entries of the opened archive; empty when none is open.
  std::vector<std::string> Entries() const;
  // Extracts one entry of the opened archive into `DestPath` (the archive's
  // own folder when empty) and answers the path written; "" on failure.
  std::string Extract(const std::string& entry, const std::string& DestPath = "");

  void SetPassword(const std::string& value) { password_ = value; }
  void SetLimiti(const LimitiZip& limiti) { limiti_ = limiti; }
  const std::string& Password() const { return password_; }
  const std::string& LastError() const { return last_error_; }
  const std::vector<std::string>& ListaFiles() const { return lista_files_; }

 private:
  struct Chiusura {
    void operator()(zip* archivio) const noexcept;
  };

  // Runs `azione`, turning a thrown failure into LastError and false.
  template <class Azione>
  bool Esegui(Azione&& azione);
  const std::string& PasswordPer(const std::string& argomento) const;

  std::string password_;
  LimitiZip limiti_;
  std::string last_error_;
  std::vector<std::string> lista_files_;
  std::unique_ptr<zip, Chiusura> aperto_;
  std::string cartella_aperto_;
};

}  // namespace qzkiro::util
