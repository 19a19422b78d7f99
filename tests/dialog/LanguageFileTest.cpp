#include "LanguageLoader.h"
#include "ProfileFile.h"
#include "SubmitCheck.h"
#include "TempDirectory.h"
#include "UiTextTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace kestrun::test {
namespace {

TEST(ProfileFile, NamesIgnoreCaseAndValuesLoseBlanksQuotesAndComments) {
    const ProfileFile profile = ProfileFile::FromBytes("; a comment line\r\n"
                                                       "[Other]\r\n"
                                                       "Exit=Wrong section\r\n"
                                                       "  [language]  \r\n"
                                                       "  ;Exit=Commented out\r\n"
                                                       "  eXiT  =   \"  Quit  \"  \r\n"
                                                       "Exit=Second one loses\r\n"
                                                       "Submit = \"Send\r\n"
                                                       "no equals sign here\r\n"
                                                       "Empty=\r\n");
    EXPECT_EQ(profile.Value(u"LANGUAGE", u"Exit"), u"  Quit  ");
    EXPECT_EQ(profile.Value(u"Other", u"EXIT"), u"Wrong section");
    EXPECT_EQ(profile.Value(u"LANGUAGE", u"Submit"), u"\"Send");
    EXPECT_EQ(profile.Value(u"LANGUAGE", u"Empty"), u"");
    EXPECT_EQ(profile.Value(u"LANGUAGE", u"no equals sign here"), std::nullopt);
    EXPECT_EQ(profile.Value(u"Missing", u"Exit"), std::nullopt);
}

TEST(ProfileFile, ReadsUtf8WithAndWithoutMarkAndUtf16WithMark) {
    // A text with U+00E4 in the middle.
    const std::u16string expected = u"Sch\u00e4rfe";
    EXPECT_EQ(
        ProfileFile::FromBytes("[LANGUAGE]\nExit=Sch\xC3\xA4rfe\n").Value(u"LANGUAGE", u"Exit"),
        expected);
    EXPECT_EQ(ProfileFile::FromBytes("\xEF\xBB\xBF[LANGUAGE]\nExit=Sch\xC3\xA4rfe\n")
                  .Value(u"LANGUAGE", u"Exit"),
              expected);

    std::string utf16 = "\xFF\xFE";
    for (const char16_t unit : std::u16string(u"[LANGUAGE]\r\nExit=Sch\u00e4rfe\r\n")) {
        utf16.push_back(static_cast<char>(unit & 0xFF));
        utf16.push_back(static_cast<char>(unit >> 8));
    }
    EXPECT_EQ(ProfileFile::FromBytes(utf16).Value(u"language", u"exit"), expected);
}

TEST(ProfileFile, CutsLongValuesTo299UnitsButNotInsideASurrogatePair) {
    const std::string longValue(400, 'x');
    const auto value =
        ProfileFile::FromBytes("[LANGUAGE]\nExit=" + longValue + "\n").Value(u"LANGUAGE", u"Exit");
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, std::u16string(299, u'x'));

    // 298 units, then U+1F600 (two units): the pair would straddle the limit.
    const std::string straddling = std::string(298, 'y') + "\xF0\x9F\x98\x80" + "zz";
    const auto cut =
        ProfileFile::FromBytes("[LANGUAGE]\nExit=" + straddling + "\n").Value(u"LANGUAGE", u"Exit");
    ASSERT_TRUE(cut);
    EXPECT_EQ(*cut, std::u16string(298, u'y'));
}

class RecordingControls : public ControlTextSink {
public:
    void SetControlText(ControlId control, const std::u16string& text) override {
        texts[control] = text;
    }
    std::map<ControlId, std::u16string> texts;
};

// Runs the language loader with a given current working directory.
class LanguageLoaderTest : public testing::Test {
protected:
    LanguageLoaderTest() : m_Previous(std::filesystem::current_path()) {
        std::filesystem::current_path(m_Directory.Path());
    }
    ~LanguageLoaderTest() override { std::filesystem::current_path(m_Previous); }

