// core/string_loader.cpp: CStringLoader reads messages from the table compiled into the
// library (resources/). Texts are UTF-8; lengths are in bytes, the terminating NUL excluded.
#include <veltcore/core/string_loader.h>

#include <cstring>

#include "resources/message_table.h"

// Constant-initialised: valid before any constructor of the host runs.
CStringLoader g_stringLoader;

namespace {

// The text of message id in module `instance`, or nullptr. Only the library's own
// module has a table; an empty entry counts as missing.
const char* lookUp(unsigned int instance, unsigned int id) {
  if (instance != CStringLoader::kOwnModule) return nullptr;
  const char* text = veltcore::resources::findMessage(id);
  return (text != nullptr && *text != '\0') ? text : nullptr;
}

}  // namespace

void CStringLoader::Init(unsigned int instance) {
  instance_ = instance;
}

int CStringLoader::GetStrLen(unsigned int id) const {
  const char* text = lookUp(instance_, id);
  return text ? static_cast<int>(std::strlen(text)) : -1;
}

int CStringLoader::LoadStr(unsigned int id, char* buffer, int size) const {
  if (buffer == nullptr || size <= 0) return 0;
  const char* text = lookUp(instance_, id);
  if (text == nullptr) {
    buffer[0] = '\0';
    return 0;
  }
  int copied = static_cast<int>(std::strlen(text));
  if (copied > size - 1) copied = size - 1;
  std::memcpy(buffer, text, copied);
  buffer[copied] = '\0';
  return copied;
}
