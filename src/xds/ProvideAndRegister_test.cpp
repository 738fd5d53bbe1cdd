#include "xds/ProvideAndRegister.h"

#include <gtest/gtest.h>

#include "sandbox/FseSchemi.h"
#include "support/Atteso.h"
#include "support/DatiPubblici.h"

namespace qzkiro::xds {
namespace {

using util::clsXML;

DocumentoInvio Documento(const std::string& n) {
  DocumentoInvio d;
  d.id = "Document0" + n;
  d.id_unico = "2026030509070" + n;
  d.guid = "ABCDEF00-0000-4000-8000-00000000000" + n;
  d.evento = {
      "urn:oid:2.16.840.1.113883.2.9.2.50.4.13.1", "Consenso alla alimentazione del FSEr", {}};
  d.tipo = {"Consenso FSEr", "Consenso all'alimentazione del FSEr", {}};
  d.parte_mime = "doc" + n + ".xml";
  d.id_associazione = "as0" + n;
  d.id_sostituzione = "Assoc" + n;
  return d;
}

InvioDocumenti Invio() {
  InvioDocumenti i;
  i.to = "https://fse.example.it/repository";
  i.message_id = "0A1B2C3D-4E5F-4A6B-8C7D-8E9FA0B1C2D3";
  i.marca_temporale = "20260305090703+0100";
  i.id_unico = "20260305090703";
  i.autore = {"MDCGPP60A01L736X", "MEDICI", "GIUSEPPE", "123456",   "501",
              "Serenissima",      "050",    "",         "041123456"};
  i.paziente = {"RSSMRA10C45L736K", "ROSSI", "MARIA",     "F",       "20100305", "Calle Larga 1",
                "VENEZIA",          "VE",    "30100",     "VENEZIA", "VE",       "ITA",
                "maria@example.it", "333",   "MPI0000001"};
  i.documenti = {Documento("0"), Documento("2")};
  i.documenti[0].sostituito = "urn:uuid:vecchio";
  i.documenti[0].evento_tutore = {
      "urn:oid:2.16.840.1.113883.2.9.2.50.4.13.20", "Consenso di tipo advanced: care giver", {}};
  return i;
}

clsXML Letto(const InvioDocumenti& invio) {
  clsXML x;
  EXPECT_TRUE(x.LoadXML(BustaProvideAndRegister(invio).XMLNoProcessing()));
  return x;
}

TEST(ProvideAndRegisterTest, HeaderCarriesAddressingAndTheAssertionPlaceholder) {
  const std::string busta = BustaProvideAndRegister(Invio()).XMLNoProcessing();
  EXPECT_EQ(
      busta.substr(0, busta.find("<S:Body>")),
      "<S:Envelope xmlns:S=\"http://www.w3.org/2003/05/soap-envelope\"><S:Header>"
      "<To xmlns=\"http://www.w3.org/2005/08/addressing\">https://fse.example.it/repository</To>"
      "<Action xmlns=\"http://www.w3.org/2005/08/addressing\">"
      "urn:ihe:iti:2007:ProvideAndRegisterDocumentSet-b</Action>"
      "<ReplyTo xmlns=\"http://www.w3.org/2005/08/addressing\"><Address>"
      "http://www.w3.org/2005/08/addressing/anonymous</Address></ReplyTo>"
      "<MessageID xmlns=\"http://www.w3.org/2005/08/addressing\">"
      "urn:uuid:0a1b2c3d-4e5f-4a6b-8c7d-8e9fa0b1c2d3</MessageID>"
      "<wsse:Security xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/"
      "oasis-200401-wss-wssecurity-secext-1.0.xsd\">[Asserzione]</wsse:Security></S:Header>");
}

TEST(ProvideAndRegisterTest, EntriesPackageAssociationsAndAttachmentsComeInOrder) {
  clsXML x = Letto(Invio());
  const std::string richiesta = "Envelope/Body/ProvideAndRegisterDocumentSetRequest";
  std::vector<std::string> oggetti;
  for (auto* n :
       x.SelectNodeList(nullptr, richiesta + "/SubmitObjectsRequest/RegistryObjectList/*")) {
    oggetti.push_back(std::string(clsXML::Nome(n)) + " " + clsXML::Attributo(n, "id") + " " +
                      clsXML::Attributo(n, "sourceObject") + ">" +
                      clsXML::Attributo(n, "targetObject") +
                      clsXML::Attributo(n, "classifiedObject"));
  }
  EXPECT_EQ(oggetti,
            (std::vector<std::string>{
                "ExtrinsicObject Document00 >", "ExtrinsicObject Document02 >",
                "RegistryPackage SubmissionSet01 >", "Classification clSS >SubmissionSet01",
                "Association as00 SubmissionSet01>Document00",
                "Association Assoc0 Document00>urn:uuid:vecchio",
                "Association as02 SubmissionSet01>Document02"}));
  std::vector<std::string> allegati;
  for (auto* d : x.SelectNodeList(nullptr, richiesta + "/Document")) {
    allegati.push_back(clsXML::Attributo(d, "id") + " " + x.GetAttributeNode(d, "Include", "href"));
  }
  EXPECT_EQ(allegati,
            (std::vector<std::string>{"Document00 cid:doc0.xml", "Document02 cid:doc2.xml"}));
  // Only the entry with a guardian has the second event code.
  EXPECT_EQ(
      x.SelectNodeList(nullptr, "//ExtrinsicObject/Classification[@id='Document00_cl09']").size(),
      1u);
  EXPECT_EQ(
      x.SelectNodeList(nullptr, "//ExtrinsicObject/Classification[@id='Document02_cl09']").size(),
      0u);
}

TEST(ProvideAndRegisterTest, AnEntryIsWrittenAsTheRegistryExpects) {
  InvioDocumenti invio = Invio();
  invio.documenti.resize(1);
  clsXML x = Letto(invio);
  EXPECT_EQ(clsXML::SalvaNodo(x.SelectNode(nullptr, "//ExtrinsicObject")),
            testsupport::Atteso("voce_consenso.xml"));
}

TEST(ProvideAndRegisterTest, SubmissionSetAndAuthorInstitutionFollowTheGp) {
  InvioDocumenti invio = Invio();
  invio.autore.Email = "medico@example.it";
  invio.autore.CodiceASL.clear();
  clsXML x = Letto(invio);
  auto valori = [&](const std::string& percorso) {
    std::string out;
    for (auto* v : x.SelectNodeList(nullptr, percorso))
      out += clsXML::Testo(v) + clsXML::Attributo(v, "value") + "|";
    return out;
  };
  const std::string pacchetto = "//RegistryPackage";
  EXPECT_EQ(valori(pacchetto + "/Slot/ValueList/Value"), "20260305090703+0100|");
  EXPECT_EQ(valori(pacchetto + "/Classification[@id='SubmissionSetcl01']/Slot/ValueList/Value"),
            "MDCGPP60A01L736X^MEDICI^GIUSEPPE^^^^^^&2.16.840.1.113883.2.9.4.3.2&ISO|"
            "ASL Serenissima^^^^^&2.16.840.1.113883.2.9.4.1.1&ISO^^^^050|"
            "^NET^Internet^medico@example.it|Medicina Generale|");
  EXPECT_EQ(valori(pacchetto + "/ExternalIdentifier"),
            "2.16.840.1.113883.2.9.2.50.2.123456.4.20.20260305090703|"
            "2.16.840.1.113883.2.9.2.50.2.123456.4.5.1|"
            "MPI0000001^^^&2.16.840.1.113883.2.9.2.50.4.1.2&ISO|");
}

// The request as its receiver reads it, XOP resolved: each xop:Include
// stands for the Base64 text of the part it names ("<documento/>" here).
std::string ComeRicevuto(std::string busta) {
  for (std::size_t i; (i = busta.find("<xop:Include")) != std::string::npos;) {
    busta.replace(i, busta.find("/>", i) + 2 - i, "PGRvY3VtZW50by8+");
  }
  const auto inizio = busta.find("<ns5:ProvideAndRegisterDocumentSetRequest");
  const auto fine = busta.find("</S:Body>");
  return busta.substr(inizio, fine - inizio);
}

TEST(ProvideAndRegisterCampioni, TheRequestIsValidXdsbAndEbrs30) {
  QZKIRO_RICHIEDE_CAMPIONI();
  std::string errore;
  const auto schema = sandbox::FseSchemi::Carica(testsupport::CartellaDatiPubblici(), errore);
  ASSERT_TRUE(schema) << errore;
  const std::string ricevuto = ComeRicevuto(BustaProvideAndRegister(Invio()).XMLNoProcessing());
  EXPECT_EQ(sandbox::PrimoErrore(*schema, ricevuto), "");
  // The set does judge: an identifier before a classification is refused.
  std::string scambiato = ricevuto;
  const auto cl = scambiato.find("<ns2:Classification");
  scambiato.insert(cl,
                   "<ns2:ExternalIdentifier value=\"v\" identificationScheme=\"s\" "
                   "registryObject=\"Document00\" id=\"x\"/>");
  EXPECT_NE(sandbox::PrimoErrore(*schema, scambiato), "");
}

}  // namespace
}  // namespace qzkiro::xds
