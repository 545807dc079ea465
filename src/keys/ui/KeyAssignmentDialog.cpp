// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/ui/KeyAssignmentDialog.h"

#include "controls/ui/PaintedControlAccessible.h"
#include "controls/ui/QtText.h"
#include "controls/ui/RegionRects.h"
#include "controls/ui/ScaledPicture.h"
#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinTree.h"
#include "keys/FunctionCatalogue.h"
#include "keys/KeyDialogControls.h"
#include "keys/ui/KeyAssignmentTexts.h"
#include "macros/MacroModel.h"
#include "macros/ShownKeyNames.h"
#include "platform/qt/DesktopLauncher.h"
#include "platform/qt/DialogPlacement.h"
#include "platform/qt/UserDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace q905 {

using namespace key_dialog;

namespace {

const QString kBackground = QStringLiteral("Custom/Custom_BK.png");
const QString kBoxOff = QStringLiteral("Custom/Disable.png");
const QString kBoxOn = QStringLiteral("Custom/Enable.png");
const QString kPathBox = QStringLiteral("Custom/Advanced.png");
const QString kBrowse = QStringLiteral("Custom/view.png");
const QString kBrowseOver = QStringLiteral("Custom/view02.png");
const QString kPlate = QStringLiteral("Custom/button-cancel-normal.png");
const QString kPlateOver = QStringLiteral("Custom/button-cancel-over.png");
const QString kSavePlate = QStringLiteral("Custom/button-save-normal.png");
const QString kSavePlateOver = QStringLiteral("Custom/button-save-over.png");

constexpr QSize kFallbackSize(388, 378);

// Plain texts: the title line and the fields' captions above them.
const QPoint kTitleLabel{12, 3};
const QPoint kKeyName{127, 3};
const QPoint kKeyNameGerman{180, 5}; // after the longer German label
constexpr int kTitleHeight = 18;
constexpr int kPageTextHeight = 15;
constexpr int kDisableTextHeight = 14;
const QPoint kSingleCaption{13, 81};
const QPoint kCombineCaption{13, 166};
// Captions sit this far below the top of their plate or box.
constexpr int kCaptionDy = 4;
constexpr int kDisableCaptionDy = 3;
// The path inside its box.
constexpr int kPathDx = 4;
constexpr int kPathDy = 6;
// Paths this long are shown as ".." and their last part.
constexpr int kShortPathLength = 14;

const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kGrey(192, 192, 192);
// An armed capture field: the skin's selection red, so the field shows it takes the next key.
const QColor kArmedField = SkinTree::kSelectionColour;

QString shownPath(const QString& path) {
    if (path.size() < kShortPathLength)
        return path;
    const auto slash = path.lastIndexOf(QLatin1Char('/'));
    return QStringLiteral("..") + (slash < 0 ? path : path.mid(slash));
}

void styleField(QWidget* field, const QColor& base = Qt::black) {
    QPalette colours = field->palette();
    colours.setColor(QPalette::Base, base);
    colours.setColor(QPalette::Text, Qt::white);
    colours.setColor(QPalette::PlaceholderText, kGrey);
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, Qt::white);
    field->setPalette(colours);
    QFont font = field->font();
    font.setFamily(QStringLiteral("Arial"));
    font.setPixelSize(12);
    field->setFont(font);
}

QRect placeOf(int id) {
    return toQRect(controlById(kControls, id)->rect);
}

// Keys are captured, never typed: the field only shows them.
QLineEdit* makeField(QWidget* parent, const char* name, int id) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(placeOf(id));
    field->setFrame(false);
    field->setTextMargins(0, 0, 0, 0);
    field->setReadOnly(true);
    field->setContextMenuPolicy(Qt::NoContextMenu);
    field->setAcceptDrops(false);
    field->setFocusPolicy(Qt::ClickFocus);
    styleField(field);
    return field;
}

KeyDialogPage pageOfTab(int id) {
    return static_cast<KeyDialogPage>(id - kKeysTab);
}

