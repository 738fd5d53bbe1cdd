#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fhir/EsitoFhir.h"
#include "fhir/VoceLocale.h"
#include "qzkiro/host/Collection.h"
#include "qzkiro/host/Workspace.h"

namespace qzkiro::flows {

// The host's flow items of one care-plan send, read into the flow: each
// item with the GUID of the entry it became, so the server's ids can be
// written back into it.
struct VociFlusso {
  std::vector<std::shared_ptr<host::IItemFlusso>> items;
  std::vector<std::string> guid;
  std::vector<std::string> errori;  // one line per item that cannot be carried
};

// The local record an item stands for: its own properties, and for an
// observation the type and value "i1" of its workspace record.
fhir::VoceLocale VoceDaItem(host::IItemFlusso& item);

// Adds every item of `lista` to `flusso`. Observations dated outside the
// care programme's period (`dalla_pc`..`alla_pc`, "yyyymmdd", when given)
// are left out. An item that is not a flow item, or cannot be carried, gives
// a line in `errori`.
VociFlusso AggiungiVoci(host::Collection& lista, const std::string& dalla_pc,
                        const std::string& alla_pc, long scarto_utc, fhir::FlussoCarePlan& flusso);

// Writes into each item the id the server gave its Immunization or
// Observation (the answer's entries of each type, in the order they were
// sent); a cancellation clears them.
void RegistraIdVoci(const VociFlusso& voci, const fhir::FlussoCarePlan& flusso,
                    const fhir::EsitoFlusso& esito, bool annullamento);

}  // namespace qzkiro::flows
