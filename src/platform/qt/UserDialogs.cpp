// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/UserDialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace q905 {

bool MessageBoxDialogs::askOkCancel(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    return box.exec() == QMessageBox::Ok;
}

void MessageBoxDialogs::tell(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

int MessageBoxDialogs::exec(QDialog& dialog) {
    return dialog.exec();
}

QString MessageBoxDialogs::openFileName(QWidget* parent, const QString& caption,
                                        const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString MessageBoxDialogs::saveFileName(QWidget* parent, const QString& caption,
                                        const QString& folder, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, folder, filter);
}

QString MessageBoxDialogs::existingFolder(QWidget* parent, const QString& caption,
                                          const QString& folder) {
    return QFileDialog::getExistingDirectory(parent, caption, folder);
}

int SilentDialogs::exec(QDialog&) {
    return QDialog::Rejected;
}

} // namespace q905
