#include "sandbox/DocumentiRegione.h"

#include <openssl/evp.h>

#include <cstdio>
#include <initializer_list>
#include <utility>

#include "sandbox/Scambio.h"

namespace qzkiro::sandbox::documenti {

namespace {

using Valori = std::initializer_list<std::pair<std::string_view, std::string_view>>;

// `modello` with every "@NOME@" replaced by its value, escaped for XML.
std::string Compila(std::string_view modello, Valori valori) {
  std::string testo(modello);
  for (const auto& [segnaposto, valore] : valori) {
    const std::string escape = EscapeXml(valore);
    for (auto dove = testo.find(segnaposto); dove != std::string::npos;
         dove = testo.find(segnaposto, dove + escape.size())) {
      testo.replace(dove, segnaposto.size(), escape);
    }
  }
  return testo;
}

std::string Compila(std::string_view modello, const PazienteCda& p, Valori altri) {
  std::string testo = Compila(modello, {{"@CF@", p.codice_fiscale},
                                        {"@COGNOME@", p.cognome},
                                        {"@NOME@", p.nome},
                                        {"@SESSO@", p.sesso},
                                        {"@NASCITA@", p.nascita}});
  return Compila(testo, altri);
}

constexpr std::string_view kIntestazione = R"(<?xml version="1.0" encoding="UTF-8"?>
<ClinicalDocument xmlns="urn:hl7-org:v3" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
  <realmCode code="IT"/>
  <typeId root="2.16.840.1.113883.1.3" extension="POCD_HD000040"/>
  <id root="2.16.840.1.113883.2.9.2.50.4.4" extension="@ID@"/>
)";

constexpr std::string_view kPaziente = R"(  <recordTarget>
    <patientRole>
      <id root="2.16.840.1.113883.2.9.4.3.2" extension="@CF@"/>
      <patient>
        <name><family>@COGNOME@</family><given>@NOME@</given></name>
        <administrativeGenderCode code="@SESSO@" codeSystem="2.16.840.1.113883.5.1"/>
        <birthTime value="@NASCITA@"/>
      </patient>
    </patientRole>
  </recordTarget>
  <author>
    <time value="@DATA@"/>
    <assignedAuthor>
      <id root="2.16.840.1.113883.2.9.4.3.2" extension="BNCNNA70C41L736W"/>
      <assignedPerson><name><family>Bianco</family><given>Anna</given></name></assignedPerson>
    </assignedAuthor>
  </author>
  <custodian>
    <assignedCustodian>
      <representedCustodianOrganization>
        <id root="2.16.840.1.113883.2.9.4.1.2" extension="050901" assigningAuthorityName="Ospedale dell'Angelo - Mestre"/>
      </representedCustodianOrganization>
    </assignedCustodian>
  </custodian>
  <legalAuthenticator>
    <time value="@DATA@"/>
    <signatureCode code="S"/>
    <assignedEntity>
      <id root="2.16.840.1.113883.2.9.4.3.2" extension="BNCNNA70C41L736W"/>
      <assignedPerson><name><family>Bianco</family><given>Anna</given></name></assignedPerson>
    </assignedEntity>
  </legalAuthenticator>
)";

constexpr std::string_view kLaboratorio =
    R"(  <code code="11502-2" codeSystem="2.16.840.1.113883.6.1" codeSystemName="LOINC" displayName="Referto di laboratorio"/>
  <title>Referto di laboratorio analisi</title>
  <effectiveTime value="@DATA@"/>
  <confidentialityCode code="N" codeSystem="2.16.840.1.113883.5.25"/>
)";

// One result of the chemistry battery.
constexpr std::string_view kEsame = R"(                      <component>
                        <observation classCode="OBS" moodCode="EVN">
                          <code code="@LOINC@" codeSystem="2.16.840.1.113883.6.1" codeSystemName="LOINC" displayName="@NOME@">
                            <translation code="@LOCALE@" codeSystem="2.16.840.1.113883.2.9.2.50.6.1" codeSystemName="DNLAB" displayName="@NOME@"/>
                          </code>
                          <statusCode code="completed"/>
                          <value xsi:type="PQ" value="@VALORE@" unit="@UM@"/>
                          <interpretationCode code="@ESITO@"/>
                          <referenceRange><observationRange><value xsi:type="IVL_PQ"><low value="@DA@" unit="@UM@"/><high value="@A@" unit="@UM@"/></value></observationRange></referenceRange>
                        </observation>
                      </component>
)";

