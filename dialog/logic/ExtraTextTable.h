#pragma once

#include "MessageText.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace kestrun {

// Texts of the dialog's later additions (batch addressing, export, submit results). They come
// from the language file like the first 27: the key is the English text with blanks turned
// into underscores. "%1", "%2" stand for values filled in when the text is shown.
enum class ExtraText : std::size_t {
    FindingDuplicateAddress,
    FindingUnreachable,
    FindingBadSettings,
    FindingDuplicateName,
    SubmitApplied,
    SubmitNotApplied,
    SubmitNotAppliedCredentials,
    SubmitOtherSubnet,
    SubmitNoAnswer,
    PortCannotOpen,
    SubmitNotSent,
    AssignMenuEntry,
    AssignTitle,
    AssignFirstAddress,
    AssignNamePattern,
    AssignDevices,
    AssignChoiceSelected,
    AssignChoiceMarked,
    AssignChoiceAll,
    AssignKeepHint,
    AssignEnterFirst,
    AssignNoDevices,
    AssignUserName,
    AssignPassword,
    AssignApply,
    AssignClose,
    AssignCurrentAddress,
    AssignPlannedAddress,
    AssignPlannedName,
    AssignResult,
    AssignFinalAddress,
    ExportList,
    ExportCsvFilter,  // the name before " (*.csv)" in the file dialog
    ExportJsonFilter, // the name before " (*.json)"
    ExportFailed,
    ResultChanged,
    ResultUnchanged,
    ResultNotFound,
    ResultRefused,
    ResultFailedToSend,
    ResultKept,    // a camera said OK but kept its settings
    UserNameLabel, // the main window's label; its password label is AssignPassword's text
    ProblemPortNotInteger,
    ProblemNameTooLong,
    ProblemPortOutOfRange,
    ProblemNameTooManyBytes,
    ProblemKeptNameIncomplete,
    AboutNotice,
    AssignStillRunning,
    AssignNoGateway,
    AssignAllowOtherSubnet,
    AssignEnterNetmask,
    AssignCredentialsFirst,
    WsdMarker,   // after the name of a camera found by WS-Discovery alone
    WsdReadOnly, // the line under the fields while such a camera is shown
    PageOnOtherHost,
    AddressPartlyFilled,
    SubmitSearchFailed,
    CameraRead, // the button that reads a camera through its device service
    CameraReading,
    CameraReadFailed, // %1: why, a refused login or no answer
    CameraReadNoService,
    CameraReadNotService,
    CameraSending,
    CameraRebooting,
    CameraWaiting,
    CameraVerifying,
    CameraChanged,
    CameraNothingToChange,
    CameraKept,
    CameraChangeRefused,
    CameraChangeFailed,
    CameraNotConfirmed,
    CameraNotSent,
    AssignReadCameras, // the assign dialog's action that reads cameras
    AssignReadingCameras,
    AssignReadCamerasFirst, // the choice holds cameras only, none read yet
    AssignCamerasLeftOut,   // %1: the cameras not read, each with why
    CameraLoginRefused,     // why a camera was not read
    CameraNoAnswer,
    CameraNoDeviceService,
    AssignStillReading,
    Count, // not a text
};

inline constexpr std::size_t kExtraTextCount = static_cast<std::size_t>(ExtraText::Count);

class ExtraTextTable {
public:
    ExtraTextTable();

    const std::u16string& Text(ExtraText entry) const;
    void Replace(ExtraText entry, std::u16string text);
    // The English text, whose underscore form is the language file key.
    static std::u16string_view DefaultText(ExtraText entry);

    // The shared checks' and planner's messages, their patterns keyed the same way.
    void ReplacePattern(vanmoor::commission::MessagePattern pattern, std::u16string text);
    std::u16string Message(const vanmoor::commission::MessageText& message) const;
    static std::u16string DefaultPattern(vanmoor::commission::MessagePattern pattern);

private:
    std::array<std::u16string, kExtraTextCount> m_Texts;
    std::array<std::string, vanmoor::commission::kMessagePatternCount> m_Patterns; // UTF-8
};

} // namespace kestrun
