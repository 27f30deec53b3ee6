// veltcore/core/string.h: String, the library's text type, and SmartString, a borrowed view.
// String shares one reference-counted representation between copies and copies it on the
// first write; it is never null. Names of table items are Strings compared ignoring case.
#pragma once

class String {
 public:
  // Thrown by value by the checked index operations.
  class Range {};

  // Proxy for one character of a non-const String: reads through, writes copy on write.
  class Cref {
   public:
    Cref(String& s, int i) : s_(s), i_(i) {}
    operator char() const { return s_.read(i_); }
    void operator=(char c) { s_.write(i_, c); }

   private:
    String& s_;
    int i_;
  };

  String();
  String(const String& s);
  String(const char* s);
  // A text of n characters, not set by the caller (they are blanks), NUL-terminated.
  explicit String(unsigned int n);
  // Characters first..last of s, inclusive, unchecked (a source that ends earlier leaves NULs).
  String(int first, int last, const char* s);
  String(int first, int last, const String& s);
  ~String();

  String& operator=(const String& s);
  String& operator=(const char* s);
  String& operator=(char c);
  String& operator=(int v);
  String& operator=(unsigned int v);
  String& operator=(double v);

  void empty();
  void resize(unsigned int n);
  String sub(int first, int last) const;
  String& operator+=(const String& s);
  String& operator+=(const char* s);
  // Loads message id from the library's message table; unchanged when there is no such message.
  void LoadString(unsigned long id);

  char toChar() const;
  int toInt() const;
  double toDouble() const;
  int size() const;
  // Case-blind comparison: the one used for every name of a table item.
  bool equal(const char* s) const;
  bool equal(const String& s) const;

  Cref operator[](int i);
  char operator[](int i) const;
  void check(int i) const;
  char read(int i) const;
  void write(int i, char c);
  const char* c_str() const;
  operator const char*() const { return c_str(); }
  char* getBuffer();

 private:
  struct Srep;
  Srep* rep_;

  void assignText(const char* s, int length);
};

// A borrowed, NUL-terminated text (a lexer's current token): never copies, allocates or frees.
class SmartString {
 public:
  SmartString() : s_(nullptr) {}
  SmartString(const char* s) : s_(s) {}
  SmartString(const SmartString& o) = default;
  SmartString& operator=(const SmartString& o) = default;
  SmartString& operator=(const char* s) {
    s_ = s;
    return *this;
  }

  char operator[](int i) const { return s_[i]; }
  int size() const;
  const char* c_str() const { return s_; }
  // All four comparisons ignore case: equal_cs is the same operation under another name.
  bool equal_ci(const char* s) const;
  bool equal_ci(const SmartString& s) const;
  bool equal_cs(const char* s) const { return equal_ci(s); }
  bool equal_cs(const SmartString& s) const { return equal_ci(s); }

 private:
  const char* s_;
};
