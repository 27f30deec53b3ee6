// hatch/failure.cpp: the process-wide hatch failure handler and its default, which writes the
// notice to standard error (the library has no window of its own to show it in).
// Like the rest of the library, used from one thread at a time.
#include "hatch/failure.h"

#include <cstdio>

#include <veltcore/hatch/pattern.h>

namespace {

void writeToStandardError(const char* title, const char* text) {
  std::fprintf(stderr, "%s\n%s\n", title, text);
}

HatchFailureHandler g_handler = writeToStandardError;

}  // namespace

HatchFailureHandler setHatchFailureHandler(HatchFailureHandler h) {
  const HatchFailureHandler previous = g_handler;
  g_handler = h != nullptr ? h : writeToStandardError;
  return previous;
}

namespace veltcore::hatch {

void reportHatchFailure() {
  g_handler(kFailureTitle, kFailureText);
}

}  // namespace veltcore::hatch