    void WriteLanguageFile(const std::string& bytes) {
        m_Directory.WriteFile("Language.ini", bytes);
    }

    bool Apply() {
        LanguageLoader loader(m_Texts, m_ExtraTexts, m_Controls);
        return loader.Apply();
    }

    UiTextTable m_Texts;
    ExtraTextTable m_ExtraTexts;
    RecordingControls m_Controls;

private:
    TempDirectory m_Directory;
    std::filesystem::path m_Previous;
};

TEST_F(LanguageLoaderTest, WithoutAFileNothingChanges) {
    EXPECT_FALSE(Apply());
    EXPECT_TRUE(m_Controls.texts.empty());
    EXPECT_EQ(m_Texts.Text(UiText::SearchDevice), u"Search Device");
    EXPECT_EQ(m_Texts.Text(UiText::Searching), u"Searching.....");
}

TEST_F(LanguageLoaderTest, OneKeyReplacesOneTextAndEveryControlGetsItsText) {
    WriteLanguageFile("[LANGUAGE]\nSearch_Device=Suchen\n");
    EXPECT_TRUE(Apply());
    EXPECT_EQ(m_Texts.Text(UiText::SearchDevice), u"Suchen");
    EXPECT_EQ(m_Controls.texts[ControlId::SearchButton], u"Suchen");
    EXPECT_EQ(m_Controls.texts[ControlId::DeviceListsLabel], u"Device Lists");
    EXPECT_EQ(m_Controls.texts[ControlId::StaticRadio], u"Static");
    EXPECT_EQ(m_Controls.texts[ControlId::Exit], u"Exit");
    EXPECT_EQ(m_Controls.texts[ControlId::HelpText],
              u"To Change Device Name, IP address, and Gateway:\n"
              u"1. Select the device on the left side.\n"
              u"2. Change network parameter on the right side.\n"
              u"3. Press Submit button.\n"
              u"4. Press Search Device to re-search again.\n"
              u"5. Double click the device to open it.\n");
    EXPECT_EQ(m_Controls.texts.size(), 15u);
}

TEST_F(LanguageLoaderTest, KeysFollowTheUnderscoreRuleOnlyWhereItApplies) {
    WriteLanguageFile("[LANGUAGE]\n"
                      "Search Device=Not found: spaces instead of underscores\n"
                      "DNS_1=Nameserver 1\n"
                      "Static=Fest\n"
                      "Please_check_the_network_card_settings!=Netzwerkkarte pruefen!\n"
                      "To_Change_Device_Name,_IP_address,_and_Gateway:=Hilfe\n"
                      "Select_All=\n"
                      "unreachable=nicht erreichbar\n"
                      "The_device_reports_web_port_%1,_which_a_web_browser_cannot_open.=Port %1\n");
    EXPECT_TRUE(Apply());
    EXPECT_EQ(m_Texts.Text(UiText::SearchDevice), u"Search Device");
    EXPECT_EQ(m_Texts.Text(UiText::Dns1), u"Nameserver 1");
    EXPECT_EQ(m_Texts.Text(UiText::Static), u"Fest");
    EXPECT_EQ(m_Texts.Text(UiText::CheckNetworkCard), u"Netzwerkkarte pruefen!");
    EXPECT_EQ(m_Texts.Text(UiText::SelectAll), u"Select All");
    EXPECT_EQ(m_Controls.texts[ControlId::Dns1Label], u"Nameserver 1");
    EXPECT_EQ(m_ExtraTexts.Text(ExtraText::FindingUnreachable), u"nicht erreichbar");
    EXPECT_EQ(m_ExtraTexts.Text(ExtraText::PortCannotOpen), u"Port %1");
    EXPECT_EQ(m_ExtraTexts.Text(ExtraText::FindingBadSettings), u"bad settings");
    EXPECT_TRUE(m_Controls.texts[ControlId::HelpText].starts_with(u"Hilfe\n1. Select"));
}

