// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box: the program's name and version, and OK.

#include "base/Language.h"

#include <QDialog>

namespace q905 {

class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    AboutDialog(Language language, QWidget* parent = nullptr);
};

} // namespace q905
