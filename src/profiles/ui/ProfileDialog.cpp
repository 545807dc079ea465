// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/ui/ProfileDialog.h"

#include "controls/ui/PaintedControlAccessible.h"
#include "controls/ui/QtText.h"
#include "controls/ui/RegionRects.h"
#include "controls/ui/ScaledPicture.h"
#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinListBox.h"
#include "device/Settings.h"
#include "keys/KeyAssignmentTable.h"
#include "platform/qt/DialogPlacement.h"
#include "platform/qt/UserDialogs.h"
#include "profiles/ProfileActions.h"
#include "profiles/ProfileDialogControls.h"
#include "profiles/ui/ProfileDialogTexts.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <memory>
#include <mutex>

namespace q905 {

namespace {

using namespace profile_dialog;

const QString kBackground = QStringLiteral("Config/Profile_BK.png");
const QString kCloseButton = QStringLiteral("Config/button-close-normal.png");

std::filesystem::path toPath(const QString& file) {
    return std::filesystem::path(file.toStdU16String());
}

QString fromPath(const std::filesystem::path& file) {
    return QString::fromStdU16String(file.u16string());
}

QString fileList(const ProfilePathTable& files) {
    QStringList names;
    for (const std::filesystem::path& file : files)
        names << fromPath(file);
    return names.join(QLatin1Char('\n'));
}

const ControlSpec& control(int id) {
    return *controlById(kControls, id);
}

} // namespace

ProfileDialog::ProfileDialog(SkinCache& skin, Language language, Settings& settings,
                             KeyAssignments& keys, const std::filesystem::path& dataFolder,
                             QString pickerFolder, UserDialogs& dialogs, QWidget* parent)
    : SkinnedDialog(language, kControls, parent), m_skin(skin), m_settings(settings), m_keys(keys),
      m_pickerFolder(std::move(pickerFolder)), m_dialogs(dialogs),
      m_folder(profileFolder(dataFolder)) {
    setObjectName(QStringLiteral("profileDialog"));
    setWindowTitle(text(profile_texts::kCaption));
    const QImage& background = m_skin.image(kBackground);
    setFixedSize(background.isNull() ? QSize(kWidth, kHeight) : logicalSize(background));
    placeOverParent(*this);

    m_list = new SkinListBox(this);
    m_list->setObjectName(QStringLiteral("profiles"));
    setControlWidget(kList, m_list);
    const QRect place = toQRect(control(kList).rect);
    m_list->setGeometry(place);
    m_list->setTextFont(15, QStringLiteral("Arial"), Qt::white, QColor(0, 255, 255), true,
                        Qt::black, 2);
    m_list->setEditMode(SkinListBox::EditMode::Rename);
    if (!background.isNull())
        m_list->setBackground(cutOut(background, place));
    connect(m_list, &SkinListBox::editDone, this, &ProfileDialog::renamed);
    m_list->installEventFilter(this);
    nameControlWidgets(*this);

    if (const auto current = listCurrentProfile(m_folder, m_paths))
        m_list->addRow(QString::fromStdString(current->name));
    std::vector<std::string> items;
    for (const QString& row : m_list->rowTexts())
        items.push_back(row.toStdString());
    rebuildProfilePaths(m_folder, items, m_paths);
    if (!m_paths.empty() && !otherProfiles(m_folder, m_paths[0]).empty())
        // Asked once the dialog shows, over it.
        QMetaObject::invokeMethod(this, &ProfileDialog::offerTidy, Qt::QueuedConnection);
}

// Old profile files stay where one could not be removed; they go only when the user agrees.
void ProfileDialog::offerTidy() {
    const ProfilePathTable others =
        m_paths.empty() ? ProfilePathTable{} : otherProfiles(m_folder, m_paths[0]);
    if (others.empty() ||
        !m_dialogs.askOkCancel(
            this, text(profile_texts::kCaption),
            text(profile_texts::kTidyQuestion).arg(currentName(), fileList(others))))
        return;
    const ProfileResult removed = removeProfileFiles(others);
    if (!removed.ok())
        m_dialogs.tell(this, text(profile_texts::kCaption),
                       text(profile_texts::kTidyFailed).arg(fileList(removed.leftOver)));
}

QString ProfileDialog::text(const WindowText& text) const {
    return qtText(text, m_language);
}

ControlStatus ProfileDialog::controlStatus(int) const {
    return {};
}

void ProfileDialog::activateControl(int id) {
    switch (id) {
    case kCloseMark:
    case kCloseArea:
        accept();
        break;
    case kImport:
        importProfile();
        break;
    case kExport:
        exportProfile();
        break;
    default:
        break;
    }
}

QString ProfileDialog::currentName() const {
    return m_paths.empty()
               ? QString()
               : QString::fromStdString(profileDisplayName(m_paths[0].filename().string()));
}

void ProfileDialog::showName(const QString& name) {
    m_list->clear();
    if (!name.isEmpty())
        m_list->addRow(name);
    m_list->viewport()->update();
}

QString ProfileDialog::reason(const ProfileResult& result) const {
    const QString file = fromPath(result.file);
    switch (result.status) {
    case ProfileStatus::Unreadable:
        return text(profile_texts::kUnreadable).arg(file);
    case ProfileStatus::WrongSize:
        return text(profile_texts::kNotAProfile).arg(file);
    case ProfileStatus::BadName:
        return text(profile_texts::kBadName);
    case ProfileStatus::NoProfile:
        return text(profile_texts::kNoProfile);
    case ProfileStatus::WriteFailed:
        return text(profile_texts::kNotWritten)
            .arg(file, QString::fromStdString(failureReason(
                           Status::failure(result.message, result.systemError), m_language)));
    case ProfileStatus::Done:
    case ProfileStatus::CleanupFailed:
    case ProfileStatus::Declined:
        break;
    }
    return {};
}

bool ProfileDialog::reportFailure(const ProfileResult& result, const WindowText& message) {
    switch (result.status) {
    case ProfileStatus::Done:
        return false;
    case ProfileStatus::CleanupFailed:
        // The new profile is current all the same: it is the newest file.
        m_dialogs.tell(this, text(profile_texts::kCaption),
                       text(profile_texts::kOldNotRemoved)
                           .arg(QString::fromStdString(result.name), fileList(result.leftOver)));
        return false;
    case ProfileStatus::Declined:
        return true;
    default:
        m_dialogs.tell(this, text(profile_texts::kCaption), text(message).arg(reason(result)));
        return true;
    }
}

void ProfileDialog::importProfile() {
    const QString file = m_dialogs.openFileName(this, text(control(kImport).name), m_pickerFolder,
                                                text(profile_texts::kFilter));
    if (file.isEmpty())
        return;
    // The import works on copies, so that the question about launch actions never holds the
    // settings the notification reader writes into.
    SettingsImage image;
    {
        std::lock_guard lock(m_settings.mutex());
        image = m_settings.deviceSettings();
    }
    auto table = std::make_unique<KeyAssignmentTable>(m_keys.table());
    const auto consent = [this](const std::vector<ProfileLaunchAction>& actions) {
        QString list;
        for (const ProfileLaunchAction& action : actions) {
            const auto kind = static_cast<std::size_t>(action.group) -
                              static_cast<std::size_t>(FunctionGroup::PlayMusic);
            list += QString::fromStdString(action.key) + QStringLiteral("  ") +
                    QString::fromUtf8(texts::kLaunchKinds[kind].in(m_language)) +
                    QStringLiteral("  ") + QString::fromStdString(action.path) + QLatin1Char('\n');
        }
        return m_dialogs.askOkCancel(this, text(profile_texts::kCaption),
                                     text(profile_texts::kLaunchQuestion).arg(list));
    };
    const ProfileResult result =
        q905::importProfile(m_folder, toPath(file), image, *table, m_paths, consent);
    if (result.status == ProfileStatus::Done || result.status == ProfileStatus::CleanupFailed) {
        {
            std::lock_guard lock(m_settings.mutex());
            m_settings.deviceSettings() = image;
        }
        m_keys.table() = *table;
    }
    if (reportFailure(result, profile_texts::kImportFailed))
        return;
    showName(QString::fromStdString(result.name));
}

void ProfileDialog::exportProfile() {
    QString file = m_dialogs.saveFileName(this, text(control(kExport).name), m_pickerFolder,
                                          text(profile_texts::kFilter));
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".bin");
    SettingsImage image;
    {
        std::lock_guard lock(m_settings.mutex());
        image = m_settings.deviceSettings();
    }
    const ProfileResult result =
        q905::exportProfile(m_folder, toPath(file), image, m_keys.table(), m_paths);
    if (reportFailure(result, profile_texts::kExportFailed))
        return;
    showName(QString::fromStdString(result.name));
}