// The checks' messages reach the tool tips and the assign dialog in the file's words, each
// phrase of a message translated on its own and the values kept as they are.
TEST_F(LanguageLoaderTest, SharedMessagesAreFilledInTheFilesWords) {
    using namespace vanmoor::commission;
    WriteLanguageFile("[LANGUAGE]\n"
                      "%1_is_%2,_which_no_device_can_use=%1 ist %2, nicht nutzbar\n"
                      "a_loopback_address=eine Loopback-Adresse\n");
    EXPECT_TRUE(Apply());
    const MessageText unusable =
        Message(MessagePattern::UnusableAddress,
                {Value("127.0.0.5"), Message(MessagePattern::PhraseLoopback)});
    EXPECT_EQ(m_ExtraTexts.Message(unusable),
              u"127.0.0.5 ist eine Loopback-Adresse, nicht nutzbar");
    const MessageText multicast = Message(MessagePattern::UnusableAddress,
                                          {Value("%2"), Message(MessagePattern::PhraseMulticast)});
    EXPECT_EQ(m_ExtraTexts.Message(multicast), u"%2 ist a multicast address, nicht nutzbar");
    EXPECT_EQ(EnglishText(multicast), "%2 is a multicast address, which no device can use");
}

TEST_F(LanguageLoaderTest, ALongValueShowsOnlyItsFirst299Characters) {
    WriteLanguageFile("[LANGUAGE]\nExit=" + std::string(400, 'E') + "\n");
    EXPECT_TRUE(Apply());
    EXPECT_EQ(m_Controls.texts[ControlId::Exit], std::u16string(299, u'E'));
}

// The example shipped as documentation names every text by the key the loader looks up.
TEST(ExampleLanguageFile, HasAKeyForEveryText) {
    const ProfileFile profile = ProfileFile::Load(VANMOOR_EXAMPLE_LANGUAGE_FILE);
    const UiTextTable defaults;
    for (std::size_t i = 0; i < kUiTextCount; ++i) {
        const auto entry = static_cast<UiText>(i);
        const std::u16string& text = defaults.Text(entry);
        const std::u16string key = UiTextTable::UsesUnderscoreKey(entry) ? MakeIniKey(text) : text;
        EXPECT_TRUE(profile.Value(u"LANGUAGE", key)) << "no key for text " << i;
    }
    for (std::size_t i = 0; i < kExtraTextCount; ++i) {
        const std::u16string key =
            MakeIniKey(ExtraTextTable::DefaultText(static_cast<ExtraText>(i)));
        EXPECT_TRUE(profile.Value(u"LANGUAGE", key)) << "no key for added text " << i;
    }
    for (std::size_t i = 0; i < vanmoor::commission::kMessagePatternCount; ++i) {
        const auto pattern = static_cast<vanmoor::commission::MessagePattern>(i);
        EXPECT_TRUE(profile.Value(u"LANGUAGE", MakeIniKey(ExtraTextTable::DefaultPattern(pattern))))
            << "no key for message " << vanmoor::commission::PatternText(pattern);
    }
}

// The shared rules' messages are shown in the language file's words; until replaced, in theirs.
TEST(ExtraTextTable, EveryFormProblemHasAReplaceableTextThatStartsAsTheSharedOne) {
    using vanmoor::settings::FormProblem;
    ExtraTextTable texts;
    for (const FormProblem problem :
         {FormProblem::PortNotInteger, FormProblem::NameTooLong, FormProblem::PortOutOfRange,
          FormProblem::NameTooManyBytes, FormProblem::KeptNameIncomplete}) {
        EXPECT_EQ(FormProblemText(problem, texts), vanmoor::settings::FormProblemText(problem));
    }
    texts.Replace(ExtraText::ProblemPortOutOfRange, u"Port falsch");
    EXPECT_EQ(FormProblemText(FormProblem::PortOutOfRange, texts), u"Port falsch");
}

} // namespace
} // namespace kestrun::test
