// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: one painted picture the size of "main.png" with a table of declared controls
// instead of child buttons (its own, the lighting panel's and the keys of the keyboard view). It
// edits its copy of the host state and asks the keyboard's session (through KeyboardLifecycle) for
// reads, applies and the factory reset, showing their reports when they come. Its member functions
// are spread over files along its seams: set-up and teardown here, painting, click dispatch,
// pointer and keys, the session's reports and messages, tray.

#include "app/EditHistory.h"
#include "app/HostState.h"
#include "app/KeyboardView.h"
#include "app/MainWindowControls.h"
#include "app/RedrawBurst.h"
#include "app/ui/HotPlugSource.h"
#include "app/ui/KeyboardBusService.h"
#include "app/ui/KeyboardLifecycle.h"
#include "app/ui/WindowServices.h"
#include "controls/ui/ControlFocus.h"
#include "controls/ui/SkinCache.h"
#include "controls/ui/TextLayout.h"
#include "firmware/FirmwareVersion.h"
#include "keys/ui/KeyCapLabels.h"
#include "lighting/ui/LightingPanel.h"
#include "texts/WindowTexts.h"

#include <QImage>
#include <QPoint>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace q905 {

class MainWindow : public QWidget, public PaintedControlHost {
    Q_OBJECT
  public:
    explicit MainWindow(const WindowServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Started in the background, or no keyboard at start-up and a tray to live in: the program
    // starts with only its icon.
    bool startsHidden() const { return m_startsHidden; }
    // The window watches this source for the keyboard coming and going, and drops it first
    // when it closes.
    void adoptHotPlugSource(std::unique_ptr<HotPlugSource> source);

    // Pictures of the skin folder the first frame does not draw: decoded when first drawn.
    static QStringList onDemandPictures();
    // The background with the pictures always drawn at the same place drawn in once, kept in
    // cacheFile between runs (none when empty).
    static SkinComposition backgroundComposition(const QString& cacheFile);
    // Composes the background (a second call does nothing); its size.
    static QSize prepareBackground(SkinCache& skin, const QString& cacheFile);
    // Lays out the first frame's texts, so the paint that the window's mapping brings finds
    // its fonts loaded; called while the window system maps the window.
    void prepareFirstFrame();

    // Asks for the window to be composed again at its next paint.
    void paintMainWindow();
    // The window composed into a picture now (the sliders are child widgets and not part of it).
    QImage frame();
    SkinCache& skin() { return m_skin; }
    // Where the last composition put its texts and controls.
    const TextLayout& textLayout() const { return m_textLayout; }

    HostState& host() { return m_host; }
    KeyboardLifecycle& keyboard() { return m_keyboard; }
    // A read, an apply or a factory reset is running: edits wait until it ends.
    bool busy() const { return m_keyboard.busy(); }
    bool startUpReadRunning() const { return m_startUpRead; }
    const KeySelection& selection() const { return m_selection; }
    std::uint8_t hoverKey() const { return m_hoverKey; }
    // The view state the lighting panel shares; the view switch of a lighting profile sets it.
    PanelView& view() { return m_view; }
    bool perKeyColourMode() const { return m_view.perKeyColourMode; }
    bool helpMenuOpen() const { return m_helpMenuOpen; }
    bool redrawTimerActive() const { return m_redrawTimer.isActive(); }
    Language language() const { return m_services.language; }
    EditHistory& history() { return m_history; }
    // Where the keyboard focus is among the declared controls.
    const ControlFocus& focus() const { return m_focus; }

    // The declared controls, for focus, hit-testing and screen readers.
    QWidget* hostWidget() override { return this; }
    std::span<const ControlSpec> controls() const override { return m_controls; }
    Language controlLanguage() const override { return language(); }
    ControlStatus controlStatus(int id) const override;
    QWidget* controlWidget(int id) const override;
    void activateControl(int id) override;
    std::optional<int> focusedControl() const override { return m_focus.focusedId(); }
    bool controlKey(int id, QKeyEvent* event) override;
    std::vector<ControlItem> controlItems(int id) const override;
    // The note beside Apply while the session works, then how the last apply ended.
    bool hasStatus() const override { return true; }
    QString statusText() const override;

  public slots:
    // A second start of the program, or the tray: show and raise, even when hidden.
    void showRequested();

    // The reader's reports, delivered on this thread.
    void handleLightingChanged(std::uint8_t field, std::uint8_t storedValue);
    void handleLaunchRequest(std::uint8_t keyCode);
    // The refresh after a read of the keyboard or a profile load.
    void handleReadDone(q905::ReadSource source);

  signals:
    // After each refresh, once the window shows the new state.
    void readDone(q905::ReadSource source);
    // A read of the keyboard was cut short and said so; the window shows the image as it stands.
    void readFailed();
    // The window closed; the program ends.
    void finished();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override { return m_focus.moveFocus(!next); }
    // Apply's tooltip names its shortcut.
    bool event(QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // The sliders' presses and releases, for undo steps.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Runs a dialog opened by the control `opener` (a key, the Macros button), which has the
    // focus while it runs and when it closes.
    int runDialogFrom(int opener, QDialog& dialog);
    // Set-up and teardown.
    void openKeyboard();
    void tellLoadProblems(const HostState::LoadReport& report);
    void tellNoUpdater();
    void keyboardRead(const ReadReport& report);
    void applyFinished(const ApplyReport& report);
    void resetFinished(const ResetReport& report);
    // The busy cursor and the note while the session works for the window.
    void activityChanged();
    // The window icon and the tray, once the first frame is shown.
    void finishStart();
    // The start-up read fills the image: the window shows it but takes no edits until the
    // hand-over.
    void setStartUpRead(bool running);
    // What the bus service asks of the window.
    KeyboardBusService::Window busWindow();
    void shutdown();
    std::uint8_t lightingEffect() const;

    // Painting.
    void compose(QPainter& painter);
    // The keys it shows highlighted.
    std::array<bool, kKeyCount> paintKeymapLayer(QPainter& painter);
    void paintPerKeyLayer(QPainter& painter, const SettingsImage& shown);
    void paintCaptions(QPainter& painter);
    void paintHelpMenu(QPainter& painter);
    // What the keyboard's session is doing for the window, beside Apply.
    void paintActivity(QPainter& painter);

    // Click dispatch.
    // The control under the point that a click reaches (no key, no menu item), or none.
    std::optional<int> controlAtPoint(int x, int y) const;
    void dispatchClick(int x, int y);
    // False when the window is closing and nothing more may happen.
    bool actOnRegion(int region, int x, int y);
    void helpMenuClick(int x, int y);
    void chooseHelpItem(int id);
    void apply();
    void revert();
    void closeSavingApplied();
    // A failed save, told in the window's language; message's %1 takes the reason.
    void tellNotSaved(const WindowText& message, const Status& failure);
    void askFactoryReset();
    void startFirmwareUpdater();
    void keyClick(int x, int y);
    // A key of the picture chosen as a click on it would.
    void actOnKey(int key);
    void pickPerKeyColour();
    // Seams for the dialogs of later work: the key assignment, profile and macro dialogs.
    void openKeyAssignment(int key);
    void openProfiles();
    void openMacros();

    // Pointer and keys.
    bool inTitleStrip(int x, int y) const;
    void beginWindowMove(const QPoint& globalPosition);
    bool updateButtonHover(int x, int y);
    bool trackHover(int x, int y);
    void showAbout();

    // Messages.
    // A read that was cut short is told, and the window shows the image as it stands without
    // taking it as the keyboard's.
    void tellReadFailed();
    void keyboardGone();
    // A q905ctl command run for the window changed the host state: show it.
    void commandChangedState();
    void redrawTick();
    void askFirmwareUpdate();

    // Keyboard use: the panel's controls and the keys join the window's own in one table.
    void rebuildControls();
    std::span<const ControlSpec> panelControls() const;
    ControlStatus keyStatus(int key) const;
    // Arrows across the keyboard picture; Shift extends the band in the per-key colour view.
    bool keyboardPictureKey(int key, QKeyEvent* event);
    void focusKey(int key);
    bool perKeyView() const;
    // Ctrl+S, F1 and the open help menu's keys; true when used.
    bool windowShortcut(QKeyEvent* event);
    void openHelpMenu();
    void closeHelpMenu();

    // Undo and redo.
    void watchSlidersForHistory();
    void beginEdit();
    void endEdit();
    // Ctrl+Z, Ctrl+Shift+Z, Ctrl+Y; false for other keys.
    bool historyKey(QKeyEvent* event);

    // Tray.
    void connectTray();
    void setUpTray();
    bool trayAvailable() const;
    void hideWindow();
    void trayClicked();
    // A double click or the menu's Show: the window, or the warning that there is no keyboard.
    void trayShowAsked();
    void showNoKeyboard();

    QString text(const WindowText& text) const;

    WindowServices m_services;
    HostState m_host;
    SkinCache m_skin;
    KeyCapLabels m_keyLabels;
    KeyboardLifecycle m_keyboard;
    // The session bus: q905ctl's commands and the desktop's activation.
    std::unique_ptr<KeyboardBusService> m_bus;
    // keymap.bin and the others, written in full before an apply or a reset was asked for and
    // put in place when its report comes.
    std::optional<PreparedSave> m_pendingSave;
    // How the last apply ended, for the status line until the session works again.
    const WindowText* m_applyOutcome = nullptr;
    // A dialog that edits the host state is open: q905ctl's commands wait for it to close.
    bool m_editDialogOpen = false;
    // The close button keeps in keymap.bin only what the keyboard holds; Exit leaves it.
    bool m_saveAppliedOnClose = false;
    PanelView m_view;
    EditHistory m_history;
    LightingPanel* m_panel = nullptr; // a child: its sliders are this window's children
    KeySelection m_selection;
    RedrawBurst m_burst;
    QTimer m_redrawTimer;
    FirmwareVersion m_fileVersion;
    TextLayout m_textLayout;

    bool m_startsHidden = false;
    bool m_startFinished = false;
    bool m_closing = false;
    bool m_startUpRead = false;
    bool m_helpMenuOpen = false;
    std::optional<int> m_hoverControl;
    std::uint8_t m_hoverKey = kNoHoverKey;
    bool m_leftButtonDown = false;
    bool m_movingByHand = false;
    QPoint m_moveOffset;
    // Built once the panel exists; the current key is the keyboard picture's tab stop.
    std::vector<ControlSpec> m_controls;
    int m_currentKey = 0;
    // Where Shift+arrows started the band, none without one.
    std::optional<int> m_bandAnchor;
    ControlFocus m_focus{*this};
};

} // namespace q905
