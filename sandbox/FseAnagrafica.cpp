// The patient index answer (ADR_A19), in the layout of the regional registry
// answers: the add-on's HL7 reader reads it with the same paths.

#include "sandbox/Fse.h"
#include "sandbox/FseRisposte.h"

namespace qzkiro::sandbox::fse {

namespace {

std::string E(std::string_view nome, std::string_view dentro) {
  return "<" + std::string(nome) + ">" + std::string(dentro) + "</" + std::string(nome) + ">";
}

// A leaf with text; nothing when the text is empty.
std::string T(std::string_view nome, std::string_view testo) {
  return testo.empty() ? std::string() : E(nome, EscapeXml(testo));
}

std::string C(std::string_view campo, std::string_view componente, std::string_view testo) {
  return testo.empty() ? std::string() : E(campo, T(componente, testo));
}

std::string S(std::string_view nome, std::string_view campi) {
  return E(nome, campi) + "\n";
}

std::string Pid(const PazienteFse& p) {
  std::string campi =
      E("PID.1", "1") + E("PID.3", T("CX.1", p.cf) + T("CX.5", "CF")) +
      E("PID.3", T("CX.1", p.mpi) +
                     E("CX.4", T("HD.1", "MPI") + T("HD.2", kDominioMpi) + T("HD.3", "ISO")) +
                     T("CX.5", "MPI")) +
      E("PID.3", T("CX.1", p.tessera) + E("CX.4", T("HD.1", p.ulss)) + T("CX.5", "CS"));
  campi += E("PID.5", E("XPN.1", T("FN.1", p.cognome)) + T("XPN.2", p.nome));
  campi += C("PID.7", "TS.1", p.nascita) + T("PID.8", p.sesso);
  campi +=
      E("PID.11", E("XAD.1", T("SAD.1", p.via)) + T("XAD.3", p.citta) + T("XAD.4", p.provincia) +
                      T("XAD.5", p.cap) + T("XAD.7", "L") + T("XAD.9", p.istat));
  campi += E("PID.11", T("XAD.3", p.citta_nascita) + T("XAD.4", p.provincia_nascita) +
                           T("XAD.7", "BR") + T("XAD.9", p.istat_nascita));
  campi += E("PID.13", T("XTN.4", p.email) + T("XTN.7", p.telefono));
  return S("PID", campi + E("PID.26", T("CE.1", "IT") + T("CE.2", "ITALIANA")));
}

std::string Pd1(const PazienteFse& p) {
  return S("PD1",
           E("PD1.3", T("XON.1", "AZIENDA ULSS") + T("XON.7", "ULSSASS") + T("XON.9", p.ulss)));
}

std::string Pv1(const PazienteFse& p) {
  std::string campi = E("PV1.1", "1") + E("PV1.2", "N") +
                      E("PV1.7", T("XCN.1", regione::kMedico) + E("XCN.2", T("FN.1", "ROSSI")) +
                                     T("XCN.3", "MARIO") + T("XCN.13", "NNITA"));
  for (const Esenzione& e : p.esenzioni) {
    if (!e.codice.empty()) {
      campi += E("PV1.20", T("FC.1", e.codice) + C("FC.2", "TS.1", e.scadenza));
    }
  }
  return S("PV1", campi);
}

std::string Gt1(const PazienteFse& p) {
  return S("GT1", E("GT1.1", "1") + E("GT1.2", T("CX.1", "123456") + T("CX.5", "CREG")) +
                      E("GT1.3", E("XPN.1", T("FN.1", "ROSSI")) + T("XPN.2", "MARIO")) +
                      T("GT1.13", p.inizio_rapporto) +
                      E("GT1.21", E("XON.6", T("HD.1", p.ulss)) + T("XON.7", "ULSSRES")));
}

// The doctor-relation event, where the registry notifications carry it (TXA.2).
std::string Txa(const PazienteFse& p) {
  if (p.evento.empty()) return {};
  return S("TXA", E("TXA.1", "1") + T("TXA.2", p.evento) + C("TXA.4", "TS.1", p.data_evento) +
                      C("TXA.12", "EI.1", "EVT-" + std::string(p.mpi)) + T("TXA.17", "AU"));
}

}  // namespace

std::string Adr19(const EsitoAnagrafica& esito, std::string_view id_richiesta,
                  std::string_view id_risposta) {
  const std::string msh =
      E("MSH.1", "|") + E("MSH.2", "^~\\&amp;") + C("MSH.3", "HD.1", "SAIA") +
      C("MSH.4", "HD.1", "050") + C("MSH.5", "HD.1", "KIRO") + C("MSH.6", "HD.1", "MMG") +
      C("MSH.7", "TS.1", regione::kDataRisposta) +
      E("MSH.9", T("MSG.1", "ADR") + T("MSG.2", "A19") + T("MSG.3", "ADR_A19")) +
      T("MSH.10", id_risposta) + C("MSH.11", "PT.1", "P") + C("MSH.12", "VID.1", "2.5");
  const PazienteFse* p = esito.paziente;
  const std::string msa = E("MSA.1", p ? "AA" : esito.esito) + T("MSA.2", id_richiesta) +
                          E("MSA.6", p ? E("CE.1", "0") + E("CE.2", "OK")
                                       : T("CE.1", esito.codice) + T("CE.2", esito.testo));
  const std::string qak = T("QAK.1", id_richiesta) + E("QAK.2", p ? "OK" : "NF");
  std::string xml =
      "<ADR_A19 xmlns=\"urn:hl7-org:v2xml\">\n" + S("MSH", msh) + S("MSA", msa) + S("QAK", qak);
  if (p) {
    xml +=
        E("ADR_A19.QUERY_RESPONSE", "\n" + Pid(*p) + Pd1(*p) + Pv1(*p) + Gt1(*p) + Txa(*p)) + "\n";
  }
  return xml + "</ADR_A19>";
}

std::string RispostaAnagrafica(const EsitoAnagrafica& esito, std::string_view id_richiesta,
                               std::string_view id_risposta, std::string_view relativo_a) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><soap:Envelope "
         "xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" "
         "xmlns:wsa=\"http://www.w3.org/2005/08/addressing\"><soap:Header><wsa:Action>"
         "urn:rve:SAIAsingoloQueryResponse</wsa:Action><wsa:RelatesTo>" +
         EscapeXml(relativo_a) + "</wsa:RelatesTo></soap:Header><soap:Body>\n" +
         Adr19(esito, id_richiesta, id_risposta) + "\n</soap:Body></soap:Envelope>";
}

}  // namespace qzkiro::sandbox::fse
