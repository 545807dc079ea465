// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/AboutDialog.h"

#include "app/ProgramOptions.h"
#include "controls/ui/QtText.h"
#include "texts/WindowTexts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace q905 {

AboutDialog::AboutDialog(Language language, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(qtText(texts::kAboutCaption, language));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(
        qtText(texts::kAboutText, language).arg(QString::fromLatin1(programVersion())), this);
    label->setObjectName(QStringLiteral("aboutText"));
    layout->addWidget(label);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace q905
