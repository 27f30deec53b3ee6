// tests/dxf/in/parser_test.cpp: the reading frame: sections and keywords, the end of the file,
// the error numbers, lines and messages load() reports, and which semantor calls close a read.

#include <gtest/gtest.h>

#include "dxf/in/dxf_read_support.h"

using namespace dxftest;

namespace {

const std::string kOneLine = section("ENTITIES", dxf("0 LINE;8 0;10 1;20 2;11 3;21 4"));

TEST(DxfParser, OnlyEofSetsTheCurrentSettingsAndEndsWithTransition) {
  testFont();
  DataPtr d = newDrawing();
  CLayer* other = d->getLayerFactory().create("OTHER", nullptr, 1, 0);
  d->getLayerTable().add(other);
  d->getVars().setCurLayer(other);
  d->getVars().setCurLtype(&d->getLtypeContinuous());
  d->getVars().setCurStyle(nullptr);
  CountingSemantor semantor(*d);
  MemoryFile file("eof.dxf", kEof);
  EXPECT_EQ(load(semantor, d->getEntFactory(), file).error, 0);
  EXPECT_EQ(semantor.calls["transition"], 1);
  EXPECT_EQ(semantor.calls["unrecovableError"], 0);
  EXPECT_EQ(file.closeCount(), 1);
  EXPECT_EQ(d->getVars().getCurLayer(), &d->getLayer0());
  EXPECT_EQ(d->getVars().getCurLtype(), &d->getLtypeByLayer());
  EXPECT_EQ(d->getVars().getCurStyle(), &d->getStyleTable().getStyleStandard());
  EXPECT_TRUE(entities(*d).empty());
}

TEST(DxfParser, KeywordsIgnoreCaseUnknownPartsAreSkippedAndLineEndsReadAlike) {
  for (const char* eol : {"\n", "\r\n"}) {
    SCOPED_TRACE(eol[0] == '\r' ? "CR LF" : "LF");
    DataPtr d = newDrawing();
    const std::string text =
        dxf("0 section;2 Header;0 EndSec", eol) +
        dxf("0 SECTION;2 CLASSES;0 CLASS;1 X;2 ENDSEC?;0 ENDSEC", eol) +
        dxf("0 SECTION;2 TABLES;0 TABLE;2 VPORT;70 1;0 VPORT;2 *ACTIVE;0 ENDTAB;0 ENDSEC", eol) +
        dxf("0 SECTION;2 entities;0 line;8 WALLS;10 1.5;20 2;11 3;21 4;0 endsec;0 eof", eol);
    ASSERT_EQ(loadText(*d, text).error, 0);
    ASSERT_EQ(entities(*d).size(), 1u);
    const auto* line = static_cast<const CEntLine*>(entities(*d)[0]);
    EXPECT_EQ(line->getLine(), LINE_3D(1.5, 2, 0, 3, 4, 0));
    EXPECT_STREQ(line->getLayer()->getName().c_str(), "WALLS");
  }
}

TEST(DxfParser, LoadDxfReadsAFileOnDiskAndReportsAMissingOneAsError2AtLine0) {
  ScratchDir dir;
  const std::string path = dir.write("one.dxf", drawing(kOneLine));
  DataPtr d = newDrawing();
  CFileStdLib file(path.c_str(), IFile::kRead);
  EXPECT_NO_THROW(loadDXF(*d, file));
  EXPECT_EQ(entities(*d).size(), 1u);
  EXPECT_FALSE(file.isOpened());

  CFileStdLib onDisk("/nonexistent-dir/none.dxf", IFile::kRead);
  try {
    loadDXF(*d, onDisk);
    ADD_FAILURE() << "a missing file loaded";
  } catch (const CFileDXFIParser::FileDXFException& e) {
    EXPECT_EQ(e.getErrorNumber(), 2);
    EXPECT_EQ(e.getErrorLine(), 0);
    EXPECT_STREQ(e.getErrorMessage().c_str(), "File non trovato");
    EXPECT_STREQ(e.getErrorFile().c_str(), "/nonexistent-dir/none.dxf");
  }
  CountingSemantor semantor(*d);  // no semantor call before the file is open
  MemoryFile missing("missing.dxf", kEof);
  missing.setMissing(true);
  EXPECT_EQ(load(semantor, d->getEntFactory(), missing).error, 2);
  EXPECT_EQ(semantor.total(), 0);
}

TEST(DxfParser, StructuralFaultsGiveTheirErrorAndTheLineReadLast) {
  struct Case {
    const char* what;
    std::string text;
    long error, line;
  };
  // clang-format off
  // clang-format off
  const std::vector<Case> cases = {
      {"empty file", "", 4, 0}, {"no EOF pair", kOneLine, 4, 18},
      {"EOF group code only", kOneLine + "0\n", 4, 19},
      {"empty group code line", "\n0\nEOF\n", 4, 0},
      {"first group not 0", dxf("2 SECTION") + kEof, 7, 2},
      {"not a SECTION", dxf("0 TABLE") + kEof, 7, 2},
      {"section without a name", dxf("0 SECTION;1 HEADER"), 7, 4},
      {"stray ENDSEC", dxf("0 ENDSEC") + kEof, 7, 2},
      {"TABLES without TABLE", section("TABLES", dxf("0 LAYER")) + kEof, 7, 6},
      {"TABLE without a name", section("TABLES", dxf("0 TABLE;70 2")) + kEof, 7, 8},
      {"ENTITIES starts with a value", section("ENTITIES", dxf("8 0")) + kEof, 7, 6},
      {"BLOCKS starts with a value", section("BLOCKS", dxf("8 0")) + kEof, 7, 6},
      {"LAYER table ends badly", section("TABLES", dxf("0 TABLE;2 LAYER;0 LINE")) + kEof, 7, 10},
      {"a number of no text", section("ENTITIES", dxf("0 LINE;62 ")) + kEof, 6, 8}
  };
  // clang-format on
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DataPtr d = newDrawing();
    const Outcome out = loadText(*d, c.text);
    EXPECT_EQ(out.error, c.error);
    EXPECT_EQ(out.line, c.line);
  }
}

