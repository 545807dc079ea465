#include "app/ui/AboutDialog.h"

#include "app/WindowTexts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace q905 {

namespace {
QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
} // namespace

AboutDialog::AboutDialog(Language language, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(fromView(texts::kAboutCaption.in(language)));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(fromView(texts::kAboutText.in(language)), this);
    label->setObjectName(QStringLiteral("aboutText"));
    layout->addWidget(label);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace q905
