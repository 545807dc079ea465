#include "app/ui/MainWindow.h"

#include "app/ui/Delays.h"
#include "app/ui/WindowIcon.h"
#include "base/RegularFile.h"
#include "platform/qt/TrayIcon.h"
#include "platform/qt/UserDialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>

#include <mutex>

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
      m_connection(*services.backend, *services.clock, services.trace, m_host.settings()),
      m_events(this), m_selection(QApplication::startDragDistance()) {
    if (services.decodedSkin)
        m_skin = std::move(*services.decodedSkin);
    setWindowTitle(QString::fromUtf8(kWindowTitle.data(), qsizetype(kWindowTitle.size())));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // Every paint covers the whole window: no background fill first.
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_fileVersion = readVersionFile(services.assetRoot);
    setFixedSize(prepareBackground(m_skin, services.backgroundCacheFile));

    if (!services.hotPlugAvailable)
        services.dialogs->tell(this, QString(), QString::fromUtf8(texts::kRegistrationFailed));

    m_panel = new LightingPanel(m_host.settings(), m_skin, *services.colourPicker, m_view,
                                services.language, this);
    connect(m_panel, &LightingPanel::repaintRequested, this, &MainWindow::paintMainWindow);
    watchSlidersForHistory();

    // The files are loaded before the start-up read begins, so the blocks read from the
    // keyboard always replace the file's copies of them, however fast the read is.
    tellLoadProblems(m_host.loadAtStartUp());
    m_panel->refreshSliders();
    openKeyboard();
    connectTray();
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
    m_hotPlug = std::move(source);
    if (!m_hotPlug)
        return;
    connect(m_hotPlug.get(), &HotPlugSource::arrived, this, &MainWindow::deviceArrived);
    connect(m_hotPlug.get(), &HotPlugSource::removed, this, &MainWindow::deviceRemoved);
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
    const auto opened = m_connection.openAndStartInitialRead(
        [this](ReadResult read) { deliverInitialReadDone(read); });
    if (!opened.opened) {
        // Without a keyboard the program lives in the tray until one arrives.
        m_startsHidden = trayAvailable();
        if (opened.keyboardSeen)
            m_services.dialogs->tell(this, QString(), QString::fromStdString(opened.error));
        return;
    }
    setStartUpRead(true);
    startReaderOrRetry();
}

void MainWindow::startReaderOrRetry(std::chrono::milliseconds backoff) {
    if (m_closing || !m_connection.connected() || m_connection.startReader(&m_events))
        return;
    // The command interface opened but the notification one did not: without it no apply is
    // acknowledged, so keep trying, less often each time, while this connection lasts.
    constexpr std::chrono::milliseconds kLongestBackoff{8000};
    const std::uint64_t generation = m_connection.generation();
    const auto next = std::min(backoff * 2, kLongestBackoff);
    m_services.delays->after(backoff, this, [this, generation, next] {
        if (generation == m_connection.generation())
            startReaderOrRetry(next);
    });
}

void MainWindow::setStartUpRead(bool running) {
    m_startUpRead = running;
    m_panel->setEditable(!running);
    // Loading the cursor theme takes longer than a frame: the busy cursor waits for the first.
    if (running && m_startFinished)
        setCursor(Qt::BusyCursor);
    else if (!running)
        unsetCursor();
}

std::uint8_t MainWindow::lightingEffect() const {
    return m_host.settings().deviceByte(layout::kLightingEffect);
}

// Called on the start-up read's thread: the refresh runs on the window's thread while the read
// thread waits, as the read's completion is meant to be handled before anything else it
// changed is looked at.
void MainWindow::deliverInitialReadDone(ReadResult read) {
    QMetaObject::invokeMethod(
        this,
        [this, read] {
            // The read stored everything under the lock; taking it once makes all of it visible
            // here, so the window may read its image freely from now on.
            { std::lock_guard lock(m_host.settings().mutex()); }
            setStartUpRead(false);
            if (m_closing)
                return;
            if (read != ReadResult::Complete) {
                tellReadFailed();
                return;
            }
            handleReadDone(ReadSource::Keyboard);
        },
        Qt::BlockingQueuedConnection);
}

QString MainWindow::text(const WindowText& windowText) const {
    const std::string_view chosen = windowText.in(m_services.language);
    return QString::fromUtf8(chosen.data(), qsizetype(chosen.size()));
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    compose(painter);
    // What the first frame does not need waits until it is on the screen.
    if (!m_startFinished)
        QTimer::singleShot(0, this, &MainWindow::finishStart);
}

void MainWindow::finishStart() {
    if (m_startFinished || m_closing)
        return;
    m_startFinished = true;
    if (m_startUpRead)
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
    m_hotPlug.reset();
    // The start-up read may be waiting to hand its completion to this thread: let it through
    // (it finds the window closing and does nothing) so the thread can end and be joined.
    m_connection.shutdown([this] { QCoreApplication::sendPostedEvents(this, QEvent::MetaCall); });
    m_redrawTimer.stop();
}

} // namespace q905
