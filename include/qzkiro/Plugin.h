#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "qzkiro/host/Application.h"
#include "qzkiro/host/Collection.h"
#include "qzkiro/host/ConfigXML.h"
#include "qzkiro/host/Object.h"
#include "qzkiro/host/Variant.h"

namespace qzkiro {

// The add-on's entry class. The host creates one, calls Init once, then one
// member per user action. Members never throw: they return their result and
// leave an Italian message in LastError. The state behind them is shared by
// every Plugin of the process. Members are declared in the order of the
// component's public interface.
class Plugin {
 public:
  using Variant = host::Variant;
  using Collection = host::Collection;

  Plugin();
  ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  std::string LastError() const;
  std::shared_ptr<host::Object> LastResponse() const;
  std::string Info() const;
  std::string TemplateFileName(const std::string& Servizio, std::vector<Variant>& Param);
  bool Init(std::shared_ptr<host::IApplication>& Application,
            std::shared_ptr<host::IConfigXML>& myXML, std::string& LogDir);
  void RichiestaFine(Variant& Template, bool& Cancel);
  bool ConfigButtonClick(const std::string& ID, std::string& RetValue);
  bool QZ01005(Variant& frm);
  bool QZ01006(Variant& frm);
  bool QZ01007(Variant& frm);
  bool QZ01011(Variant& Template);
  bool QZ02001(Collection& Param, Variant& Template);
  bool QZ02002(Collection& Param, Variant& Template);
  bool QZ02003(Collection& Param, Variant& Template);
  bool QZ02004(Collection& Param, Variant& Template);
  bool QZ02005(Collection& Param, Variant& Template);
  bool QZ02006(Collection& Param, Variant& Template);
  bool QZ02007(Collection& Param, Variant& Template);
  bool QZ03001(Variant& Notifica, Variant& Template);
  bool QZ04001(Variant& Template);
  bool QZ04003(Variant& Template);
  bool QZ04022(Variant& Grid, Variant& DallaData, Variant& AllaData, Variant& Template);
  bool QZ04024(Variant& ListaRicette, Variant& Medico, Variant& Template, Variant& Cancel);
  bool QZ04029(Variant& Ricetta, Variant& Template);
  bool QZ05001(const std::string& Key, const Variant& Value);
  bool Execute(const std::string& Key, std::vector<Variant>& Param);
  std::string Versione() const;
  bool QZ01015(Variant& Paziente, Variant& Template, Variant& Check);
  bool QZ03002(Variant& Paziente, Collection& Param, Variant& Template);
  bool QZ04043(Variant& Grid1, Variant& XML, Variant& Template, Variant& Ricevuta);
  bool QZ02022(Collection& Param, Variant& Template);
  bool QZ04022_Check(Variant& DallaData, Variant& AllaData, Variant& SoloPPIPCodificate,
                     Variant& Lista);
  bool QZ02021(Variant& Template, Variant& PinCode, Variant& ID, Variant& NRE, Variant& Response);
  bool QZ02023(Variant& Ricetta, Variant& Ricevuta);
  bool QZ04022_InvioPaziente(Collection& ListaRecords, Variant& itmFlusso, Variant& DallaData,
                             Variant& AllaData, Variant& Cancel, Variant& DallaDataPC,
                             Variant& AllaDataPC, Variant& RisorseEliminate);
  bool QZ04022_Recupera(Variant& itmFlusso, Variant& itmFlussoRec);
  bool QZ04022_Ricerca(Collection& ListaFlussi, Variant& CFPaziente, Variant& DallaData,
                       Variant& AllaData);
  bool QZ04022_RecordsLocali(Collection& Records, Variant& CodiceFiscale, Variant& DallaData,
                             Variant& AllaData, Variant& DallaDataPC, Variant& AllaDataPC);
  bool QZ04022_Elimina(Collection& ListaRecords, Variant& itmFlusso, Variant& DallaData,
                       Variant& AllaData, Variant& Cancel, Variant& DallaDataPC,
                       Variant& AllaDataPC, Variant& RisorseEliminate);
  bool QZ04046_Invio(Collection& ListaIndicatori, Variant& DallaData, Variant& AllaData);
  bool QZ04046_Recupera(Variant& itmFlusso, Variant& itmFlussoRec);
  bool QZ04046_Ricerca(Collection& ListaFlussi, Variant& Codice, Variant& DallaData,
                       Variant& AllaData);
  bool QZ04046_Elimina(Collection& ListaRecords, Variant& DallaData, Variant& AllaData);
  bool QZ04047(Variant& Ricetta, Variant& Ricevuta);
  bool QZ04048(Variant& Grid1, Variant& XML, Variant& Template, Variant& Ricevuta);
  bool QZ02025(Variant& CodiceAntigene, Variant& CodiceAIC, Variant& Lista);
  bool QZ04020(Variant& Paziente, Variant& Template, Variant& Ricevuta);
  bool QZ02030(Collection& Param, Variant& Template);
  bool QZ04028(Variant& Template, Variant& myItm, Variant& myItmStorico, Variant& Ricevuta);
  bool QZ04049(Variant& Template, Variant& myItm, Variant& myItmStorico, Variant& Ricevuta);
  bool QZ04056(Variant& Template, Variant& myItm, Variant& myItmStorico);
  bool QZ02031(Variant& Template, Variant& myMEF);
  bool QZ02032(Variant& Template, Variant& myMEF);
  bool QZ04058(Variant& Ricetta, Variant& Template);
  std::string QZ04048_Carica(Collection& Param, Variant& Template);
  std::int32_t QZ04048_RefreshGrid(Variant& Grid1, Variant& ProgressBar1, Variant& Dati);
  bool QZ04048_Invio(Collection& Param, Variant& Template, Variant& Grid1, Variant& Dati);
  std::string QZ04059_Carica(Collection& Param, Variant& Template);
  std::int32_t QZ04059_RefreshGrid(Variant& Grid1, Variant& ProgressBar1, Variant& Dati);
  bool QZ04059_Salva(Collection& Param, Variant& Template, Variant& Grid1, Variant& Dati);
  bool QZ01028(Variant& Operazione, Variant& Params);
};

}  // namespace qzkiro
