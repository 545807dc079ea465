#include "keys/ui/KeyAssignmentDialog.h"

#include "app/WindowTexts.h"
#include "controls/ui/ScaledPicture.h"
#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinTree.h"
#include "keys/FunctionCatalogue.h"
#include "keys/ui/KeyAssignmentTexts.h"
#include "macros/MacroModel.h"
#include "macros/ShownKeyNames.h"
#include "platform/qt/DesktopLauncher.h"
#include "platform/qt/DialogPlacement.h"
#include "platform/qt/UserDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>

namespace q905 {

namespace {

const QString kBackground = QStringLiteral("Custom/Custom_BK.png");
const QString kBoxOff = QStringLiteral("Custom/Disable.png");
const QString kBoxOn = QStringLiteral("Custom/Enable.png");
const QString kPathBox = QStringLiteral("Custom/Advanced.png");
const QString kBrowse = QStringLiteral("Custom/view.png");
const QString kBrowseOver = QStringLiteral("Custom/view02.png");
// Reset, Close, Save: normal and mouse-over.
const std::array<std::pair<QString, QString>, 3> kButtonPictures{{
    {QStringLiteral("Custom/button-cancel-normal.png"),
     QStringLiteral("Custom/button-cancel-over.png")},
    {QStringLiteral("Custom/button-cancel-normal.png"),
     QStringLiteral("Custom/button-cancel-over.png")},
    {QStringLiteral("Custom/button-save-normal.png"),
     QStringLiteral("Custom/button-save-over.png")},
}};
// The tabs' plates, edges included: each tab's caption stays on its own.
const std::array<QRect, 4> kTabPlates{{{QPoint(0, 28), QPoint(94, 55)},
                                       {QPoint(97, 28), QPoint(191, 55)},
                                       {QPoint(194, 28), QPoint(288, 55)},
                                       {QPoint(291, 28), QPoint(385, 55)}}};
const std::array<QPoint, 3> kButtonPlaces{{{130, 346}, {220, 346}, {310, 346}}};
constexpr QSize kButtonSize(71, 23);
// The close mark printed on the background.
const QRect kCloseMark(QPoint(371, 8), QPoint(377, 15));

constexpr QSize kFallbackSize(388, 378);
const QRect kListPlace(10, 60, 360, 250);
const QRect kSinglePlace(12, 97, 362, 15);
const QRect kCombinePlace(12, 186, 362, 15);
const QPoint kDisableBox(19, 351);
constexpr int kMarkX = 1;
constexpr int kMarkDy = 6;
constexpr int kPathBoxX = 86;
constexpr QSize kPathBoxSize(229, 26);
constexpr int kBrowseX = 317;
constexpr int kPathX = 90;
constexpr int kPathDy = 6;
constexpr int kLabelDy = 2;
// Paths this long are shown as ".." and their last part.
constexpr int kShortPathLength = 14;

const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kGrey(192, 192, 192);

QString shownPath(const QString& path) {
    if (path.size() < kShortPathLength)
        return path;
    const auto slash = path.lastIndexOf(QLatin1Char('/'));
    return QStringLiteral("..") + (slash < 0 ? path : path.mid(slash));
}

void styleField(QWidget* field) {
    QPalette colours = field->palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, Qt::white);
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, Qt::white);
    field->setPalette(colours);
    QFont font = field->font();
    font.setFamily(QStringLiteral("Arial"));
    font.setPixelSize(12);
    field->setFont(font);
}

QLineEdit* makeField(QWidget* parent, const char* name, const QRect& place) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(place);
    field->setFrame(false);
    field->setTextMargins(0, 0, 0, 0);
    field->setContextMenuPolicy(Qt::NoContextMenu);
    field->setAcceptDrops(false);
    // Typed keys belong to the capture; an input method would commit text around it.
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
    field->setFocusPolicy(Qt::ClickFocus);
    styleField(field);
    return field;
}

} // namespace