constexpr std::string_view kCorpoLaboratorio = R"(  <component>
    <structuredBody>
      <component>
        <section>
          <code code="18719-5" codeSystem="2.16.840.1.113883.6.1" displayName="Chimica clinica"/>
          <title>Chimica clinica</title>
          <text>
            <table>
              <thead><tr><th>Esame</th><th>Esito</th><th>Unità</th><th>Intervallo</th></tr></thead>
              <tbody>
                <tr><td>Glucosio</td><td>95</td><td>mg/dL</td><td>70 - 100</td></tr>
                <tr><td>Colesterolo totale</td><td>232</td><td>mg/dL</td><td>0 - 200</td></tr>
                <tr><td>Emoglobina</td><td>13.4</td><td>g/dL</td><td>12 - 16</td></tr>
              </tbody>
            </table>
          </text>
          <entry>
            <act classCode="ACT" moodCode="EVN">
              <code code="26436-6" codeSystem="2.16.840.1.113883.6.1" displayName="Esami di laboratorio"/>
              <statusCode code="completed"/>
              <entryRelationship typeCode="COMP">
                <organizer classCode="BATTERY" moodCode="EVN">
                  <code code="CHIM" codeSystemName="DNLAB" displayName="Chimica clinica"/>
                  <statusCode code="completed"/>
                  <component>
                    <organizer classCode="BATTERY" moodCode="EVN">
                      <code code="ROUTINE" codeSystemName="DNLAB" displayName="Esami di routine"/>
                      <statusCode code="completed"/>
@ESAMI@                    </organizer>
                  </component>
                </organizer>
              </entryRelationship>
            </act>
          </entry>
        </section>
      </component>
    </structuredBody>
  </component>
</ClinicalDocument>
)";

std::string Esami() {
  struct Esame {
    std::string_view loinc, locale, nome, valore, um, esito, da, a;
  };
  static constexpr Esame kEsami[] = {
      {"2345-7", "GLU", "Glucosio", "95", "mg/dL", "N", "70", "100"},
      {"2093-3", "COL", "Colesterolo totale", "232", "mg/dL", "H", "0", "200"},
      {"718-7", "HB", "Emoglobina", "13.4", "g/dL", "N", "12", "16"},
  };
  std::string esami;
  for (const Esame& e : kEsami) {
    esami += Compila(kEsame, {{"@LOINC@", e.loinc},
                              {"@LOCALE@", e.locale},
                              {"@NOME@", e.nome},
                              {"@VALORE@", e.valore},
                              {"@UM@", e.um},
                              {"@ESITO@", e.esito},
                              {"@DA@", e.da},
                              {"@A@", e.a}});
  }
  return esami;
}

constexpr std::string_view kProntoSoccorso =
    R"(  <code code="59258-4" codeSystem="2.16.840.1.113883.6.1" codeSystemName="LOINC" displayName="Verbale di Pronto Soccorso"/>
  <title>Verbale di Pronto Soccorso</title>
  <effectiveTime value="@DATA@"/>
  <confidentialityCode code="N" codeSystem="2.16.840.1.113883.5.25"/>
)";

constexpr std::string_view kCorpoProntoSoccorso = R"(  <component>
    <structuredBody>
      <component>
        <section>
          <code code="46239-0" codeSystem="2.16.840.1.113883.6.1" displayName="Motivo dell'accesso"/>
          <title>Motivo dell'accesso</title>
          <text><paragraph>Caduta accidentale in casa, dolore al polso destro.</paragraph></text>
        </section>
      </component>
      <component>
        <section>
          <code code="29548-5" codeSystem="2.16.840.1.113883.6.1" displayName="Diagnosi"/>
          <title>Diagnosi</title>
          <text><paragraph>Distorsione del polso destro. Esito: dimesso a domicilio, codice bianco.</paragraph></text>
        </section>
      </component>
    </structuredBody>
  </component>
