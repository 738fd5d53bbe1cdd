#include "flows/pdta/SelezioniPDTA.h"

#include "util/Testo.h"

namespace qzkiro::pdta {

namespace {

std::string Testa(const std::string& schema) {
  return "SELECT DISTINCT idpaziente FROM " + schema + ".tblworkspace WHERE (IDPartizione<=30)";
}

std::string Tra(const std::string& dal, const std::string& al) {
  return " AND (data BETWEEN '" + dal + "' AND '" + al + "')";
}

std::string Arruolati(const std::string& schema, const std::string& descrizione, const Periodo& p) {
  return Testa(schema) + " AND (tiporecord = 614) AND " + descrizione +
         " AND ((data IS NULL) OR (data <= '" + p.Fine() + "'))" +
         " AND ((d1 IS NULL) OR (d1 >= '" + p.Inizio() + "'))";
}

}  // namespace

std::string Periodo::Inizio() const {
  return std::to_string(anno) + "-01-01 00:00:00";
}

std::string Periodo::Fine() const {
  return std::to_string(anno) + "-12-31 23:59:59";
}

std::string Periodo::InizioAnniPrima(int anni) const {
  return std::to_string(anno - anni) + "-01-01 00:00:00";
}

std::string SqlSelezione(const std::string& schema, Selezione selezione, const Periodo& p) {
  const std::string testa = Testa(schema);
  const std::string periodo = Tra(p.Inizio(), p.Fine());
  switch (selezione) {
    case Selezione::VaccinoInfluenza:
      return testa + " AND (tiporecord = 205) AND (descrizione LIKE '%INFLUENZ%')" + periodo;
    case Selezione::Mammografia:
      return testa +
             " AND ((t5 = '87.37.1') or (t5 = '87.37.2') or (descrizione like 'MAMMOG%') or"
             " (t5 like '%87.36%') or (t5 like '%88.92%'))" +
             Tra(p.InizioAnniPrima(1), p.Fine());
    case Selezione::SangueOccultoFeci:
      return testa +
             " AND (upper(descrizione) like '%FECI SANGUE%' or t5 = '90.21.4' or"
             " t5 = '90.21.6')" +
             Tra(p.InizioAnniPrima(1), p.Fine());
    case Selezione::PapTest:
      return testa + " AND (upper(descrizione) ilike '%PAP TEST%' or t5 = '91.38.5')" +
             Tra(p.InizioAnniPrima(3), p.Fine());
    case Selezione::HpvPapTest:
      return testa +
             " AND (upper(descrizione) ilike '%HPV%' or upper(descrizione) ilike '%PAP TEST%' or"
             " t5 = '91.38.5')" +
             Tra(p.InizioAnniPrima(5), p.Fine());
    case Selezione::ArruolatiTAO:
      return Arruolati(schema, "(descrizione ilike '%TAO%')", p);
    case Selezione::ArruolatiDiabete:
      return Arruolati(schema, "(descrizione ilike '%Diabete%')", p);
    case Selezione::TerapiaAnticoagulante:
      return testa + " AND (tiporecord = 105) AND (t5 like 'B01AA%')" + periodo;
    case Selezione::VisitaINR:
      return testa +
             " AND (tiporecord = 103) AND (idrif1 = '{E713F7FE-35EA-4DED-8AF8-D90DA9BF26FC}')" +
             periodo;
    case Selezione::EmoglobinaGlicata:
      return testa +
             " AND ((tiporecord = 103) or (tiporecord = 401)) AND (idrif1 IN "
             "('{772C66C4-3B34-4B2A-B3EE-05F16ECAA042}','{5C515D0E-E9A1-4CD3-8219-5EB02AE986BB}',"
             "'{8E8DC889-F47A-407B-A2D6-35DF15C74A4E}'))" +
             periodo;
  }
  return {};
}

std::string SqlArruolati(const std::string& schema, const std::string& percorso,
                         const Periodo& periodo) {
  return Arruolati(schema, "(descrizione ilike '%" + util::Replace(percorso, "'", "''") + "%')",
                   periodo);
}

}  // namespace qzkiro::pdta
