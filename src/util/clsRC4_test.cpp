#include "util/clsRC4.h"

#include <gtest/gtest.h>

#include "qzkiro/Failure.h"
#include "sandbox/server/CartellaTemporanea.h"
#include "util/Testo.h"
#include "util/clsBase64.h"

namespace qzkiro::util {
namespace {

Bytes DaHex(std::string_view hex) { return clsBase64::FromHex(hex).value(); }

TEST(clsRC4Test, PublishedVectors) {
  struct Caso {
    std::string key, plaintext, cipher_hex;
  };
  for (const auto& c :
       {Caso{"Key", "Plaintext", "BBF316E8D940AF0AD3"}, Caso{"Wiki", "pedia", "1021BF0420"},
        Caso{"Secret", "Attack at dawn", "45A01F645FC35B383552544B9BF5"}}) {
    Bytes dati = ComeByte(c.plaintext);
    clsRC4().EncryptByte(dati, c.key);
    EXPECT_EQ(dati, DaHex(c.cipher_hex)) << c.key;
    EXPECT_EQ(Utf8ToLatin1(clsRC4().EncryptString(c.plaintext, c.key)), ComeTesto(dati));
  }
  // RFC 6229, 40-bit key: the keystream at offsets 0 and 4096, the raw stream
  // continuing from one call to the next.
  for (const auto& [offset, keystream_hex] :
       {std::pair{0, "b2396305f03dc027ccc3524a0a1118a8"},
        std::pair{4096, "ff25b58995996707e51fbdf08b34d875"}}) {
    Rc4Keystream stream("\x01\x02\x03\x04\x05");
    Bytes prima(offset, 0), dopo(16, 0);
    stream.Applica(prima);
    stream.Applica(dopo);
    EXPECT_EQ(dopo, DaHex(keystream_hex)) << offset;
  }
}

TEST(clsRC4Test, TextsAndKeys) {
  clsRC4 rc4;
  EXPECT_EQ(rc4.EncryptString("è", "k"), rc4.EncryptByteString({0xE8}, "k"));
  EXPECT_EQ(Utf8ToLatin1(rc4.EncryptString("è")).size(), 1u);
  for (const std::string testo : {"àèìòù ÀÈ ÿ ß", "x"}) {
    const std::string cifrato = rc4.EncryptString(testo, "chiave è");
    EXPECT_NE(cifrato, testo);
    EXPECT_EQ(clsRC4().DecryptString(cifrato, "chiave è"), testo);
    EXPECT_EQ(rc4.DecryptString(cifrato), testo) << "the same object deciphers";
  }
  EXPECT_EQ(rc4.EncryptString(""), "");
  EXPECT_EQ(rc4.DecryptString(""), "");

  Bytes wiki = ComeByte("pedia"), key = ComeByte("Plaintext"), di_nuovo = wiki;
  rc4.EncryptByte(wiki, "Wiki");
  rc4.EncryptByte(key, "Key");
  EXPECT_EQ(key, DaHex("BBF316E8D940AF0AD3"));
  rc4.SetKey("Wiki");
  rc4.DecryptByte(di_nuovo);
  EXPECT_EQ(di_nuovo, DaHex("1021BF0420"));
}

TEST(clsRC4Test, Files) {
  sandbox::CartellaTemporanea dir;
  const auto& cartella = dir.Path();
  const std::string chiaro = (cartella / "chiaro").string(),
                    cifrato = (cartella / "cifrato").string(),
                    tornato = (cartella / "tornato").string();
  clsRC4 rc4;
  for (auto membro : {&clsRC4::EncryptFile, &clsRC4::DecryptFile}) {
    try {
      (rc4.*membro)((cartella / "manca").string(), cifrato, "k");
      ADD_FAILURE() << "no failure for a missing source";
    } catch (const Failure& f) {
      EXPECT_EQ(f.Description(),
                "Error in Skipjack EncryptFile procedure (Source file does not exist).");
      EXPECT_EQ(f.Number(), kRC4FileNonTrovato);
    }
  }
  Bytes dati(300000);
  for (std::size_t i = 0; i < dati.size(); ++i) dati[i] = static_cast<std::uint8_t>(i * 7);
  ASSERT_TRUE(ScriviFile(chiaro, dati));
  ASSERT_TRUE(ScriviFile(tornato, Bytes(dati.size() * 2, 1)));  // replaced, not overwritten
  rc4.EncryptFile(chiaro, cifrato, "chiave");
  clsRC4().DecryptFile(cifrato, tornato, "chiave");
  Bytes atteso = dati;
  rc4.EncryptByte(atteso);
  EXPECT_EQ(LeggiFile(cifrato), atteso);
  EXPECT_EQ(LeggiFile(tornato), dati);
}

}  // namespace
}  // namespace qzkiro::util