</ClinicalDocument>
)";

constexpr std::string_view kLettera =
    R"(  <code code="34105-7" codeSystem="2.16.840.1.113883.6.1" codeSystemName="LOINC" displayName="Lettera di dimissione ospedaliera"/>
  <title>Lettera di dimissione</title>
  <effectiveTime value="@DIMISSIONE@"/>
  <confidentialityCode code="N" codeSystem="2.16.840.1.113883.5.25"/>
)";

constexpr std::string_view kCorpoLettera = R"(  <componentOf>
    <encompassingEncounter>
      <id root="2.16.840.1.113883.2.9.2.50.4.6" extension="@ID@"/>
      <code code="@REGIME@" codeSystem="2.16.840.1.113883.5.4"/>
      <effectiveTime><low value="@RICOVERO@"/><high value="@DIMISSIONE@"/></effectiveTime>
      <location>
        <healthCareFacility>
          <location><name>@REPARTO@</name></location>
          <serviceProviderOrganization><name>@STRUTTURA@</name></serviceProviderOrganization>
        </healthCareFacility>
      </location>
    </encompassingEncounter>
  </componentOf>
  <component>
    <structuredBody>
      <component>
        <section>
          <code code="46241-6" codeSystem="2.16.840.1.113883.6.1" displayName="Diagnosi di ammissione"/>
          <title>Motivo del ricovero</title>
          <text><paragraph>@DIAGNOSI_RICOVERO@</paragraph></text>
        </section>
      </component>
      <component>
        <section>
          <code code="8648-8" codeSystem="2.16.840.1.113883.6.1" displayName="Decorso ospedaliero"/>
          <title>Decorso ospedaliero</title>
          <text><paragraph>Decorso regolare, paziente stabile alla dimissione.</paragraph></text>
        </section>
      </component>
      <component>
        <section>
          <code code="11535-2" codeSystem="2.16.840.1.113883.6.1" displayName="Diagnosi di dimissione"/>
          <title>Diagnosi di dimissione</title>
          <text><paragraph>@DIAGNOSI_DIMISSIONE@</paragraph></text>
        </section>
      </component>
    </structuredBody>
  </component>
</ClinicalDocument>
)";

// The older layout: the id as text, the sections nested one level.
constexpr std::string_view kLegacy = R"(<?xml version="1.0" encoding="UTF-8"?>
<ClinicalDocument xmlns="urn:hl7-org:v3" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
  <id>@ID@</id>
  <code code="@TIPO@"/>
  <title>@TITOLO@</title>
  <effectiveTime value="@DATA@"/>
  <custodian><assignedCustodian><representedOrganization><name>Ospedale di Belluno</name></representedOrganization></assignedCustodian></custodian>
  <legalAuthenticator><assignedEntity><assignedPerson><name><family>Neri</family><given>Paolo</given></name></assignedPerson></assignedEntity></legalAuthenticator>
  <component>
    <bodyChoice>
      <StructuredBody>
        <component>
          <section>
            <title>@TITOLO@</title>
@CORPO@          </section>
        </component>
      </StructuredBody>
    </bodyChoice>
  </component>
</ClinicalDocument>
)";