KeyAssignmentDialog::KeyAssignmentDialog(SkinCache& skin, UserDialogs& dialogs,
                                         std::uint8_t keyCode, const KeyAssignmentRecord& record,
                                         bool enabled, const MacroList& macros, Language language,
                                         const KeyboardLayout* layout, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_skin(skin), m_dialogs(dialogs),
      m_keyName(QString::fromStdString(shownKeyName(keyCode, layout))), m_language(language),
      m_german(language == Language::German), m_state(record, enabled, layout) {
    setObjectName(QStringLiteral("keyAssignment"));
    const QImage& background = m_skin.image(kBackground);
    setFixedSize(background.isNull() ? kFallbackSize : logicalSize(background));
    placeOverParent(*this);
    setWindowTitle(m_keyName.trimmed());
    setMouseTracking(true);

    m_tree = new SkinTree(this);
    m_tree->setObjectName(QStringLiteral("functions"));
    m_tree->setGeometry(kListPlace);
    m_tree->setBackground(SkinTree::Background::Flat);
    m_tree->setShowSelectionAlways(true);
    QFont treeFont = m_tree->font();
    treeFont.setFamily(QStringLiteral("Arial"));
    treeFont.setPixelSize(13);
    m_tree->setFont(treeFont);
    fillTree();

    m_single = makeField(this, "single", kSinglePlace);
    m_combine = makeField(this, "combine", kCombinePlace);
    m_single->installEventFilter(this);
    m_combine->installEventFilter(this);

    m_macros = new QListWidget(this);
    m_macros->setObjectName(QStringLiteral("macros"));
    m_macros->setGeometry(kListPlace);
    m_macros->setFrameShape(QFrame::NoFrame);
    styleField(m_macros);
    for (std::size_t i = 0; i < macros.namedCount(); ++i)
        m_macros->addItem(QString::fromStdU16String(macros[i].name()));
    if (const int row = m_state.initialMacroRow(); row >= 0 && row < m_macros->count())
        m_macros->setCurrentRow(row);

    m_capture.watch(this);
    connect(&m_capture, &KeyCapture::hookKey, this, &KeyAssignmentDialog::keyCaptured);
    syncControls();
    if (m_state.initialField() == 0)
        focusField(m_single);
    else if (m_state.initialField() == 1)
        focusField(m_combine);
    else if (m_state.page() == KeyDialogPage::Macro)
        m_macros->setFocus(Qt::OtherFocusReason);
}

KeyAssignmentDialog::~KeyAssignmentDialog() {
    m_capture.removeHook();
}

void KeyAssignmentDialog::fillTree() {
    const std::string& chosen = m_state.catalogueName();
    for (const CatalogueTreeItem& root : FunctionCatalogue::tree()) {
        auto* item = new QTreeWidgetItem(m_tree, {QString::fromUtf8(root.text)});
        for (const CatalogueFunction* function : root.children) {
            auto* child = new QTreeWidgetItem(item, {QString::fromUtf8(function->name)});
            if (!chosen.empty() && function->name == chosen) {
                child->setSelected(true);
                item->setExpanded(true);
                m_tree->setCurrentItem(child);
            }
        }
        if (root.function != nullptr && !chosen.empty() && root.text == chosen) {
            item->setSelected(true);
            m_tree->setCurrentItem(item);
        }
    }
    if (m_tree->currentItem() == nullptr)
        m_tree->clearSelection();
}

// The capture runs while the dialog shows and takes only the keys typed into it: a picker or a
// message box over it, and the main window after it, get their keys.
void KeyAssignmentDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    (void)m_capture.installHook(kHookModeKeyAssignment);
}

void KeyAssignmentDialog::hideEvent(QHideEvent* event) {
    m_capture.removeHook();
    QDialog::hideEvent(event);
}

void KeyAssignmentDialog::keyCaptured(quint8 code, bool release) {
    if (release)
        return;
    m_state.captureKey(code);
    syncControls();
}

