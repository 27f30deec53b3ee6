// core/library_entry.cpp: the library's load and unload entry. It points the message
// loader at the library's own table, so String::LoadString works in any host that links
// veltcore, with no static object to construct and nothing for the host to call.
#include <veltcore/core/string_loader.h>

namespace {

__attribute__((constructor)) void onLibraryLoad() {
  g_stringLoader.Init(CStringLoader::kOwnModule);
}

// The table is compiled in, so it stays valid to the end: unloading re-points the loader
// at it as the load did, and messages can still be read by late destructors.
__attribute__((destructor)) void onLibraryUnload() {
  g_stringLoader.Init(CStringLoader::kOwnModule);
}

}  // namespace
