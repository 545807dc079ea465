// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every question, message and file picker the program shows goes through here, so tests answer
// them instead of a user.

#include <QString>

class QDialog;
class QWidget;

namespace q905 {

class UserDialogs {
  public:
    virtual ~UserDialogs() = default;
    // A message box with OK and Cancel; true for OK.
    virtual bool askOkCancel(QWidget* parent, const QString& caption, const QString& text) = 0;
    // A message box with OK only.
    virtual void tell(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Runs one of the program's own modal dialogs; its result (QDialog::Accepted or Rejected).
    virtual int exec(QDialog& dialog) = 0;
    // File and folder pickers; an empty text when the user cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString existingFolder(QWidget* parent, const QString& caption,
                                   const QString& folder) = 0;
};

// The real ones: QMessageBox and QFileDialog.
class MessageBoxDialogs final : public UserDialogs {
  public:
    bool askOkCancel(QWidget* parent, const QString& caption, const QString& text) override;
    void tell(QWidget* parent, const QString& caption, const QString& text) override;
    int exec(QDialog& dialog) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override;
    QString existingFolder(QWidget* parent, const QString& caption, const QString& folder) override;
};

// For runs nobody watches (--screenshot): every question is cancelled, nothing is shown.
class SilentDialogs final : public UserDialogs {
  public:
    bool askOkCancel(QWidget*, const QString&, const QString&) override { return false; }
    void tell(QWidget*, const QString&, const QString&) override {}
    int exec(QDialog&) override;
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString existingFolder(QWidget*, const QString&, const QString&) override { return {}; }
};

} // namespace q905
