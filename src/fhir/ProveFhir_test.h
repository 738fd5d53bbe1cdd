#pragma once

// Shared inputs of the FHIR builders' tests.

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fhir/BundleCarePlan.h"
#include "fhir/BundleIndicatori.h"
#include "fhir/LetturaFhir.h"
#include "support/DatiPubblici.h"
#include "util/clsXML.h"

namespace qzkiro::fhir::prove {

inline MedicoFlusso Medico() {
  MedicoFlusso m;
  m.CodiceFiscale = "MDCGPP60A01L736X";
  m.CodiceRegionale = "123456";
  m.CodiceAccordo = "A77";
  m.CodiceAttivita = "MMG";
  return m;
}

// A patient's flow with one activity of each schedule, a vaccination, a
// held observation and every optional entry (no cached id).
inline FlussoCarePlan Flusso() {
  FlussoCarePlan f;
  f.Intestazione.MarcaTemporaleUtc = {2024, 3, 5, 8, 7, 3};
  f.Paziente = {"RSSMRA10C45L736K", "MPI0000001", "ROSSI", "MARIA"};
  f.Medico = Medico();
  f.CodiceAzienda = "501";
  f.Guid = {"AAAAAAAA-0000-4000-8000-000000000001", "AAAAAAAA-0000-4000-8000-000000000002",
            "AAAAAAAA-0000-4000-8000-000000000003", "AAAAAAAA-0000-4000-8000-000000000004"};
  f.InizioPeriodo = "20240301";
  f.FinePeriodo = "20240331";
  AttivitaFlusso visita;
  visita.Categoria = CategoriaAttivita::Incontro;
  visita.Codice = CercaCodifica(ListaAttivita::Accesso, "Accesso con visita medica");
  visita.InizioUtc = util::DataOra{2024, 3, 4, 9, 0, 0};
  visita.Motivo = {{}, "250.00", "Diabete mellito"};
  visita.Descrizione = "Visita ambulatoriale";
  AttivitaFlusso adi;
  adi.Categoria = CategoriaAttivita::Procedura;
  adi.Codice = CercaCodifica(ListaAttivita::AssistenzaDomiciliare, "ADI02");
  adi.Pianificata = true;
  adi.InizioUtc = util::DataOra{2024, 3, 10, 0, 0, 0};
  adi.FineUtc = util::DataOra{2024, 3, 20, 0, 0, 0};
  f.Attivita = {visita, adi};
  VaccinazioneFlusso v;
  v.Guid = "BBBBBBBB-0000-4000-8000-000000000001";
  v.Vaccino = {std::string(kSistemaCvx), "141", "Influenza, seasonal, injectable"};
  v.Data = "20240305";
  v.Lotto = "L123";
  v.Scadenza = "20250101";
  v.Sito = {{}, "LA", "Left Arm"};
  v.Via = {{}, "IM", "Injection, intramuscular"};
  v.Campagna = CampagnaVaccinale::Antinfluenzale;
  v.CategoriaRischio = "PAZIENTI OVER 65 ANNI";
  v.Malattie = {{{}, "487", "Influenza"}};
  f.Vaccinazioni = {v};
  OsservazioneFlusso o;
  o.Guid = "CCCCCCCC-0000-4000-8000-000000000001";
  o.IdServer = "obs-9";
  o.Codice = {"http://loinc.org", "8462-4", "Pressione arteriosa diastolica"};
  o.Valore = "80,5";
  o.Unita = "mm[Hg]";
  f.Osservazioni = {o};
  return f;
}

inline IndicatorePA Indicatore(const std::string& n, bool obbligatorio) {
  IndicatorePA i;
  i.Guid = "DDDDDDDD-0000-4000-8000-00000000000" + n;
  i.Obbligatorio = obbligatorio;
  i.Categoria = {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.20", "G1", "Indicatori di processo"};
  i.Codice = {"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.21", "IND0" + n, "Indicatore " + n};
  i.Metodo = "Calcolo sul periodo";
  return i;
}

inline FlussoIndicatori FlussoPA() {
  FlussoIndicatori f;
  f.Intestazione.MarcaTemporaleUtc = {2024, 7, 1, 10, 0, 0};
  f.Medico = Medico();
  f.CodiceAzienda = "501";
  f.Guid.Practitioner = "EEEEEEEE-0000-4000-8000-000000000001";
  f.Guid.Organization = "EEEEEEEE-0000-4000-8000-000000000002";
  f.FinePeriodo = "20240630";
  IndicatorePA rapporto = Indicatore("1", true);
  rapporto.Rapporto = true;
  rapporto.Numeratore = "12";
  rapporto.Denominatore = "40";
  IndicatorePA quantita = Indicatore("2", false);
  quantita.Valore = "7,5";
  quantita.Unita = "%";
  f.Indicatori = {rapporto, quantita};
  return f;
}

// The Bundle reparsed, as the server reads it.
inline util::clsXML Riletto(util::clsXML bundle) {
  util::clsXML x;
  EXPECT_TRUE(x.LoadXML(bundle.XML()));
  return x;
}

// The resource type of each entry and its request ("Patient POST /Patient").
inline std::vector<std::string> Voci(util::clsXML& x) {
  std::vector<std::string> voci;
  for (NodoFhir entry : Figli(x.rootNode(), "entry")) {
    voci.push_back(NomeRisorsa(RisorsaDellaVoce(entry)) + " " + Valore(entry, "request/method") +
                   " " + Valore(entry, "request/url"));
  }
  return voci;
}

// The values at `prefisso` followed by each of `campi` under `nodo`, joined by
// spaces ("system code" of a coding).
inline std::string Valori(NodoFhir nodo, const std::string& prefisso,
                          std::initializer_list<const char*> campi) {
  std::string valori, spazio;
  for (const char* campo : campi) {
    valori += spazio + Valore(nodo, prefisso + campo);
    spazio = " ";
  }
  return valori;
}

// The resource of the first entry of type `tipo`.
inline NodoFhir Risorsa(util::clsXML& x, std::string_view tipo) {
  for (NodoFhir entry : Figli(x.rootNode(), "entry")) {
    if (NomeRisorsa(RisorsaDellaVoce(entry)) == tipo) return RisorsaDellaVoce(entry);
  }
  return nullptr;
}

}  // namespace qzkiro::fhir::prove
