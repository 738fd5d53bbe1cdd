#include "qzkiro/Plugin.h"

#include <cstdio>

#include "core/Avvio.h"
#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "core/Instradamento.h"
#include "core/Versione.h"
#include "plugin/Composizione.h"
#include "qzkiro/Failure.h"
#include "qzkiro/host/Membri.h"
#include "qzkiro/host/Notifica.h"
#include "util/ListaStringhe.h"

namespace qzkiro {

namespace {

using core::Ctx;

core::Rotte& R() {
  return Ctx().rotte;
}

// Runs a routine so that nothing it throws crosses the public interface: a
// failure becomes the last error and the member answers its empty result.
template <class F>
auto Protetto(F&& routine) -> decltype(routine()) {
  try {
    return routine();
  } catch (const std::exception& error) {
    Ctx().last_error = error.what();
  } catch (...) {
    // A host object may throw anything; it still must not reach the host.
    Ctx().last_error = "Errore imprevisto";
  }
  return {};
}

bool ServizioStili() {
  if (Ctx().App().Utente().CodiceRegioneASL() == "050507") return true;
  Ctx().last_error = core::kServizioNonImplementato;
  return false;
}

int VaccinazioneEstesa() {
  return static_cast<int>(Ctx().App().Setup("VaccinazioneEstesa").ToInteger());
}

bool ApriDocumentoFSE(host::INotifica& notifica, Plugin::Variant& Template) {
  auto& framework = Ctx().App().Framework();
  auto modello = framework.newTemplate(core::PercorsoPlugin("\\servizi\\Repository.mt1"), {});
  modello->Add("Parametro.Documento.UniqueID", notifica.IDRif1());
  modello->Add("Parametro.Repository.UniqueID", notifica.IDRif2());
  std::string repository = notifica.IDRif2();
  const std::string vecchio = "1.3.6.1.4.1.21367.2009.2.2.3006";
  for (auto at = repository.find(vecchio); at != std::string::npos;
       at = repository.find(vecchio, at)) {
    repository.replace(at, vecchio.size(), "2.16.840.1.113883.2.9.2.50118.4.5.3.1");
  }
  Template = Plugin::Variant(modello);
  Plugin::Variant lista;
  return R().RecuperaDocumentoFSE(Template, lista, notifica.IDRif1(), repository,
                                  notifica.Descrizione());
}

void ApriElencoMEF(int parametro, const char* titolo) {
  auto& framework = Ctx().App().Framework();
  framework.SetDialogParameter(parametro);
  framework.SetDialogParameter2(std::string());
  framework.OpenChild("frmmef", false, {}, titolo);
}

}  // namespace

Plugin::Plugin() {
  Componi(Ctx());
  core::InizializzaClasse(Ctx());
}

Plugin::~Plugin() {
  core::Termina(Ctx());
}

std::string Plugin::LastError() const {
  return Ctx().last_error;
}

std::shared_ptr<host::Object> Plugin::LastResponse() const {
  return Ctx().last_response;
}

std::string Plugin::Info() const {
  const auto& s = Ctx().settings;
  util::ListaStringhe lista;
  lista.Append(s.debug ? "1" : "0");
  lista.Append(s.disattivato ? "1" : "0");
  lista.Append(s.Endpoint("iap"));
  lista.Append(s.Endpoint(s.fse_attivo ? "invioprescrittoeco" : "invioprescritto"));
  return lista.Serializza();
}

std::string Plugin::TemplateFileName(const std::string&, std::vector<Variant>&) {
  return {};
}

bool Plugin::Init(std::shared_ptr<host::IApplication>& Application,
                  std::shared_ptr<host::IConfigXML>& myXML, std::string& LogDir) {
  return core::Avvia(Ctx(), Application, myXML, LogDir);
}

void Plugin::RichiestaFine(Variant&, bool&) {}

bool Plugin::ConfigButtonClick(const std::string&, std::string&) {
  return false;
}

bool Plugin::QZ01005(Variant&) {
  return false;
}
bool Plugin::QZ01006(Variant&) {
  return false;
}
bool Plugin::QZ01007(Variant&) {
  return false;
}

bool Plugin::QZ01011(Variant& Template) {
  return Protetto([&] {
    auto tipo = Ctx().App().Utente().Tipo();
    if (tipo != 0 && tipo != 1) {
      Ctx().ui->MsgBox(
          "La modifica della password è consentita solo ai medici titolari o se risulta scaduta "
          "durante l'autenticazione",
          core::stile::kAvviso, "KIRO");
      return false;
    }
    return R().ModificaPassword(Template);
  });
}

bool Plugin::QZ02001(Collection& P, Variant& T) {
  return Protetto([&] { return R().InterrogaAnagrafica(P, T); });
}
bool Plugin::QZ02002(Collection& P, Variant& T) {
  return Protetto([&] { return R().InterrogaAnagrafica(P, T); });
}
bool Plugin::QZ02003(Collection& P, Variant& T) {
  return Protetto([&] {
    return Ctx().settings.Endpoint("querypaziente").empty() ? R().InterrogaAnagraficaHL7(P, T)
                                                            : R().QueryPaziente(P, T);
  });
}
bool Plugin::QZ02004(Collection& P, Variant& T) {
  return Protetto([&] {
    return Ctx().settings.Endpoint("getmypatients").empty() ? R().ElencoAssistitiHL7(P, T)
                                                            : R().ElencoAssistitiFHIR(P, T);
  });
}
bool Plugin::QZ02005(Collection& P, Variant& T) {
  return Protetto([&] { return R().RefertiSARR(P, T); });
}
bool Plugin::QZ02006(Collection& P, Variant& T) {
  return Protetto([&] { return R().RefertiSARRePS(P, T); });
}
bool Plugin::QZ02007(Collection& P, Variant& T) {
  return Protetto([&] { return R().RicoveriSARIR(P, T); });
}

bool Plugin::QZ03001(Variant& Notifica, Variant& Template) {
  return Protetto([&] {
    auto notifica = Notifica.As<host::INotifica>();
    if (!notifica) throw Failure(kMembroNonSupportato, "Notifica non valida");
    const std::string tipo = notifica->t1();
    const char* servizio = core::ServizioNotifica(tipo);
    if (servizio) return R().ApriNotifica(servizio, Notifica, Template);
    if (tipo == "kiro_cc001" || tipo == "kiro_cc005" || tipo == "kiro_cc006") {
      return ApriDocumentoFSE(*notifica, Template);
    }
    return false;
  });
}

bool Plugin::QZ04001(Variant& T) {
  return Protetto([&] { return R().InviaSAASN(T); });
}
bool Plugin::QZ04003(Variant& T) {
  return Protetto([&] { return R().InviaRicetteSospese(T); });
}
bool Plugin::QZ04022(Variant& Grid, Variant& DallaData, Variant& AllaData, Variant& Template) {
  return Protetto([&] { return R().FlussoPPIP(Grid, DallaData, AllaData, Template); });
}
bool Plugin::QZ04024(Variant& ListaRicette, Variant& Medico, Variant& Template, Variant& Cancel) {
  return Protetto([&] { return R().InviaListaRicette(ListaRicette, Medico, Template, Cancel); });
}
bool Plugin::QZ04029(Variant& Ricetta, Variant& Template) {
  return Protetto([&] { return R().AnnullaPrescrizione(Ricetta, Template); });
}

bool Plugin::QZ05001(const std::string& Key, const Variant& Value) {
  auto& c = Ctx();
  const bool uno = Value.ToText() == "1";
  if (Key == "KIRO.Debug") {
    c.settings.debug = uno;
  } else if (Key == "KIRO.Disattivato") {
    if (c.settings.disattivato && !uno) {
      c.settings.disattivato = false;
      Protetto([&] {
        c.App().GeneraEvento("plgQZCoopApp.Enabled", "1");
        return true;
      });
    } else {
      c.settings.disattivato = uno;
    }
  }
  return true;
}

bool Plugin::Execute(const std::string& Key, std::vector<Variant>& Param) {
  try {
    if (Key == "QZKiroRicetteDaInviare") {
      ApriElencoMEF(0, "MEF - Ricette da inviare");
    } else if (Key == "QZKiroRicetteInviate") {
      ApriElencoMEF(6, "MEF - Ricevute invii");
    } else if (Key == "QZKiroGetContenutoDocumento") {
      if (Param.size() < 2) return false;
      auto richiesta = Param[1].As<host::IMembri>();
      if (!richiesta) return false;
      Variant lista = richiesta->Membro("Lista");
      Variant Template;
      return R().RecuperaDocumentoFSE(Template, lista, "", "", "");
    } else if (Key == "QZDashboard") {
      R().ApriPortaleOperatore();
    }
  } catch (...) {
    // Named commands swallow their failures.
  }
  return false;
}

std::string Plugin::Versione() const {
  return core::TestoVersione();
}

bool Plugin::QZ01015(Variant& Paziente, Variant& Template, Variant& Check) {
  return Protetto([&] { return R().VerificaConsensoFSE(Paziente, Template, Check); });
}
bool Plugin::QZ03002(Variant& Paziente, Collection& Param, Variant& Template) {
  return Protetto([&] { return R().AziendaAssistenza(Paziente, Param, Template); });
}
bool Plugin::QZ04043(Variant& Grid1, Variant& XML, Variant& Template, Variant& Ricevuta) {
  return Protetto([&] { return R().FlussoIVAQ(Grid1, XML.ToText(), Template, Ricevuta); });
}
bool Plugin::QZ02022(Collection& P, Variant& T) {
  return Protetto([&] { return R().ElencoDocumentiFSE(P, T); });
}
bool Plugin::QZ04022_Check(Variant& DallaData, Variant& AllaData, Variant& SoloPPIPCodificate,
                           Variant& Lista) {
  return Protetto([&] { return R().VerificaPPIP(DallaData, AllaData, SoloPPIPCodificate, Lista); });
}
bool Plugin::QZ02021(Variant&, Variant& PinCode, Variant& ID, Variant& NRE, Variant& Response) {
  return Protetto([&] { return R().VisualizzaPrescrizione(PinCode, ID, NRE, Response); });
}
bool Plugin::QZ02023(Variant& Ricetta, Variant& Ricevuta) {
  return Protetto([&] { return R().DocumentoProcessoRicetta(Ricetta, Ricevuta); });
}
bool Plugin::QZ04022_InvioPaziente(Collection& ListaRecords, Variant& itmFlusso, Variant& DallaData,
                                   Variant& AllaData, Variant& Cancel, Variant& DallaDataPC,
                                   Variant& AllaDataPC, Variant& RisorseEliminate) {
  return Protetto([&] {
    auto& invio = VaccinazioneEstesa() == 2 ? R().InvioPazienteACNEsteso : R().InvioPazienteACN;
    return invio(ListaRecords, itmFlusso, DallaData, AllaData, Cancel, DallaDataPC, AllaDataPC,
                 RisorseEliminate);
  });
}
bool Plugin::QZ04022_Recupera(Variant& itmFlusso, Variant& itmFlussoRec) {
  return Protetto([&] { return R().RecuperaACN(itmFlusso, itmFlussoRec); });
}
bool Plugin::QZ04022_Ricerca(Collection& ListaFlussi, Variant& CFPaziente, Variant& DallaData,
                             Variant& AllaData) {
  return Protetto([&] { return R().RicercaACN(ListaFlussi, CFPaziente, DallaData, AllaData); });
}
bool Plugin::QZ04022_RecordsLocali(Collection& Records, Variant& CodiceFiscale, Variant& DallaData,
                                   Variant& AllaData, Variant& DallaDataPC, Variant& AllaDataPC) {
  return Protetto([&] {
    return R().RecordsLocaliACN(Records, CodiceFiscale, DallaData, AllaData, DallaDataPC,
                                AllaDataPC);
  });
}
bool Plugin::QZ04022_Elimina(Collection& ListaRecords, Variant& itmFlusso, Variant& DallaData,
                             Variant& AllaData, Variant& Cancel, Variant& DallaDataPC,
                             Variant& AllaDataPC, Variant& RisorseEliminate) {
  return Protetto([&] {
    return R().EliminaACN(ListaRecords, itmFlusso, DallaData, AllaData, Cancel, DallaDataPC,
                          AllaDataPC, RisorseEliminate);
  });
}
bool Plugin::QZ04046_Invio(Collection& ListaIndicatori, Variant& DallaData, Variant& AllaData) {
  return Protetto([&] {
    auto& invio = VaccinazioneEstesa() > 1 ? R().IndicatoriPAEsteso : R().IndicatoriPA;
    return invio(ListaIndicatori, DallaData, AllaData, false);
  });
}
bool Plugin::QZ04046_Recupera(Variant& itmFlusso, Variant& itmFlussoRec) {
  return Protetto([&] { return R().RecuperaIndicatorePA(itmFlusso, itmFlussoRec); });
}
bool Plugin::QZ04046_Ricerca(Collection& ListaFlussi, Variant& Codice, Variant& DallaData,
                             Variant& AllaData) {
  return Protetto(
      [&] { return R().RicercaIndicatoriPA(ListaFlussi, Codice, DallaData, AllaData); });
}
bool Plugin::QZ04046_Elimina(Collection& ListaRecords, Variant& DallaData, Variant& AllaData) {
  return Protetto([&] {
    auto& invio = VaccinazioneEstesa() > 1 ? R().IndicatoriPAEsteso : R().IndicatoriPA;
    return invio(ListaRecords, DallaData, AllaData, true);
  });
}
bool Plugin::QZ04047(Variant& Ricetta, Variant& Ricevuta) {
  return Protetto([&] { return R().RichiestaPrelievo(Ricetta, Ricevuta); });
}
bool Plugin::QZ04048(Variant& Grid1, Variant& XML, Variant& Template, Variant& Ricevuta) {
  return Protetto([&] { return R().InviaPDTA(Grid1, XML.ToText(), Template, Ricevuta); });
}
bool Plugin::QZ02025(Variant& CodiceAntigene, Variant& CodiceAIC, Variant& Lista) {
  return Protetto([&] { return R().CercaLottiVaccino(CodiceAntigene, CodiceAIC, Lista); });
}
bool Plugin::QZ04020(Variant& Paziente, Variant& Template, Variant& Ricevuta) {
  return Protetto([&] { return R().PubblicaProfiloSanitario(Paziente, Template, Ricevuta); });
}
bool Plugin::QZ02030(Collection& P, Variant& T) {
  return Protetto([&] { return R().AllineaPazientiFSE(P, T); });
}
bool Plugin::QZ04028(Variant& Template, Variant& myItm, Variant& myItmStorico, Variant& Ricevuta) {
  return Protetto(
      [&] { return R().VaccinazioneACN(Template, myItm, myItmStorico, Ricevuta, false); });
}
bool Plugin::QZ04049(Variant& Template, Variant& myItm, Variant& myItmStorico, Variant& Ricevuta) {
  return Protetto(
      [&] { return R().VaccinazioneACN(Template, myItm, myItmStorico, Ricevuta, false); });
}
bool Plugin::QZ04056(Variant& Template, Variant& myItm, Variant& myItmStorico) {
  return Protetto([&] {
    Variant ricevuta;
    return R().VaccinazioneACN(Template, myItm, myItmStorico, ricevuta, true);
  });
}
bool Plugin::QZ02031(Variant& Template, Variant& myMEF) {
  return Protetto([&] { return R().OperazioneMEF(Template, myMEF); });
}
bool Plugin::QZ02032(Variant& Template, Variant& myMEF) {
  return Protetto([&] { return R().OperazioneMEF(Template, myMEF); });
}
bool Plugin::QZ04058(Variant& Ricetta, Variant& Template) {
  return Protetto([&] { return R().AnnullaPrescrizioneBianca(Ricetta, Template); });
}
std::string Plugin::QZ04048_Carica(Collection& Param, Variant&) {
  return Protetto([&] { return R().CaricaPDTA(Param); });
}
std::int32_t Plugin::QZ04048_RefreshGrid(Variant& Grid1, Variant& ProgressBar1, Variant& Dati) {
  return Protetto([&] { return R().RefreshGridPDTA(Grid1, ProgressBar1, Dati); });
}
bool Plugin::QZ04048_Invio(Collection& Param, Variant& Template, Variant& Grid1, Variant& Dati) {
  return Protetto([&] { return R().InvioPDTA(Param, Template, Grid1, Dati); });
}
std::string Plugin::QZ04059_Carica(Collection& Param, Variant&) {
  return Protetto([&] { return ServizioStili() ? R().CaricaPDTAStili(Param) : std::string(); });
}
std::int32_t Plugin::QZ04059_RefreshGrid(Variant& Grid1, Variant& ProgressBar1, Variant& Dati) {
  return Protetto(
      [&] { return ServizioStili() ? R().RefreshGridPDTAStili(Grid1, ProgressBar1, Dati) : 0; });
}
bool Plugin::QZ04059_Salva(Collection& Param, Variant& Template, Variant& Grid1, Variant& Dati) {
  return Protetto(
      [&] { return ServizioStili() && R().SalvaPDTAStili(Param, Template, Grid1, Dati); });
}

bool Plugin::QZ01028(Variant& Operazione, Variant& Params) {
  return Protetto([&] {
    const std::string operazione = Operazione.ToText();
    if (operazione == "InviaIDSessione") return R().InviaIDSessione();
    if (operazione == "ImpostaToken") return R().ImpostaToken(Params);
    Ctx().last_error = "Operazione sconosciuta";
    return false;
  });
}

}  // namespace qzkiro
