#pragma once
// The settings store of the program: QSettings for organisation "Orlenwick" and
// application "Vellumo" (the registry on Windows, an INI file elsewhere). Values that
// are missing, of the wrong type or not parseable read as the caller's default, so a
// damaged settings file can never stop the program or feed it nonsense.

#include <filesystem>
#include <memory>
#include <optional>

#include "shell/SettingsStore.h"

class QSettings;

namespace vellumo::shell {

inline constexpr std::string_view kOrganisationName = "Orlenwick";
inline constexpr std::string_view kApplicationSettingsName = "Vellumo";

class QtSettingsStore : public SettingsStore {
  public:
    // The user's store of the program.
    QtSettingsStore();
    // A store in one INI file (tests, portable installs).
    explicit QtSettingsStore(const std::filesystem::path& iniFile);
    ~QtSettingsStore() override;

    QtSettingsStore(const QtSettingsStore&) = delete;
    QtSettingsStore& operator=(const QtSettingsStore&) = delete;

    int32_t ReadInt(std::string_view section, std::string_view key, int32_t defaultValue) override;
    void WriteInt(std::string_view section, std::string_view key, int32_t value) override;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) override;
    void WriteString(std::string_view section, std::string_view key,
                     std::string_view value) override;

    // Writes pending changes out; false when the store could not be written.
    bool Sync();

  private:
    std::unique_ptr<QSettings> settings_;
};

// Parses a stored integer strictly: optional sign and decimal digits, surrounding
// blanks allowed, nothing else, within 32 bits. Exposed for the tests.
std::optional<int32_t> ParseStoredInt(std::string_view text);

}  // namespace vellumo::shell
