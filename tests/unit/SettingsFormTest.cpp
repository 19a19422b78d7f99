#include "SettingsForm.h"

#include <gtest/gtest.h>

namespace vanmoor::settings {
namespace {

// A device on port 4022 takes 18 bytes of name, one on port 32970 takes 32; counted in bytes
// of UTF-8, not in characters.
TEST(SettingsFormTest, APort4022NameCarriesEighteenBytes) {
    SettingsForm form;
    form.name = std::u16string(18, u'n');
    EXPECT_EQ(CheckNameFits(form, false), FormProblem::None);
    const NetSettings record = MakeNetSettings(form, 80, {});
    EXPECT_EQ(std::string(record.name, sizeof record.name), std::string(18, 'n'));
    form.name += u'n';
    EXPECT_EQ(CheckNameFits(form, false), FormProblem::NameTooManyBytes);
    EXPECT_EQ(CheckNameFits(form, true), FormProblem::None);
    form.name = std::u16string(9, u'\u00e9') + u"n"; // 19 bytes in 10 characters
    EXPECT_EQ(CheckNameFits(form, false), FormProblem::NameTooManyBytes);
    form.name = std::u16string(16, u'\u00e9') + u"n"; // 33 bytes
    EXPECT_EQ(CheckNameFits(form, true), FormProblem::NameTooManyBytes);
}

} // namespace
} // namespace vanmoor::settings
