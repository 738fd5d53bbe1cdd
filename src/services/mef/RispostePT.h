#pragma once

#include <string>
#include <vector>

namespace qzkiro::mef {

// An error the service listed ("elencoErrori/Errore").
struct ErrorePT {
  std::string codice;
  std::string descrizione;
};

// What every therapeutic-plan receipt carries.
struct RispostaPT {
  bool leggibile = false;  // XML holding the service's receipt
  std::string cod_esito;   // "0000" is success
  std::vector<ErrorePT> errori;
};

// One plan of the list ("listaProtocolliPT"); dates as the service wrote them.
struct PianoPT {
  std::string protocollo;
  std::string inizio;
  std::string fine;
};

struct RispostaElencoPT : RispostaPT {
  std::vector<PianoPT> piani;
};

struct RispostaVisualizzaPT : RispostaPT {
  std::string documento;
};

// The receipts "ElencoProtocolliPianiTerapeuticiRicevuta" and
// "VisualizzazionePianoTerapeuticoAifaRicevuta" in a SOAP answer; never fail.
RispostaElencoPT LeggiElencoPT(const std::string& xml);
RispostaVisualizzaPT LeggiVisualizzaPT(const std::string& xml);

// The user's text of a receipt that is not a success; "" for a success.
std::string ErroreRispostaPT(const RispostaPT& risposta);

// The plan whose validity starts last (of equal starts, the later in the
// list); null for an empty list.
const PianoPT* PianoPiuRecente(const std::vector<PianoPT>& piani);

}  // namespace qzkiro::mef
