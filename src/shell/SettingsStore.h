#pragma once
// The per-user settings store: integers and strings by (section, key). Every read
// names its default, returned when the key is missing or unusable. The application's
// store is QSettings-backed; tests use an in-memory one.

#include <cstdint>
#include <string>
#include <string_view>

namespace vellumo::shell {

// Section names of the store.
inline constexpr std::string_view kOptionSection = "Option";
inline constexpr std::string_view kFontSection = "CurrentFont";

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual int32_t ReadInt(std::string_view section, std::string_view key,
                            int32_t defaultValue) = 0;
    virtual void WriteInt(std::string_view section, std::string_view key, int32_t value) = 0;
    virtual std::string ReadString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) = 0;
    virtual void WriteString(std::string_view section, std::string_view key,
                             std::string_view value) = 0;
};

}  // namespace vellumo::shell
