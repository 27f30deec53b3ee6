// tests/core/message_table_test.cpp: the Italian message table as String::LoadString sees
// it, and the loader's behaviour without a valid module.
#include <veltcore/core/string.h>
#include <veltcore/core/string_loader.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Message {
  unsigned long id;
  const char* text;
};

// The whole table: ids and texts are shown to users verbatim.
const Message kTable[] = {
    {10, "Errore sconosciuto"},
    {11, "File non trovato"},
    {12, "Errore nell'accesso al file"},
    {13, "File troncato"},
    {14, "Formato campo non valido"},
    {15, "Campo vuoto"},
    {16, "Formato file non valido"},
    {17, "Variabile non definita"},
    {18, "Valore non valido"},
    {19, "Handle gia' utilizzato"},
    {20, "Campo richiesto non specificato"},
    {21, "Tipo di linea non presente"},
    {22, "Font non presente"},
    {23, "Errore generico"},
    {24, "DAPIANO"},
    {25, "DABLOCCO"},
    {26, "Rosso"},
    {27, "Giallo"},
    {28, "Verde"},
    {29, "Cyan"},
    {30, "Blu"},
    {31, "Magenta"},
    {32, "Bianco"},
    {33, "colore "},
    {34, "Versione DXF non supportata"},
};

TEST(MessageTable, EveryMessageLoadsVerbatim) {
  for (const Message& m : kTable) {
    SCOPED_TRACE(m.id);
    String s("old");
    s.LoadString(m.id);
    EXPECT_STREQ(s.c_str(), m.text);
    EXPECT_EQ(s.size(), static_cast<int>(std::strlen(m.text)));
    EXPECT_EQ(g_stringLoader.GetStrLen(static_cast<unsigned int>(m.id)), s.size());
  }
}

TEST(MessageTable, MissingIdsLeaveTheStringUnchanged) {
  for (unsigned long id : {0ul, 9ul, 35ul, 1000ul, 0xFFFFFFFFul}) {
    SCOPED_TRACE(id);
    String s("unchanged");
    s.LoadString(id);
    EXPECT_STREQ(s.c_str(), "unchanged");
  }
  EXPECT_EQ(g_stringLoader.GetStrLen(9), -1);
}

TEST(MessageTable, IdsAreThirtyTwoBit) {
  // A 32-bit unsigned long cannot carry more; wider ids keep their low 32 bits.
  String s;
  s.LoadString(0x100000000ul + 10);
  EXPECT_STREQ(s.c_str(), "Errore sconosciuto");
}

TEST(MessageTable, LoadStrTruncatesToTheBuffer) {
  char buffer[6];
  EXPECT_EQ(g_stringLoader.LoadStr(26, buffer, sizeof buffer), 5);
  EXPECT_STREQ(buffer, "Rosso");
  EXPECT_EQ(g_stringLoader.LoadStr(28, buffer, 3), 2);
  EXPECT_STREQ(buffer, "Ve");
  EXPECT_EQ(g_stringLoader.LoadStr(9, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
}

TEST(MessageTable, LoaderWithoutItsModuleFindsNothing) {
  // The library's entry has pointed the global loader at its own table; a loader for any
  // other module behaves as before initialisation.
  CStringLoader fresh;
  EXPECT_EQ(fresh.GetStrLen(10), -1);
  fresh.Init(CStringLoader::kOwnModule + 1);
  EXPECT_EQ(fresh.GetStrLen(10), -1);
  fresh.Init(CStringLoader::kOwnModule);
  EXPECT_EQ(fresh.GetStrLen(10), 18);

  g_stringLoader.Init(0);
  String s("kept");
  s.LoadString(10);
  g_stringLoader.Init(CStringLoader::kOwnModule);
  EXPECT_STREQ(s.c_str(), "kept");
}

}  // namespace