void KeyAssignmentDialog::keyPressEvent(QKeyEvent* event) {
    // Without the capture, Enter and Esc still do not close the dialog.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool KeyAssignmentDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_single || watched == m_combine) {
        if (event->type() == QEvent::FocusIn && !m_syncing) {
            // Coming back to the dialog is not choosing a field.
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                if (watched == m_single)
                    m_state.singleFocused();
                else
                    m_state.combineFocused();
                syncControls();
            }
        }
        // The X11 selection paste would put text into a field behind the capture's back.
        if ((event->type() == QEvent::MouseButtonPress ||
             event->type() == QEvent::MouseButtonRelease) &&
            static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void KeyAssignmentDialog::focusField(QLineEdit* field) {
    field->setFocus(Qt::OtherFocusReason);
    field->end(false);
}

void KeyAssignmentDialog::syncControls() {
    m_syncing = true;
    const KeyDialogPage page = m_state.page();
    m_single->setVisible(page == KeyDialogPage::Keys);
    m_combine->setVisible(page == KeyDialogPage::Keys);
    m_macros->setVisible(page == KeyDialogPage::Macro);
    m_tree->setVisible(page == KeyDialogPage::Basic);
    const auto single = QString::fromStdString(m_state.singleText());
    const auto combine = QString::fromStdString(m_state.combineText());
    if (m_single->text() != single)
        m_single->setText(single);
    if (m_combine->text() != combine)
        m_combine->setText(combine);
    m_single->end(false);
    m_combine->end(false);
    m_syncing = false;
    update();
}

void KeyAssignmentDialog::tell(const QString& text) {
    m_dialogs.tell(this, QApplication::applicationDisplayName(), text);
}

void KeyAssignmentDialog::click(int x, int y) {
    switch (keyDialogButtonAt(x, y)) {
    case KeyDialogButton::KeysTab:
        if (m_state.showKeysPage()) {
            syncControls();
            focusField(m_single);
        }
        break;
    case KeyDialogButton::MacroTab:
        m_state.showMacroPage();
        syncControls();
        m_macros->setFocus(Qt::OtherFocusReason);
        break;
    case KeyDialogButton::BasicTab:
        m_state.showBasicPage();
        syncControls();
        m_tree->setFocus(Qt::OtherFocusReason);
        break;
    case KeyDialogButton::AdvanceTab:
        m_state.showAdvancePage();
        break;
    case KeyDialogButton::DisableBox:
        m_state.toggleDisableBox();
        break;
    case KeyDialogButton::Reset:
        m_state.reset();
        accept();
        return;
    case KeyDialogButton::Close:
    case KeyDialogButton::CloseMark:
        reject();
        return;
    case KeyDialogButton::Save:
        save();
        return;
    case KeyDialogButton::TabStrip:
    case KeyDialogButton::None:
        break;
    }
    if (m_state.page() == KeyDialogPage::Advance) {
        const LaunchRowHit hit = launchRowAt(x, y);
        switch (hit.part) {
        case LaunchRowPart::Mark:
            m_state.markRow(hit.row);
            break;
        case LaunchRowPart::Browse:
            browse(hit.row);
            break;
        case LaunchRowPart::Label:
        case LaunchRowPart::PathBox:
            break;
        case LaunchRowPart::None:
            m_state.advanceClickElsewhere();
            break;
        }
    }
    syncControls();
}

void KeyAssignmentDialog::save() {
    const auto selectedRows = m_macros->selectedItems();
    const int macroRow = selectedRows.isEmpty() ? kMacroSlotNone : m_macros->row(selectedRows[0]);
    const auto selectedItems = m_tree->selectedItems();
    const std::string function =
        selectedItems.isEmpty() ? std::string() : selectedItems[0]->text(0).toStdString();
    if (m_state.save(macroRow, function) == SaveOutcome::GroupNodeChosen) {
        tell(key_texts::kSelectSubItem.in(m_language));
        return;
    }
    accept();
}

void KeyAssignmentDialog::browse(int row) {
    m_state.browseStarted(row);
    update();
    const QString home = QDir::homePath();
    const QString caption =
        QString::fromUtf8(texts::kLaunchKinds[static_cast<std::size_t>(row)].in(m_language));
    QString path;
    switch (row) {
    case 0:
        path =
            m_dialogs.openFileName(this, caption, home, QString::fromUtf8(key_texts::kMusicFilter));
        break;
    case 1: {
        // Programs here carry no file type: any file the user may run will do, and a desktop
        // entry (a .desktop launcher) as well.
        path = m_dialogs.openFileName(this, caption, home,
                                      QString::fromUtf8(key_texts::kProgramFilter));
        if (!path.isEmpty() && !DesktopLauncher::isStartable(path)) {
            tell(key_texts::kNotAProgram.in(m_language));
            path.clear();
        }
        break;
    }
    case 2:
        path =
            m_dialogs.openFileName(this, caption, home, QString::fromUtf8(key_texts::kTextFilter));
        break;
    default:
        path = m_dialogs.existingFolder(this, key_texts::kFolderPickerTitle.in(m_language), home);
        break;
    }
    if (!path.isEmpty())
        m_state.launchChosen(row, path.toStdString());
}

void KeyAssignmentDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    smoothWhenScaled(painter);
    const QImage& background = m_skin.image(kBackground);
    if (background.isNull())
        painter.fillRect(rect(), QColor(30, 30, 33));
    else
        painter.drawImage(0, 0, background);

    using namespace key_texts;
    m_textLayout.clear();
    m_textLayout.addControl(kCloseMark);
    for (const QWidget* control :
         std::initializer_list<const QWidget*>{m_single, m_combine, m_macros, m_tree})
        if (control->isVisibleTo(this))
            m_textLayout.addControl(control->geometry());
    m_skin.draw(painter, m_state.disableBox() ? kBoxOn : kBoxOff, kDisableBox.x(), kDisableBox.y());
    m_textLayout.addControl(m_skin.inkRect(kBoxOff).translated(kDisableBox));

    m_textLayout.draw(painter, kTitle.in(m_language), kTitleLabel.x(), kTitleLabel.y(), kGrey,
                      kTitleHeight, rect());
    const QPoint name = m_german ? kKeyNameGerman : kKeyName;
    m_textLayout.draw(painter, m_keyName, name.x(), name.y(), kWhite, kTitleHeight, rect());

    const int page = static_cast<int>(m_state.page());
    for (std::size_t tab = 0; tab < kTabs.size(); ++tab) {
        const QPoint at = kTabs[tab].at(m_language);
        m_textLayout.draw(painter, kTabs[tab].text.in(m_language), at.x(), at.y(),
                          static_cast<int>(tab) == page ? kRed : kGrey, kPageTextHeight,
                          kTabPlates[tab]);
    }
    if (m_state.page() == KeyDialogPage::Keys) {
        for (const key_texts::PlacedText* label : {&kSingleLabel, &kCombineLabel}) {
            const QPoint at = label->at(m_language);
            m_textLayout.draw(painter, label->text.in(m_language), at.x(), at.y(), kGrey,
                              kPageTextHeight, rect());
        }
    } else if (m_state.page() == KeyDialogPage::Advance) {
        paintAdvancePage(painter);
    }

    // The caption ends before the buttons.
    const QRect disableStrip(QPoint(0, kDisableBox.y() - 8),
                             QPoint(kButtonPlaces[0].x() - 3, height() - 1));
    const QPoint disableAt = kDisableKey.at(m_language);
    m_textLayout.draw(painter, kDisableKey.text.in(m_language), disableAt.x(), disableAt.y(),
                      kWhite, kDisableKeyHeight, disableStrip);

    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        const bool over = m_hovered == static_cast<KeyDialogButton>(
                                           static_cast<int>(KeyDialogButton::Reset) + int(i));
        m_skin.draw(painter, over ? kButtonPictures[i].second : kButtonPictures[i].first,
                    kButtonPlaces[i].x(), kButtonPlaces[i].y());
        const QPoint at = kButtons[i].at(m_language);
        m_textLayout.draw(painter, kButtons[i].text.in(m_language), at.x(), at.y(), kWhite,
                          m_german ? kButtonTextHeightGerman : kButtonTextHeight,
                          QRect(kButtonPlaces[i], kButtonSize));
    }
}

