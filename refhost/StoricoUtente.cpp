#include "refhost/StoricoUtente.h"

#include <cctype>
#include <cstdio>

#include "qzkiro/Failure.h"

namespace qzkiro::refhost {

namespace {

bool GiornoEsiste(int anno, int mese, int giorno) {
  static constexpr int kGiorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (anno < 1 || mese < 1 || mese > 12 || giorno < 1) return false;
  const bool bisestile = (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0;
  return giorno <= kGiorni[mese - 1] + (mese == 2 && bisestile ? 1 : 0);
}

std::string Iso(const std::string& data) {
  const std::string iso = DataIsoStorico(data);
  if (iso.empty()) throw Failure(13, "Data non valida: " + data);
  return iso;
}

}  // namespace

std::string DataIsoStorico(const std::string& data) {
  if (data.size() != 10 || data[2] != '/' || data[5] != '/') return {};
  for (std::size_t i : {0, 1, 3, 4, 6, 7, 8, 9}) {
    if (!std::isdigit(static_cast<unsigned char>(data[i]))) return {};
  }
  const int giorno = std::stoi(data.substr(0, 2));
  const int mese = std::stoi(data.substr(3, 2));
  const int anno = std::stoi(data.substr(6, 4));
  if (!GiornoEsiste(anno, mese, giorno)) return {};
  char iso[32];
  std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", anno, mese, giorno);
  return iso;
}

std::vector<std::shared_ptr<host::IItemStorico>> StoricoUtente::Lista(int tipo_record,
                                                                      const std::string& dal,
                                                                      const std::string& al) {
  const std::string da = Iso(dal), a = Iso(al);
  std::vector<std::shared_ptr<host::IItemStorico>> voci;
  if (!sorgente_.db) return voci;
  // Every moment of the last day belongs to it: the rows before the next day.
  auto righe = sorgente_.db().OpenRecordSet(
      "SELECT id, idpaziente, tiporecord, to_char(data, 'YYYYMMDD') AS data, descrizione,"
      " iddiagnosi, diagnosi, idpadre, idrifp, i1, t1, m1 FROM " +
      sorgente_.schema() + ".tblworkspace WHERE tiporecord = " + std::to_string(tipo_record) +
      " AND data >= DATE '" + da + "' AND data < DATE '" + a + "' + 1 ORDER BY data, id");
  for (; !righe->Eof(); righe->MoveNext()) {
    auto r = std::make_shared<RecordWorkspace>();
    r->Imposta("ID", righe->Field("id"));
    r->Imposta("IDPaziente", host::Variant(righe->Field("idpaziente").ToText()));
    r->Imposta("TipoRecord", righe->Field("tiporecord"));
    r->Imposta("Data", host::Variant(righe->Field("data").ToText()));
    r->Imposta("Descrizione", host::Variant(righe->Field("descrizione").ToText()));
    r->Imposta("IDDiagnosi", host::Variant(righe->Field("iddiagnosi").ToText()));
    r->Imposta("Diagnosi", host::Variant(righe->Field("diagnosi").ToText()));
    r->Imposta("IDPadre", righe->Field("idpadre"));
    r->Imposta("idrifp", host::Variant(righe->Field("idrifp").ToText()));
    r->Imposta("i1", righe->Field("i1"));
    r->Imposta("t1", host::Variant(righe->Field("t1").ToText()));
    r->Imposta("m1", host::Variant(righe->Field("m1").ToText()));
    r->Imposta("IDRif2", host::Variant(righe->Field("t1").ToText()));
    voci.push_back(std::move(r));
  }
  return voci;
}

}  // namespace qzkiro::refhost
