#pragma once
// The main window's own texts in both languages (UTF-8).

#include "base/Language.h"

#include <string_view>

namespace q905 {

struct WindowText {
    std::string_view english;
    std::string_view german;
    constexpr std::string_view in(Language language) const {
        return language == Language::German ? german : english;
    }
};

inline constexpr std::string_view kWindowTitle = "Korvane Mirex Keyboard Q905 UK";
inline constexpr std::string_view kSoftwareVersion = "1.4";

namespace texts {
inline constexpr WindowText kHelpReset{"Reset settings", "Einstellung zur\u00FCcksetzen"};
inline constexpr WindowText kHelpFirmware{"Firmware update", "Firmware aktualisieren"};
inline constexpr WindowText kHelpVersion{"Software Version: 1.4", "Softwareversion: 1.4"};
inline constexpr WindowText kApply{"Apply", "Anwenden"};
inline constexpr WindowText kProfile{"Profile", "Profil"};

inline constexpr WindowText kFactoryQuestion{
    "Confirm to return Factory Setting?",
    "Bitte best\u00E4tige das Zur\u00FCcksetzen auf die Werkseinstellungen?"};
inline constexpr WindowText kFactoryCaption{"Factory Setting", "Werkseinstellungen"};

inline constexpr WindowText kTrayExit{"Exit", "Beenden"};
// The exclamation mark is the full-width U+FF01.
inline constexpr WindowText kNoKeyboard{"No Gaming Keyboard\uFF01", "No Gaming Keyboard\uFF01"};
inline constexpr WindowText kNoKeyboardTitle{"Warning", "Warning"};

inline constexpr std::string_view kRegistrationFailed =
    "Cannot register for Wdm2 class device notification";

// Told when applying did not reach the keyboard; the edits stay pending.
inline constexpr WindowText kApplyCaption{"Apply", "Anwenden"};
inline constexpr WindowText kApplyNotConnected{
    "The keyboard is not connected. Your changes have not been applied; they are kept until "
    "you apply them again.",
    "Die Tastatur ist nicht verbunden. Deine \u00C4nderungen wurden nicht \u00FCbernommen; sie "
    "bleiben erhalten, bis Du sie erneut anwendest."};
inline constexpr WindowText kReadFailed{
    "The keyboard did not answer. The settings shown are the ones last saved on this computer, "
    "not read from the keyboard.",
    "Die Tastatur hat nicht geantwortet. Die angezeigten Einstellungen sind die zuletzt auf "
    "diesem Computer gespeicherten, nicht die der Tastatur."};
inline constexpr WindowText kApplyNotAcknowledged{
    "The keyboard did not confirm the changes. They have not all been applied; please apply "
    "them again.",
    "Die Tastatur hat die \u00C4nderungen nicht best\u00E4tigt. Sie wurden nicht vollst\u00E4ndig "
    "\u00FCbernommen; bitte wende sie erneut an."};
// Told instead of resetting the host side when the keyboard itself could not be reset.
inline constexpr WindowText kResetNotConnected{
    "The keyboard is not connected. Nothing has been reset.",
    "Die Tastatur ist nicht verbunden. Es wurde nichts zur\u00FCckgesetzt."};

inline constexpr WindowText kAboutCaption{"About", "\u00DCber"};
inline constexpr WindowText kAboutText{
    "Korvane Mirex Keyboard Q905 UK\nSoftware Version 1.4\n\nConfiguration utility for the "
    "gaming keyboard.",
    "Korvane Mirex Keyboard Q905 UK\nSoftwareversion 1.4\n\nKonfigurationsprogramm f\u00FCr die "
    "Gaming-Tastatur."};
} // namespace texts

} // namespace q905
