#include "shell/QtSettingsStore.h"

#include <QSettings>
#include <QString>
#include <QVariant>
#include <charconv>
#include <limits>

#include "base/QtText.h"

namespace vellumo::shell {
namespace {

using base::ToQString;

QString KeyOf(std::string_view section, std::string_view key) {
    return ToQString(section) + '/' + ToQString(key);
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::optional<int32_t> ParseStoredInt(std::string_view text) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, 10);
    if (ec != std::errc() || ptr != end || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(ToQString(kOrganisationName),
                                            ToQString(kApplicationSettingsName))) {}

QtSettingsStore::QtSettingsStore(const std::filesystem::path& iniFile)
    : settings_(std::make_unique<QSettings>(ToQString(iniFile), QSettings::IniFormat)) {}

QtSettingsStore::~QtSettingsStore() {
    settings_->sync();
}

int32_t QtSettingsStore::ReadInt(std::string_view section, std::string_view key,
                                 int32_t defaultValue) {
    const QVariant value = settings_->value(KeyOf(section, key));
    // An INI file gives text; the registry gives numbers. Anything else (lists, byte
    // arrays, other stored types) is not an integer of ours.
    switch (value.typeId()) {
        case QMetaType::QString: {
            const std::optional<int32_t> parsed = ParseStoredInt(value.toString().toStdString());
            return parsed.value_or(defaultValue);
        }
        case QMetaType::Int:
            return value.toInt();
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong: {
            bool ok = false;
            const qlonglong wide = value.toLongLong(&ok);
            if (!ok || wide < std::numeric_limits<int32_t>::min() ||
                wide > std::numeric_limits<int32_t>::max()) {
                return defaultValue;
            }
            return static_cast<int32_t>(wide);
        }
        default:
            return defaultValue;
    }
}

void QtSettingsStore::WriteInt(std::string_view section, std::string_view key, int32_t value) {
    settings_->setValue(KeyOf(section, key), static_cast<int>(value));
}

std::string QtSettingsStore::ReadString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue) {
    const QVariant value = settings_->value(KeyOf(section, key));
    if (value.typeId() != QMetaType::QString) {
        return std::string(defaultValue);
    }
    return value.toString().toStdString();
}

void QtSettingsStore::WriteString(std::string_view section, std::string_view key,
                                  std::string_view value) {
    settings_->setValue(KeyOf(section, key), ToQString(value));
}

bool QtSettingsStore::Sync() {
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

}  // namespace vellumo::shell
