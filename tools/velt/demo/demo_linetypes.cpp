// tools/velt/demo/demo_linetypes.cpp: the demo's linetype library text and its loading through
// CLtypeLoader, the way a host takes linetypes from a library file into a drawing.
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/linetypes/ltype_loader.h>

#include <string>
#include <vector>

#include "demo/demo_drawing.h"
#include "demo/demo_parts.h"

namespace velt {

const char* const kDemoLinetypeLibrary =
    ";; velt demo: the linetypes of the sample floor plan\n"
    "*DASHED,Dashed __ __ __ __\n"
    "A,0.5,-0.25\n"
    "*CENTER,Center ____ _ ____ _\n"
    "A,1.25,-0.25,0.25,-0.25\n"
    "*HIDDEN,Hidden _ _ _ _ _\n"
    "A,0.25,-0.125\n"
    "*GAS,Gas line ---GAS---GAS---\n"
    "A,0.5,-0.2,[\"GAS\",STANDARD,S=0.1,R=0.0,X=-0.1,Y=-0.05],-0.25\n";

namespace {

// Collects faulty definitions: the demo's own library has none, so any is a fault to report.
class Notifier : public CLtypeLoader::IErrorNotifier {
 public:
  void notifyError(const String& file, long line, const String& name, long code) override {
    faults.push_back(std::string(file.c_str()) + ":" + std::to_string(line) + ": linetype " +
                     name.c_str() + ": error " + std::to_string(code));
  }
  CStyle* findStyle(const String&) override { return nullptr; }

  std::vector<std::string> faults;
};

}  // namespace

void loadDemoLinetypes(CData& d, const std::string& linetypeFile) {
  CLtypeLoader loader(d.getStyleTable(), d.getLtypeFactory());
  Notifier notifier;
  loader.SetNotifier(&notifier);
  if (loader.Load(linetypeFile.c_str()) != 0) {
    throw CommandFailure(kFileError, linetypeFile + ": cannot be read");
  }
  if (!notifier.faults.empty()) throw CommandFailure(kFileError, notifier.faults.front());
  // The loader keeps its own linetypes: the drawing gets copies made by its own factory.
  for (int i = 0; i < loader.GetNoLtype(); ++i) {
    addLtype(d, d.getLtypeFactory().create(*loader.GetLtypeNo(i)));
  }
}

}  // namespace velt
