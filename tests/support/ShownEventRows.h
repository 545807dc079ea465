// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The macro dialog's event list read back as the key name table writes rows: "A dn" for a key
// row with a down arrow, "A up" for one with an up arrow, "50 ms" for a delay.
#include "controls/ui/SkinListBox.h"

#include <QStringList>

namespace q905::test {

inline QStringList shownEventRows(const SkinListBox* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) {
        const QListWidgetItem& item = *list->item(row);
        const SkinListBox::RowIcon icon = SkinListBox::rowIcon(item);
        texts << item.text() + (icon == SkinListBox::RowIcon::Down ? " dn"
                                : icon == SkinListBox::RowIcon::Up ? " up"
                                                                   : "");
    }
    return texts;
}

} // namespace q905::test
