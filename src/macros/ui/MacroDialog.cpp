// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/ui/MacroDialog.h"

#include "base/Utf16.h"
#include "controls/ui/PaintedControlAccessible.h"
#include "controls/ui/QtText.h"
#include "controls/ui/RegionRects.h"
#include "controls/ui/ScaledPicture.h"
#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinListBox.h"
#include "keys/KeyTable.h"
#include "macros/MacroDialogControls.h"
#include "macros/MacroListEditing.h"
#include "macros/ShownKeyNames.h"
#include "macros/ui/MacroDialogTexts.h"
#include "platform/qt/DialogPlacement.h"
#include "platform/qt/UserDialogs.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QRegularExpressionValidator>

#include <array>

namespace q905 {

namespace {

using namespace macro_dialog;

const QString kBackground = QStringLiteral("MacroManagement/MacroManagement.png");

QRect widgetPlace(Control control) {
    return toQRect(placeOf(control));
}

QString fromUtf16(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// The event menu's mouse commands and the events they insert, by button, then Down, Up, Click.
struct MouseCommand {
    EventMenuCommand command;
    MouseButton button;
    MouseAction action;
};
constexpr std::array<MouseCommand, 9> kMouseCommands{{
    {EventMenuCommand::LeftDown, MouseButton::Left, MouseAction::Down},
    {EventMenuCommand::LeftUp, MouseButton::Left, MouseAction::Up},
    {EventMenuCommand::LeftClick, MouseButton::Left, MouseAction::Click},
    {EventMenuCommand::RightDown, MouseButton::Right, MouseAction::Down},
    {EventMenuCommand::RightUp, MouseButton::Right, MouseAction::Up},
    {EventMenuCommand::RightClick, MouseButton::Right, MouseAction::Click},
    {EventMenuCommand::MiddleDown, MouseButton::Middle, MouseAction::Down},
    {EventMenuCommand::MiddleUp, MouseButton::Middle, MouseAction::Up},
    {EventMenuCommand::MiddleClick, MouseButton::Middle, MouseAction::Click},
}};

} // namespace

MacroDialog::MacroDialog(SkinCache& skin, Language language, MacroList& macros, Clock& clock,
                         KeyCaptureControl& capture, UserDialogs& dialogs, QWidget* parent)
    : SkinnedDialog(language, kControls, parent), m_skin(skin), m_target(macros),
      m_dialogs(dialogs), m_working(std::make_unique<MacroList>(macros)),
      m_macro(std::make_unique<WorkingMacro>(*m_working, clock, capture)) {
    setObjectName(QStringLiteral("macroDialog"));
    setWindowTitle(text(macro_texts::kCaption));
    setMouseTracking(true);
    const QImage& background = m_skin.image(kBackground);
    setFixedSize(background.isNull() ? QSize(kWidth, kHeight) : logicalSize(background));
    placeOverParent(*this);

    const auto makeList = [this, &background](Control place, const char* name,
                                              SkinListBox::EditMode mode) {
        auto* list = new SkinListBox(this);
        list->setObjectName(QString::fromLatin1(name));
        list->setGeometry(widgetPlace(place));
        list->setTextFont(16, QStringLiteral("Arial"), Qt::white, QColor(0, 255, 255), true,
                          Qt::black, 2);
        list->setEditMode(mode);
        if (!background.isNull())
            list->setBackground(cutOut(background, widgetPlace(place)));
        return list;
    };
    m_names = makeList(kNameList, "names", SkinListBox::EditMode::Rename);
    setControlWidget(kNameList, m_names);
    m_names->installEventFilter(this);
    m_names->setMaxEditLength(static_cast<int>(kMaxMacroNameLength));
    m_events = makeList(kEventList, "events", SkinListBox::EditMode::Number);
    setControlWidget(kEventList, m_events);
    m_events->setNumberRange(kMinEditedDelayMs, kMaxDelayMs, QStringLiteral("ms"));
    m_events->setContextMenuPolicy(Qt::CustomContextMenu);
    m_events->installEventFilter(this);
    m_events->viewport()->installEventFilter(this);

    m_loopBox = new QLineEdit(this);
    m_loopBox->setObjectName(QStringLiteral("loop"));
    setControlWidget(kLoopCount, m_loopBox);
    m_loopBox->setGeometry(widgetPlace(kLoopCount));
    m_loopBox->setMaxLength(kLoopDigits);
    m_loopBox->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")), this));
    m_loopBox->setText(QStringLiteral("1"));
    m_loopBox->setEnabled(false);
    m_loopBox->setStyleSheet(
        QStringLiteral("QLineEdit { background: #0c0c0e; color: white; border: 1px solid #5a5a62; }"
                       "QLineEdit:disabled { color: #6a6a70; border-color: #303034; }"));

    connect(m_names, &QListWidget::itemSelectionChanged, this, &MacroDialog::nameSelected);
    connect(m_names, &SkinListBox::editBegin, this, [this] {
        m_macro->stopCapture();
        update();
    });
    connect(m_events, &SkinListBox::editBegin, this, [this] {
        m_macro->stopCapture();
        update();
    });
    connect(m_names, &SkinListBox::editDone, this, &MacroDialog::nameEdited);
    connect(m_events, &SkinListBox::editDone, this, &MacroDialog::delayEdited);
    connect(m_loopBox, &QLineEdit::textChanged, this, &MacroDialog::loopTextChanged);
    connect(m_events, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { openEventMenu(m_events->mapToGlobal(at)); });

    m_refreshing = true;
    for (const std::u16string& name : macroNames(*m_working))
        m_names->addRow(fromUtf16(name));
    m_refreshing = false;
    if (m_names->count() > 0)
        m_names->selectRow(0);
    nameControlWidgets(*this);
}

MacroDialog::~MacroDialog() = default;

QString MacroDialog::text(const WindowText& text) const {
    return qtText(text, m_language);
}

ControlStatus MacroDialog::controlStatus(int id) const {
    ControlStatus status;
    const MacroOptions& options = m_macro->options();
    switch (id) {
    case kRecord:
        if (m_macro->recording())
            status.name = text(macro_texts::kStopRecording);
        break;
    case kDelayBox:
        status.checked = options.hasDelay;
        break;
    case kLoopBox:
        status.checked = options.loopOn;
        break;
    case kLoopCount:
        status.enabled = options.loopOn;
        status.value = m_loopBox->text();
        break;
    default:
        break;
    }
    return status;
}

void MacroDialog::activateControl(int id) {
    if (QWidget* widget = controlWidget(id)) {
        widget->setFocus(Qt::OtherFocusReason);
        return;
    }
    click(id);
}

void MacroDialog::setKeyboardLayout(const KeyboardLayout* layout) {
    m_layout = layout;
    showEvents(m_events->selectedRow());
}

void MacroDialog::showEvents(int selectRow) {
    m_refreshing = true;
    m_events->clear();
    // Key rows name the keys the way the user's layout labels them; an arrow tells the way.
    for (const EventRow& row : m_macro->rows()) {
        if (row.isDelay()) {
            m_events->addRow(qtText(row.text), SkinListBox::RowIcon::Clock, true);
            continue;
        }
        const bool up = row.kind == EventRowKind::KeyUp;
        const QString name = qtText(shownKeyName(row.key, m_layout));
        const int index = m_events->addRow(
            name, up ? SkinListBox::RowIcon::Up : SkinListBox::RowIcon::Down, false);
        m_events->item(index)->setData(
            Qt::AccessibleTextRole,
            text(up ? macro_texts::kKeyUp : macro_texts::kKeyDown).arg(name));
    }
    m_refreshing = false;
    if (selectRow >= m_events->count())
        selectRow = m_events->count() - 1;
    if (selectRow >= 0)
        m_events->selectRow(selectRow);
    notifyStatusChanged(*this);
    update();
}

void MacroDialog::nameSelected() {
    if (m_refreshing)
        return;
    const int row = m_names->selectedRow();
    if (row < 0)
        return;
    m_macro->select(row);
    const MacroOptions& options = m_macro->options();
    m_refreshing = true;
    m_loopBox->setText(QString::fromStdString(options.loopText));
    m_loopBox->setEnabled(options.loopOn);
    m_refreshing = false;
    showEvents(m_macro->recording() ? static_cast<int>(m_macro->rows().size()) - 1 : -1);
}

void MacroDialog::loopTextChanged(const QString& text) {
    if (m_refreshing)
        return;
    if (text.toInt() == 0) {
        m_loopBox->setText(QStringLiteral("1")); // comes back here with "1"
        return;
    }
    storeLoop();
}

void MacroDialog::storeLoop() {
    const auto selected = m_macro->selected();
    if (!selected)
        return;
    const bool loopOn = m_macro->options().loopOn;
    const std::string loopText = m_loopBox->text().toStdString();
    m_macro->setLoop(loopOn, loopText);
    (*m_working)[static_cast<std::size_t>(*selected)].setLoopCount(
        loopOn ? loopCountFromText(loopText) : 1);
}

void MacroDialog::keyRepeated(quint8 code) {
    if (m_macro->onKeyRepeat(code) == CapturedKeyResult::RecordingStopped)
        recordingStopped();
}

// The next Enter must not start a new recording over the one just made: the focus goes on to
// what was recorded.
void MacroDialog::recordingStopped() {
    notifyControlEvent(*this, kRecord, QAccessible::NameChanged);
    showEvents(static_cast<int>(m_macro->rows().size()) - 1);
    if (m_focus.focusedId() == kRecord || !m_focus.focusedId())
        m_focus.setFocusedControl(kEventList);
}

void MacroDialog::keyCaptured(quint8 code, bool release, int msAgo) {
    const CapturedKeyResult result =
        m_macro->onCapturedKey(code, release, std::chrono::milliseconds(msAgo));
    if (result == CapturedKeyResult::Ignored)
        return;
    if (result == CapturedKeyResult::Recorded) {
        showEvents(static_cast<int>(m_macro->rows().size()) - 1);
    } else if (result == CapturedKeyResult::RecordingStopped) {
        recordingStopped();
    } else if (result == CapturedKeyResult::Inserted ||
               result == CapturedKeyResult::InsertionEnded) {
        showEvents(m_macro->insertRow());
    } else {
        notifyStatusChanged(*this);
        update(); // the byte count
    }
}

void MacroDialog::click(int control) {
    switch (control) {
    case kRecord:
        toggleRecording();
        break;
    case kDelayBox:
        if (const auto selected = m_macro->selected()) {
            m_macro->setHasDelay(!m_macro->options().hasDelay);
            (*m_working)[static_cast<std::size_t>(*selected)].setHasDelay(
                m_macro->options().hasDelay);
        } else {
            m_macro->setHasDelay(!m_macro->options().hasDelay);
        }
        notifyControlEvent(*this, kDelayBox, QAccessible::StateChanged);
        update();
        break;
    case kLoopBox: {
        const bool on = !m_macro->options().loopOn;
        m_macro->setLoop(on, m_loopBox->text().toStdString());
        m_loopBox->setEnabled(on);
        if (!on) {
            m_refreshing = true;
            m_loopBox->setText(QStringLiteral("1"));
            m_refreshing = false;
        }
        storeLoop();
        notifyControlEvent(*this, kLoopBox, QAccessible::StateChanged);
        update();
        break;
    }
    case kNew:
        newMacro();
        break;
    case kDelete:
        deleteMacro();
        break;
    case kOk:
        save();
        break;
    case kCancel:
        reject();
        break;
    case kCloseMark:
        closeKeepingList();
        break;
    default:
        break;
    }
}

void MacroDialog::toggleRecording() {
    const RecordingResult result = m_macro->startStopRecording();
    if (result == RecordingResult::NoMacroSelected) {
        m_dialogs.tell(this, text(macro_texts::kCaption), text(macro_texts::kSelectToRecord));
        return;
    }
    if (result == RecordingResult::Stopped) {
        recordingStopped();
        return;
    }
    notifyControlEvent(*this, kRecord, QAccessible::NameChanged);
    showEvents();
}

void MacroDialog::newMacro() {
    if (m_names->count() >= static_cast<int>(kMaxNamedMacros))
        return;
    std::vector<std::u16string> names;
    for (const QString& name : m_names->rowTexts())
        names.push_back(name.toStdU16String());
    const std::u16string name = newMacroName(names);
    const auto index = appendMacro(*m_working, name);
    if (!index)
        return;
    m_macro->stopCapture();
    m_refreshing = true;
    m_names->addRow(fromUtf16(name));
    m_refreshing = false;
    m_names->selectRow(*index);
    update();
}

void MacroDialog::deleteMacro() {
    // Nothing selected is said at once: confirming the deletion of nothing would not help.
    const int row = m_names->selectedRow();
    if (row < 0) {
        m_dialogs.tell(this, text(macro_texts::kCaption), text(macro_texts::kSelectToDelete));
        return;
    }
    if (!m_dialogs.askOkCancel(this, text(macro_texts::kCaption), deleteQuestion(row)))
        return;
    const int named = static_cast<int>(m_working->namedCount());
    m_macro->stopCapture();
    // Refused only for a row that is not a named record; the selected row is one.
    (void)q905::deleteMacro(*m_working, row);
    if (m_bindings)
        m_bindings->macroDeleted(row);
    m_refreshing = true;
    delete m_names->takeItem(row);
    m_names->clearSelection();
    m_refreshing = false;
    const int next = std::min(row, named - 2);
    if (next >= 0) {
        m_refreshing = true;
        m_names->selectRow(next);
        m_refreshing = false;
        nameSelected(); // the same row number may name another macro now
    } else {
        m_macro->select(std::nullopt);
        showEvents();
    }
}

QString MacroDialog::deleteQuestion(int row) const {
    QString question;
    if (m_bindings) {
        const QString name = fromUtf16((*m_working)[static_cast<std::size_t>(row)].name());
        for (const int key : m_bindings->keysOf(row))
            question +=
                text(macro_texts::kKeyLosesMacro)
                    .arg(QString::fromUtf8(KeyTable[static_cast<std::size_t>(key)].label), name) +
                QLatin1Char('\n');
    }
    return question + text(macro_texts::kConfirmDelete);
}

bool MacroDialog::keep(const MacroList& macros, const std::vector<MacroKeyChange>& keyChanges,
                       bool editsKept) {
    MacroSaveResult result;
    if (m_saver)
        result = m_saver(macros, keyChanges);
    else
        m_target = macros;
    if (result.step == MacroSaveStep::Saved)
        return true;
    const QString reason = QString::fromStdString(failureReason(result.failure, m_language));
    if (result.step == MacroSaveStep::KeymapNotSaved) {
        m_dialogs.tell(this, text(macro_texts::kCaption), text(texts::kNotSaved).arg(reason));
        return true;
    }
    QString message = text(texts::kMacrosNotSaved).arg(reason);
    if (editsKept)
        message += QLatin1Char(' ') + text(macro_texts::kEditsKept);
    m_dialogs.tell(this, text(macro_texts::kCaption), message);
    return false;
}

void MacroDialog::save() {
    m_macro->stopCapture();
    if (m_macro->options().loopOn)
        storeLoop();
    // A macro file that cannot be written keeps the dialog open with its edits: OK again once
    // there is room, or Cancel to drop them.
    if (!keep(*m_working, m_bindings ? m_bindings->changes() : std::vector<MacroKeyChange>{}, true))
        return;
    m_editsSaved = true;
    accept();
}

// Closes like OK, but the program's list keeps what it held; it fills the slots and is saved
// again all the same.
void MacroDialog::closeKeepingList() {
    // A save that fails has told the user so; the dialog closes all the same, as asked.
    (void)keep(m_target, {}, false);
    accept();
}

void MacroDialog::nameEdited(int, int row) {
    if (row < 0 || row >= m_names->count() || static_cast<std::size_t>(row) >= m_working->size())
        return;
    MacroRecord& record = (*m_working)[static_cast<std::size_t>(row)];
    const std::u16string name = m_names->item(row)->text().toStdU16String();
    // An empty name would free the record in the middle of the list: the old one stays.
    if (!checkMacroName(name).empty()) {
        m_names->item(row)->setText(fromUtf16(record.name()));
        return;
    }
    record.setName(name);
    if (m_macro->selected() == row)
        m_macro->setName(name);
}

void MacroDialog::delayEdited(int row, int ms) {
    if (m_events->count() == 0)
        return;
    const EditResult result = m_macro->editDelay(row, ms);
    // The list shows the typed value already; a refused edit must show the bytes again.
    showEvents(row);
    if (result == EditResult::NoRoom)
        m_dialogs.tell(this, text(macro_texts::kCaption), text(macro_texts::kMacroFull));
}

std::unique_ptr<QMenu> MacroDialog::buildEventMenu() {
    using enum EventMenuCommand;
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("eventMenu"));
    const auto add = [this](QMenu* to, const WindowText& label, EventMenuCommand command) {
        QAction* action = to->addAction(text(label));
        connect(action, &QAction::triggered, this, [this, command] { runMenuCommand(command); });
    };
    add(menu.get(), macro_texts::kInsertBefore, RecordBefore);
    add(menu.get(), macro_texts::kInsertAfter, RecordAfter);
    QMenu* mouse = menu->addMenu(text(macro_texts::kInsertMouseKey));
    constexpr std::array<const WindowText*, 3> kButtonNames{
        &macro_texts::kLeft, &macro_texts::kRight, &macro_texts::kMiddle};
    constexpr std::array<const WindowText*, 3> kActionNames{&macro_texts::kDown, &macro_texts::kUp,
                                                            &macro_texts::kClick};
    QMenu* sub = nullptr;
    for (std::size_t i = 0; i < kMouseCommands.size(); ++i) {
        if (i % kActionNames.size() == 0)
            sub = mouse->addMenu(text(*kButtonNames[i / kActionNames.size()]));
        add(sub, *kActionNames[i % kActionNames.size()], kMouseCommands[i].command);
    }
    add(menu.get(), macro_texts::kInsertDelay, InsertDelay);
    add(menu.get(), macro_texts::kDeleteEvent, DeleteEvent);
    return menu;
}

void MacroDialog::openEventMenu(const QPoint& at) {
    const auto menu = buildEventMenu();
    menu->exec(at);
}

void MacroDialog::runMenuCommand(EventMenuCommand command) {
    const int row = m_events->selectedRow();
    if (row < 0)
        return;
    EditResult result = EditResult::Ignored;
    switch (command) {
    case EventMenuCommand::RecordBefore:
        result = m_macro->recordBefore(row);
        break;
    case EventMenuCommand::RecordAfter:
        result = m_macro->recordAfter(row);
        break;
    case EventMenuCommand::InsertDelay:
        result = m_macro->insertDelay(row);
        break;
    case EventMenuCommand::DeleteEvent:
        result = m_macro->deleteRow(row);
        break;
    default:
        for (const MouseCommand& mouse : kMouseCommands)
            if (mouse.command == command)
                result = m_macro->insertMouseKey(row, mouse.button, mouse.action);
        break;
    }
    if (result == EditResult::DelayRowSelected)
        m_dialogs.tell(this, text(macro_texts::kCaption), text(macro_texts::kEditCurrentDelay));
    else if (result == EditResult::NoRoom)
        m_dialogs.tell(this, text(macro_texts::kCaption), text(macro_texts::kMacroFull));
    else if (result == EditResult::Changed)
        showEvents(row);
    update();
}

std::optional<int> MacroDialog::paintedControlAt(const QPoint& point) const {
    // The lists and the loop count take their own clicks.
    const ControlSpec* control = controlAt(kControls, m_language, point.x(), point.y(),
                                           [this](int id) { return controlWidget(id) == nullptr; });
    if (!control)
        return std::nullopt;
    return control->id;
}

void MacroDialog::setHover(std::optional<int> control) {
    // Only the buttons have a picture for the mouse over them.
    if (control && controlById(kControls, *control)->kind != ControlKind::Button)
        control.reset();
    if (control == kCloseMark)
        control.reset();
    if (control == m_hovered)
        return;
    m_hovered = control;
    update();
}

bool MacroDialog::isBackground(QPoint point) const {
    return !paintedControlAt(point);
}

void MacroDialog::pointerMoved(QPoint point) {
    setHover(paintedControlAt(point));
}

void MacroDialog::clicked(QPoint point) {
    if (const auto control = paintedControlAt(point))
        click(*control);
}

bool MacroDialog::listKey(SkinListBox* list, QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int row = list->selectedRow();
    switch (event->key()) {
    case Qt::Key_Delete:
        if (modifiers != Qt::NoModifier)
            return false;
        if (list == m_names)
            deleteMacro();
        else
            runMenuCommand(EventMenuCommand::DeleteEvent);
        return true;
    case Qt::Key_Menu:
    case Qt::Key_F10:
        if (list != m_events || (event->key() == Qt::Key_F10 && modifiers != Qt::ShiftModifier))
            return false;
        {
            // At the current row, or the list's top when none is selected.
            const QRect place = row >= 0 ? list->visualItemRect(list->item(row)) : QRect();
            openEventMenu(
                list->viewport()->mapToGlobal(place.isNull() ? QPoint(4, 4) : place.center()));
        }
        return true;
    default:
        return false;
    }
}

bool MacroDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == m_names || watched == m_events))
        return listKey(static_cast<SkinListBox*>(watched), static_cast<QKeyEvent*>(event));
    // The window system turns the menu key into a context menu at the mouse pointer as well;
    // the key itself opens the menu at the current row.
    if (event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard &&
        (watched == m_events || watched == m_events->viewport()))
        return true;
    return QDialog::eventFilter(watched, event);
}

void MacroDialog::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        m_macro->noteStopKeyReport();
    QDialog::keyReleaseEvent(event);
}

void MacroDialog::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const std::optional<int> focused = m_focus.focusedId();
    // Enter is OK, as a dialog's default button, but on a button it presses that one and in a
    // list or the loop count it stays there. Space ticks a box.
    const auto kind = [focused] { return controlById(kControls, *focused)->kind; };
    if (enter && plain && (!focused || kind() == ControlKind::Toggle)) {
        save();
        return;
    }
    if (m_focus.handleKey(event))
        return;
    switch (event->key()) {
    case Qt::Key_Escape:
        // An in-place edit takes its own Esc and recording every key: this is Cancel. The Esc
        // held to end a recording goes on repeating after it: that is not Cancel.
        if (plain && !event->isAutoRepeat()) {
            const bool repeat = m_macro->isStopKeyRepeat();
            m_macro->noteStopKeyReport();
            if (!repeat)
                reject();
        }
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

} // namespace q905
