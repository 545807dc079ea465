// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The profile dialog: the current profile's name, renamed in place in its list, IMPORT and
// EXPORT. Import and export replace the current profile in the profile folder; import also takes
// the file into the settings image and the key assignment table. The main window refreshes from
// them after the dialog closes. Frameless; dragged by its background. With the keyboard: Tab
// through the list and the buttons, F2 renames the profile in the list, Esc closes.

#include "profiles/ProfileFolder.h"

#include "base/Language.h"
#include "controls/ui/SkinnedDialog.h"

#include <filesystem>

namespace q905 {

class KeyAssignments;
class Settings;
class SkinCache;
class SkinListBox;
class UserDialogs;
struct WindowText;

class ProfileDialog : public SkinnedDialog {
    Q_OBJECT
  public:
    // settings and keys: what an import replaces and an export writes; the profiles sit in
    // dataFolder's profile folder. pickerFolder: where the file pickers start.
    ProfileDialog(SkinCache& skin, Language language, Settings& settings, KeyAssignments& keys,
                  const std::filesystem::path& dataFolder, QString pickerFolder,
                  UserDialogs& dialogs, QWidget* parent = nullptr);

    ControlStatus controlStatus(int id) const override;
    void activateControl(int id) override;

  protected:
    bool isBackground(QPoint point) const override;
    void clicked(QPoint point) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void importProfile();
    void exportProfile();
    void renamed(int startRow, int row);
    void showName(const QString& name);
    QString currentName() const;
    // True when result is a failure (the user has been told why, unless they declined it). A
    // profile placed with old files left over is no failure, but is told all the same.
    bool reportFailure(const ProfileResult& result, const WindowText& message);
    QString reason(const ProfileResult& result) const;
    void offerTidy();
    QString text(const WindowText& text) const;

    SkinCache& m_skin;
    Settings& m_settings;
    KeyAssignments& m_keys;
    QString m_pickerFolder;
    UserDialogs& m_dialogs;
    std::filesystem::path m_folder;
    ProfilePathTable m_paths;
    SkinListBox* m_list = nullptr;
};

} // namespace q905
