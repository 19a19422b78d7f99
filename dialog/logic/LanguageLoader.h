#pragma once

#include "ControlId.h"
#include "ExtraTextTable.h"
#include "UiTextTable.h"

#include <string>

namespace kestrun {

class ProfileFile;

// Where the language loader puts the texts it read: the dialog's controls.
class ControlTextSink {
public:
    virtual void SetControlText(ControlId control, const std::u16string& text) = 0;

protected:
    ~ControlTextSink() = default;
};

// Replaces the texts of the dialog from "Language.ini" in the current working directory
// (section LANGUAGE), once, at dialog initialisation.
class LanguageLoader {
public:
    static constexpr const char* kFileName = "Language.ini";

    LanguageLoader(UiTextTable& texts, ExtraTextTable& extraTexts, ControlTextSink& controls);

    // Reads the file into the table and sets the control texts from it. Without a readable file
    // nothing changes: the table keeps its defaults and the controls their template texts.
    // Returns whether the file was read.
    bool Apply();

private:
    void LookupText(UiText entry, bool underscoreKey, const ProfileFile& profile);
    void LookupExtraTexts(const ProfileFile& profile);
    void SetControlTexts();

    UiTextTable& m_Texts;
    ExtraTextTable& m_ExtraTexts;
    ControlTextSink& m_Controls;
};

} // namespace kestrun
