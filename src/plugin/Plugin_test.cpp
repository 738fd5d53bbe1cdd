#include "qzkiro/Plugin.h"

#include <gtest/gtest.h>

#include "core/Avvio.h"
#include "refhost/Oggetti.h"
#include "support/AmbientePlugin.h"
#include "util/ListaStringhe.h"

namespace qzkiro {
namespace {

using host::Collection;
using host::Variant;
using testsupport::AmbientePlugin;

// A host whose set-up refuses one value, as a host does when a call fails.
class HostCheRifiuta : public refhost::Applicazione {
 public:
  HostCheRifiuta(const std::filesystem::path& dati, std::string rifiutato)
      : Applicazione(dati), rifiutato_(std::move(rifiutato)) {}
  void SetSetup(const std::string& name, const Variant& value) override {
    if (name == rifiutato_) throw Failure(13, "Tipo non corrispondente");
    Applicazione::SetSetup(name, value);
  }

 private:
  std::string rifiutato_;
};

class PluginTest : public ::testing::Test {
 protected:
  bool Init(std::shared_ptr<host::IApplication> app = nullptr) {
    if (!app) app = env_.App();
    auto config = env_.Config();
    std::string log_dir = "/tmp";
    return plugin_.Init(app, config, log_dir);
  }
  util::ListaStringhe Info() { return util::ListaStringhe::Carica(plugin_.Info()).value(); }

