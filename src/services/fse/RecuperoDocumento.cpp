// Retrieval of a document from the regional repository (ITI-43): the
// multipart (XOP) answer is kept in the host's temporary folder, split with
// the host's MIME component, and the document is handled by its mimeType.

#include "services/fse/RecuperoDocumento.h"

#include <filesystem>

#include "cda/AllegatiPdf.h"
#include "cda/BustaFirmata.h"
#include "core/AccessoContesto.h"
#include "core/Contesto.h"
#include "qzkiro/host/Collection.h"
#include "qzkiro/host/Membri.h"
#include "qzkiro/host/Mime.h"
#include "services/fse/ClienteFse.h"
#include "services/fse/PazienteFse.h"
#include "services/fse/RotteFse.h"
#include "util/File.h"
#include "util/clsBase64.h"
#include "xds/Recupero.h"

namespace qzkiro::fse {

namespace {

namespace fs = std::filesystem;

std::string Voce(const host::Variant& voce, const std::string& chiave) {
  if (auto c = voce.As<host::Collection>()) return Parametro(*c, chiave);
  if (auto m = voce.As<host::IMembri>()) return m->Membro(chiave).ToText();
  return {};
}

std::string NellaTemp(const std::string& nome) {
  return (fs::path(core::Ctx().App().Utente().TempDir()) / nome).string();
}

// The XML part and the document part of the answer.
struct Parti {
  std::string xml;
  std::string documento;
};

bool EMultiparte(const std::string& content_type) {
  return content_type.find("multipart/") != std::string::npos;
}

// The answer as a MIME message, saved as "<time stamp>_Response.mime" and
// split by the host's component; a plain SOAP answer is its own XML part.
bool Dividi(EsitoFse& esito, Parti& parti, std::string& errore) {
  auto& c = core::Ctx();
  const bool intestata = esito.risposta.compare(0, 13, "Content-Type:") == 0 ||
                         esito.risposta.compare(0, 13, "MIME-Version:") == 0;
  if (!intestata && !EMultiparte(esito.content_type)) {
    parti.xml = std::move(esito.risposta);
    return true;
  }
  const std::string file =
      NellaTemp(c.orologio->Adesso().Formato("yyyymmddhhnnss") + "_Response.mime");
  const std::string intestazione =
      intestata ? std::string() : "Content-Type: " + esito.content_type + "\r\n\r\n";
  const std::string_view tipo = intestata
                                    ? std::string_view(esito.risposta).substr(0, esito.risposta.find('\n'))
                                    : std::string_view(esito.content_type);
  if (!xds::MultiparteCompleta(esito.risposta, tipo)) {
    errore = "Risposta del repository incompleta: il messaggio MIME è troncato";
    return false;
  }
  // The answer lives on as the file only: the parts are read back from it.
  const bool scritto = util::ScriviFile(file, {intestazione, esito.risposta});
  std::string().swap(esito.risposta);
  auto mime = c.App().Framework().NewMime();
  if (!scritto || !mime || !mime->InitFile(file)) {
    errore = "Formato Mime non previsto";
    return false;
  }
  for (const auto& parte : mime->Items()) {
    std::string corpo = parte->Decode();
    if (parti.xml.empty() && corpo.compare(0, 5, "<?xml") == 0) {
      parti.xml = std::move(corpo);
    } else if (parti.documento.empty()) {
      parti.documento = std::move(corpo);
    }
  }
  if (parti.xml.empty()) {
    errore = "Formato Mime non previsto";
    return false;
  }
  return true;
}

bool Scrivi(const std::string& nome, const std::string& dati, std::string& percorso,
            std::string& errore) {
  percorso = NellaTemp(nome);
  if (util::ScriviFile(percorso, {dati})) return true;
  errore = "Impossibile scrivere il file " + percorso;
  return false;
}

// A signed envelope: its content, once the signature verifies, is a PDF or a CDA.
bool DaFirmato(const std::string& busta, FileDocumento& file, std::string& errore) {
  std::string p7m;
  if (!Scrivi("Part2.p7m", busta, p7m, errore)) return false;
  const std::string contenuto = NellaTemp("Part2.dat");
  if (const auto esito = cda::VerificaContenutoFirmato(p7m, contenuto);
      esito != cda::EsitoFirma::Valida) {
    errore = cda::MessaggioFirma(esito);
    return false;
  }
  const auto dati = util::LeggiFile(contenuto);
  std::error_code ignorato;
  fs::remove(contenuto, ignorato);
  if (!dati) {
    errore = "Documento non previsto";
    return false;
  }
  const std::string testo = util::ComeTesto(*dati);
  return cda::EPdf(testo) ? Scrivi("Referto.pdf", testo, file.pdf, errore)
                          : Scrivi("CDA2.xml", testo, file.cda, errore);
}

// A PDF carrying the CDA as an attached file: both come out; without an
// XML attachment it is a PDF report.
bool DaPdfConCda(const std::string& pdf, FileDocumento& file, std::string& errore) {
  if (!Scrivi("Referto.pdf", pdf, file.pdf, errore)) return false;
  for (const auto& allegato : cda::AllegatiPdf(pdf)) {
    const std::string& nome = allegato.nome;
    if (nome.size() >= 4 && nome.compare(nome.size() - 4, 4, ".xml") == 0) {
      return Scrivi("CDA2.xml", allegato.contenuto, file.cda, errore);
    }
  }
  return true;
}

bool InFile(xds::FormatoDocumento formato, const std::string& mime_type,
            const std::string& documento, FileDocumento& file, std::string& errore) {
  switch (formato) {
    case xds::FormatoDocumento::PdfConCda:
      return DaPdfConCda(documento, file, errore);
    case xds::FormatoDocumento::Firmato:
      return DaFirmato(documento, file, errore);
    case xds::FormatoDocumento::Cda:
      return Scrivi("CDA2.xml", documento, file.cda, errore);
    case xds::FormatoDocumento::Pdf:
      return Scrivi("Referto.pdf", documento, file.pdf, errore);
    case xds::FormatoDocumento::Ignoto:
      break;
  }
  errore = "Tipo documento " + mime_type + " non previsto";
  return false;
}

}  // namespace

std::vector<DocumentoRichiesto> DocumentiRichiesti(const host::Variant& lista, const std::string& id,
                                                   const std::string& repository,
                                                   const std::string& descrizione) {
  std::vector<DocumentoRichiesto> documenti;
  if (!id.empty()) documenti.push_back({id, repository, descrizione});
  if (auto elenco = lista.As<host::Collection>()) {
    for (std::size_t i = 1; i <= elenco->Count(); ++i) {
      const host::Variant& voce = elenco->Item(i);
      documenti.push_back({Voce(voce, "Parametro.idDocumento"), Voce(voce, "Parametro.idRepository"),
                           Voce(voce, "Parametro.documento")});
    }
  }
  return documenti;
}

bool RecuperaFile(const DocumentoRichiesto& documento, host::IPaziente* paziente,
                  FileDocumento& file, std::string& errore) {
  auto& c = core::Ctx();
  const std::string contesto =
      paziente ? ContestoPaziente(*paziente, c.App().Utente().CodiceFiscale()) : "C.1.2";
  auto asserzione = AsserzioneFse(servizio::kRecupero, contesto,
                                  paziente ? paziente->CodiceFiscale() : std::string());
  if (!asserzione) {
    errore = c.last_error;
    return false;
  }
  EsitoFse esito = InviaFse(servizio::kRecupero, xds::CorpoRecupero(documento.repository, documento.id),
                            *asserzione, "soapenv");
  Parti parti;
  if (!esito.inviata) {
    errore = esito.errore;
    return false;
  }
  if (!Dividi(esito, parti, errore)) return false;
  const xds::RispostaRecupero risposta = xds::LeggiRispostaRecupero(parti.xml);
  if (!risposta.errore.empty()) {
    errore = "Il server ha restituito il seguente errore: " + risposta.errore;
    return false;
  }
  if (!risposta.riferimento.empty() && parti.documento.empty()) {
    errore = "Formato Mime non previsto";
    return false;
  }
  if (!risposta.HaDocumento()) {
    errore = "Documento non trovato nel Repository";
    return false;
  }
  std::string contenuto = std::move(parti.documento);
  if (risposta.riferimento.empty()) {
    const auto dati = util::clsBase64::DecodeBytes(risposta.base64);
    if (!dati) {
      errore = "Documento non previsto";
      return false;
    }
    contenuto = util::ComeTesto(*dati);
  }
  return InFile(xds::FormatoDi(risposta.mime_type), risposta.mime_type, contenuto, file, errore);
}

}  // namespace qzkiro::fse
