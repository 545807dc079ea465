#pragma once
// The profile dialog's texts in both languages (UTF-8).

#include "app/WindowTexts.h"

namespace q905::profile_texts {

inline constexpr WindowText kCaption{"Profile", "Profil"};
inline constexpr WindowText kImport{"IMPORT", "Importieren"};
inline constexpr WindowText kExport{"EXPORT", "Export"};
inline constexpr WindowText kFilter{"bin Files(*.bin);;All Files (*)",
                                    "bin Dateien(*.bin);;Alle Dateien (*)"};

// Told instead of showing a name that no file carries; %1 is the reason.
inline constexpr WindowText kImportFailed{"The profile could not be imported:\n%1",
                                          "Das Profil konnte nicht importiert werden:\n%1"};
inline constexpr WindowText kExportFailed{"The profile could not be exported:\n%1",
                                          "Das Profil konnte nicht exportiert werden:\n%1"};
inline constexpr WindowText kRenameFailed{"The profile could not be renamed:\n%1",
                                          "Das Profil konnte nicht umbenannt werden:\n%1"};
// Asked before a profile's launch actions are taken over; %1 lists them.
inline constexpr WindowText kLaunchQuestion{
    "This profile makes keys open programs, files or folders on this computer:\n\n%1\n"
    "Import the profile with these actions?",
    "Dieses Profil l\u00E4sst Tasten Programme, Dateien oder Ordner auf diesem Computer "
    "\u00F6ffnen:\n\n%1\nDas Profil mit diesen Aktionen importieren?"};

} // namespace q905::profile_texts