constexpr std::string_view kCorpoLaboratorioLegacy = R"(            <component>
              <section>
                <code code="EMA" displayName="Ematologia"><translation code="G.EMA" displayName="Gruppo ematologia"/></code>
                <title>Ematologia</title>
                <text><table><tr><th>Emoglobina</th><td>13.2 g/dL</td></tr><tr><th>Piastrine</th><td>aggregate</td></tr></table></text>
                <entry>
                  <entryChoice>
                    <observation>
                      <code code="EMO" codeSystemName="LOCALE" displayName="Emocromo"/>
                      <entryRelationship><entryChoice><observation>
                        <code code="HGB" codeSystemName="LOCALE" displayName="Emoglobina"><translation code="0090.62.1" codeSystemName="CATALOGO" displayName="Hb"/></code>
                        <value xsi:type="PQ" value="13.2" unit="g/dL"/>
                        <interpretationCode code="N"/>
                      </observation></entryChoice></entryRelationship>
                      <entryRelationship><entryChoice><SubstanceAdministration><precondition><pRNCriterion>
                        <code code="HGB"/><value xsi:type="IVL_PQ"><low value="12"/><high value="16.5"/></value>
                      </pRNCriterion></precondition></SubstanceAdministration></entryChoice></entryRelationship>
                      <entryRelationship><entryChoice><observation>
                        <code code="PLT" displayName="Piastrine"/>
                        <value xsi:type="ST">aggregate</value>
                        <interpretationCode code="H"/>
                      </observation></entryChoice></entryRelationship>
                    </observation>
                  </entryChoice>
                </entry>
              </section>
            </component>
)";

// The legacy reader's text is that of the sections nested in the body's
// section; the letter's PDF hangs from the body's section itself.
constexpr std::string_view kCorpoProntoSoccorsoLegacy = R"(            <component>
              <section>
                <title>Decorso</title>
                <text>Trauma cranico minore senza perdita di coscienza. Dimesso con consigli.</text>
              </section>
            </component>
)";

constexpr std::string_view kCorpoLetteraLegacy = R"(            <component>
              <section>
                <title>Sintesi</title>
                <text>Lettera di dimissione in allegato (PDF).</text>
              </section>
            </component>
            <entry>
              <entryChoice>
                <Observation>
                  <reference>
                    <referredToExternalActChoice>
                      <ExternalDocument><text>@PDF@</text></ExternalDocument>
                    </referredToExternalActChoice>
                  </reference>
                </Observation>
              </entryChoice>
            </entry>
)";

std::string Legacy(std::string_view id, std::string_view tipo, std::string_view titolo,
                   std::string_view data, std::string_view corpo) {
  const auto dove = kLegacy.find("@CORPO@");
  std::string testo =
      Compila(kLegacy.substr(0, dove),
              {{"@ID@", id}, {"@TIPO@", tipo}, {"@TITOLO@", titolo}, {"@DATA@", data}});
  testo += corpo;
  return testo += Compila(kLegacy.substr(dove + 7), {{"@TITOLO@", titolo}});
}

}  // namespace

std::string Base64Mime(std::string_view dati) {
  std::string testo;
  for (std::size_t inizio = 0; inizio < dati.size(); inizio += 57) {
    const auto pezzo = dati.substr(inizio, 57);  // 57 bytes make 76 characters
    unsigned char riga[80];
    const int n = EVP_EncodeBlock(riga, reinterpret_cast<const unsigned char*>(pezzo.data()),
                                  static_cast<int>(pezzo.size()));
    testo.append(reinterpret_cast<const char*>(riga), static_cast<std::size_t>(n));
    testo += '\n';
  }
  return testo;
}

std::string MimeSemplice(std::string_view tipo, std::string_view nome, std::string_view dati) {
  std::string mime = "MIME-Version: 1.0\nContent-Type: ";
  mime.append(tipo).append("; name=\"").append(nome).append("\"\n");
  mime.append("Content-Disposition: attachment; filename=\"").append(nome).append("\"\n");
  mime += "Content-Transfer-Encoding: base64\n\n";
  return mime += Base64Mime(dati);
}

std::string MimeMultiparte(std::string_view confine, const std::vector<ParteMime>& parti) {
  std::string mime = "MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=\"";
  mime.append(confine).append("\"\n\nMessaggio MIME in piu' parti.\n");
  for (const ParteMime& parte : parti) {
    mime.append("\n--").append(confine).append("\nContent-Type: ").append(parte.tipo);
    mime.append("; name=\"").append(parte.nome).append("\"\n");
    mime.append("Content-Disposition: attachment; filename=\"").append(parte.nome).append("\"\n");
    mime += "Content-Transfer-Encoding: base64\n\n";
    mime += Base64Mime(parte.dati);
  }
  return mime.append("\n--").append(confine).append("--\n");
}

