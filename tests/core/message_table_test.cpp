// tests/core/message_table_test.cpp: the Italian message table as String::LoadString sees
// it, ids it lacks, and the loader's behaviour without a valid module.
#include <veltcore/core/string.h>
#include <veltcore/core/string_loader.h>

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>

namespace {

// The whole table, ids 10 to 34 in order: the texts are shown to users verbatim.
const char* const kTexts[] = {"Errore sconosciuto",
                              "File non trovato",
                              "Errore nell'accesso al file",
                              "File troncato",
                              "Formato campo non valido",
                              "Campo vuoto",
                              "Formato file non valido",
                              "Variabile non definita",
                              "Valore non valido",
                              "Handle gia' utilizzato",
                              "Campo richiesto non specificato",
                              "Tipo di linea non presente",
                              "Font non presente",
                              "Errore generico",
                              "DAPIANO",
                              "DABLOCCO",
                              "Rosso",
                              "Giallo",
                              "Verde",
                              "Cyan",
                              "Blu",
                              "Magenta",
                              "Bianco",
                              "colore ",
                              "Versione DXF non supportata"};
constexpr unsigned long kFirstId = 10;

TEST(MessageTable, EveryMessageLoadsVerbatimAndMissingIdsChangeNothing) {
  for (unsigned long i = 0; i < std::size(kTexts); ++i) {
    SCOPED_TRACE(kFirstId + i);
    String s("old");
    s.LoadString(kFirstId + i);
    EXPECT_STREQ(s.c_str(), kTexts[i]);
    EXPECT_EQ(s.size(), static_cast<int>(std::strlen(kTexts[i])));
    EXPECT_EQ(g_stringLoader.GetStrLen(static_cast<unsigned int>(kFirstId + i)), s.size());
  }
  for (unsigned long id : {0ul, 9ul, 35ul, 1000ul, 0xFFFFFFFFul}) {
    String s("unchanged");
    s.LoadString(id);
    EXPECT_STREQ(s.c_str(), "unchanged") << id;
  }
  EXPECT_EQ(g_stringLoader.GetStrLen(9), -1);
  // Ids are 32-bit: wider ones keep their low 32 bits.
  String s;
  s.LoadString(0x100000000ul + 10);
  EXPECT_STREQ(s.c_str(), kTexts[0]);
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
