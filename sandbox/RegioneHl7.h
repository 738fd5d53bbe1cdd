#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sandbox/GatewayHl7.h"

namespace qzkiro::sandbox {

// The data the regional HL7 services answer with. Every date is fixed, so the
// answers are the same on every run.
//
// The GP (PV1.7, "NNITA") is kMedico, ROSSI MARIO, regional code "123456"
// (GT1.2 "CREG"). Patients (PID.3 "CF"; addresses in the base layout: "L"
// residence, "H" domicile, "BR" birth):
//   kPazienteRossi    ROSSI MARIA F 19450801, Venezia; residence and domicile;
//                     relationship from 20100115, no end; exemptions "048"
//                     (never expires: 99991231) and "013" (20271231); consent
//                     level "2" 20250101-20351231, collected by "MMG".
//   kPazienteBianchi  BIANCHI GIULIA F 19800101; from 20150301, no end;
//                     exemption "E01" (20261231); consent "1" 20240601-20340531.
//   kPazienteVerdi    VERDI LUCA M 19550312, Milano; from 20180601, no end;
//                     exemptions "031" (99991231) and "0A02" (20270630); consent "N".
//   kPazienteNeri     NERI PAOLA F 19910810, Roma; from 20261115, no end; no
//                     exemptions; consent "3".
//   kPazienteGialli   GIALLI ANNA F 19380405; from 19950101 to 20261130 (the end
//                     date kFineRapportoGialli); exemption "048" (99991231).
//
// SAIN, the default batch: kNotificheSain "DOC_T12.RESULT" groups, ids
// "NOT-2026-0001" on, each with PID, PV1 (PV1.50 the id), TXA (TXA.4 the date):
//   registry types, in this order: ALL (Rossi), AGG (Bianchi), SNM (Neri),
//   REV kNotificaRev (Verdi, TXA.4 kDataNotificaRev; the embedded relationship
//   has no end date), REV kNotificaRevFine (Gialli, GT1.14 kFineRapportoGialli),
//   RV1 (Gialli), RV2 (Gialli), RV3 (Verdi), RV4 (Neri), RV5 (Bianchi),
//   AGS (Rossi), CRI (Bianchi), CNE (Verdi), CRE (Neri), CRC (Gialli),
//   CSC (Rossi), CAS (Neri). ALL, AGG, SNM, both REV, AGS and CRI embed the
//   patient's registry message (ADT_A08: PID, PV1, NK1, GT1) as MIME in
//   OBX.5/ED.5 (TXA.3 "HL7"); the others embed nothing.
//   document types (TXA.12 the document, TXA.21 its type: "LAB", "RPS",
//   "SPS", "DIA", or "kiro_tc005" for admissions and letters): REF (Rossi,
//   kRefertoCda2, with the report embedded), SRF (Bianchi, kRefertoLegacy),
//   DIA (Neri, "DIA.2026.0401"), DIM, RIC, LED (Rossi, kRicovero), DRI, DDI
//   (Bianchi, kRicoveroDh), DLE, LES, LEA (Verdi, kRicoveroLegacy), NPS (Rossi,
//   kRefertoPs), NSP (Verdi, kRefertoPsLegacy), NMV (Neri, "NMV.2026.0501");
//   last, one of the unknown type "XYZ" (Bianchi).
//
// SARR: kRefertoCda2 (Rossi, "cda_rel2": CDA R2 laboratory report, 3 results),
// kRefertoLegacy (Bianchi, "CDA": older laboratory report), kRefertoCda2Bianchi
// (Bianchi, "cda_rel2"). SARRePS: kRefertoPs (Rossi, "cda_rel2", emergency
// room) and kRefertoPsLegacy (Verdi, "CDA"). TXA.12 the id, TXA.6 the date.
//
// SARIR: kRicovero (Rossi, ordinary, 050901 CARDIOLOGIA, 20261120-20261128,
// OBX.13 "cda_rel2": multipart MIME with "lettera.xml" and "lettera.pdf"),
// kRicoveroLegacy (Verdi, ordinary, 050101 MEDICINA, 20261110-20261118,
// OBX.13 "CDA": older letter whose external document is a PDF), kRicoveroDh
// (Bianchi, day hospital, 050901 ONCOLOGIA, 20261202, no letter).
namespace regione {
inline constexpr const char* kMedico = "RSSMRA70A01L736S";
inline constexpr const char* kPazienteRossi = "RSSMRA45M41L736K";
inline constexpr const char* kPazienteBianchi = "BNCGLI80A41L736C";
inline constexpr const char* kPazienteVerdi = "VRDLCU55C12F205S";
inline constexpr const char* kPazienteNeri = "NREPLA91M50H501B";
inline constexpr const char* kPazienteGialli = "GLLNNA38D45L736S";
inline constexpr std::size_t kPazienti = 5;

inline constexpr std::size_t kNotificheSain = 32;
inline constexpr const char* kNotificaRev = "NOT-2026-0004";
inline constexpr const char* kDataNotificaRev = "20261201093000";
inline constexpr const char* kNotificaRevFine = "NOT-2026-0005";
inline constexpr const char* kFineRapportoGialli = "20261130";

inline constexpr const char* kRefertoCda2 = "LAB.2026.0101";
inline constexpr const char* kRefertoLegacy = "LEG.2026.0102";
inline constexpr const char* kRefertoCda2Bianchi = "LAB.2026.0103";
inline constexpr const char* kRefertoPs = "PS.2026.0201";
inline constexpr const char* kRefertoPsLegacy = "PSL.2026.0202";

inline constexpr const char* kRicovero = "RIC.2026.0301";
inline constexpr const char* kRicoveroLegacy = "RIC.2026.0302";
inline constexpr const char* kRicoveroDh = "RIC.2026.0303";

// MSH.10 and MSH.7 of the answers built outside the gateway (simulator files).
inline constexpr const char* kIdRisposta = "SIMULATORE0001";
inline constexpr const char* kDataRisposta = "20261206103000";
}  // namespace regione

// The regional HL7 services on the gateway: SAIN (the GP's notifications,
// DOC_T12), SAIA (registry, ADR_A19), SARR and SARRePS (reports, DOC_T12),
// SARIR (admissions, ADR_A19). SAASN keeps the gateway's ACK. Answers carry
// MSH, MSA (MSA.2 the request's control id), QAK, then one group per item
// ("DOC_T12.RESULT" or "ADR_A19.QUERY_RESPONSE"); live answers get a new
// control id "SBXR..." each. Scripts may be set from any thread.
class RegioneHl7 {
 public:
  // What a query asks for; "" means any.
  struct Filtro {
    std::string codice_fiscale;  // QRF/QRF.5; a date there (8 digits) asks for all
    std::string id;              // QRD/QRD.10/CE.1: a report or an admission
  };

