// fuzz/ltype_loader_fuzz.cpp: drives the linetype library reader and writer with arbitrary
// bytes. Each input is written to a file and loaded, with a notifier that supplies a host style
// for names beginning with H; what loaded is copied, saved and the saved file loaded again.
// The first load must end normally, reporting only known codes; the second must report nothing
// and give as many linetypes, whenever every saved line fits the reader's line buffer (a short
// number such as 1e300 is written with all its digits, and a line that grows past the buffer is
// rightly reported on reading). Every style use must be given back once the loaders are gone.
// A crash, a hang, a sanitizer report, a leak or an abort() is a fault to fix.
#include <veltcore/database/data_calls.h>
#include <veltcore/database/style.h>
#include <veltcore/linetypes/ltype_loader.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

std::string g_folder;
std::string g_input;
std::string g_saved;

class FuzzNotifier : public CLtypeLoader::IErrorNotifier {
 public:
  explicit FuzzNotifier(CStyle& host) : host_(host) {}

  void notifyError(const String& fileName, long line, const String& /*ltypeName*/,
                   long code) override {
    if (code < 1 || code > 7 || line < 1 || fileName.size() == 0) std::abort();
    ++errors;
  }
  CStyle* findStyle(const String& styleName) override {
    const char first = styleName.c_str()[0];
    return first == 'H' || first == 'h' ? &host_ : nullptr;
  }

  long errors = 0;

 private:
  CStyle& host_;
};

void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0) std::abort();
}

// Whether every line of the file, its line end left out, fits the reader's line buffer.
bool linesFitTheBuffer(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) std::abort();
  long length = 0;
  bool fit = true;
  for (int c; (c = std::fgetc(f)) != EOF;) {
    length = c == '\n' ? 0 : length + 1;
    if (length > CLtypeLoader::CFileLtypeLexer::kLineSize - 1) fit = false;
  }
  std::fclose(f);
  return fit;
}

void removeFiles() {
  std::remove(g_input.c_str());
  std::remove(g_saved.c_str());
  ::rmdir(g_folder.c_str());
}

}  // namespace

// The font table lives for the whole run, as in a host; it is freed at exit so that only
// per-input leaks are reported.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char folder[] = "/tmp/veltcore_ltype_fuzz_XXXXXX";
  if (::mkdtemp(folder) == nullptr) std::abort();
  g_folder = folder;
  g_input = g_folder + "/input.lin";
  g_saved = g_folder + "/saved.lin";
  std::atexit(removeFiles);
  std::atexit(shutdownCore);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  writeFile(g_input, data, size);
  CStyleTable styles;
  CStyle* romans = CStyleFactory().create("ROMANS", nullptr, 0.0, 1.0, 0.0, 2.5, 0);
  styles.add(romans);
  std::unique_ptr<CStyle> host(CStyleFactory().create("HOST", nullptr, 0.0, 1.0, 0.0, 2.5, 0));
  CLtypeFactory factory;
  {
    FuzzNotifier first(*host);
    CLtypeLoader loader(styles, factory);
    loader.SetNotifier(&first);
    if (loader.Load(g_input.c_str()) != 0) std::abort();
    const CLtypeLoader copy(loader);
    loader.Save(g_saved.c_str());

    FuzzNotifier second(*host);
    CLtypeLoader again(styles, factory);
    again.SetNotifier(&second);
    if (again.Load(g_saved.c_str()) != 0) std::abort();
    if (linesFitTheBuffer(g_saved) &&
        (second.errors != 0 || again.GetNoLtype() != loader.GetNoLtype() ||
         copy.GetNoLtype() != loader.GetNoLtype()))
      std::abort();
  }
  if (romans->GetNoLtype() != 0 || styles.getStyleStandard().GetNoLtype() != 0 ||
      host->GetNoLtype() != 0)
    std::abort();
  return 0;
}
