// tests/linetypes/ltype_loader_test.cpp: linetype library files through CLtypeLoader: every
// error code with the line it is reported at, files mixing good and faulty definitions, style
// lookups with and without a notifier, a header where a pattern line should be, line ends,
// overlong lines and binary bytes, save and reload (also under a comma-decimal locale), the
// style uses held through loads, copies and clearing, and missing or unwritable files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <veltcore/database/style.h>
#include <veltcore/dxf/in/file.h>
#include <veltcore/linetypes/ltype_loader.h>

#include "support/comma_locale.h"
#include "support/scratch_dir.h"

namespace {

constexpr double kDegreesToRadians = 0.01745329251994;

// Records every report as "line name code" and answers findStyle from a map.
class Recorder : public CLtypeLoader::IErrorNotifier {
 public:
  void notifyError(const String& fileName, long line, const String& ltypeName, long code) override {
    files.emplace_back(fileName.c_str());
    codes.push_back(code);
    reports += (reports.empty() ? "" : "; ") + std::to_string(line) + " " + ltypeName.c_str() +
               " " + std::to_string(code);
  }
  CStyle* findStyle(const String& styleName) override {
    asked.emplace_back(styleName.c_str());
    auto it = answers.find(styleName.c_str());
    return it != answers.end() ? it->second : nullptr;
  }

  std::string reports;
  std::vector<std::string> files;
  std::vector<long> codes;
  std::vector<std::string> asked;
  std::map<std::string, CStyle*> answers;
};

// "NAME(desc)=0.5,-0.25,[GAS/ROMANS h0.1 r90 x-0.1 y-0.05]; ..." for every loaded linetype.
std::string describe(CLtypeLoader& loader) {
  std::ostringstream out;
  for (int i = 0; i < loader.GetNoLtype(); ++i) {
    const CLtype& lt = *loader.GetLtypeNo(i);
    out << (i > 0 ? "; " : "") << lt.getName().c_str() << "(" << lt.getDesc().c_str() << ")=";
    for (int d = 0; d < lt.getNoDashes(); ++d) {
      out << (d > 0 ? "," : "");
      if (!lt.GetDash(d)->IsText()) {
        out << lt.GetDash(d)->GetValue();
        continue;
      }
      const TEXT_3D& t = *lt.GetDash(d)->GetText();
      out << "[" << t.getContext().getString().c_str() << "/" << t.getStyle()->getName().c_str()
          << " h" << t.getContext().getHeight() << " r"
          << t.getContext().getRotate() / kDegreesToRadians << " x" << t.getPnt().getX() << " y"
          << t.getPnt().getY() << "]";
    }
  }
  return out.str();
}

class LtypeLoaderTest : public ::testing::Test {
 protected:
  LtypeLoaderTest() {
    romans = CStyleFactory().create("ROMANS", nullptr, 0.0, 1.0, 0.0, 2.5, 0);
    styles.add(romans);
    loader.SetNotifier(&notifier);
  }

  // Loads content and returns what was loaded; reports go to notifier.
  std::string load(const std::string& content) {
    EXPECT_EQ(loader.Load(dir.write("lib.lin", content).c_str()), 0);
    return describe(loader);
  }

