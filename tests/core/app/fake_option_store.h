// An options store in memory that records the order of writes and can be told to fail.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "app/option_store.h"

namespace velquist::testing {

class FakeOptionStore : public OptionStore {
 public:
  using Value = std::variant<std::string, std::uint32_t>;

  std::map<std::string, Value, std::less<>> values;
  bool keyExists = true;
  bool failOpenForWriting = false;
  bool failFinishing = false;
  std::string failWriteOf;  // a value whose write fails
  std::vector<std::string> written;
  int finishCount = 0;

  bool OpenForReading() override { return keyExists; }
  bool ReadString(std::string_view name, std::string& value) override {
    auto found = values.find(name);
    if (found == values.end() || !std::holds_alternative<std::string>(found->second)) return false;
    value = std::get<std::string>(found->second);
    return true;
  }
  bool ReadDword(std::string_view name, std::uint32_t& value) override {
    auto found = values.find(name);
    if (found == values.end() || !std::holds_alternative<std::uint32_t>(found->second)) {
      return false;
    }
    value = std::get<std::uint32_t>(found->second);
    return true;
  }
  bool OpenForWriting() override { return !failOpenForWriting; }
  bool WriteString(std::string_view name, std::string_view value) override {
    return Write(name, std::string(value));
  }
  bool WriteDword(std::string_view name, std::uint32_t value) override {
    return Write(name, value);
  }
  bool FinishWriting() override {
    ++finishCount;
    return !failFinishing;
  }

 private:
  bool Write(std::string_view name, Value value) {
    written.emplace_back(name);
    if (name == failWriteOf) return false;
    values[std::string(name)] = std::move(value);
    keyExists = true;
    return true;
  }
};

}  // namespace velquist::testing
