// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's own texts in both languages (UTF-8).

#include "base/Language.h"
#include "base/Result.h"
#include "base/WindowText.h"
#include "keys/KeyDialogControls.h"

#include <array>
#include <cerrno>
#include <string>
#include <string_view>

namespace q905 {

inline constexpr std::string_view kWindowTitle = "Korvane Mirex Keyboard Q905 UK";

namespace texts {
// %1 is programVersion().
inline constexpr WindowText kHelpVersion{"Software Version: %1", "Softwareversion: %1"};
// A key of the keyboard picture, after its label: what it carries (%1, as q905ctl words it), or
// its colour (%1, #RRGGBB) in a lighting profile's per-key colour view.
inline constexpr WindowText kKeyAssigned{", assigned: %1", ", belegt: %1"};
inline constexpr WindowText kKeyColour{", colour %1", ", Farbe %1"};
// Apply's tooltip: its shortcut.
inline constexpr WindowText kApplyTip{"Apply (Ctrl+S)", "Anwenden (Strg+S)"};

inline constexpr WindowText kFactoryQuestion{
    "Confirm to return Factory Setting?",
    "Bitte best\u00E4tige das Zur\u00FCcksetzen auf die Werkseinstellungen?"};
inline constexpr WindowText kFactoryCaption{"Factory Setting", "Werkseinstellungen"};

inline constexpr WindowText kTrayShow{"Show", "Anzeigen"};
// q905ctl's answer while the window shows a dialog that would write over its change (in the
// command line's language, English).
inline constexpr std::string_view kCommandWhileDialogOpen =
    "the q905 window has a dialog open (keys, macros or profiles); close it and try again";
// Beside Apply while the keyboard's session works for the window; edits wait until it ends.
inline constexpr WindowText kBusyReading{"Reading the keyboard…", "Tastatur wird gelesen …"};
inline constexpr WindowText kBusyApplying{"Sending your changes to the keyboard…",
                                          "Änderungen werden zur Tastatur gesendet …"};
inline constexpr WindowText kBusyResetting{"Restoring the factory settings…",
                                           "Werkseinstellungen werden wiederhergestellt …"};
// What the window's status line says after an apply that went through (screen readers only).
inline constexpr WindowText kApplyDone{"The keyboard took your changes.",
                                       "Die Tastatur hat Ihre Änderungen übernommen."};
inline constexpr WindowText kTrayExit{"Exit", "Beenden"};
inline constexpr WindowText kTrayStartWithDesktop{"Start with the desktop",
                                                  "Mit dem Desktop starten"};
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

// A save that failed. %1 is the reason (systemErrorText, else the system's own message).
inline constexpr WindowText kNotSavedNothingSent{
    "Your changes could not be saved on this computer (%1), so they have not been sent to the "
    "keyboard.",
    "Deine \u00C4nderungen konnten auf diesem Computer nicht gespeichert werden (%1), daher "
    "wurden sie nicht an die Tastatur gesendet."};
inline constexpr WindowText kNotSaved{
    "Your settings could not be saved on this computer (%1). The window keeps them until you "
    "close it.",
    "Deine Einstellungen konnten auf diesem Computer nicht gespeichert werden (%1). Das "
    "Fenster beh\u00E4lt sie, bis Du es schlie\u00DFt."};
inline constexpr WindowText kMacrosNotSaved{
    "The macros could not be saved on this computer (%1).",
    "Die Makros konnten auf diesem Computer nicht gespeichert werden (%1)."};
inline constexpr WindowText kResetNotSaved{
    "The settings could not be saved on this computer (%1), so the keyboard has not been reset.",
    "Die Einstellungen konnten auf diesem Computer nicht gespeichert werden (%1), daher wurde "
    "die Tastatur nicht zur\u00FCckgesetzt."};
inline constexpr WindowText kResetNotTaken{
    "The keyboard did not take the factory reset. Nothing has been reset.",
    "Die Tastatur hat das Zur\u00FCcksetzen nicht ausgef\u00FChrt. Es wurde nichts "
    "zur\u00FCckgesetzt."};
inline constexpr WindowText kResetNotReadBack{
    "The keyboard has been reset, but it could not be read back. The settings shown may not be "
    "the keyboard's.",
    "Die Tastatur wurde zur\u00FCckgesetzt, konnte danach aber nicht gelesen werden. Die "
    "angezeigten Einstellungen sind m\u00F6glicherweise nicht die der Tastatur."};
// A key's launch action that did not start; %1 is the stored path.
inline constexpr WindowText kLaunchMissing{"%1 cannot be opened: it no longer exists.",
                                           "%1 kann nicht ge\u00F6ffnet werden: es gibt es nicht "
                                           "mehr."};
inline constexpr WindowText kLaunchNotProgram{
    "%1 cannot be started: it is not a program.",
    "%1 kann nicht gestartet werden: es ist kein Programm."};
inline constexpr WindowText kLaunchFailed{"%1 could not be opened.",
                                          "%1 konnte nicht ge\u00F6ffnet werden."};

// After the load's own message: a file that exists but could not be read is left alone.
inline constexpr WindowText kFileKeptAsItIs{
    "The window works on the settings in memory and leaves this file as it is.",
    "Das Fenster arbeitet mit den Einstellungen im Speicher und l\u00E4sst diese Datei, wie sie "
    "ist."};

// What a key bound to a launch action does, by FunctionGroup PlayMusic..OpenFolder: the key
// dialog's row names.
inline constexpr const auto& kLaunchKinds = key_dialog::kLaunchRowNames;

inline constexpr WindowText kAboutCaption{"About", "\u00DCber"};
inline constexpr WindowText kAboutText{
    "Korvane Mirex Keyboard Q905 UK\nSoftware Version %1\n\nConfiguration utility for the "
    "gaming keyboard.",
    "Korvane Mirex Keyboard Q905 UK\nSoftwareversion %1\n\nKonfigurationsprogramm f\u00FCr die "
    "Gaming-Tastatur."};
} // namespace texts

// The reason of a failed save in the window's language, for the errors a user can act on; empty
// for others, which are told in the system's own words.
constexpr std::string_view systemErrorText(int error, Language language) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return WindowText{"the disk is full", "der Datentr\u00E4ger ist voll"}.in(language);
    case EACCES:
    case EPERM:
        return WindowText{"no permission to write there", "keine Schreibberechtigung"}.in(language);
    case EROFS:
        return WindowText{"the disk is read-only", "der Datentr\u00E4ger ist schreibgesch\u00FCtzt"}
            .in(language);
    case EFBIG:
        return WindowText{"the file is too large", "die Datei ist zu gro\u00DF"}.in(language);
    default:
        return {};
    }
}

// The reason of a failed save as a window tells it: in its language where systemErrorText knows
// the error, else in the system's own words.
inline std::string failureReason(const Status& failure, Language language) {
    const std::string_view reason = systemErrorText(failure.systemError(), language);
    return reason.empty() ? failure.message() : std::string(reason);
}

} // namespace q905