  ScratchDir dir;
  CStyleTable styles;
  CStyle* romans;
  CLtypeFactory factory;
  Recorder notifier;
  CLtypeLoader loader{styles, factory};
};

TEST_F(LtypeLoaderTest, EveryErrorCodeWithTheLineItIsReportedAt) {
  struct Case {
    const char* pattern;
    long code;
  };
  const Case cases[] = {
      {"B,0.5,-0.5", 1},
      {"a,0.5,-0.5", 1},
      {"AA,0.5", 1},
      {"A,0.5,,-0.5", 2},
      {"A,0.5,-0.5,", 2},
      {"A,1,[\"X\"]", 2},              // ends in "]": checked before the quotes
      {"A,1,[\"\"]", 2},               // likewise
      {"A,1,[\"X\",ROMANS,S=1", 2},    // no "]"
      {"A,1,[\"X\"", 2},               // nothing after the text
      {"A,1,[\"X\",]", 2},             // no style
      {"A,1,[\"X\",ROMANS,S2]", 2},    // "=" not second
      {"A,1,[\"X\",ROMANS,S=]", 2},    // shorter than 3
      {"A,1,[\"X\",ROMANS,,S=1]", 2},  // empty attribute
      {"A,1,[\"X\",ROMANS]Q,-1", 2},   // no comma after "]"
      {"A,1,[\"X\",NOSUCH,S=1]", 3},
      {"A,0.5", 4},
      {"A", 4},
      {"A,1,[\"\"", 5},
      {"A,1,[X\"", 5},
      {"A,1,[\"X", 5},
      {"A,1,[", 5},
      {"A,-0.5,0.5", 6},
      {"A,[\"X\",ROMANS],1", 7},
      {"A,[\"X\"]", 7},  // first element: checked before anything else
  };
  for (const Case& c : cases) {
    notifier.reports.clear();
    // Comments and blank lines count as lines: the pattern is line 6.
    const std::string file = ";; library\n*OK1,a\nA,1,-1\n\n*BAD,bad one\n" +
                             std::string(c.pattern) + "\n*OK2\nA,2,-2\n";
    EXPECT_EQ(load(file), "OK1(a)=1,-1; OK2()=2,-2") << c.pattern;
    EXPECT_EQ(notifier.reports, "6 BAD " + std::to_string(c.code)) << c.pattern;
  }
  EXPECT_EQ(notifier.files.back(), dir.path("lib.lin"));
}

TEST_F(LtypeLoaderTest, MixedFileKeepsTheGoodDefinitions) {
  const std::string file =
      ";; header comment\n"
      "junk before any header\n"
      "*DASHDOT,Dash dot, with a comma __ . __\n"
      "A,.5,-.25,0,-.25\n"
      "*NOPAT,x\n"
      "B\n"
      "*GAS,Gas line ----GAS----\n"
      "A,.5,-.2,[\"GAS\",romans,S=.1,r=90,X=-0.1,y=-.05,Q=7],-.25\n"
      "*NODESC\n"
      "A,1,text,-1\n"
      "*TEXTFIRST\n"
      "A,[\"T\",STANDARD],1\n"
      "*STD\n"
      "A,0,[\"T\",STANDARD]\n";
  EXPECT_EQ(load(file),
            "DASHDOT(Dash dot, with a comma __ . __)=0.5,-0.25,0,-0.25; "
            "GAS(Gas line ----GAS----)=0.5,-0.2,[GAS/ROMANS h0.1 r90 x-0.1 y-0.05],-0.25; "
            "NODESC()=1,0,-1; STD()=0,[T/STANDARD h1 r0 x0 y0]");
  EXPECT_EQ(notifier.reports, "6 NOPAT 1; 12 TEXTFIRST 7");
  EXPECT_DOUBLE_EQ(loader.GetLtypeNo(1)->GetDash(2)->GetText()->getContext().getRotate(),
                   90 * kDegreesToRadians);
  EXPECT_EQ(loader.GetLtypeNo(1)->getPatternLen(), 0.5 + 0.2 + 0.25);
  EXPECT_EQ(loader.GetTable().get("gas"), loader.GetLtypeNo(1));
  EXPECT_EQ(loader.GetLtypeNo(4), nullptr);
  EXPECT_EQ(loader.GetLtypeNo(-1), nullptr);
}

// A header followed by another header: the first definition has no pattern and is reported
// (error 1 at the second header's line); the second header starts the next definition. A
// header at the end of the file is dropped without a report.
TEST_F(LtypeLoaderTest, HeaderWherePatternExpectedStartsTheNextDefinition) {
  EXPECT_EQ(load("*FIRST,one\n;; between\n*SECOND,two\nA,1,-1\n*LAST,dropped\n"),
            "SECOND(two)=1,-1");
  EXPECT_EQ(notifier.reports, "3 FIRST 1");
}

TEST_F(LtypeLoaderTest, UnknownStyleAsksTheNotifierWhenThereIsOne) {
  const std::string file = "*HOST\nA,1,[\"H\",HOSTSTYLE,S=2]\n*OK\nA,1,-1\n";
  loader.SetNotifier(nullptr);
  EXPECT_EQ(load(file), "OK()=1,-1");  // skipped, nothing to report to

  loader.SetNotifier(&notifier);
  EXPECT_EQ(load(file), "OK()=1,-1");
  EXPECT_EQ(notifier.reports, "2 HOST 3");
  EXPECT_EQ(notifier.asked, std::vector<std::string>{"HOSTSTYLE"});

  std::unique_ptr<CStyle> host(CStyleFactory().create("HostStyle", nullptr, 0, 1, 0, 2.5, 0));
  notifier.answers["HOSTSTYLE"] = host.get();
  notifier.reports.clear();
  EXPECT_EQ(load(file), "HOST()=1,[H/HostStyle h2 r0 x0 y0]; OK()=1,-1");
  EXPECT_EQ(notifier.reports, "");
  EXPECT_EQ(host->GetNoLtype(), 1);
  loader.GetTable().clearAll();
  EXPECT_EQ(host->GetNoLtype(), 0);
}

TEST_F(LtypeLoaderTest, LineEndsAndTrailingBlanksDoNotMatter) {
  const std::string lf = "*DASH,desc\nA,0.5,-0.25\n;; note\n\n*TXT,t\nA,1,[\"X\",ROMANS,S=2]\n";
  const std::string expected = load(lf);
  EXPECT_EQ(expected, "DASH(desc)=0.5,-0.25; TXT(t)=1,[X/ROMANS h2 r0 x0 y0]");
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? std::string(" \t\r\n") : std::string(1, c);
  EXPECT_EQ(load(crlf), expected);
  crlf.pop_back();  // no line end after the last line
  EXPECT_EQ(load(crlf), expected);
  EXPECT_EQ(notifier.reports, "");
}

// Lines longer than the buffer are passed over whole (their tails never become lines of their
// own) and count once; a damaged header or pattern line is error 2, a damaged comment or
// junk line is skipped; NUL bytes damage a line the same way.
TEST_F(LtypeLoaderTest, OverlongLinesAndBinaryBytesAreReportedOrSkipped) {
  const long size = CLtypeLoader::CFileLtypeLexer::kLineSize;
  std::string longPattern = "A,1";
  while (static_cast<long>(longPattern.size()) < size - 3) longPattern += ",-1";
  longPattern.resize(size - 1);  // the first 4095 characters end inside a number
  const std::string tailHeader = std::string(size - 1, 'x') + "*TAIL\nA,1,-1";
  const std::string exact = "A,1,2." + std::string(size - 1 - 6, '0');  // fills the buffer
  struct Case {
    std::string lines;
    std::string loaded;
    std::string reports;
  };
  const Case cases[] = {
      {"*LONG\n" + longPattern + ",-1,-1", "OK()=1,-1", "2 LONG 2"},
      {"*" + std::string(2 * size, 'N'), "OK()=1,-1", "1 " + std::string(size - 2, 'N') + " 2"},
      {";;" + std::string(3 * size, 'c'), "OK()=1,-1", ""},
      {tailHeader, "OK()=1,-1", ""},  // "*TAIL" is inside a line: its pattern is junk too
      {"*EXACT\n" + exact + " \t\r", "EXACT()=1,2; OK()=1,-1", ""},
      {"*EXACT\n" + exact + std::string(size, ' '), "EXACT()=1,2; OK()=1,-1", ""},
      {"*NUL\nA,1,-1" + std::string(1, '\0') + ",2", "OK()=1,-1", "2 NUL 2"},
      {"*NUL" + std::string(1, '\0') + "X\nA,1,-1", "OK()=1,-1", "1 NUL 2"},
      {std::string(1, '\0') + "*NUL\nA,1,-1", "OK()=1,-1", ""},
      {";;" + std::string(1, '\0') + "x\n*C\nA,3,-3", "C()=3,-3; OK()=1,-1", ""},
  };
  for (const Case& c : cases) {
    notifier.reports.clear();
    // The good definition after the case starts 2 lines after its last line.
    const std::string file = c.lines + "\n*OK\nA,1,-1\n";
    EXPECT_EQ(load(file), c.loaded) << c.lines.substr(0, 40);
    EXPECT_EQ(notifier.reports, c.reports) << c.lines.substr(0, 40);
  }

  // Random bytes: every load ends normally, and only known codes are reported.
  std::mt19937 random(7);
  const char letters[] = "*A,[]\"=SRXY-.0123456789;\r\n\t \0\x01\xff";
  const std::string alphabet(letters, sizeof letters - 1);
  for (int round = 0; round < 200; ++round) {
    std::string bytes;
    const int n = static_cast<int>(random() % 3000);
    for (int i = 0; i < n; ++i) bytes += alphabet[random() % alphabet.size()];
    notifier.codes.clear();
    load(bytes);
    for (long code : notifier.codes) EXPECT_TRUE(code >= 1 && code <= 7) << code;
  }
}

TEST_F(LtypeLoaderTest, SaveWritesTheFormatAndReloadsTheSameDashes) {
  const std::string file =
      "*DASHDOT,__ . __\nA,0.5,-0.25,0,-0.25\n"
      "*GAS,gas\nA,.5,-.2,[\"GAS\",ROMANS,S=.1,R=90,X=-0.1,Y=-.05],-.25,[\"a]b\",STANDARD]\n"
      "*ODD\nA,0.1234567,-1e-7,[\"\"\"\",ROMANS,R=-30.5,s=2.0000004]\n";
  const std::string loaded = load(file);
  const std::string saved = dir.path("saved.lin");
  loader.Save(saved.c_str());
  EXPECT_EQ(ScratchDir::read(saved),
            "*DASHDOT,__ . __\nA,0.500000,-0.250000,0.000000,-0.250000\n"
            "*GAS,gas\nA,0.500000,-0.200000,[\"GAS\",ROMANS,S=0.100000,R=90.000000,X=-0.100000,"
            "Y=-0.050000],-0.250000,[\"a]b\",STANDARD,S=1.000000,R=0.000000,X=0.000000,"
            "Y=0.000000]\n"
            "*ODD,\nA,0.123457,-0.000000,[\"\"\"\",ROMANS,S=2.000000,R=-30.500000,X=0.000000,"
            "Y=0.000000]\n");

  CLtypeLoader again(styles, factory);
  again.SetNotifier(&notifier);
  ASSERT_EQ(again.Load(saved.c_str()), 0);
  EXPECT_EQ(notifier.reports, "");
  ASSERT_EQ(again.GetNoLtype(), loader.GetNoLtype());
  for (int i = 0; i < loader.GetNoLtype(); ++i) {
    const CLtype& a = *loader.GetLtypeNo(i);
    const CLtype& b = *again.GetLtypeNo(i);
    ASSERT_EQ(a.getNoDashes(), b.getNoDashes());
    for (int d = 0; d < a.getNoDashes(); ++d) {
      ASSERT_EQ(a.GetDash(d)->IsText(), b.GetDash(d)->IsText());
      EXPECT_NEAR(a.GetDash(d)->GetValue(), b.GetDash(d)->GetValue(), 5e-7);
      if (!a.GetDash(d)->IsText()) continue;
      const TEXT_3D& ta = *a.GetDash(d)->GetText();
      const TEXT_3D& tb = *b.GetDash(d)->GetText();
      EXPECT_STREQ(ta.getContext().getString(), tb.getContext().getString());
      EXPECT_EQ(ta.getStyle(), tb.getStyle());
      EXPECT_NEAR(ta.getContext().getHeight(), tb.getContext().getHeight(), 5e-7);
      EXPECT_NEAR(ta.getContext().getRotate(), tb.getContext().getRotate(), 5e-7);
      EXPECT_NEAR(ta.getPnt().getX(), tb.getPnt().getX(), 5e-7);
      EXPECT_NEAR(ta.getPnt().getY(), tb.getPnt().getY(), 5e-7);
    }
  }

  // A host's comma-decimal locale changes neither reading nor writing.
  CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no comma-decimal locale installed";
  EXPECT_EQ(load(file), loaded);
  const std::string savedComma = dir.path("comma.lin");
  loader.Save(savedComma.c_str());
  EXPECT_EQ(ScratchDir::read(savedComma), ScratchDir::read(saved));
}

TEST_F(LtypeLoaderTest, TextDashesHoldStyleUsesThroughCopiesAndClearing) {
  const std::string file =
      "*T1\nA,1,[\"A\",ROMANS],-1,[\"B\",ROMANS]\n"
      "*T2\nA,1,[\"C\",ROMANS]\n"
      "*FAILS\nA,1,[\"D\",ROMANS],,-1\n";  // its dash is made, then dropped with the error
  load(file);
  ASSERT_EQ(loader.GetNoLtype(), 2);
  EXPECT_EQ(romans->GetNoLtype(), 3);

  auto original = std::make_unique<CLtypeLoader>(loader);
  EXPECT_EQ(romans->GetNoLtype(), 6);
  auto copy = std::make_unique<CLtypeLoader>(*original);
  EXPECT_EQ(romans->GetNoLtype(), 9);
  original.reset();
  EXPECT_EQ(romans->GetNoLtype(), 6);
  EXPECT_EQ(describe(*copy), describe(loader));
  EXPECT_NE(copy->GetLtypeNo(0), loader.GetLtypeNo(0));
  copy->Save(dir.path("copy.lin").c_str());
  EXPECT_EQ(copy->Load(dir.path("copy.lin").c_str()), 0);
  EXPECT_EQ(describe(*copy), describe(loader));
  EXPECT_EQ(romans->GetNoLtype(), 6);

  copy->GetTable().clearAll();
  EXPECT_EQ(romans->GetNoLtype(), 3);
  copy.reset();
  load(";; nothing\n");  // Load empties the table first
  EXPECT_EQ(loader.GetNoLtype(), 0);
  EXPECT_EQ(romans->GetNoLtype(), 0);
}

TEST_F(LtypeLoaderTest, MissingUnreadableAndUnwritableFiles) {
  load("*A\nA,1,-1\n");
  EXPECT_EQ(loader.Load(dir.path("missing.lin").c_str()), -1);
  EXPECT_EQ(loader.GetNoLtype(), 0);  // emptied before the open failed
  EXPECT_THROW(loader.Load(dir.path("").c_str()), IFile::IFileIOError);  // a folder
  load("*A\nA,1,-1\n");
  EXPECT_THROW(loader.Save(dir.path("no/such/folder.lin").c_str()), IFile::IFileCantWrite);
  EXPECT_EQ(load(""), "");
  EXPECT_EQ(notifier.reports, "");
}

}  // namespace
