// Which translations the user's preferred languages ask for: English or C first means
// none, since the source texts are English.
#include <gtest/gtest.h>

#include "shell/Translations.h"

namespace vellumo::shell {
namespace {

struct NamesCase {
    const char* name;
    QStringList uiLanguages;
    QStringList expected;
};

void PrintTo(const NamesCase& c, std::ostream* os) {
    *os << c.name;
}

class TranslationNamesTest : public ::testing::TestWithParam<NamesCase> {};

TEST_P(TranslationNamesTest, FollowThePreferencesUpToEnglish) {
    EXPECT_EQ(TranslationNames(GetParam().uiLanguages), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Preferences, TranslationNamesTest,
    ::testing::Values(
        NamesCase{"German", {"de-DE"}, {"vellumo_de_DE"}},
        NamesCase{"GermanThenFrench", {"de-AT", "fr"}, {"vellumo_de_AT", "vellumo_fr"}},
        NamesCase{"FrenchThenEnglishThenGerman", {"fr-FR", "en", "de"}, {"vellumo_fr_FR"}},
        NamesCase{"EnglishBeforeGerman", {"en-GB", "de-DE"}, {}}, NamesCase{"C", {"C"}, {}},
        NamesCase{"Nothing", {}, {}}),
    [](const auto& names) { return std::string(names.param.name); });

}  // namespace
}  // namespace vellumo::shell
