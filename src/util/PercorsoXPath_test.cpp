#include "util/PercorsoXPath.h"

#include <gtest/gtest.h>

namespace qzkiro::util {
namespace {

TEST(PercorsoXPathTest, NameTestsMatchByLocalNameAndTheRestIsKept) {
  struct Caso {
    const char* query;
    const char* atteso;
  } casi[] = {
      {"a/b", "*[local-name()='a']/*[local-name()='b']"},
      {"ns2:a/@ns2:id", "*[local-name()='a']/@ns2:id"},
      {"//x[@code='a/b and c']", "//*[local-name()='x'][@code='a/b and c']"},
      {"a[b='1' and c]/text()",
       "*[local-name()='a'][*[local-name()='b']='1' and *[local-name()='c']]/text()"},
      {"*", "*"},
      {"a/*[2]", "*[local-name()='a']/*[2]"},
      {"count(a) div 2", "count(*[local-name()='a']) div 2"},
      {"and/or", "*[local-name()='and']/*[local-name()='or']"},
      {"child::a/attribute::b", "child::*[local-name()='a']/attribute::b"},
      {".//PID.5/XPN.1", ".//*[local-name()='PID.5']/*[local-name()='XPN.1']"},
      {"../a-b", "../*[local-name()='a-b']"},
      {"", ""},
  };
  for (const auto& caso : casi) EXPECT_EQ(PerNomeLocale(caso.query), caso.atteso) << caso.query;
  EXPECT_EQ(PerNomeLocale("soap:Body/@a", true),
            "*[local-name()='Body' or substring-after(local-name(),':')='Body']/@a");
}

}  // namespace
}  // namespace qzkiro::util
