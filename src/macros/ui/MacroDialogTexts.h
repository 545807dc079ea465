// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The macro dialog's texts in both languages (UTF-8).

#include "texts/WindowTexts.h"

namespace q905::macro_texts {

inline constexpr WindowText kCaption{"Macro Management", "Macro Management"};
inline constexpr WindowText kDelay{"Delay", "Verz\u00F6gerung"};
inline constexpr WindowText kBetween{"between", "zwischen"};
inline constexpr WindowText kKeystrokes{"keystrokes", "Tastenanschl\u00E4ge"};
inline constexpr WindowText kLoop{"Loop", "Schleife"};
// The buttons' captions are their names in the control table.
inline constexpr WindowText kStopRecording{"Stop Recording", "Aufnahme stoppen"};
// A key row of the event list, as a screen reader reads it: %1 the key.
inline constexpr WindowText kKeyDown{"%1 down", "%1 gedr\u00FCckt"};
inline constexpr WindowText kKeyUp{"%1 up", "%1 losgelassen"};
// How much of a macro's 190 event bytes the selected macro uses.
inline constexpr WindowText kBytesUsed{"Events", "Ereignisse"};

inline constexpr WindowText kSelectToRecord{"Select a Macro file to record \n",
                                            "W\u00E4hle ein Macro zum aufnehmen aus"};
inline constexpr WindowText kConfirmDelete{"Confirm to delete?",
                                           "Ausgew\u00E4hltes Macro l\u00F6schen?\uFF1F"};
inline constexpr WindowText kSelectToDelete{"Please select a Macro file to delete\n",
                                            "W\u00E4hle ein Macro zum l\u00F6schen aus\n"};
inline constexpr WindowText kEditCurrentDelay{
    "Please edit current delay\n", "Bitte editiere die ausgew\u00E4hlte Verz\u00F6gerung"};
// Above the delete question, one line per key that plays the macro: %1 the key, %2 the macro.
inline constexpr WindowText kKeyLosesMacro{
    "%1 plays %2: it will get its default function.",
    "%1 spielt %2: die Taste erh\u00E4lt ihre Standardfunktion."};
// An edit or insertion that would outgrow the macro's 190 bytes is refused whole.
inline constexpr WindowText kMacroFull{
    "The macro is full: this change does not fit into its 190 bytes.",
    "Das Macro ist voll: diese \u00C4nderung passt nicht in seine 190 Bytes."};
// After the reason MacroDefine.bin could not be written, while the dialog stays open.
inline constexpr WindowText kEditsKept{
    "Your changes are still here: press OK to try again, or Cancel to drop them.",
    "Deine \u00C4nderungen sind noch da: dr\u00FCcke OK, um es erneut zu versuchen, oder "
    "Abbrechen, um sie zu verwerfen."};

// The event list's context menu.
inline constexpr WindowText kInsertBefore{"Insert Before", "Vorher aufnehmen"};
inline constexpr WindowText kInsertAfter{"Insert After", "Nachher aufnehmen"};
inline constexpr WindowText kInsertMouseKey{"Insert Mouse Key", "Maus Funktion umdrehen"};
inline constexpr WindowText kLeft{"Left", "Linksklick"};
inline constexpr WindowText kRight{"Right", "Rechtsklick"};
inline constexpr WindowText kMiddle{"Middle", "mittlerer Klick"};
inline constexpr WindowText kDown{"Down", "Unten"};
inline constexpr WindowText kUp{"Up", "Oben"};
inline constexpr WindowText kClick{"Click", "klicken"};
inline constexpr WindowText kInsertDelay{"Insert Delay", "Verz\u00F6gerung einf\u00FCgen"};
inline constexpr WindowText kDeleteEvent{"Delete", "L\u00F6schen"};

} // namespace q905::macro_texts