  AmbientePlugin env_;
  Plugin plugin_;
  core::Rotte& rotte_ = env_.Contesto().rotte;
  refhost::Applicazione& host_ = *env_.Host();
};

TEST_F(PluginTest, InitFailureStopsWithNumberAndDescription) {
  auto host = std::make_shared<HostCheRifiuta>(env_.CartellaHost().Path(), "NRE");
  EXPECT_FALSE(Init(host));
  EXPECT_EQ(plugin_.LastError(), "Init QZKiro: 13 - Tipo non corrispondente");
  EXPECT_EQ(host->ScrittureSetup().size(), 5u) << "what was done before the failure stays done";
  EXPECT_EQ(host->Setup("MostraCodicePPIP"), Variant());

  std::shared_ptr<host::IApplication> app = env_.App();
  std::shared_ptr<host::IConfigXML> nessuna;
  std::string log_dir;
  EXPECT_FALSE(plugin_.Init(app, nessuna, log_dir));
  EXPECT_EQ(plugin_.LastError(), "Init QZKiro: 91 - Variabile oggetto non impostata");
}

TEST_F(PluginTest, OutdatedCatalogueWarnsAndTurnsOffSpecialistPrescriptions) {
  ASSERT_TRUE(Init());
  EXPECT_TRUE(env_.Ui().Mostrati().empty());
  EXPECT_EQ(host_.Setup("DematEsami"), Variant(true));

  env_.CartellaHost().Scrivi("archivi/Visite.json", R"({"Versione": ""})");
  env_.RicreaHost();
  ASSERT_TRUE(Init());
  ASSERT_EQ(env_.Ui().Mostrati().size(), 1u);
  const auto& box = env_.Ui().Mostrati()[0];
  EXPECT_EQ(box.titolo, "KIRO");
  EXPECT_EQ(box.stile, core::stile::kInformazione);
  EXPECT_EQ(box.testo, core::kMessaggioCatalogo);
  EXPECT_EQ(env_.Host()->Setup("DematEsami"), Variant(false));
}

TEST_F(PluginTest, InfoFollowsFlagsAndConsentLeaflet) {
  ASSERT_TRUE(Init());
  ASSERT_EQ(Info().Items(), (std::vector<std::string>{
                                "0", "0", "https://127.0.0.1:9443/iap/AuthenticateAndGetAssertion",
                                "https://127.0.0.1:9443/mef/InvioPrescritto"}));
  EXPECT_FALSE(env_.Contesto().settings.check_consenso_fse);

  env_.CartellaPlugin().Scrivi("FSEr - Informativa_versione aprile 2016.pdf", "%PDF");
  ASSERT_TRUE(Init());
  EXPECT_EQ(Info().Item(4), "https://127.0.0.1:9443/mef/InvioPrescrittoFSE");
  EXPECT_TRUE(env_.Contesto().settings.check_consenso_fse);
  host_.Utente().Items().SetItem("KIRO.CheckFSE", "1");
  ASSERT_TRUE(Init());
  EXPECT_FALSE(env_.Contesto().settings.check_consenso_fse);
  EXPECT_TRUE(env_.Contesto().settings.fse_attivo);
}

TEST_F(PluginTest, EnableSettingRaisesTheEventOnlyWhenItEnables) {
  host_.Utente().Items().SetItem("KIRO.Disattivato", "1");
  ASSERT_TRUE(Init());
  using Eventi = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(host_.Eventi(), (Eventi{{"plgQZCoopApp.Enabled", "0"}}));

  EXPECT_TRUE(plugin_.QZ05001("KIRO.Disattivato", "1"));  // already disabled
  EXPECT_TRUE(plugin_.QZ05001("KIRO.Disattivato", "0"));  // enables
  EXPECT_TRUE(plugin_.QZ05001("KIRO.Disattivato", "0"));  // already enabled
  EXPECT_EQ(host_.Eventi(), (Eventi{{"plgQZCoopApp.Enabled", "0"}, {"plgQZCoopApp.Enabled", "1"}}));
  EXPECT_EQ(Info().Item(2), "0");

  EXPECT_TRUE(plugin_.QZ05001("KIRO.Disattivato", 1));
  EXPECT_EQ(Info().Item(2), "1");
  EXPECT_TRUE(plugin_.QZ05001("KIRO.Debug", "1"));
  EXPECT_EQ(Info().Item(1), "1");
  EXPECT_TRUE(plugin_.QZ05001("KIRO.Debug", "true"));
  EXPECT_EQ(Info().Item(1), "0");
  EXPECT_TRUE(plugin_.QZ05001("KIRO.Altro", "1"));
  EXPECT_EQ(host_.Eventi().size(), 2u);
}

TEST_F(PluginTest, ExecuteOpensPrescriptionListsAndSwallowsBadParameters) {
  ASSERT_TRUE(Init());
  std::vector<Variant> vuoto;
  plugin_.QZ05001("KIRO.Debug", "0");
  env_.Contesto().last_error = "precedente";
  EXPECT_FALSE(plugin_.Execute("QZKiroGetContenutoDocumento", vuoto));
  EXPECT_EQ(plugin_.LastError(), "precedente");

  EXPECT_FALSE(plugin_.Execute("QZKiroRicetteDaInviare", vuoto));
  EXPECT_FALSE(plugin_.Execute("QZKiroRicetteInviate", vuoto));
  const auto& finestre = host_.Framework().Finestre();
  ASSERT_EQ(finestre.size(), 2u);
  EXPECT_EQ(finestre[0].form, "frmmef");
  EXPECT_FALSE(finestre[0].modale);
  EXPECT_TRUE(finestre[0].argomento_omesso);
  EXPECT_EQ(finestre[0].titolo, "MEF - Ricette da inviare");
  EXPECT_EQ(finestre[0].parametro, Variant(0));
  EXPECT_EQ(finestre[0].parametro2, Variant(""));
  EXPECT_EQ(finestre[1].titolo, "MEF - Ricevute invii");
  EXPECT_EQ(finestre[1].parametro, Variant(6));

  Variant ricevuta;
  rotte_.RecuperaDocumentoFSE = [&](Variant&, Variant& lista, const std::string& documento,
                                    const std::string&, const std::string&) {
    ricevuta = lista;
    return documento.empty();
  };
  auto richiesta = std::make_shared<refhost::Membri>();
  auto documenti = std::make_shared<Collection>();
  richiesta->Imposta("Lista", Variant(documenti));
  std::vector<Variant> param{Variant(), Variant(richiesta)};
  EXPECT_TRUE(plugin_.Execute("QZKiroGetContenutoDocumento", param));
  EXPECT_EQ(ricevuta.ToObject(), documenti);

  std::vector<Variant> senza_lista{Variant(), Variant(std::make_shared<refhost::Membri>())};
  EXPECT_FALSE(plugin_.Execute("QZKiroGetContenutoDocumento", senza_lista));
  EXPECT_FALSE(plugin_.Execute("Sconosciuto", param));
}

TEST_F(PluginTest, NotificationTypesChooseTheirService) {
  ASSERT_TRUE(Init());
  std::string servizio;
  rotte_.ApriNotifica = [&](const std::string& s, Variant&, Variant&) {
    servizio = s;
    return true;
  };
  struct Caso {
    const char* tipo;
    const char* servizio;
  } casi[] = {{"SRF", "SARR"},  {"REF", "SARR"},  {"NPS", "SARRePS"}, {"NSP", "SARRePS"},
              {"RIC", "SARIR"}, {"DIM", "SARIR"}, {"LES", "SARIR"},   {"XYZ", ""},
              {"srf", ""},      {"", ""}};
  for (const auto& caso : casi) {
    servizio.clear();
    Variant notifica(std::make_shared<refhost::Notifica>(caso.tipo, "1", "2", "d"));
    Variant modello;
    EXPECT_EQ(plugin_.QZ03001(notifica, modello), *caso.servizio != '\0') << caso.tipo;
    EXPECT_EQ(servizio, caso.servizio) << caso.tipo;
  }
}

TEST_F(PluginTest, FseNotificationBuildsTheRepositoryTemplate) {
  env_.CartellaPlugin().Scrivi(
      "servizi/Repository.mt1",
      "<q doc=\"{{Parametro.Documento.UniqueID}}\" rep=\"{{Parametro.Repository.UniqueID}}\"/>");
  ASSERT_TRUE(Init());
  std::string documento, repository, descrizione, testo;
  rotte_.RecuperaDocumentoFSE = [&](Variant& modello, Variant&, const std::string& d,
                                    const std::string& r, const std::string& desc) {
    documento = d, repository = r, descrizione = desc;
    testo = modello.As<host::ITemplate>()->Template();
    return true;
  };
  Variant notifica(std::make_shared<refhost::Notifica>(
      "kiro_cc005", "DOC.1", "1.3.6.1.4.1.21367.2009.2.2.3006", "Lettera di dimissione"));
  Variant modello;
  EXPECT_TRUE(plugin_.QZ03001(notifica, modello));
  EXPECT_EQ(documento, "DOC.1");
  EXPECT_EQ(repository, "2.16.840.1.113883.2.9.2.50118.4.5.3.1");
  EXPECT_EQ(descrizione, "Lettera di dimissione");
  EXPECT_EQ(testo, "<q doc=\"DOC.1\" rep=\"1.3.6.1.4.1.21367.2009.2.2.3006\"/>");

  Variant non_notifica("testo");
  EXPECT_FALSE(plugin_.QZ03001(non_notifica, modello));
  EXPECT_FALSE(plugin_.LastError().empty());
}

TEST_F(PluginTest, VersionDependentRoutingOfTheFlows) {
  ASSERT_TRUE(Init());
  std::string chiamata;
  auto invio = [&](const char* nome) {
    return [&chiamata, nome](auto&&...) {
      chiamata = nome;
      return true;
    };
  };
  rotte_.InvioPazienteACN = invio("base");
  rotte_.InvioPazienteACNEsteso = invio("estesa");
  bool elimina = false;
  rotte_.IndicatoriPA = [&](Collection&, Variant&, Variant&, bool e) {
    chiamata = "base", elimina = e;
    return true;
  };
  rotte_.IndicatoriPAEsteso = [&](Collection&, Variant&, Variant&, bool e) {
    chiamata = "estesa", elimina = e;
    return true;
  };
  Collection lista;
  Variant v;
  struct Caso {
    int versione;
    const char* paziente;
    const char* indicatori;
  } casi[] = {{1, "base", "base"}, {2, "estesa", "estesa"}, {3, "base", "estesa"}};
  for (const auto& caso : casi) {
    host_.SetSetup("VaccinazioneEstesa", caso.versione);
    plugin_.QZ04022_InvioPaziente(lista, v, v, v, v, v, v, v);
    EXPECT_EQ(chiamata, caso.paziente) << caso.versione;
    plugin_.QZ04046_Invio(lista, v, v);
    EXPECT_EQ(chiamata, caso.indicatori) << caso.versione;
    EXPECT_FALSE(elimina);
    plugin_.QZ04046_Elimina(lista, v, v);
    EXPECT_EQ(chiamata, caso.indicatori) << caso.versione;
    EXPECT_TRUE(elimina);
  }
}

TEST_F(PluginTest, UnitAndUserChecksBeforeRouting) {
  ASSERT_TRUE(Init());
  int chiamate = 0;
  rotte_.CaricaPDTAStili = [&](Collection&) { return std::to_string(++chiamate); };
  rotte_.ModificaPassword = [&](Variant&) { return ++chiamate > 0; };
  Collection param;
  Variant v;
  EXPECT_EQ(plugin_.QZ04059_Carica(param, v), "");
  EXPECT_EQ(plugin_.QZ04059_RefreshGrid(v, v, v), 0);
  EXPECT_FALSE(plugin_.QZ04059_Salva(param, v, v, v));
  EXPECT_EQ(plugin_.LastError(), "Servizio non implementato");
  host_.Utente().SetCodiceRegioneASL("050507");
  EXPECT_EQ(plugin_.QZ04059_Carica(param, v), "1");

  host_.Utente().SetTipo(2);
  EXPECT_FALSE(plugin_.QZ01011(v));
  ASSERT_EQ(env_.Ui().Mostrati().size(), 1u);
  EXPECT_EQ(env_.Ui().Mostrati()[0].stile, core::stile::kAvviso);
  EXPECT_EQ(env_.Ui().Mostrati()[0].testo.rfind("La modifica della password è consentita", 0), 0u);
  EXPECT_EQ(chiamate, 1);
  host_.Utente().SetTipo(1);
  EXPECT_TRUE(plugin_.QZ01011(v));
  EXPECT_EQ(chiamate, 2);
}

TEST_F(PluginTest, UnknownOperationsAndTheRouteOfPatientQueries) {
  ASSERT_TRUE(Init());
  Collection param;
  Variant v;
  Variant operazione("Altro");
  EXPECT_FALSE(plugin_.QZ01028(operazione, v));
  EXPECT_EQ(plugin_.LastError(), "Operazione sconosciuta");
  Variant token_param("123456");
  Variant ricevuto;
  rotte_.ImpostaToken = [&](Variant& p) {
    ricevuto = p;
    return true;
  };
  operazione = "ImpostaToken";
  EXPECT_TRUE(plugin_.QZ01028(operazione, token_param));
  EXPECT_EQ(ricevuto, token_param);
  // Whatever a routine (or a host object under it) throws stays inside.
  rotte_.ImpostaToken = [](Variant&) -> bool { throw 42; };
  EXPECT_FALSE(plugin_.QZ01028(operazione, token_param));
  EXPECT_EQ(plugin_.LastError(), "Errore imprevisto");

  // An empty SOAP endpoint sends the patient query through the regional HL7 path.
  std::string via;
  rotte_.InterrogaAnagraficaHL7 = [&](Collection&, Variant&) { return (via = "hl7", true); };
  rotte_.QueryPaziente = [&](Collection&, Variant&) { return (via = "soap", true); };
  EXPECT_TRUE(plugin_.QZ02003(param, v));
  EXPECT_EQ(via, "hl7");
  env_.Contesto().settings.endpoint["querypaziente"] = "https://fse/query";
  EXPECT_TRUE(plugin_.QZ02003(param, v));
  EXPECT_EQ(via, "soap");
}

TEST_F(PluginTest, LastErrorKeepsTheLastFailureThroughSuccessesAndOtherMembers) {
  ASSERT_TRUE(Init());
  auto& last_error = env_.Contesto().last_error;
  const std::string fallita = "Annullamento Prescrizione: NRE inesistente";
  rotte_.AnnullaPrescrizione = [&](Variant&, Variant&) {
    last_error = fallita;
    return false;
  };
  Variant v;
  EXPECT_FALSE(plugin_.QZ04029(v, v));
  ASSERT_EQ(plugin_.LastError(), fallita);

  // The dispatcher neither clears it nor writes to it: members that run no
  // operation and operations that succeed leave the failure for the host.
  rotte_.AnnullaPrescrizione = [](Variant&, Variant&) { return true; };
  rotte_.CaricaPDTA = [](Collection&) { return std::string("<pdta/>"); };
  Collection param;
  std::vector<Variant> nessuno;
  plugin_.Info();
  plugin_.Versione();
  EXPECT_TRUE(plugin_.QZ05001("KIRO.Debug", "1"));
  EXPECT_FALSE(plugin_.Execute("QZKiroGetContenutoDocumento", nessuno));
  EXPECT_TRUE(plugin_.QZ04029(v, v));
  EXPECT_EQ(plugin_.QZ04048_Carica(param, v), "<pdta/>");
  EXPECT_EQ(plugin_.LastError(), fallita);

  // The next failure replaces it.
  rotte_.AnnullaPrescrizione = [&](Variant&, Variant&) {
    last_error = "Il servizio ha restituito una risposta vuota";
    return false;
  };
  EXPECT_FALSE(plugin_.QZ04029(v, v));
  EXPECT_EQ(plugin_.LastError(), "Il servizio ha restituito una risposta vuota");
}

TEST_F(PluginTest, FixedAnswersVersionAndSimulatorSwitch) {
  std::vector<Variant> param{Variant("x")};
  Variant v;
  std::string ret;
  bool cancel = false;
  EXPECT_EQ(plugin_.TemplateFileName("SARR", param), "");
  EXPECT_FALSE(plugin_.QZ01005(v));
  EXPECT_FALSE(plugin_.ConfigButtonClick("id", ret));
  plugin_.RichiestaFine(v, cancel);
  EXPECT_FALSE(cancel);
  EXPECT_EQ(plugin_.Versione(), "01.02.0034");
  EXPECT_TRUE(plugin_.LastError().empty());

  ASSERT_TRUE(Init());
  EXPECT_FALSE(env_.Contesto().simulatore);
  env_.CartellaPlugin().Scrivi("Simulatore/Simulatore.ini", "[simulatore]\r\nATTIVO = 1\r\n");
  ASSERT_TRUE(Init());
  EXPECT_TRUE(env_.Contesto().simulatore);
  env_.CartellaPlugin().Scrivi("Simulatore/Simulatore.ini", "[Simulatore]\nAttivo=0\n");
  ASSERT_TRUE(Init());
  EXPECT_FALSE(env_.Contesto().simulatore);
}

TEST_F(PluginTest, TerminationReleasesTheSharedState) {
  {
    Plugin altro;
    ASSERT_TRUE(Init());
    EXPECT_NE(env_.Contesto().servizio_asserzione, nullptr);
    env_.Contesto().last_response = std::make_shared<Collection>();
  }
  EXPECT_EQ(env_.Contesto().app, nullptr);
  EXPECT_EQ(env_.Contesto().last_response, nullptr);
  EXPECT_EQ(env_.Contesto().servizio_asserzione, nullptr);
}

}  // namespace
}  // namespace qzkiro
