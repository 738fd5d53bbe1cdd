#include "util/PercorsoXPath.h"

#include "util/clsXML.h"

#include <gtest/gtest.h>

namespace qzkiro::util {
namespace {

TEST(PercorsoXPathTest, NameTestsMatchByLocalNameAndTheRestIsKept) {
  // clang-format off
  struct Caso { const char* query; const char* atteso; } casi[] = {
      {"a/b", "*[local-name()='a']/*[local-name()='b']"},
      {"ns2:a/@ns2:id", "*[local-name()='a']/@ns2:id"},
      {"//x[@code='a/b and c']", "//*[local-name()='x'][@code='a/b and c']"},
      {"a[b='1' and c]/text()",
       "*[local-name()='a'][*[local-name()='b']='1' and *[local-name()='c']]/text()"},
      {"*", "*"}, {"a/*[2]", "*[local-name()='a']/*[2]"},
      {"count(a) div 2", "count(*[local-name()='a']) div 2"},
      {"and/or", "*[local-name()='and']/*[local-name()='or']"},
      {"child::a/attribute::b", "child::*[local-name()='a']/attribute::b"},
      {".//PID.5/XPN.1", ".//*[local-name()='PID.5']/*[local-name()='XPN.1']"},
      {"../a-b", "../*[local-name()='a-b']"}, {"", ""},
  };
  // clang-format on
  for (const auto& caso : casi) EXPECT_EQ(PerNomeLocale(caso.query), caso.atteso) << caso.query;
  EXPECT_EQ(PerNomeLocale("soap:Body/@a", true),
            "*[local-name()='Body' or substring-after(local-name(),':')='Body']/@a");
}

TEST(PassiSempliciTest, OnlyNamesSeparatedBySlashesAreWalkedAndTheySelectWhatXPathSelects) {
  EXPECT_EQ(PassiSemplici("PID/ns2:PID.5/XPN.1"),
            (std::vector<std::string_view>{"PID", "PID.5", "XPN.1"}));
  for (const char* altro : {"", "/a", "a/", "a//b", ".", "a/..", "a[1]", "@id", "a/text()", "a::b",
                            "a:", "*", "a | b"}) {
    EXPECT_FALSE(PassiSemplici(altro)) << altro;
  }
  clsXML xml;
  ASSERT_TRUE(xml.LoadXML(
      "<r xmlns=\"urn:x\" xmlns:p=\"urn:p\"><a><b>1</b><c/><b>2</b></a><p:a><b>3</b></p:a>"
      "<a><b><b>4</b></b></a></r>"));
  for (const char* percorso : {"r/a/b", "r/a", "a/b", "r/b", "r/a/b/b"}) {
    const std::string via_xpath = std::string(percorso) + "[true()]";  // not a plain path
    EXPECT_EQ(xml.SelectNodeList(nullptr, percorso), xml.SelectNodeList(nullptr, via_xpath))
        << percorso;
    EXPECT_EQ(xml.SelectNode(nullptr, percorso), xml.SelectNode(nullptr, via_xpath)) << percorso;
  }
  EXPECT_EQ(xml.SelectNodeList(nullptr, "r/a/b").size(), 4u) << "p:a is an 'a' too";
  EXPECT_EQ(xml.GetTextNode(xml.rootNode(), "a/b"), "1");

  clsXML costruito;
  auto busta = costruito.CreateRootNode("soap:Envelope");
  costruito.CreateNode(costruito.CreateNode(busta, "soap:Body"), "Risposta", "ok");
  EXPECT_EQ(costruito.GetTextNode(nullptr, "Envelope/Body/Risposta"), "ok")
      << "names built with their prefix";
}

}  // namespace
}  // namespace qzkiro::util
