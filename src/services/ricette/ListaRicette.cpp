// The list send of the host's prescription dialog and the batch resend of
// the prescriptions left in the workspace.

#include "core/Contesto.h"
#include "services/ricette/RotteRicette.h"
#include "core/modLog.h"
#include "services/ricette/InvioRicetta.h"
#include "services/ricette/ProprietaRicetta.h"

namespace qzkiro::services {

namespace {

bool BiancaInviabile(host::IRicetta& ricetta) {
  return Intero(ricetta, "Tipo") == 1 && Flag(ricetta, "RicettaBiancaInviabile") &&
         core::Ctx().settings.demat_bianca_farmaci;
}

std::vector<std::shared_ptr<host::IRicetta>> Ricette(const host::Collection& lista) {
  std::vector<std::shared_ptr<host::IRicetta>> ricette;
  for (std::size_t i = 1; i <= lista.Count(); ++i) {
    if (auto ricetta = lista.Item(i).As<host::IRicetta>()) ricette.push_back(ricetta);
  }
  return ricette;
}

// Why a workspace prescription cannot be sent again; "" when it can.
std::string MotivoNonInviabile(host::IRicetta& ricetta) {
  if (Testo(ricetta, "NRE").empty()) return "Codice Ricetta non impostato";
  if (Testo(ricetta, "PazienteCodiceFiscale").size() != 16) {
    return "Codice Fiscale paziente non valido";
  }
  if (Testo(ricetta, "PazienteASLResidenza").empty() &&
      Testo(ricetta, "PazienteASLAssistenza").empty()) {
    return "ASL di Residenza o Assistenza non specificato";
  }
  return {};
}

// Sends one prescription of a list or of the workspace. A failure, also one
// raised by the host while the prescription is read or written, is recorded
// on it (StatoInvio 2, ErroreInvio never empty) and does not reach the
// caller; false then.
bool InviaUna(host::IRicetta& ricetta, bool bianca, host::IMedico* medico, ScelteLista& scelte) {
  auto& c = core::Ctx();
  std::string errore;
  try {
    if (bianca ? InviaPrescrizioneBianca(ricetta, medico, scelte)
               : InviaPrescrizione(ricetta, medico, scelte)) {
      return true;
    }
    if (Intero(ricetta, "StatoInvio") == stato_invio::kInvioFallito &&
        !Testo(ricetta, "ErroreInvio").empty()) {
      return false;
    }
    errore = c.last_error.empty() ? "Invio della ricetta non riuscito" : c.last_error;
  } catch (const std::exception& e) {
    errore = e.what();
  }
  try {
    SegnaFallimento(ricetta, errore);
  } catch (const std::exception& e) {
    core::modLog::Log("Invio ricetta non riuscito", e.what(), true);
  }
  c.last_error = errore;
  return false;
}

// One workspace record: loaded, sent when it can be, its outcome written
// back; "" when it was sent, else the reason.
std::string ReinviaRecord(host::IApplication& app, const std::string& schema, const std::string& id,
                          const std::string& m1, const std::string& m2) {
  auto registra = [&](int i2, const std::string& t2) {
    auto record = app.DB().OpenRecord("Select * from " + schema + ".tblworkspace Where ID=" + id);
    if (record->Eof()) return;
    record->SetField("i2", i2);
    record->SetField("t2", t2);
    record->Update();
  };
  auto ricetta = app.Framework().NewRicetta();
  int stato = stato_invio::kNonInviabile;
  std::string testo = ricetta->FromString(m1) ? MotivoNonInviabile(*ricetta)
                                              : "Ricetta non leggibile dall'archivio";
  if (testo.empty() && !ricetta->PrescrizioniFromString(m2)) {
    testo = "Righe della ricetta non leggibili dall'archivio";
  } else if (testo.empty()) {
    ScelteLista scelte;
    if (!InviaUna(*ricetta, false, nullptr, scelte)) {
      stato = stato_invio::kInvioFallito;
      testo = Testo(*ricetta, "ErroreInvio");
    } else if (Intero(*ricetta, "StatoInvio") == stato_invio::kNonInviabile) {
      // Not to be sent (a hospital prescription, ...): not recorded as sent,
      // and not a failure of the resend.
      registra(stato_invio::kNonInviabile, Testo(*ricetta, "ErroreInvio"));
      return {};
    } else {
      stato = stato_invio::kInviata;
    }
  }
  registra(stato, testo);
  return testo;
}

}  // namespace

bool InviaListaRicette(const host::Collection& lista, host::IMedico* medico,
                       const host::Variant& annulla) {
  const auto ricette = Ricette(lista);
  std::size_t da_inviare = 0;
  for (const auto& r : ricette) {
    if (Intero(*r, "TipoStampa") == 1 ? BiancaInviabile(*r) : !Flag(*r, "Annullata")) ++da_inviare;
  }
  core::modLog::Log("Invio ricette: " + std::to_string(da_inviare) + " da inviare");
  ScelteLista scelte;
  bool tutte = true;
  for (const auto& r : ricette) {
    if (annulla.ToBool()) break;
    if (Intero(*r, "TipoStampa") == 1) {
      if (BiancaInviabile(*r)) {
        tutte &= InviaUna(*r, true, medico, scelte);
      } else {
        SegnaNonInviabile(*r, "Impostazione: Ricetta bianca non inviabile");
      }
    } else if (!Flag(*r, "Annullata")) {
      tutte &= InviaUna(*r, false, medico, scelte);
    }
  }
  return tutte;
}

bool InviaRicetteSospese() {
  auto& c = core::Ctx();
  auto& app = c.App();
  const std::string schema = app.Utente().IDSchema();
  const util::DataOra adesso = c.orologio->Adesso();
  const char* formato = "yyyy-mm-dd hh\\:nn\\:ss";
  auto righe = app.DB().OpenRecordSet("Select ID,m1,m2 from " + schema +
                                      ".tblworkspace Where (TipoRecord=100) and (Data between '" +
                                      adesso.PiuGiorni(-1).Formato(formato) + "' and '" +
                                      adesso.Formato(formato) + "') and (i2=0) order by data");
  struct Voce {
    std::string id, m1, m2;
  };
  std::vector<Voce> voci;  // read first: the sends update the same table
  for (; !righe->Eof(); righe->MoveNext()) {
    voci.push_back(
        {righe->Field("ID").ToText(), righe->Field("m1").ToText(), righe->Field("m2").ToText()});
  }
  std::string ultimo_errore;
  for (const auto& v : voci) {
    try {
      const std::string errore = ReinviaRecord(app, schema, v.id, v.m1, v.m2);
      if (!errore.empty()) ultimo_errore = errore;
    } catch (const std::exception& e) {
      ultimo_errore = e.what();
    }
  }
  if (!ultimo_errore.empty()) core::modLog::Log("Reinvio ricette sospese", ultimo_errore, true);
  return ultimo_errore.empty();
}

}  // namespace qzkiro::services

namespace qzkiro::op {

bool InviaListaRicette(Variant& ListaRicette, Variant& Medico, Variant&, Variant& Cancel) {
  auto lista = ListaRicette.As<host::Collection>();
  if (!lista) {
    core::Ctx().last_error = "Elenco delle ricette non valido";
    return false;
  }
  return services::InviaListaRicette(*lista, Medico.As<host::IMedico>().get(), Cancel);
}

bool InviaRicetteSospese(Variant&) {
  return services::InviaRicetteSospese();
}

bool AnnullaPrescrizione(Variant& Ricetta, Variant&) {
  auto ricetta = Ricetta.As<host::IRicetta>();
  if (!ricetta) {
    core::Ctx().last_error = "Ricetta non valida";
    return false;
  }
  return services::AnnullaPrescrizione(*ricetta, true);
}

bool AnnullaPrescrizioneBianca(Variant& Ricetta, Variant&) {
  auto ricetta = Ricetta.As<host::IRicetta>();
  if (!ricetta) {
    core::Ctx().last_error = "Ricetta non valida";
    return false;
  }
  return services::AnnullaPrescrizioneBianca(*ricetta, true);
}

}  // namespace qzkiro::op
