// veltcore/core/string_loader.h: CStringLoader, the reader of the library's message table.
// One global instance, g_stringLoader, is pointed at the library's own table when the library
// is loaded; String::LoadString goes through it. Until then every lookup finds nothing.
#pragma once

class CStringLoader {
 public:
  // The module token of the library's own message table: the stand-in for the module
  // handle that a Windows build would pass. Any other token names no table.
  static constexpr unsigned int kOwnModule = 1;

  constexpr CStringLoader() : instance_(0) {}

  // Points the loader at the message table of module `instance`.
  void Init(unsigned int instance);
  // Byte length of message id, or -1 when the table or the message is missing (or empty).
  int GetStrLen(unsigned int id) const;
  // Copies message id into buffer (at most size-1 characters, NUL-terminated) and returns
  // the number of characters copied; 0 when there is no such message.
  int LoadStr(unsigned int id, char* buffer, int size) const;

 private:
  unsigned int instance_;
};

extern CStringLoader g_stringLoader;
