// core/string.cpp: String, a text whose representation is shared by copies and made
// private (copied) before any write. Counts are plain integers: one thread at a time.
// Characters that no caller sets (String(n), resize) are blanks.
#include <veltcore/core/string.h>
#include <veltcore/core/string_loader.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "core/text.h"

using veltcore::text::equalNoCase;

// The shared representation: the text with its NUL, its length and the number of Strings
// that share it. A new representation starts with a count of 1.
struct String::Srep {
  char* s;
  std::int32_t n;
  std::int32_t refs;

  Srep(int length, const char* text) : s(new char[length + 1]), n(length), refs(1) {
    if (text != nullptr) std::memcpy(s, text, length);
    s[length] = '\0';
  }
  ~Srep() { delete[] s; }
  Srep(const Srep&) = delete;
  Srep& operator=(const Srep&) = delete;

  // Makes a representation with a copy of the text and count 1.
  Srep* clone() const { return new Srep(n, s); }

  // Drops one reference; frees the representation with the last one.
  void release() {
    if (--refs == 0) delete this;
  }

  // Returns a representation the caller may write: this one when unshared, else a
  // private copy (the shared one loses a reference).
  Srep* get_own_copy() {
    if (refs == 1) return this;
    --refs;
    return clone();
  }

  // Replaces the text by `length` characters of `text` (which may lie in this buffer).
  // Only for an unshared representation.
  void assign(const char* text, int length) {
    if (length == n) {
      std::memmove(s, text, length);
      return;
    }
    char* buffer = new char[length + 1];
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    delete[] s;
    s = buffer;
    n = length;
  }
};

namespace {

// Length of the inclusive range first..last; an inverted range is empty.
int rangeLength(int first, int last) {
  return last >= first ? last - first + 1 : 0;
}

}  // namespace

String::String() : rep_(new Srep(0, "")) {}

String::String(const String& s) : rep_(s.rep_) {
  ++rep_->refs;
}

// A null pointer reads as the empty text rather than crashing.
String::String(const char* s) : rep_(new Srep(s ? static_cast<int>(std::strlen(s)) : 0, s)) {}

String::String(unsigned int n) : rep_(new Srep(static_cast<int>(n), nullptr)) {
  std::memset(rep_->s, ' ', n);
}

String::String(int first, int last, const char* s)
    : rep_(new Srep(rangeLength(first, last), nullptr)) {
  // strncpy stops at the source's NUL and pads with NULs, exactly the documented result.
  if (rep_->n > 0) std::strncpy(rep_->s, s + first, rep_->n);
}

String::String(int first, int last, const String& s) : String(first, last, s.c_str()) {}

String::~String() {
  rep_->release();
}

String& String::operator=(const String& s) {
  ++s.rep_->refs;  // raised first, so that self-assignment never frees the text
  rep_->release();
  rep_ = s.rep_;
  return *this;
}

String& String::operator=(const char* s) {
  if (s == nullptr) s = "";
  assignText(s, static_cast<int>(std::strlen(s)));
  return *this;
}

String& String::operator=(char c) {
  const char text[2] = {c, '\0'};
  return *this = text;  // a NUL character gives the empty text
}

String& String::operator=(int v) {
  return *this = veltcore::text::formatInt(v).c_str();
}

String& String::operator=(unsigned int v) {
  return *this = veltcore::text::formatUnsigned(v).c_str();
}

String& String::operator=(double v) {
  return *this = veltcore::text::formatFixed(v, 6).c_str();
}

void String::assignText(const char* s, int length) {
  if (rep_->refs == 1) {
    rep_->assign(s, length);
    return;
  }
  Srep* fresh = new Srep(length, s);
  rep_->release();
  rep_ = fresh;
}

void String::empty() {
  if (rep_->refs == 1) {
    rep_->n = 0;
    rep_->s[0] = '\0';
    return;
  }
  rep_->release();
  rep_ = new Srep(0, "");
}

void String::resize(unsigned int n) {
  const int length = static_cast<int>(n);
  const int kept = length < rep_->n ? length : rep_->n;
  Srep* fresh = new Srep(length, nullptr);
  std::memcpy(fresh->s, rep_->s, kept);
  std::memset(fresh->s + kept, ' ', length - kept);
  rep_->release();
  rep_ = fresh;
}

String String::sub(int first, int last) const {
  return String(first, last, c_str());
}

String& String::operator+=(const String& s) {
  return *this += s.c_str();
}

String& String::operator+=(const char* s) {
  if (s == nullptr || *s == '\0') return *this;  // stays shared
  const int added = static_cast<int>(std::strlen(s));
  Srep* joined = new Srep(rep_->n + added, nullptr);
  std::memcpy(joined->s, rep_->s, rep_->n);
  std::memcpy(joined->s + rep_->n, s, added);  // s may be this text: copied before release
  rep_->release();
  rep_ = joined;
  return *this;
}

void String::LoadString(unsigned long id) {
  const unsigned int messageId = static_cast<unsigned int>(id);
  const int length = g_stringLoader.GetStrLen(messageId);
  if (length < 0) return;
  resize(static_cast<unsigned int>(length));
  g_stringLoader.LoadStr(messageId, getBuffer(), length + 1);
}

char String::toChar() const {
  return rep_->s[0];
}

int String::toInt() const {
  return veltcore::text::parseInt(rep_->s);
}

double String::toDouble() const {
  return veltcore::text::parseDouble(rep_->s);
}

int String::size() const {
  return rep_->n;
}

bool String::equal(const char* s) const {
  return equalNoCase(rep_->s, s);
}

bool String::equal(const String& s) const {
  return equalNoCase(rep_->s, s.rep_->s);
}

String::Cref String::operator[](int i) {
  check(i);
  return Cref(*this, i);
}

char String::operator[](int i) const {
  check(i);
  return rep_->s[i];
}

void String::check(int i) const {
  if (i < 0 || i >= rep_->n) throw Range();
}

char String::read(int i) const {
  return rep_->s[i];
}

void String::write(int i, char c) {
  getBuffer()[i] = c;
}

const char* String::c_str() const {
  return rep_->s;
}

char* String::getBuffer() {
  rep_ = rep_->get_own_copy();
  return rep_->s;
}
