#include "Json.h"

#include <cstdio>

#include "platform/Text.h"

namespace pav::tool {

void JsonWriter::Separate() {
  if (AfterKey) {
    AfterKey = false;
    return;
  }
  if (!First.empty()) {
    if (!First.back()) Out += ',';
    First.back() = false;
  }
}

JsonWriter& JsonWriter::BeginObject() {
  Separate();
  Out += '{';
  First.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  First.pop_back();
  Out += '}';
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  Separate();
  Out += '[';
  First.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  First.pop_back();
  Out += ']';
  return *this;
}

JsonWriter& JsonWriter::Key(const std::string& name) {
  Separate();
  Quote(name);
  Out += ':';
  AfterKey = true;
  return *this;
}

JsonWriter& JsonWriter::Int(std::int64_t v) {
  Separate();
  Out += std::to_string(v);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool v) {
  Separate();
  Out += v ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  Separate();
  Out += "null";
  return *this;
}

void JsonWriter::Quote(const std::string& utf8) {
  Out += '"';
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': Out += "\\\""; break;
      case '\\': Out += "\\\\"; break;
      case '\n': Out += "\\n"; break;
      case '\r': Out += "\\r"; break;
      case '\t': Out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          Out += buf;
        } else {
          Out += static_cast<char>(c);
        }
    }
  }
  Out += '"';
}

JsonWriter& JsonWriter::String(const std::string& utf8) {
  Separate();
  Quote(utf8);
  return *this;
}

JsonWriter& JsonWriter::GameString(const std::string& bytes) { return String(Cp1252ToUtf8(bytes)); }

JsonWriter& JsonWriter::Newline() {
  Out += '\n';
  return *this;
}

}  // namespace pav::tool
