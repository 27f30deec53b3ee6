// tools/velt/info/json_writer.h: a small writer of one JSON document on one line. It places the
// commas and colons, escapes strings so that any bytes give valid UTF-8 JSON, and writes numbers
// without the C locale, so the output is the same whatever the environment says.
#pragma once

#include <string>
#include <vector>

namespace velt {

class JsonWriter {
 public:
  void beginObject();
  void endObject();
  void beginArray();
  void endArray();
  // The name of the next member of the enclosing object.
  void key(const std::string& name);
  void value(const std::string& text);
  void value(const char* text) { value(std::string(text)); }
  void value(long number);
  // The shortest text that reads back as the same double; null for NaN and infinities, which
  // JSON cannot hold.
  void value(double number);
  void null();

  const std::string& text() const { return out_; }

 private:
  std::string out_;
  // One entry per open object or array: whether a value was written in it yet.
  std::vector<bool> hasValue_;
  bool afterKey_ = false;

  // A comma before every value but the first of its container; nothing after a key.
  void separate();
  void open(char bracket);
  void close(char bracket);
};

// text as a JSON string literal, quotes included. Valid UTF-8 passes unchanged; any other byte is
// taken as a Latin-1 character (the code page of most DXF files) and written as \u00XX.
std::string jsonString(const std::string& text);

}  // namespace velt
