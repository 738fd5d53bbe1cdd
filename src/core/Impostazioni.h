#pragma once

#include <string>
#include <vector>

#include "core/Contesto.h"
#include "qzkiro/host/ConfigXML.h"

namespace qzkiro::core {

// The steps that fill PluginSettings during Init, in the order Init runs them.
// Each reads the host through the context's application and throws Failure
// when a host call fails.

// User settings "KIRO.Debug", "KIRO.Disattivato", "KIRO.NoStampaDema",
// "KIRO.EmailConsenso" (flags: only "1" is on) and "KIRO.CodiceStruttura".
void LeggiImpostazioniUtente(Contesto& c);
// Every "client/" endpoint of the configuration document, then the two
// certificate paths.
void LeggiEndpoint(Contesto& c, host::IConfigXML& xml);
// The host set-up values of this region, in their fixed order.
void ScriviSetup(Contesto& c);
void LeggiProxy(Contesto& c);
// Pilot-list rename of the patient-summary service and the "test/" overrides.
void ApplicaConfigurazioneTest(Contesto& c, host::IConfigXML& xml);

// The fiscal codes of the pilot list ("ListaPilota.txt" in the add-on's
// folder, comma-separated); empty when the file is missing.
std::vector<std::string> ListaPilota();

}  // namespace qzkiro::core