void KeyAssignmentDialog::paintAdvancePage(QPainter& painter) {
    using namespace key_texts;
    for (int row = 0; row < kLaunchRowCount; ++row) {
        const int top = kLaunchRowTop + row * kLaunchRowPitch;
        const QString& mark = m_state.launchMarkRow() == row ? kBoxOn : kBoxOff;
        const QString& browse = m_hoveredBrowseRow == row ? kBrowseOver : kBrowse;
        m_skin.draw(painter, mark, kMarkX, top + kMarkDy);
        m_skin.draw(painter, kPathBox, kPathBoxX, top);
        m_skin.draw(painter, browse, kBrowseX, top);
        m_textLayout.addControl(m_skin.inkRect(mark).translated(kMarkX, top + kMarkDy));
        m_textLayout.addControl(m_skin.inkRect(browse).translated(kBrowseX, top));
    }
    for (int row = 0; row < kLaunchRowCount; ++row) {
        const int top = kLaunchRowTop + row * kLaunchRowPitch;
        // The label ends before the path box.
        const QRect labelPlace(0, top, kPathBoxX - 1, kLaunchRowPitch);
        m_textLayout.draw(
            painter,
            QString::fromUtf8(texts::kLaunchKinds[static_cast<std::size_t>(row)].in(m_language)),
            m_german ? kLaunchLabelXGerman : kLaunchLabelX, top + kLabelDy, kRed, kPageTextHeight,
            labelPlace);
    }
    if (m_state.launchType() < kLaunchRowCount) {
        const int top = kLaunchRowTop + m_state.launchType() * kLaunchRowPitch;
        m_textLayout.draw(painter, shownPath(QString::fromStdString(m_state.launchPath())), kPathX,
                          top + kPathDy, kRed, kPageTextHeight,
                          QRect(QPoint(kPathBoxX, top), kPathBoxSize));
    }
}

