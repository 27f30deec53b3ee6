// tests/support/comma_locale.h: switches the process to a locale whose decimal separator is a
// comma for one scope, so tests can prove that number text ignores the locale.
// active() is false when no such locale is installed; the test then skips.
#pragma once

#include <clocale>
#include <string>

class CommaLocale {
 public:
  CommaLocale() {
    const char* current = std::setlocale(LC_ALL, nullptr);
    saved_ = current ? current : "C";
    for (const char* name : {"it_IT.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "it_IT", "de_DE"})
      if (std::setlocale(LC_ALL, name) != nullptr) {
        active_ = true;
        break;
      }
  }
  ~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;
  bool active() const { return active_; }

 private:
  std::string saved_;
  bool active_ = false;
};
