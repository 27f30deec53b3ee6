// tools/velt/info/json_writer.cpp: the JSON writer and its string escaping.
#include "info/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace velt {

namespace {

// The length of the valid UTF-8 sequence at text[i], or 0 when the byte there starts none.
// Overlong forms, surrogates and code points past U+10FFFF are not valid.
std::size_t utf8Length(const std::string& text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t n = 0;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) n = 2;
  if (lead >= 0xE0 && lead <= 0xEF) n = 3;
  if (lead >= 0xF0 && lead <= 0xF4) n = 4;
  if (lead == 0xE0) low = 0xA0;
  if (lead == 0xED) high = 0x9F;
  if (lead == 0xF0) low = 0x90;
  if (lead == 0xF4) high = 0x8F;
  if (n == 0 || i + n > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < n; ++k)
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  return n;
}

void appendEscaped(std::string& out, unsigned char c) {
  switch (c) {
    case '"':
      out += "\\\"";
      return;
    case '\\':
      out += "\\\\";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
    default:
      break;
  }
  char code[8];
  std::snprintf(code, sizeof code, "\\u%04x", c);
  out += code;
}

}  // namespace

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\') {
      out += static_cast<char>(c);
      ++i;
    } else if (const std::size_t n = c >= 0x80 ? utf8Length(text, i) : 0; n > 0) {
      out.append(text, i, n);
      i += n;
    } else {
      appendEscaped(out, c);
      ++i;
    }
  }
  return out + "\"";
}

void JsonWriter::beginObject() {
  open('{');
}
void JsonWriter::endObject() {
  close('}');
}
void JsonWriter::beginArray() {
  open('[');
}
void JsonWriter::endArray() {
  close(']');
}

void JsonWriter::key(const std::string& name) {
  separate();
  out_ += jsonString(name);
  out_ += ':';
  afterKey_ = true;
}

void JsonWriter::value(const std::string& text) {
  separate();
  out_ += jsonString(text);
}

void JsonWriter::value(long number) {
  separate();
  out_ += std::to_string(number);
}

void JsonWriter::value(double number) {
  if (!std::isfinite(number)) return null();
  separate();
  // std::to_chars never consults the locale and gives the shortest exact form.
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, number).ptr;
  out_.append(text, end);
}

void JsonWriter::null() {
  separate();
  out_ += "null";
}

void JsonWriter::separate() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (hasValue_.empty()) return;
  if (hasValue_.back()) out_ += ',';
  hasValue_.back() = true;
}

void JsonWriter::open(char bracket) {
  separate();
  out_ += bracket;
  hasValue_.push_back(false);
}

void JsonWriter::close(char bracket) {
  hasValue_.pop_back();
  out_ += bracket;
}

}  // namespace velt