  // Registers the compositions on `gateway`; they keep working after this
  // object is gone.
  explicit RegioneHl7(GatewayHl7& gateway);
  // Registers them again (GatewayHl7::Ripristina removes them).
  void Registra();

  // Scripts, until Ripristina.
  void SainVuoto(bool vuoto);                // SAIN answers without any group
  void SainGrande(std::size_t n);            // SAIN answers BatchSain(n); 0: the default batch
  void RefertoIllegibile(std::string id);    // its CDA is not well-formed XML
  void RefertoSenzaCognome(std::string id);  // its PID has no PID.5
  void Ripristina();

  // The filter of a request's text (first QRF/QRF.5, first QRD/QRD.10/CE.1).
  static Filtro LeggiFiltro(std::string_view richiesta);

  // Whole answers; MSA.2 is `id_richiesta`, MSH.10 `id_risposta`.
  static std::string RispostaSain(std::string_view id_richiesta,
                                  std::string_view id_risposta = regione::kIdRisposta);
  // `n` groups ("NOT-B0000001" on) cycling over the 30 known notification
  // types (no unknown one) and the patients, every fifth with an embedded
  // document (the registry message, or a report for a document type).
  static std::string BatchSain(std::size_t n, std::string_view id_richiesta,
                               std::string_view id_risposta = regione::kIdRisposta);
  static std::string RispostaSaia(const Filtro& filtro, std::string_view id_richiesta,
                                  std::string_view id_risposta = regione::kIdRisposta);
  // `servizio`: "SARR" or "SARRePS".
  static std::string RispostaReferti(std::string_view servizio, const Filtro& filtro,
                                     std::string_view id_richiesta,
                                     std::string_view id_risposta = regione::kIdRisposta);
  static std::string RispostaRicoveri(const Filtro& filtro, std::string_view id_richiesta,
                                      std::string_view id_risposta = regione::kIdRisposta);

  // The simulator's answer files: path under the simulator folder
  // ("SAIN/SAIN.xml", ...) and content, for a request with control id "MSG0001".
  static std::vector<std::pair<std::string, std::string>> FileSimulatore();

 private:
  struct Stato;
  GatewayHl7& gateway_;
  std::shared_ptr<Stato> stato_;
};

}  // namespace qzkiro::sandbox
