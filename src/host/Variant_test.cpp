#include "qzkiro/host/Variant.h"

#include <gtest/gtest.h>

#include "qzkiro/Failure.h"
#include "qzkiro/host/Collection.h"

namespace qzkiro::host {
namespace {

TEST(VariantTest, ConversionsFollowTheHostRules) {
  // clang-format off
  struct Caso { Variant v; std::string testo; bool vero; std::int64_t intero; } casi[] = {
      {Variant(), "", false, 0}, {Variant(true), "True", true, -1},
      {Variant(false), "False", false, 0}, {Variant(3), "3", true, 3}, {Variant("1"), "1", true, 1},
      {Variant("true"), "true", true, 0}, {Variant(" 12 "), " 12 ", true, 12},
      {Variant("abc"), "abc", false, 0}, {Variant(2.5), "2.5", true, 3},
      {Variant(std::int16_t{2}), "2", true, 2},
  };
  // clang-format on
  for (const auto& caso : casi) {
    EXPECT_EQ(caso.v.ToText(), caso.testo) << caso.testo;
    EXPECT_EQ(caso.v.ToBool(), caso.vero) << caso.testo;
    EXPECT_EQ(caso.v.ToInteger(), caso.intero) << caso.testo;
  }
  EXPECT_NE(Variant(1), Variant("1"));
  EXPECT_NE(Variant(true), Variant(1));
}

TEST(CollectionTest, OneBasedPositionsAndKeys) {
  auto lista = std::make_shared<Collection>();
  lista->Add("a", "chiave");
  lista->Add(2);
  Variant v(lista);
  EXPECT_EQ(v.As<Collection>()->Item(1).ToText(), "a");
  EXPECT_EQ(lista->Item("chiave").ToText(), "a");
  EXPECT_TRUE(lista->Exists("chiave"));
  EXPECT_FALSE(lista->Exists(""));
  EXPECT_THROW(lista->Item(0), Failure);
  EXPECT_THROW(lista->Item(3), Failure);
  EXPECT_THROW(lista->Item("manca"), Failure);
  lista->Remove(1);
  EXPECT_EQ(lista->Item(1), Variant(2));
  EXPECT_EQ(v.As<Object>(), lista);
  EXPECT_EQ(Variant("x").As<Collection>(), nullptr);
}

}  // namespace
}  // namespace qzkiro::host