std::string PdfMinimo(std::string_view riga) {
  const std::string flusso = "BT /F1 12 Tf 72 770 Td (" + std::string(riga) + ") Tj ET\n";
  const std::string oggetti[] = {
      "<< /Type /Catalog /Pages 2 0 R >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
      "/Resources << /Font << /F1 5 0 R >> >> >>",
      "<< /Length " + std::to_string(flusso.size()) + " >>\nstream\n" + flusso + "endstream",
      "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
  };
  std::string pdf = "%PDF-1.4\n";
  std::string xref = "xref\n0 6\n0000000000 65535 f \n";
  int numero = 0;
  for (const std::string& oggetto : oggetti) {
    char voce[24];
    std::snprintf(voce, sizeof voce, "%010zu 00000 n \n", pdf.size());
    xref += voce;
    pdf += std::to_string(++numero) + " 0 obj\n" + oggetto + "\nendobj\n";
  }
  const std::size_t inizio_xref = pdf.size();
  pdf += xref + "trailer\n<< /Size 6 /Root 1 0 R >>\nstartxref\n";
  return pdf += std::to_string(inizio_xref) + "\n%%EOF\n";
}

std::string RefertoLaboratorio(const PazienteCda& paziente, std::string_view id,
                               std::string_view data) {
  const Valori valori = {{"@ID@", id}, {"@DATA@", data}};
  std::string cda = Compila(kIntestazione, valori) + Compila(kLaboratorio, valori) +
                    Compila(kPaziente, paziente, valori);
  const auto dove = kCorpoLaboratorio.find("@ESAMI@");
  cda.append(kCorpoLaboratorio.substr(0, dove)).append(Esami());
  return cda.append(kCorpoLaboratorio.substr(dove + 7));
}

std::string VerbaleProntoSoccorso(const PazienteCda& paziente, std::string_view id,
                                  std::string_view data) {
  const Valori valori = {{"@ID@", id}, {"@DATA@", data}};
  return Compila(kIntestazione, valori) + Compila(kProntoSoccorso, valori) +
         Compila(kPaziente, paziente, valori) + std::string(kCorpoProntoSoccorso);
}

std::string LetteraDimissione(const PazienteCda& paziente, const DatiLettera& l) {
  const Valori valori = {{"@ID@", l.id},
                         {"@DATA@", l.dimissione},
                         {"@RICOVERO@", l.ricovero},
                         {"@DIMISSIONE@", l.dimissione},
                         {"@REGIME@", l.day_hospital ? "DH" : "IMP"},
                         {"@STRUTTURA@", l.struttura},
                         {"@REPARTO@", l.reparto},
                         {"@DIAGNOSI_RICOVERO@", l.diagnosi_ricovero},
                         {"@DIAGNOSI_DIMISSIONE@", l.diagnosi_dimissione}};
  return Compila(kIntestazione, valori) + Compila(kLettera, valori) +
         Compila(kPaziente, paziente, valori) + Compila(kCorpoLettera, valori);
}

std::string RefertoLaboratorioLegacy(std::string_view id, std::string_view data) {
  return Legacy(id, "LAB", "Referto di laboratorio", data, kCorpoLaboratorioLegacy);
}

std::string VerbaleProntoSoccorsoLegacy(std::string_view id, std::string_view data) {
  return Legacy(id, "RPS", "Verbale di Pronto Soccorso", data, kCorpoProntoSoccorsoLegacy);
}

std::string LetteraDimissioneLegacy(std::string_view id, std::string_view data,
                                    std::string_view pdf) {
  const std::string mime = MimeSemplice("application/pdf", "lettera.pdf", pdf);
  return Legacy(id, "DIM", "Lettera di dimissione", data,
                Compila(kCorpoLetteraLegacy, {{"@PDF@", mime}}));
}

}  // namespace qzkiro::sandbox::documenti
