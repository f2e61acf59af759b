// The reversible cipher and the message tables.
#include <climits>
#include <random>

#include "hostrt/cipher.h"
#include "hostrt/messages.h"
#include "host_test_support.h"
#include "platform/latin1.h"

namespace {

using hostrt::Cripto;
using hostrt::Uncripto;

const int kSelectors[] = {0, 1, -1, 7, 42, 1000, INT_MAX, INT_MIN, 123456789};

std::string AllBytes() {
  std::string all;
  for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
  return all;
}

TEST(Cipher, EveryByteValueRoundTripsUnderEverySelector) {
  const std::string all = AllBytes();
  std::string reversed(all.rbegin(), all.rend());
  for (const int s : kSelectors) {
    for (const std::string& text : {all, reversed, std::string(300, '\0'), std::string()}) {
      const std::string enciphered = Cripto(text, s);
      EXPECT_EQ(enciphered.size(), text.size());
      EXPECT_EQ(Uncripto(enciphered, s), text) << "selector " << s;
    }
    for (int c = 0; c < 256; ++c) {
      const std::string one(1, static_cast<char>(c));
      ASSERT_EQ(Uncripto(Cripto(one, s), s), one) << "byte " << c << " selector " << s;
    }
  }
}

TEST(Cipher, RandomTextsRoundTrip) {
  std::mt19937 random(20260715);
  for (int i = 0; i < 200; ++i) {
    std::string text(random() % 64, '\0');
    for (char& c : text) c = static_cast<char>(random() & 0xFF);
    const int selector = static_cast<int>(random());
    ASSERT_EQ(Uncripto(Cripto(text, selector), selector), text);
  }
}

TEST(Cipher, EnciphersAndKeepsPrintableTextPrintable) {
  const std::string total = "1234567,89";
  for (const int s : kSelectors) {
    const std::string enciphered = Cripto(total, s);
    EXPECT_NE(enciphered, total) << s;
    for (const char c : enciphered) EXPECT_TRUE(c >= 32 && c <= 126) << "selector " << s;
  }
  EXPECT_NE(Cripto(total, 1), Cripto(total, 2));
  EXPECT_NE(Uncripto(Cripto(total, 1), 2), total);
  // Repeated characters do not show through.
  const std::string zeros = Cripto("0000000000", 5);
  EXPECT_NE(zeros.find_first_not_of(zeros[0]), std::string::npos);
}

TEST(MessageTables, KeysMatchRegardlessOfCase) {
  const hostrt::Messages m({"DataDif|" + platform::L1("Data da impressora fiscal difere."), "ErroPorta|Erro|com barra",
                            "sem separador", "DataDif|segunda", "Vazio|"});
  EXPECT_EQ(m.Msg("Datadif"), platform::L1("Data da impressora fiscal difere."));
  EXPECT_EQ(m.Msg("DATADIF"), m.Msg("datadif"));
  EXPECT_EQ(m.Msg("ErroPorta"), "Erro|com barra");
  EXPECT_EQ(m.Msg("Vazio"), "");
  EXPECT_TRUE(m.Has("vazio"));
  EXPECT_FALSE(m.Has("sem separador"));
}

TEST(MessageTables, AMissingKeyYieldsTheKeyItself) {
  hostrt::Messages m;
  EXPECT_EQ(m.Msg("ImpDeslig"), "ImpDeslig");
  m.SetLines({"ImpDeslig|Impressora desligada ou desconectada."});
  EXPECT_EQ(m.Msg("impdeslig"), "Impressora desligada ou desconectada.");
  m.SetLines({});
  EXPECT_EQ(m.Msg("ImpDeslig"), "ImpDeslig");
  EXPECT_TRUE(m.Lines().empty());
}

}  // namespace
