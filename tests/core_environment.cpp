// tests/core_environment.cpp: linked into every test program. Shuts the library down after
// the last test, as a host does, so the font and colour tables made on first use are freed
// before LeakSanitizer looks.
#include <veltcore/database/data_calls.h>

#include <gtest/gtest.h>

namespace {

class CoreEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { initCore(); }
  void TearDown() override { shutdownCore(); }
};

const ::testing::Environment* const kCoreEnvironment =
    ::testing::AddGlobalTestEnvironment(new CoreEnvironment);

}  // namespace
