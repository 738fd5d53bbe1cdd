#include "sandbox/Guasto.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace qzkiro::sandbox {

std::string TestoFaultSoap(VersioneSoap versione, std::string_view messaggio,
                           std::string_view codice) {
  const std::string testo = EscapeXml(messaggio);
  if (versione == VersioneSoap::Soap11) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
           "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
           "<soap:Body><soap:Fault><faultcode>" +
           EscapeXml(codice.empty() ? "soap:Server" : codice) + "</faultcode><faultstring>" +
           testo + "</faultstring></soap:Fault></soap:Body></soap:Envelope>";
  }
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
         "<env:Envelope xmlns:env=\"http://www.w3.org/2003/05/soap-envelope\">"
         "<env:Body><env:Fault><env:Code><env:Value>" +
         EscapeXml(codice.empty() ? "env:Receiver" : codice) +
         "</env:Value></env:Code><env:Reason><env:Text xml:lang=\"it\">" + testo +
         "</env:Text></env:Reason></env:Fault></env:Body></env:Envelope>";
}

std::string TipoSoap(VersioneSoap versione) {
  return versione == VersioneSoap::Soap11 ? "text/xml; charset=utf-8"
                                          : "application/soap+xml; charset=utf-8";
}

Guasto Guasto::Stato(int stato, std::string corpo, std::string tipo) {
  Guasto g;
  g.risposta = {stato, std::move(corpo), std::move(tipo), {}};
  return g;
}

Guasto Guasto::FaultSoap(VersioneSoap versione, std::string_view messaggio,
                         std::string_view codice) {
  return Stato(500, TestoFaultSoap(versione, messaggio, codice), TipoSoap(versione));
}

Guasto Guasto::Ritardo(std::chrono::milliseconds attesa) {
  Guasto g;
  g.tipo = Tipo::kRitarda;
  g.ritardo = attesa;
  return g;
}

Guasto Guasto::Chiusura() {
  Guasto g;
  g.tipo = Tipo::kChiudi;
  return g;
}

Guasto Guasto::Muto() {
  Guasto g;
  g.tipo = Tipo::kMuto;
  return g;
}

Guasto Guasto::CorpoSenzaFine(std::string blocco) {
  Guasto g = Stato(200, std::move(blocco), "text/xml; charset=utf-8");
  g.risposta.senza_fine = true;
  return g;
}

Guasto Guasto::DaFile(const std::filesystem::path& file, std::string tipo, int stato) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("File di risposta non leggibile: " + file.string());
  return Stato(stato, std::string(std::istreambuf_iterator<char>(in), {}), std::move(tipo));
}

}  // namespace qzkiro::sandbox
