// core/string.cpp: String, a text whose representation is shared by copies and made
// private (copied) before any write. Counts are plain integers: one thread at a time.
// Characters that no caller sets (String(n), resize) are blanks.
#include <veltcore/core/object_heap.h>
#include <veltcore/core/string.h>
#include <veltcore/core/string_loader.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "core/text.h"

using veltcore::text::equalNoCase;

// The shared representation: its length, the number of Strings that share it, and the text
// with its NUL in the same block, right after the header: one allocation from the object heap
// per text, since a drawing holds texts and attributes by the hundred thousand. A new
// representation starts with a count of 1.
struct String::Srep {
  char* s;
  std::int32_t n;
  std::int32_t refs;
  // Characters the block holds besides the NUL; n never exceeds it.
  std::int32_t capacity;

  // text may be null: the characters are then left for the caller to set.
  static Srep* make(int length, const char* text) {
    void* block = veltcore::detail::allocateObject(sizeof(Srep) + length + 1);
    return new (block) Srep(length, text);
  }
  Srep(const Srep&) = delete;
  Srep& operator=(const Srep&) = delete;

  // Makes a representation with a copy of the text and count 1.
  Srep* clone() const { return make(n, s); }

  // Drops one reference; frees the representation with the last one.
  void release() {
    if (--refs != 0) return;
    const std::size_t bytes = sizeof(Srep) + capacity + 1;
    this->~Srep();
    veltcore::detail::freeObject(this, bytes);
  }

  // Returns a representation the caller may write: this one when unshared, else a
  // private copy (the shared one loses a reference).
  Srep* get_own_copy() {
    if (refs == 1) return this;
    --refs;
    return clone();
  }

  // Replaces the text by `length` characters of `text` (which may lie in this buffer) when the
  // block can hold them; false, with nothing changed, when not. Only for an unshared one.
  bool assign(const char* text, int length) {
    if (length > capacity) return false;
    std::memmove(s, text, length);
    s[length] = '\0';
    n = length;
    return true;
  }

 private:
  Srep(int length, const char* text)
      : s(reinterpret_cast<char*>(this + 1)), n(length), refs(1), capacity(length) {
    if (text != nullptr) std::memcpy(s, text, length);
    s[length] = '\0';
  }
  ~Srep() = default;
};

namespace {

// Length of the inclusive range first..last; an inverted range is empty.
int rangeLength(int first, int last) {
  return last >= first ? last - first + 1 : 0;
}

}  // namespace

String::String() : rep_(Srep::make(0, "")) {}

String::String(const String& s) : rep_(s.rep_) {
  ++rep_->refs;
}

// A null pointer reads as the empty text rather than crashing.
String::String(const char* s) : rep_(Srep::make(s ? static_cast<int>(std::strlen(s)) : 0, s)) {}

String::String(unsigned int n) : rep_(Srep::make(static_cast<int>(n), nullptr)) {
  std::memset(rep_->s, ' ', n);
}

String::String(int first, int last, const char* s)
    : rep_(Srep::make(rangeLength(first, last), nullptr)) {
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
  if (rep_->refs == 1 && rep_->assign(s, length)) return;
  Srep* fresh = Srep::make(length, s);
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
  rep_ = Srep::make(0, "");
}

void String::resize(unsigned int n) {
  const int length = static_cast<int>(n);
  const int kept = length < rep_->n ? length : rep_->n;
  Srep* fresh = Srep::make(length, nullptr);
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
  Srep* joined = Srep::make(rep_->n + added, nullptr);
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
