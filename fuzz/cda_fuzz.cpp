// Loads any bytes as a CDA document into both readers, with no host, and
// reads everything they offer: header, lists, every value of every listed
// observation, media, the HTML renderings and the import. Reads must never
// fail; the import without a host ends with its message.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cda/NarrativaCDA.h"
#include "cda/clsCDA.h"
#include "cda/clsCDA2.h"
#include "qzkiro/host/Input.h"
#include "util/clsXML.h"

namespace {

using qzkiro::cda::Nodo;

// A result container that takes every entry and keeps nothing.
class ContenitoreVuoto : public qzkiro::host::IInput {
 public:
  qzkiro::host::Variant Add(const std::string&,
                            const std::vector<qzkiro::host::Variant>&) override {
    return {};
  }
};

void LeggiCDA2(const std::shared_ptr<qzkiro::util::clsXML>& xml, const std::string& codifica) {
  qzkiro::cda::clsCDA2 cda;
  cda.SetCodificaCatalogo(codifica);
  if (!cda.InitXML(xml)) return;
  std::string s = cda.ID() + cda.Titolo() + cda.Tipo() + cda.DescrizioneTipo() + cda.Data() +
                  cda.MedicoRefertante() + cda.MedicoResponsabile() + cda.PazienteCodiceFiscale() +
                  cda.PazienteCognome() + cda.PazienteNome() + cda.PazienteSesso() +
                  cda.PazienteDataNascita() + cda.PazienteLuogoNascita() + cda.PazienteTelefono() +
                  cda.PazienteCAPResidenza() + cda.PazienteIndirizzoResidenza() +
                  cda.PazienteCittaResidenza() + cda.Istituto() + cda.IDPrescrizione() +
                  cda.IDDocumentoSostituito();
  std::vector<Nodo> nodi = cda.ListaObservationsLAB();
  for (const auto& altra :
       {cda.ListaObservationsRAD(), cda.ListaObservationsSPS(), cda.ListaObservationsMedia()}) {
    nodi.insert(nodi.end(), altra.begin(), altra.end());
  }
  double somma = 0;
  for (Nodo n : nodi) {
    cda.InitParentNode(n);
    s += cda.Codice() + cda.CodeSystem() + cda.Catalogo() + cda.Descrizione() + cda.CodicePadre() +
         cda.Gruppo() + cda.UM() + cda.Esito() + cda.DataOraPrelievo() + cda.Commento() +
         cda.ObservationText();
    somma += cda.EsitoNumerico() + cda.RangeDa() + cda.RangeA() + cda.RangeDaPerSesso("F") +
             cda.RangeAPerSesso("F") + static_cast<int>(cda.TipoEsito()) + cda.Alterato();
    std::string codice, sistema, descrizione;
    cda.DaiCodice(n, "V", codice, sistema, descrizione);
    cda.DaiCodice(n, "E", codice, sistema, descrizione);
  }
  s += cda.ObservationsMediaPDF() + cda.ObservationsMediaXSL() + cda.ObservationsMediaJPG() +
       cda.Text("Intestazione", "Piede") + cda.NoteGenerali();
  static_cast<void>(somma);
  // Without a host the import stops with its message, never with a crash.
  ContenitoreVuoto contenitore;
  cda.AddToInput(contenitore);
}

void LeggiCDA(const std::shared_ptr<qzkiro::util::clsXML>& xml) {
  qzkiro::cda::clsCDA cda;
  if (!cda.InitXML(xml)) return;
  std::string s = cda.ID() + cda.Titolo() + cda.Tipo() + cda.DescrizioneTipo() + cda.Data() +
                  cda.MedicoRefertante() + cda.Istituto() + cda.Text();
  std::vector<Nodo> nodi = cda.ListaObservationsLAB();
  const auto spc = cda.ListaObservationsSPC();
  nodi.insert(nodi.end(), spc.begin(), spc.end());
  for (Nodo n : nodi) {
    cda.InitParentNode(n);
    s += cda.Codice() + cda.CodiceTranslation() + cda.CatalogoTranslation() +
         cda.DescrizioneTranslation() + cda.CodicePadre() + cda.CodicePadreTranslation() +
         cda.Gruppo() + cda.UM() + cda.Esito() + cda.ObservationText();
    static_cast<void>(cda.EsitoNumerico() + cda.RangeDa() + cda.RangeA() + cda.Alterato());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  auto xml = std::make_shared<qzkiro::util::clsXML>();
  if (xml->LoadXML(bytes)) {
    LeggiCDA2(xml, "");
    LeggiCDA2(xml, "DNLAB,LOINC");
    LeggiCDA(xml);
  }
  qzkiro::cda::NarrativeBlockToHtml(bytes);
  return 0;
}