bool isPlainEnter(const QKeyEvent* event) {
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
           (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// A row's label on the Advance page: plain text, yet not the background.
bool onLaunchLabel(KeyDialogPage page, int x, int y) {
    if (page != KeyDialogPage::Advance)
        return false;
    for (int row = 0; row < kLaunchRowCount; ++row)
        if (inLaunchRow(kLaunchLabelRowZero, row).contains(x, y))
            return true;
    return false;
}

} // namespace

KeyAssignmentDialog::KeyAssignmentDialog(SkinCache& skin, UserDialogs& dialogs,
                                         std::uint8_t keyCode, const KeyAssignmentRecord& record,
                                         bool enabled, const MacroList& macros, Language language,
                                         const KeyboardLayout* layout, QWidget* parent)
    : SkinnedDialog(language, kControls, parent), m_skin(skin), m_dialogs(dialogs),
      m_keyName(QString::fromStdString(shownKeyName(keyCode, layout)).trimmed()),
      m_state(record, enabled, layout) {
    setObjectName(QStringLiteral("keyAssignment"));
    const QImage& background = m_skin.image(kBackground);
    setFixedSize(background.isNull() ? kFallbackSize : logicalSize(background));
    placeOverParent(*this);
    setWindowTitle(m_keyName);
    setAccessibleName(qtText(key_texts::kTitle, m_language) + QLatin1Char(' ') + m_keyName);
    setMouseTracking(true);

    m_tree = new SkinTree(this);
    setControlWidget(kFunctionTree, m_tree);
    m_tree->setObjectName(QStringLiteral("functions"));
    m_tree->setGeometry(placeOf(kFunctionTree));
    m_tree->setShowSelectionAlways(true);
    QFont treeFont = m_tree->font();
    treeFont.setFamily(QStringLiteral("Arial"));
    treeFont.setPixelSize(13);
    m_tree->setFont(treeFont);
    fillTree();

    m_single = makeField(this, "single", kSingleField);
    m_combine = makeField(this, "combine", kCombineField);
    setControlWidget(kSingleField, m_single);
    setControlWidget(kCombineField, m_combine);

    m_macros = new QListWidget(this);
    setControlWidget(kMacroList, m_macros);
    m_macros->setObjectName(QStringLiteral("macros"));
    m_macros->setGeometry(placeOf(kMacroList));
    m_macros->setFrameShape(QFrame::NoFrame);
    styleField(m_macros);
    for (std::size_t i = 0; i < macros.namedCount(); ++i)
        m_macros->addItem(QString::fromStdU16String(macros[i].name()));
    if (const int row = m_state.initialMacroRow(); row >= 0 && row < m_macros->count())
        m_macros->setCurrentRow(row);

    for (QWidget* widget : std::initializer_list<QWidget*>{m_single, m_combine, m_tree, m_macros})
        widget->installEventFilter(this);
    m_capture.watch(this);
    connect(&m_capture, &KeyCapture::keyCaptured, this, &KeyAssignmentDialog::keyCaptured);
    nameControlWidgets(*this);
    syncControls();
    if (m_state.initialField() == CaptureMode::Single)
        focusField(m_single);
    else if (m_state.initialField() == CaptureMode::Combine)
        focusField(m_combine);
    else if (m_state.page() == KeyDialogPage::Macro)
        m_macros->setFocus(Qt::OtherFocusReason);
    else if (m_state.page() == KeyDialogPage::Basic)
        m_tree->setFocus(Qt::OtherFocusReason);
}

KeyAssignmentDialog::~KeyAssignmentDialog() {
    m_capture.stopCapture();
}

void KeyAssignmentDialog::fillTree() {
    const std::string& chosen = m_state.catalogueName();
    for (const CatalogueTreeItem& root : FunctionCatalogue::tree()) {
        auto* item = new QTreeWidgetItem(m_tree, {qtText(root.text)});
        for (const CatalogueFunction* function : root.children) {
            auto* child = new QTreeWidgetItem(item, {qtText(function->name)});
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

// --- the controls as the focus and accessibility code sees them ---

ControlStatus KeyAssignmentDialog::controlStatus(int id) const {
    ControlStatus status;
    const KeyDialogPage page = m_state.page();
    if (id >= kKeysTab && id <= kAdvanceTab) {
        status.checked = pageOfTab(id) == page;
        status.selected = status.checked;
        // The tab bar is one stop, at the current tab; the arrows go to the others.
        status.tabStop = status.checked;
    } else if (id == kSingleField || id == kCombineField) {
        status.visible = page == KeyDialogPage::Keys;
    } else if (id == kMacroList) {
        status.visible = page == KeyDialogPage::Macro;
    } else if (id == kFunctionTree) {
        status.visible = page == KeyDialogPage::Basic;
    } else if (id == kDisableBox) {
        status.checked = m_state.disableBox();
    } else if (id >= kLaunchMark && id < kControlCount) {
        status.visible = page == KeyDialogPage::Advance;
        if (const int row = launchRowOf(id, kLaunchMark); row >= 0)
            status.checked = m_state.launchMarkRow() == row;
        if (const int row = launchRowOf(id, kLaunchPath); row >= 0 && m_state.launchType() == row)
            status.value = QString::fromStdString(m_state.launchPath());
    }
    return status;
}

const ControlSpec* KeyAssignmentDialog::controlAt(int x, int y) const {
    return q905::controlAt(kControls, m_language, x, y,
                           [this](int id) { return controlStatus(id).visible; });
}

void KeyAssignmentDialog::activateControl(int id) {
    switch (id) {
    case kKeysTab:
    case kMacroTab:
    case kBasicTab:
    case kAdvanceTab:
        showPage(pageOfTab(id), true);
        return;
    case kDisableBox:
        m_state.toggleDisableBox();
        notifyControlEvent(*this, id, QAccessible::StateChanged);
        break;
    case kReset:
        m_state.reset();
        accept();
        return;
    case kClose:
    case kCloseMark:
        reject();
        return;
    case kSave:
        save();
        return;
    default:
        if (const int row = launchRowOf(id, kLaunchMark); row >= 0) {
            m_state.markRow(row);
            for (int mark = kLaunchMark; mark < kLaunchMark + kLaunchRowCount; ++mark)
                notifyControlEvent(*this, mark, QAccessible::StateChanged);
        } else if (const int browseRow = launchRowOf(id, kLaunchBrowse); browseRow >= 0) {
            browse(browseRow);
        }
        break;
    }
    syncControls();
}

bool KeyAssignmentDialog::controlKey(int id, QKeyEvent* event) {
    if (event->modifiers() != Qt::NoModifier)
        return false;
    const bool back = event->key() == Qt::Key_Left || event->key() == Qt::Key_Up;
    const bool forward = event->key() == Qt::Key_Right || event->key() == Qt::Key_Down;
    if (!back && !forward)
        return false;
    const int step = back ? -1 : 1;
    if (id >= kKeysTab && id <= kAdvanceTab) {
        const int tab = kKeysTab + (id - kKeysTab + step + 4) % 4;
        showPage(pageOfTab(tab), false);
        m_focus.setFocusedControl(tab);
        return true;
    }
    // A radio group: the arrows move the mark with the focus, as a click on the mark would.
    if (const int row = launchRowOf(id, kLaunchMark); row >= 0) {
        const int next = (row + step + kLaunchRowCount) % kLaunchRowCount;
        activateControl(kLaunchMark + next);
        m_focus.setFocusedControl(kLaunchMark + next);
        return true;
    }
    return false;
}

// --- pages, capture, Save ---

void KeyAssignmentDialog::showPage(KeyDialogPage page, bool focusPage) {
    const KeyDialogPage before = m_state.page();
    switch (page) {
    case KeyDialogPage::Keys: {
        const bool switched = m_state.showKeysPage();
        syncControls();
        if (switched && focusPage)
            focusField(m_single);
        break;
    }
    case KeyDialogPage::Macro:
        m_state.showMacroPage();
        syncControls();
        if (focusPage)
            m_macros->setFocus(Qt::OtherFocusReason);
        break;
    case KeyDialogPage::Basic:
        m_state.showBasicPage();
        syncControls();
        if (focusPage)
            m_tree->setFocus(Qt::OtherFocusReason);
        break;
    case KeyDialogPage::Advance:
        m_state.showAdvancePage();
        syncControls();
        break;
    }
    if (before != page)
        for (int tab = kKeysTab; tab <= kAdvanceTab; ++tab)
            notifyControlEvent(*this, tab, QAccessible::StateChanged);
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages from wherever the focus is, as in other tabbed
// windows; the focus goes to the new page's tab, so a screen reader names the page, and Tab
// goes on into it.
bool KeyAssignmentDialog::switchPageKey(QKeyEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier))
        return false;
    int step = 0;
    if (event->key() == Qt::Key_Backtab ||
        (event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ShiftModifier)))
        step = -1;
    else if (event->key() == Qt::Key_Tab)
        step = 1;
    if (step == 0)
        return false;
    const int page = (static_cast<int>(m_state.page()) + step + 4) % 4;
    showPage(static_cast<KeyDialogPage>(page), false);
    m_focus.setFocusedControl(kKeysTab + page);
    return true;
}

void KeyAssignmentDialog::armCapture(CaptureMode field) {
    m_state.armCapture(field);
    // Presses and releases: a capture ends once every key taken is up again.
    if (!m_capture.startCapture(KeyCaptureMode::Macro))
        m_state.disarmCapture();
    syncControls();
}

void KeyAssignmentDialog::disarmCapture() {
    m_state.disarmCapture();
    syncControls();
}

void KeyAssignmentDialog::keyCaptured(quint8 code, bool release) {
    if (release)
        (void)m_state.captureRelease(code); // an ended capture shows in the controls synced below
    else
        m_state.capturePress(code);
    syncControls();
}

void KeyAssignmentDialog::hideEvent(QHideEvent* event) {
    disarmCapture();
    QDialog::hideEvent(event);
}

void KeyAssignmentDialog::keyPressEvent(QKeyEvent* event) {
    if (switchPageKey(event))
        return;
    // Esc closes as Close does; nothing is armed here, or the capture would have taken it.
    SkinnedDialog::keyPressEvent(event);
}

bool KeyAssignmentDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && switchPageKey(static_cast<QKeyEvent*>(event)))
        return true;
    if (watched != m_single && watched != m_combine)
        return QDialog::eventFilter(watched, event);
    const CaptureMode field = watched == m_single ? CaptureMode::Single : CaptureMode::Combine;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            armCapture(field);
        break;
    case QEvent::KeyPress:
        if (isPlainEnter(static_cast<QKeyEvent*>(event))) {
            armCapture(field);
            return true;
        }
        break;
    case QEvent::FocusOut:
        // Whatever took the focus (a click elsewhere, another window) ends an unfinished
        // capture: no key is taken behind the user's back.
        if (m_state.captureMode() == field)
            disarmCapture();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void KeyAssignmentDialog::focusField(QLineEdit* field) {
    field->setFocus(Qt::OtherFocusReason);
    field->end(false);
}

void KeyAssignmentDialog::syncControls() {
    // The state ends a capture (its last key up, a page switched); the capture stops with it.
    if (m_state.captureMode() == CaptureMode::Off)
        m_capture.stopCapture();
    const KeyDialogPage page = m_state.page();
    m_single->setVisible(page == KeyDialogPage::Keys);
    m_combine->setVisible(page == KeyDialogPage::Keys);
    m_macros->setVisible(page == KeyDialogPage::Macro);
    m_tree->setVisible(page == KeyDialogPage::Basic);
    const struct {
        QLineEdit* field;
        CaptureMode mode;
        const std::string& text;
        const WindowText& prompt;
    } fields[] = {
        {m_single, CaptureMode::Single, m_state.singleText(), key_texts::kPressKey},
        {m_combine, CaptureMode::Combine, m_state.combineText(), key_texts::kPressCombination}};
    for (const auto& [field, mode, text, prompt] : fields) {
        const bool armed = m_state.captureMode() == mode;
        // Until the first key the armed field asks for one instead of showing the old keys.
        const QString shown = armed && m_state.awaitingKey() ? QString() : qtText(text);
        if (field->text() != shown)
            field->setText(shown);
        field->end(false);
        const QString description = qtText(armed ? prompt : key_texts::kArmHint, m_language);
        field->setPlaceholderText(armed ? description : QString());
        if (field->accessibleDescription() != description)
            field->setAccessibleDescription(description);
        styleField(field, armed ? kArmedField : QColor(Qt::black));
    }
    update();
}

void KeyAssignmentDialog::tell(const QString& text) {
    m_dialogs.tell(this, QApplication::applicationDisplayName(), text);
}

void KeyAssignmentDialog::clicked(QPoint point) {
    const int x = point.x();
    const int y = point.y();
    const ControlSpec* hit = controlAt(x, y);
    const int id = hit ? hit->id : -1;
    if (id == kReset || id == kClose || id == kCloseMark || id == kSave)
        return activateControl(id);
    if (hit)
        activateControl(id);
    // On the Advance page a click beside the rows (a tab, the box, the background) takes back a
    // mark that no chosen path holds.
    if (m_state.page() == KeyDialogPage::Advance && id < kLaunchMark &&
        !onLaunchLabel(m_state.page(), x, y))
        m_state.advanceClickElsewhere();
    syncControls();
}

void KeyAssignmentDialog::save() {
    const auto selectedRows = m_macros->selectedItems();
    const int macroRow = selectedRows.isEmpty() ? kMacroSlotNone : m_macros->row(selectedRows[0]);
    const auto selectedItems = m_tree->selectedItems();
    const std::string function =
        selectedItems.isEmpty() ? std::string() : selectedItems[0]->text(0).toStdString();
    if (m_state.save(macroRow, function) == SaveOutcome::GroupNodeChosen) {
        tell(qtText(key_texts::kSelectSubItem, m_language));
        return;
    }
    accept();
}

void KeyAssignmentDialog::browse(int row) {
    m_state.browseStarted(row);
    update();
    const QString home = QDir::homePath();
    const QString caption = qtText(kLaunchRowNames[static_cast<std::size_t>(row)], m_language);
    QString path;
    switch (row) {
    case 0:
        path = m_dialogs.openFileName(this, caption, home, qtText(key_texts::kMusicFilter));
        break;
    case 1: {
        // Programs here carry no file type: any file the user may run will do, and a desktop
        // entry (a .desktop launcher) as well.
        path = m_dialogs.openFileName(this, caption, home, qtText(key_texts::kProgramFilter));
        if (!path.isEmpty() && !DesktopLauncher::isStartable(path)) {
            tell(qtText(key_texts::kNotAProgram, m_language));
            path.clear();
        }
        break;
    }
    case 2:
        path = m_dialogs.openFileName(this, caption, home, qtText(key_texts::kTextFilter));
        break;
    default:
        path =
            m_dialogs.existingFolder(this, qtText(key_texts::kFolderPickerTitle, m_language), home);
        break;
    }
    if (!path.isEmpty()) {
        m_state.launchChosen(row, path.toStdString());
        notifyControlEvent(*this, kLaunchPath + row, QAccessible::ValueChanged);
    }
}

// --- painting ---

// A control's caption, centred on it at the largest height up to `height` that fits.
void KeyAssignmentDialog::drawCaption(QPainter& painter, int id, const QColor& colour, int height) {
    const ControlSpec& control = *controlById(kControls, id);
    const QRect place = toQRect(control.rectIn(m_language));
    const QString text = qtText(control.name, m_language);
    int fitted = height;
    while (fitted > TextLayout::kSmallestHeight &&
           skinTextBox(text, 0, 0, fitted).width() > place.width() - 2)
        --fitted;
    const int width = skinTextBox(text, 0, 0, fitted).width();
    const int x = place.left() + std::max(1, (place.width() - width) / 2);
    m_textLayout.draw(painter, text, x, place.top() + kCaptionDy, colour, fitted, place);
}

void KeyAssignmentDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintBackground(painter, m_skin.image(kBackground), QColor(30, 30, 33));

    m_textLayout.clear();
    m_textLayout.addControl(placeOf(kCloseMark));
    for (const QWidget* control :
         std::initializer_list<const QWidget*>{m_single, m_combine, m_macros, m_tree})
        if (control->isVisibleTo(this))
            m_textLayout.addControl(control->geometry());
    const QPoint box = placeOf(kDisableBox).topLeft() + QPoint(kDisableBoxSlack, kDisableBoxSlack);
    m_skin.draw(painter, m_state.disableBox() ? kBoxOn : kBoxOff, box.x(), box.y());
    m_textLayout.addControl(m_skin.inkRect(kBoxOff).translated(box));

    m_textLayout.draw(painter, qtText(key_texts::kTitle, m_language), kTitleLabel.x(),
                      kTitleLabel.y(), kGrey, kTitleHeight, rect());
    const QPoint name = m_language == Language::German ? kKeyNameGerman : kKeyName;
    m_textLayout.draw(painter, m_keyName, name.x(), name.y(), kWhite, kTitleHeight, rect());

    for (int tab = kKeysTab; tab <= kAdvanceTab; ++tab)
        drawCaption(painter, tab, pageOfTab(tab) == m_state.page() ? kRed : kGrey, kPageTextHeight);
    if (m_state.page() == KeyDialogPage::Keys) {
        for (const auto& [id, at] :
             {std::pair{kSingleField, kSingleCaption}, std::pair{kCombineField, kCombineCaption}})
            m_textLayout.draw(painter, qtText(controlById(kControls, id)->name, m_language), at.x(),
                              at.y(), kGrey, kPageTextHeight, rect());
    } else if (m_state.page() == KeyDialogPage::Advance) {
        paintAdvancePage(painter);
    }

    // The caption ends before the buttons.
    const QRect disable = placeOf(kDisableBox);
    const QRect disableStrip(QPoint(0, disable.top() - kDisableBoxSlack + 2),
                             QPoint(placeOf(kReset).left() - 3, height() - 1));
    m_textLayout.draw(painter, qtText(controlById(kControls, kDisableBox)->name, m_language),
                      disable.right(), disable.top() + kDisableCaptionDy, kWhite,
                      kDisableTextHeight, disableStrip);

    for (const int id : {kReset, kClose, kSave}) {
        const bool over = m_hovered == id;
        const QString& plate =
            id == kSave ? (over ? kSavePlateOver : kSavePlate) : (over ? kPlateOver : kPlate);
        const QPoint at = placeOf(id).topLeft();
        m_skin.draw(painter, plate, at.x(), at.y());
        drawCaption(painter, id, kWhite, kPageTextHeight);
    }
    m_focus.paintMark(painter);
}

