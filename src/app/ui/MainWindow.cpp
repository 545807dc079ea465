// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/MainWindow.h"

#include "app/ui/Delays.h"
#include "app/ui/WindowIcon.h"
#include "base/RegularFile.h"
#include "controls/ui/PaintedControlAccessible.h"
#include "controls/ui/QtText.h"
#include "platform/qt/TrayIcon.h"
#include "platform/qt/UserDialogs.h"
#include "platform/qt/WindowActivation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>

namespace q905 {

namespace {

QString qtPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}
} // namespace

MainWindow::MainWindow(const WindowServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_services(services),
      m_host(services.dataFolder),
      m_skin(qtPath(assetFolder(services.assetRoot, services.language))),
      m_keyLabels(services.language, services.keyboardLayout),
      m_keyboard(*services.backend, *services.clock, services.trace, *services.delays,
                 services.keyboardLockFile),
      m_selection(QApplication::startDragDistance()) {
    if (services.decodedSkin)
        m_skin = std::move(*services.decodedSkin);
    setWindowTitle(qtText(kWindowTitle));
    setMouseTracking(true);
    // Every paint covers the whole window: no background fill first.
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_fileVersion = readVersionFile(services.assetRoot);
    setFixedSize(prepareBackground(m_skin, services.backgroundCacheFile));

    if (!services.hotPlugAvailable)
        services.dialogs->tell(this, QString(), QString::fromUtf8(texts::kRegistrationFailed));

    m_panel = new LightingPanel(m_host.settings(), m_skin, *services.colourPicker, m_view,
                                services.language, this);
    connect(m_panel, &LightingPanel::repaintRequested, this, &MainWindow::paintMainWindow);
    connect(m_panel, &LightingPanel::focusRequested, this,
            [this](int id) { m_focus.setFocusedControl(id); });
    rebuildControls();
    nameControlWidgets(*this);
    watchSlidersForHistory();

    // The files are loaded before the start-up read begins, so the blocks read from the
    // keyboard always replace the file's copies of them, however fast the read is.
    tellLoadProblems(m_host.loadAtStartUp());
    m_panel->refreshSliders();
    openKeyboard();
    connectTray();
    if (services.background)
        m_startsHidden = true;
    // Hidden in the tray there is no frame to wait for.
    if (m_startsHidden)
        finishStart();

    m_redrawTimer.setInterval(kRedrawTick);
    connect(&m_redrawTimer, &QTimer::timeout, this, &MainWindow::redrawTick);

    paintMainWindow();
}

MainWindow::~MainWindow() {
    shutdown();
}

void MainWindow::adoptHotPlugSource(std::unique_ptr<HotPlugSource> source) {
    m_keyboard.adoptHotPlugSource(std::move(source));
}

void MainWindow::tellLoadProblems(const HostState::LoadReport& report) {
    // Told before the read ends and keymap.bin is rewritten, so the user can still rescue it.
    const auto tell = [this](const std::string& message) {
        if (!message.empty())
            m_services.dialogs->tell(this, QString(), QString::fromStdString(message));
    };
    const std::string keptAsItIs(texts::kFileKeptAsItIs.in(language()));
    if (report.keymap.status == KeymapLoadStatus::LoadedWrongSize)
        tell(wrongSizeMessage(keymapPath(m_host.dataFolder()), report.keymap.fileSize,
                              kHostStateFileSize, language()));
    if (report.keymap.status == KeymapLoadStatus::Unreadable)
        tell(report.keymap.message + "\n\n" + keptAsItIs);
    if (report.macros.status == MacroFileStatus::LoadedWrongSize)
        tell(wrongSizeMessage(m_host.macroFilePath(), report.macros.fileSize, kMacroListSize,
                              language()));
    if (!report.macros.ok())
        tell(report.macros.message + (m_host.macrosKeptAsItIs() ? "\n\n" + keptAsItIs : ""));
}

void MainWindow::openKeyboard() {
    connect(&m_keyboard, &KeyboardLifecycle::readFinished, this, &MainWindow::keyboardRead);
    connect(&m_keyboard, &KeyboardLifecycle::applyFinished, this, &MainWindow::applyFinished);
    connect(&m_keyboard, &KeyboardLifecycle::resetFinished, this, &MainWindow::resetFinished);
    connect(&m_keyboard, &KeyboardLifecycle::lightingChanged, this,
            &MainWindow::handleLightingChanged);
    connect(&m_keyboard, &KeyboardLifecycle::launchRequested, this,
            &MainWindow::handleLaunchRequest);
    connect(&m_keyboard, &KeyboardLifecycle::disconnected, this, &MainWindow::keyboardGone);
    connect(&m_keyboard, &KeyboardLifecycle::activityChanged, this, &MainWindow::activityChanged);
    const auto images = [this] {
        return KeyboardImages{m_host.image(), m_host.settings().appliedSettings(),
                              m_host.settings().deviceVersion(), m_host.lastAppliedGameMode()};
    };
    m_keyboard.setReadBase(images);
    if (m_services.bus)
        m_bus = std::make_unique<KeyboardBusService>(*m_services.bus, m_services.keyboardLockFile,
                                                     m_services.dataFolder, m_keyboard.session(),
                                                     m_host, busWindow());
    const OpenReport opened = m_keyboard.openAtStart(images());
    if (!opened.opened) {
        // Without a keyboard the program lives in the tray until one arrives.
        m_startsHidden = trayAvailable();
        if (opened.keyboardSeen)
            m_services.dialogs->tell(this, QString(), QString::fromStdString(opened.error));
        return;
    }
    setStartUpRead(true);
}

KeyboardBusService::Window MainWindow::busWindow() {
    KeyboardBusService::Window window;
    window.activate = [this](const ActivationToken& token) {
        showWithToken(*this, token, [this] { showRequested(); });
    };
    window.editRefusal = [this] {
        return m_editDialogOpen ? std::string(texts::kCommandWhileDialogOpen) : std::string();
    };
    window.reading = [this] {
        return m_startUpRead || m_keyboard.activity() == KeyboardLifecycle::Activity::Reading;
    };
    window.connected = [this] { return m_keyboard.connected(); };
    window.changed = [this] { commandChangedState(); };
    return window;
}

void MainWindow::setStartUpRead(bool running) {
    m_startUpRead = running;
    activityChanged();
}

void MainWindow::activityChanged() {
    if (m_bus)
        m_bus->readingChanged();
    const bool busy = m_keyboard.busy();
    if (busy)
        m_applyOutcome = nullptr;
    announceStatus(*this);
    // No edits while the session works: what it hands back replaces the image.
    m_panel->setEditable(!busy);
    // Loading the cursor theme takes longer than a frame: the busy cursor waits for the first.
    if (busy && m_startFinished)
        setCursor(Qt::BusyCursor);
    else if (!busy)
        unsetCursor();
    if (!m_closing)
        paintMainWindow();
}

std::uint8_t MainWindow::lightingEffect() const {
    return m_host.settings().deviceSettings().lightingEffect();
}

void MainWindow::keyboardRead(const ReadReport& report) {
    if (report.kind == ReadKind::StartUp)
        setStartUpRead(false);
    // A read stopped for the close holds only part of the keyboard: nothing of it is taken.
    if (m_closing || !report.connected || report.result == ReadResult::Stopped)
        return;
    // One cut short by a failed transfer is shown as it stands, without being taken as the
    // keyboard's.
    m_host.takeKeyboardImages(report.images.device, report.images.applied, report.images.version);
    m_panel->refreshSliders();
    if (report.result != ReadResult::Complete) {
        tellReadFailed();
        return;
    }
    handleReadDone(ReadSource::Keyboard);
}

QString MainWindow::text(const WindowText& windowText) const {
    return qtText(windowText, m_services.language);
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    compose(painter);
    m_focus.paintMark(painter);
    // What the first frame does not need waits until it is on the screen.
    if (!m_startFinished)
        QTimer::singleShot(0, this, &MainWindow::finishStart);
}

void MainWindow::finishStart() {
    if (m_startFinished || m_closing)
        return;
    m_startFinished = true;
    if (m_keyboard.busy())
        setCursor(Qt::BusyCursor);
    setWindowIcon(q905WindowIcon(m_services.assetRoot));
    setUpTray();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    shutdown();
    event->accept();
    emit finished();
}

void MainWindow::shutdown() {
    if (m_closing)
        return;
    m_closing = true;
    m_services.tray->remove();
    hide();
    if (m_bus)
        m_bus->shutdown();
    // A running apply ends at its next group with its closing frames; its report is handled
    // before this returns, so its files are put in place.
    m_keyboard.shutdown();
    if (m_bus)
        m_bus->finishRunning();
    m_pendingSave.reset();
    m_redrawTimer.stop();
    // Edits not yet applied are dropped: the file keeps what the keyboard holds.
    if (m_saveAppliedOnClose)
        if (const Status saved = m_host.saveAppliedKeymap(); !saved)
            tellNotSaved(texts::kNotSaved, saved);
}

} // namespace q905
