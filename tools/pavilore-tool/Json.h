// A small JSON writer for the tool's output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pav::tool {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(const std::string& name);
  JsonWriter& Int(std::int64_t v);
  JsonWriter& Bool(bool v);
  JsonWriter& Null();
  // A UTF-8 string.
  JsonWriter& String(const std::string& utf8);
  // A game string: Windows-1252 bytes.
  JsonWriter& GameString(const std::string& bytes);
  // A line break between top-level members keeps long output readable.
  JsonWriter& Newline();
  const std::string& Text() const { return Out; }

 private:
  void Separate();
  void Quote(const std::string& utf8);
  std::string Out;
  std::vector<bool> First;
  bool AfterKey = false;
};

}  // namespace pav::tool
