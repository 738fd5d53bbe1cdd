#pragma once

#include <string_view>

#include "fhir/DatiFlusso.h"
#include "util/clsXML.h"

namespace qzkiro::fhir {

// The fixed fullUrl of the care-plan flow's MessageHeader.
inline constexpr std::string_view kIntestazioneCarePlan =
    "urn:uuid:7154b2a0-7bc8-4496-b684-795a32846118";

// The transaction Bundle of one patient's care-plan flow, in entry order:
// MessageHeader; Patient, Organization and Practitioner, each only when
// `flusso.Id` has no server id for it; the CarePlan ("active", "proposal",
// one activity per AttivitaFlusso with its detail, then one activity per
// vaccination and per observation pointing to its entry); one Immunization
// per vaccination; one Observation per measured value. New Immunization and
// Observation entries are POSTed, those with an IdServer PUT to their id.
// The extended variant (flusso.Esteso) adds the MessageHeader's sender, the
// Immunization extensions and a progress note on each activity.
// Everything comes from `flusso` (GUIDs and timestamp included), so the same
// input gives the same bytes.
util::clsXML BundleCarePlan(const FlussoCarePlan& flusso);

// The cancellation of a sent CarePlan: the same Bundle with the event
// "update", the CarePlan "cancelled" and every Immunization and Observation
// PUT "entered-in-error" (to its IdServer, or to its GUID when the server
// never gave one).
util::clsXML BundleAnnullamentoCarePlan(const FlussoCarePlan& flusso);

}  // namespace qzkiro::fhir
