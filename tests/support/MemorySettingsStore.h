#pragma once
// A settings store held in memory, for tests. Integers and strings are kept apart, as
// the registry keeps them: reading a key as the other type gives the default, as does
// a missing key. Every write is also logged in order.

#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "shell/SettingsStore.h"

namespace vellumo::test {

class MemorySettingsStore : public shell::SettingsStore {
  public:
    using Value = std::variant<int32_t, std::string>;

    int32_t ReadInt(std::string_view section, std::string_view key, int32_t defaultValue) override {
        reads.push_back(Name(section, key));
        const auto it = values.find(Name(section, key));
        if (it == values.end() || !std::holds_alternative<int32_t>(it->second)) {
            return defaultValue;
        }
        return std::get<int32_t>(it->second);
    }
    void WriteInt(std::string_view section, std::string_view key, int32_t value) override {
        values[Name(section, key)] = value;
        writes.push_back(Name(section, key));
    }
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) override {
        reads.push_back(Name(section, key));
        const auto it = values.find(Name(section, key));
        if (it == values.end() || !std::holds_alternative<std::string>(it->second)) {
            return std::string(defaultValue);
        }
        return std::get<std::string>(it->second);
    }
    void WriteString(std::string_view section, std::string_view key,
                     std::string_view value) override {
        values[Name(section, key)] = std::string(value);
        writes.push_back(Name(section, key));
    }

    // "Section/key", the name of a value in `values`, `reads` and `writes`.
    static std::string Name(std::string_view section, std::string_view key) {
        return std::string(section) + "/" + std::string(key);
    }
    bool Has(std::string_view section, std::string_view key) const {
        return values.count(Name(section, key)) != 0;
    }
    std::string String(std::string_view section, std::string_view key) const {
        const auto it = values.find(Name(section, key));
        return it != values.end() && std::holds_alternative<std::string>(it->second)
                   ? std::get<std::string>(it->second)
                   : std::string("<missing>");
    }
    int32_t Int(std::string_view section, std::string_view key, int32_t missing = -99999) const {
        const auto it = values.find(Name(section, key));
        return it != values.end() && std::holds_alternative<int32_t>(it->second)
                   ? std::get<int32_t>(it->second)
                   : missing;
    }

    std::map<std::string, Value> values;
    std::vector<std::string> reads;
    std::vector<std::string> writes;
};

}  // namespace vellumo::test
