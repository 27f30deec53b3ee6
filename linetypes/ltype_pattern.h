// linetypes/ltype_pattern.h (internal): the two lines of a linetype library definition. The
// header gives a name and a description; the pattern line gives the dashes, and a fault in it
// raises CLtypeLoaderLoadError with the code that names it.
#pragma once

#include <veltcore/core/string.h>
#include <veltcore/linetypes/ltype_loader.h>

class CLtypeComplexDashSeq;
class CStyle;
class CStyleTable;

namespace veltcore::detail {

// Where the text elements of a pattern find their styles: the style table first, then the
// host through the notifier, when one is set.
class LtypeStyleFinder {
 public:
  LtypeStyleFinder(const CStyleTable& styles, CLtypeLoader::IErrorNotifier* notifier)
      : styles_(styles), notifier_(notifier) {}
  // Null when neither has the style.
  CStyle* find(const String& name) const;

 private:
  const CStyleTable& styles_;
  CLtypeLoader::IErrorNotifier* notifier_;
};

// Splits the header line "*name,description" at its first comma; without a comma the whole
// rest is the name and the description is empty.
void splitLtypeHeader(const char* line, String& name, String& desc);

// Appends the dashes of the pattern line (trimmed, NUL-terminated) of linetype name to seq.
// Raises CLtypeLoaderLoadError(name, code) at the first fault; seq then holds what came before.
void readLtypePattern(const char* line, const String& name, const LtypeStyleFinder& styles,
                      CLtypeComplexDashSeq& seq);

}  // namespace veltcore::detail
