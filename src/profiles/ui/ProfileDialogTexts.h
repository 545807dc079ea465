// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The profile dialog's texts in both languages (UTF-8).

#include "texts/WindowTexts.h"

namespace q905::profile_texts {

inline constexpr WindowText kCaption{"Profile", "Profil"};
inline constexpr WindowText kFilter{"bin Files(*.bin);;All Files (*)",
                                    "bin Dateien(*.bin);;Alle Dateien (*)"};

// Told instead of showing a name that no file carries; %1 is the reason, one of those below.
inline constexpr WindowText kImportFailed{"The profile could not be imported:\n%1",
                                          "Das Profil konnte nicht importiert werden:\n%1"};
inline constexpr WindowText kExportFailed{"The profile could not be exported:\n%1",
                                          "Das Profil konnte nicht exportiert werden:\n%1"};
inline constexpr WindowText kRenameFailed{"The profile could not be renamed:\n%1",
                                          "Das Profil konnte nicht umbenannt werden:\n%1"};
// The reasons; %1 is the file.
inline constexpr WindowText kUnreadable{"%1 cannot be read.", "%1 kann nicht gelesen werden."};
inline constexpr WindowText kNotAProfile{"%1 is not a profile file.", "%1 ist keine Profildatei."};
inline constexpr WindowText kBadName{
    "A profile name must not be empty, \".\" or \"..\", contain \"/\" or \"\\\", or be "
    "only \".bin\".",
    "Ein Profilname darf nicht leer, \".\" oder \"..\" sein, kein \"/\" oder \"\\\" "
    "enthalten und nicht nur aus \".bin\" bestehen."};
inline constexpr WindowText kNoProfile{"There is no current profile.",
                                       "Es gibt kein aktuelles Profil."};
// %2: why, in the window's language where it is known.
inline constexpr WindowText kNotWritten{"%1 could not be written (%2).",
                                        "%1 konnte nicht geschrieben werden (%2)."};
// The new profile is in place but old files stay; %1 its name, %2 the files.
inline constexpr WindowText kOldNotRemoved{
    "The current profile is now \"%1\", but the old profile files could not be removed:\n%2",
    "Das aktuelle Profil ist jetzt \"%1\", aber die alten Profildateien konnten nicht entfernt "
    "werden:\n%2"};
// Asked when the dialog opens on a folder with more than one profile file; %1 the current
// profile, %2 the others.
inline constexpr WindowText kTidyQuestion{
    "The current profile is \"%1\". The profile folder also holds older profile files:\n%2\n"
    "Remove them?",
    "Das aktuelle Profil ist \"%1\". Im Profilordner liegen noch \u00E4ltere Profildateien:\n%2\n"
    "Sollen sie entfernt werden?"};
inline constexpr WindowText kTidyFailed{
    "These old profile files could not be removed:\n%1",
    "Diese alten Profildateien konnten nicht entfernt werden:\n%1"};

// Asked before a profile's launch actions are taken over; %1 lists them.
inline constexpr WindowText kLaunchQuestion{
    "This profile makes keys open programs, files or folders on this computer:\n\n%1\n"
    "Import the profile with these actions?",
    "Dieses Profil l\u00E4sst Tasten Programme, Dateien oder Ordner auf diesem Computer "
    "\u00F6ffnen:\n\n%1\nDas Profil mit diesen Aktionen importieren?"};

} // namespace q905::profile_texts
