// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The profile dialog: the current profile's name, renamed in place in its list, IMPORT and
// EXPORT. Import and export replace the current profile in the profile folder; import also takes
// the file into the settings image and the key assignment table. The main window refreshes from
// them after the dialog closes. Frameless; dragged by its background. With the keyboard: Tab
// through the list and the buttons, F2 renames the profile in the list, Esc closes.

#include "profiles/ProfileFolder.h"

#include "base/Language.h"
#include "controls/ui/BackgroundDrag.h"
#include "controls/ui/ControlFocus.h"
#include "controls/ui/PaintedControlHost.h"
#include "controls/ui/TextLayout.h"

#include <QDialog>

#include <filesystem>

namespace q905 {

class HostState;
class SkinCache;
class SkinListBox;
class UserDialogs;
struct WindowText;

class ProfileDialog : public QDialog, public PaintedControlHost {
    Q_OBJECT
  public:
    // pickerFolder: where the file pickers start.
    ProfileDialog(SkinCache& skin, Language language, HostState& host, QString pickerFolder,
                  UserDialogs& dialogs, QWidget* parent = nullptr);

    // The texts of the last painting, with the controls they keep clear of.
    const TextLayout& textLayout() const { return m_textLayout; }

    QWidget* hostWidget() override { return this; }
    std::span<const ControlSpec> controls() const override;
    Language controlLanguage() const override { return m_language; }
    ControlStatus controlStatus(int id) const override;
    QWidget* controlWidget(int id) const override;
    void activateControl(int id) override;
    std::optional<int> focusedControl() const override { return m_focus.focusedId(); }
    const ControlFocus& controlFocus() const { return m_focus; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override { return m_focus.moveFocus(!next); }

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
    Language m_language;
    HostState& m_host;
    QString m_pickerFolder;
    UserDialogs& m_dialogs;
    std::filesystem::path m_folder;
    ProfilePathTable m_paths;
    SkinListBox* m_list = nullptr;
    TextLayout m_textLayout;

    BackgroundDrag m_drag{*this};
    ControlFocus m_focus{*this};
};

} // namespace q905