void KeyAssignmentDialog::paintAdvancePage(QPainter& painter) {
    for (int row = 0; row < kLaunchRowCount; ++row) {
        const QPoint mark = placeOf(kLaunchMark + row).topLeft();
        const QPoint pathBox = placeOf(kLaunchPath + row).topLeft();
        const QPoint browse = placeOf(kLaunchBrowse + row).topLeft();
        const QString& markPicture = m_state.launchMarkRow() == row ? kBoxOn : kBoxOff;
        const QString& browsePicture = m_hovered == kLaunchBrowse + row ? kBrowseOver : kBrowse;
        m_skin.draw(painter, markPicture, mark.x(), mark.y());
        m_skin.draw(painter, kPathBox, pathBox.x(), pathBox.y());
        m_skin.draw(painter, browsePicture, browse.x(), browse.y());
        m_textLayout.addControl(m_skin.inkRect(markPicture).translated(mark));
        m_textLayout.addControl(m_skin.inkRect(browsePicture).translated(browse));
    }
    for (int row = 0; row < kLaunchRowCount; ++row) {
        const QRect label = toQRect(inLaunchRow(kLaunchLabelRowZero, row));
        // The label ends before the path box.
        const QRect labelPlace(QPoint(0, label.top()),
                               QPoint(placeOf(kLaunchPath + row).left() - 1, label.bottom()));
        m_textLayout.draw(painter,
                          qtText(kLaunchRowNames[static_cast<std::size_t>(row)], m_language),
                          label.left(), label.top(), kRed, kPageTextHeight, labelPlace);
    }
    if (m_state.launchType() < kLaunchRowCount) {
        const QRect box = placeOf(kLaunchPath + m_state.launchType());
        m_textLayout.draw(painter, shownPath(QString::fromStdString(m_state.launchPath())),
                          box.left() + kPathDx, box.top() + kPathDy, kRed, kPageTextHeight, box);
    }
}

// --- the mouse ---

void KeyAssignmentDialog::trackHover(int x, int y) {
    const ControlSpec* hit = controlAt(x, y);
    const std::optional<int> hovered = hit ? std::optional<int>(hit->id) : std::nullopt;
    if (hovered != m_hovered) {
        m_hovered = hovered;
        update();
    }
}

void KeyAssignmentDialog::leaveEvent(QEvent* event) {
    trackHover(-1, -1);
    QDialog::leaveEvent(event);
}

bool KeyAssignmentDialog::isBackground(QPoint point) const {
    // Not the controls, nor the Advance rows' labels.
    return controlAt(point.x(), point.y()) == nullptr &&
           !onLaunchLabel(m_state.page(), point.x(), point.y());
}

void KeyAssignmentDialog::pointerMoved(QPoint point) {
    trackHover(point.x(), point.y());
}

} // namespace q905
