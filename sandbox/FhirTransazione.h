#pragma once

#include <libxml/tree.h>

#include <string>

#include "sandbox/FhirDati.h"
#include "sandbox/Scambio.h"

namespace qzkiro::sandbox::fhir {

// Runs a transaction Bundle, already parsed (and held to the schema),
// against `archivio`, all or nothing:
// - every entry needs a resource and a request: POST "<Type>" creates it
//   with a new server id; PUT "<Type>/<id>" (the resource's own id must be
//   that id) writes a new version of it, or creates it with that id;
// - fullUrls "urn:uuid:..." name the ids assigned, and every reference to
//   them is rewritten ("Type/<uuid>" too, for an entry of that type whose
//   fullUrl is "urn:uuid:<uuid>"); an unresolved "urn:uuid:" or a "Type/id"
//   nobody holds refuses the transaction;
// - the MessageHeader's event ("create" or "update") rules the CarePlan:
//   "create" for a patient (same fiscal code, or same Patient) and period
//   (same start and end) that already has a CarePlan not "cancelled" nor
//   "entered-in-error" is refused with ERR_00999; "update" writes the new
//   CarePlan as the next version of that one (same id), so a receipt taken
//   at the first send keeps naming the flow, and a cancellation shows on it.
// Answers 200 with a transaction-response Bundle (one entry per request
// entry, in order: "201 Created" or "200 OK", location
// "Type/id/_history/N", lastModified; CarePlan and Observation entries also
// carry the resource as stored), or an OperationOutcome: 400 for a
// malformed transaction or unresolved reference, 422 for ERR_00999.
Risposta EseguiTransazione(xmlDoc* bundle, Archivio& archivio, const std::string& adesso,
                           const std::string& id_risposta);

}  // namespace qzkiro::sandbox::fhir
