#include "integration/RispostaRegione.h"

#include "util/File.h"
#include "util/Testo.h"
#include "util/clsBase64.h"

namespace qzkiro::testsupport::risposta {

std::string Documento(const std::string& radice, const std::string& gruppi) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><" + radice +
         " xmlns=\"urn:hl7-org:v2xml\"><MSH><MSH.9><MSG.1>" + radice.substr(0, 3) +
         "</MSG.1></MSH.9><MSH.10>R0001</MSH.10></MSH><MSA><MSA.1>AA</MSA.1>"
         "<MSA.6><CE.1>0</CE.1><CE.2>OK</CE.2></MSA.6></MSA><QAK><QAK.2>OK</QAK.2></QAK>" +
         gruppi + "<DSC><DSC.1>FINE</DSC.1></DSC></" + radice + ">";
}

std::string Gruppo(const std::string& radice, const std::string& segmenti) {
  const std::string nome = radice + (radice == "DOC_T12" ? ".RESULT" : ".QUERY_RESPONSE");
  return "<" + nome + ">" + segmenti + "</" + nome + ">";
}

std::string Pid(const std::string& cf, const std::string& cognome, const std::string& nome) {
  std::string pid = "<PID><PID.3><CX.1>" + cf + "</CX.1><CX.5>NNITA</CX.5></PID.3>";
  if (!cognome.empty()) {
    pid += "<PID.5><XPN.1><FN.1>" + cognome + "</FN.1></XPN.1><XPN.2>" + nome + "</XPN.2></PID.5>";
  }
  return pid + "<PID.7><TS.1>19450801</TS.1></PID.7><PID.8>F</PID.8></PID>";
}

std::string Txa(const std::string& tipo, const std::string& formato, const std::string& data,
                const std::string& documento) {
  std::string txa = "<TXA><TXA.2>" + tipo + "</TXA.2><TXA.3>" + formato + "</TXA.3>";
  if (!data.empty()) txa += "<TXA.4><TS.1>" + data + "</TS.1></TXA.4>";
  return txa + "<TXA.6><TS.1>20261130</TS.1></TXA.6><TXA.12><EI.1>" + documento +
         "</EI.1></TXA.12><TXA.17>AU</TXA.17><TXA.21>LAB</TXA.21></TXA>";
}

std::string Mime(const std::string& nome, const std::string& contenuto) {
  return "MIME-Version: 1.0\r\nContent-Type: application/octet-stream; name=\"" + nome +
         "\"\r\nContent-Transfer-Encoding: base64\r\n\r\n" + util::clsBase64().Encode(contenuto);
}

std::string MimeDueParti(const std::string& nome, const std::string& contenuto) {
  return "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"confine\"\r\n\r\n"
         "--confine\r\nContent-Type: text/plain\r\n\r\nLettera di dimissione\r\n"
         "--confine\r\nContent-Type: application/xml; name=\"" +
         nome + "\"\r\nContent-Disposition: attachment; filename=\"" + nome +
         "\"\r\nContent-Transfer-Encoding: base64\r\n\r\n" + util::clsBase64().Encode(contenuto) +
         "\r\n--confine--\r\n";
}

std::string ObxMime(const std::string& mime, const std::string& formato) {
  std::string obx =
      "<OBX><OBX.2>ED</OBX.2><OBX.3><CE.1>CDA</CE.1></OBX.3><OBX.5><ED.2>"
      "Application</ED.2><ED.5>" +
      util::XmlEscape(mime) + "</ED.5></OBX.5>";
  if (!formato.empty()) obx += "<OBX.13>" + formato + "</OBX.13>";
  return obx + "</OBX>";
}

std::string SegmentiAnagrafica(const std::string& cf, const std::string& cognome,
                               const std::string& inizio, const std::string& fine) {
  std::string gt1 = "<GT1><GT1.13>" + inizio + "</GT1.13>";
  if (!fine.empty()) gt1 += "<GT1.14>" + fine + "</GT1.14>";
  gt1 += "</GT1>";
  return Pid(cf, cognome, "MARIA") +
         "<NK1><NK1.7><CE.1>MMG</CE.1></NK1.7><NK1.8>20250101</NK1.8>"
         "<NK1.22><CE.1>2</CE.1></NK1.22></NK1>"
         "<PV1><PV1.7><XCN.1>RSSMRA70A01L736S</XCN.1><XCN.2><FN.1>ROSSI</FN.1></XCN.2>"
         "<XCN.3>MARIO</XCN.3><XCN.13>NNITA</XCN.13></PV1.7>"
         "<PV1.20><FC.1>048</FC.1><FC.2><TS.1>99991231</TS.1></FC.2></PV1.20>"
         "<PV1.20><FC.1>013</FC.1><FC.2><TS.1>20271231</TS.1></FC.2></PV1.20></PV1>" +
         gt1;
}

std::string Anagrafica(const std::string& cf, const std::string& cognome, const std::string& inizio,
                       const std::string& fine) {
  return "<ADT_A08 xmlns=\"urn:hl7-org:v2xml\"><MSH><MSH.10>A1</MSH.10></MSH>" +
         SegmentiAnagrafica(cf, cognome, inizio, fine) + "</ADT_A08>";
}

std::string LetteraLegacy(const std::string& pdf) {
  return "<ClinicalDocument xmlns=\"urn:hl7-org:v3\"><id>LET.1</id><code code=\"DIM\"/>"
         "<title>Lettera di dimissione</title><component><bodyChoice><StructuredBody>"
         "<component><section><title>Lettera</title><component><section><title>Decorso</title>"
         "<text>Decorso regolare.</text></section></component><entry>"
         "<entryChoice><Observation><reference><referredToExternalActChoice><ExternalDocument>"
         "<text>" +
         Mime("lettera.pdf", pdf) +
         "</text></ExternalDocument></referredToExternalActChoice></reference></Observation>"
         "</entryChoice></entry></section></component></StructuredBody></bodyChoice>"
         "</component></ClinicalDocument>";
}

std::string FileDiProva(const std::string& nome) {
  return util::ComeTesto(util::LeggiFile(std::string(QZKIRO_DATA_DIR) + "/../tests/data/" + nome)
                             .value_or(util::Bytes{}));
}

}  // namespace qzkiro::testsupport::risposta