void ProfileDialog::renamed(int, int row) {
    if (row < 0 || row >= m_list->count())
        return;
    const QString name = m_list->item(row)->text();
    const ProfileResult result = renameCurrentProfile(m_folder, name.toStdString(), m_paths);
    if (reportFailure(result, profile_texts::kRenameFailed)) {
        showName(currentName()); // the file keeps its old name, and so does the list
        return;
    }
    showName(QString::fromStdString(result.name));
}

void ProfileDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintBackground(painter, m_skin.image(kBackground), QColor(30, 30, 34));
    // The mark's picture reaches a pixel beyond where a click closes.
    const QPoint closePicture(control(kCloseMark).rect.left - 1, control(kCloseMark).rect.top - 1);
    m_skin.draw(painter, kCloseButton, closePicture.x(), closePicture.y());
    m_textLayout.clear();
    m_textLayout.addControl(m_skin.inkRect(kCloseButton).translated(closePicture));
    m_textLayout.addControl(m_list->geometry());
    const QColor white(255, 255, 255);
    // Each caption stays on its button's plate.
    for (const CaptionPlace& caption : kCaptions) {
        const ControlSpec& button = control(caption.id);
        m_textLayout.draw(painter, text(button.name), caption.xIn(m_language), caption.y, white, 20,
                          toQRect(button.rectIn(m_language)));
    }
    m_focus.paintMark(painter);
}

bool ProfileDialog::isBackground(QPoint point) const {
    // The buttons, the close places and the quiet plates never drag.
    return !controlAt(kControls, m_language, point.x(), point.y()) &&
           !regionAt(kQuietBands, point.x(), point.y());
}

void ProfileDialog::clicked(QPoint point) {
    if (const ControlSpec* hit = controlAt(kControls, m_language, point.x(), point.y()))
        activateControl(hit->id);
}

void ProfileDialog::keyPressEvent(QKeyEvent* event) {
    if (m_focus.handleKey(event))
        return;
    // Enter belongs to the focused control (it ends a rename); Esc closes as dialogs do.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool ProfileDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_list || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool f2 = key->key() == Qt::Key_F2;
    // F2 renames the profile, as in file managers.
    if (f2 && m_list->count() > 0) {
        m_list->beginEdit(std::max(m_list->currentRow(), 0));
        return true;
    }
    // A rename asked for with no profile to rename is answered, not ignored.
    const bool typing = !key->text().isEmpty() && key->text().at(0).isPrint() &&
                        !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (m_list->count() == 0 && (f2 || typing)) {
        m_dialogs.tell(this, text(profile_texts::kCaption),
                       text(profile_texts::kRenameFailed).arg(text(profile_texts::kNoProfile)));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace q905