void KeyAssignmentDialog::trackHover(int x, int y) {
    KeyDialogButton hovered = keyDialogButtonAt(x, y);
    int browseRow = -1;
    if (m_state.page() == KeyDialogPage::Advance) {
        const LaunchRowHit hit = launchRowAt(x, y);
        if (hit.part == LaunchRowPart::Browse)
            browseRow = hit.row;
    }
    if (hovered != m_hovered || browseRow != m_hoveredBrowseRow) {
        m_hovered = hovered;
        m_hoveredBrowseRow = browseRow;
        update();
    }
}

void KeyAssignmentDialog::leaveEvent(QEvent* event) {
    trackHover(-1, -1);
    QDialog::leaveEvent(event);
}

void KeyAssignmentDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QDialog::mousePressEvent(event);
    const QPoint point = event->position().toPoint();
    // Only the background drags the dialog, not its buttons or the Advance rows.
    m_drag.press(*event, keyDialogButtonAt(point.x(), point.y()) == KeyDialogButton::None &&
                             (m_state.page() != KeyDialogPage::Advance ||
                              launchRowAt(point.x(), point.y()).part == LaunchRowPart::None));
}

void KeyAssignmentDialog::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    trackHover(point.x(), point.y());
    m_drag.move(*event);
}

void KeyAssignmentDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QDialog::mouseReleaseEvent(event);
    if (m_drag.release() != BackgroundDrag::Release::Dragged) {
        const QPoint point = event->position().toPoint();
        click(point.x(), point.y());
    }
}

} // namespace q905