TEST(DxfParser, AFailureClosesTheFileAndCallsUnrecovableErrorOnce) {
  DataPtr d = newDrawing();
  CountingSemantor semantor(*d);
  MemoryFile file("cut.dxf", kOneLine);
  const Outcome out = load(semantor, d->getEntFactory(), file);
  EXPECT_EQ(out.error, 4);
  EXPECT_EQ(out.message, "File troncato");
  EXPECT_EQ(semantor.calls["unrecovableError"], 1);
  EXPECT_EQ(semantor.calls["transition"], 0);
  EXPECT_EQ(semantor.calls["add"], 1);  // what was read stays where the semantor put it
  EXPECT_EQ(file.closeCount(), 1);
  EXPECT_FALSE(file.isOpened());
}

// A semantor whose external-reference definition fails as a nested read would.
class NestedFailureSemantor : public CountingSemantor {
 public:
  using CountingSemantor::CountingSemantor;
  void createBlockXRef(const String&, const String&, const PNT_3D&, long) override {
    throw CFileDXFIParser::FileDXFException("inner.dxf", 2, 0, 0, 0);
  }
};

TEST(DxfParser, AnExceptionOfANestedReadPassesOnUnchanged) {
  DataPtr d = newDrawing();
  NestedFailureSemantor semantor(*d);
  MemoryFile file("outer.dxf",
                  drawing(section("BLOCKS", dxf("0 BLOCK;2 PLAN;70 36;1 inner.dxf;0 ENDBLK"))));
  try {
    CFileDXFIParser(file, semantor, d->getEntFactory()).load();
    ADD_FAILURE() << "the nested failure was lost";
  } catch (const CFileDXFIParser::FileDXFException& e) {
    EXPECT_STREQ(e.getErrorFile().c_str(), "inner.dxf");
    EXPECT_EQ(e.getErrorNumber(), 2);
    EXPECT_EQ(e.getErrorLine(), 0);
  }
  EXPECT_EQ(semantor.calls["unrecovableError"], 1);
  EXPECT_FALSE(file.isOpened());
}

TEST(DxfParser, ErrorMessagesComeFromTheMessageTableByNumber) {
  // clang-format off
  // clang-format off
  const std::vector<std::pair<long, const char*>> cases = {
      {1, "Errore sconosciuto"}, {2, "File non trovato"}, {3, "Errore nell'accesso al file"},
      {7, "Formato file non valido"}, {10, "Handle gia' utilizzato"},
      {11, "Campo richiesto non specificato"}, {12, "Tipo di linea non presente"},
      {13, "Font non presente"}, {14, "Errore generico"}, {15, "Versione DXF non supportata"},
      {16, "Errore sconosciuto"}, {0, "Errore sconosciuto"}, {-3, "Errore sconosciuto"}
  };
  // clang-format on
  // clang-format on
  for (const auto& c : cases) {
    const CFileDXFIParser::FileDXFException e("f.dxf", c.first, 3, 4, 5);
    EXPECT_STREQ(e.getErrorMessage().c_str(), c.second) << "error " << c.first;
  }
}

}  // namespace
