#include "macros/ui/MacroDialog.h"

#include "base/Utf16.h"
#include "controls/ui/ScaledPicture.h"
#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinListBox.h"
#include "keys/KeyTable.h"
#include "macros/MacroDialogLayout.h"
#include "macros/MacroListEditing.h"
#include "macros/ui/MacroDialogTexts.h"
#include "platform/qt/DialogPlacement.h"
#include "platform/qt/UserDialogs.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QRegularExpressionValidator>

namespace q905 {

namespace {

using namespace macro_dialog;

const QString kBackground = QStringLiteral("MacroManagement/MacroManagement.png");

QRect placeOf(const std::array<int, 4>& place) {
    return {place[0], place[1], place[2], place[3]};
}

QString fromUtf16(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

} // namespace

MacroDialog::MacroDialog(SkinCache& skin, Language language, MacroList& macros, Clock& clock,
                         HookLibrary& hook, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_skin(skin), m_language(language),
      m_target(macros), m_dialogs(dialogs), m_working(std::make_unique<MacroList>(macros)),
      m_macro(std::make_unique<WorkingMacro>(*m_working, clock, hook)) {
    setObjectName(QStringLiteral("macroDialog"));
    setWindowTitle(text(macro_texts::kCaption));
    setMouseTracking(true);
    const QImage& background = m_skin.image(kBackground);
    setFixedSize(background.isNull() ? QSize(kWidth, kHeight) : logicalSize(background));
    placeOverParent(*this);

    const auto makeList = [this, &background](const std::array<int, 4>& place, const char* name,
                                              SkinListBox::EditMode mode) {
        auto* list = new SkinListBox(this);
        list->setObjectName(QString::fromLatin1(name));
        list->setGeometry(placeOf(place));
        list->setTextFont(16, QStringLiteral("Arial"), Qt::white, QColor(0, 255, 255), true,
                          Qt::black, 2);
        list->setEditMode(mode);
        if (!background.isNull())
            list->setBackground(cutOut(background, placeOf(place)));
        return list;
    };
    m_names = makeList(kNameList, "names", SkinListBox::EditMode::Rename);
    m_names->setMaxEditLength(static_cast<int>(kMaxMacroNameLength));
    m_events = makeList(kEventList, "events", SkinListBox::EditMode::Delay);
    m_events->setContextMenuPolicy(Qt::CustomContextMenu);

    m_loopBox = new QLineEdit(this);
    m_loopBox->setObjectName(QStringLiteral("loop"));
    m_loopBox->setGeometry(placeOf(kLoopEdit));
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
        m_macro->stopHook();
        update();
    });
    connect(m_events, &SkinListBox::editBegin, this, [this] {
        m_macro->stopHook();
        update();
    });
    connect(m_names, &SkinListBox::editDone, this, &MacroDialog::nameEdited);
    connect(m_events, &SkinListBox::editDone, this, &MacroDialog::delayEdited);
    connect(m_loopBox, &QLineEdit::textChanged, this, &MacroDialog::loopTextChanged);
    connect(m_events, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const auto menu = buildEventMenu();
        menu->exec(m_events->mapToGlobal(at));
    });

    m_refreshing = true;
    for (const std::u16string& name : macroNames(*m_working))
        m_names->addRow(fromUtf16(name));
    m_refreshing = false;
    if (m_names->count() > 0)
        m_names->selectRow(0);
}

MacroDialog::~MacroDialog() = default;

QString MacroDialog::text(const WindowText& text) const {
    return QString::fromUtf8(text.in(m_language));
}

void MacroDialog::setKeyboardLayout(const KeyboardLayout* layout) {
    m_layout = layout;
    showEvents(m_events->selectedRow());
}

void MacroDialog::showEvents(int selectRow) {
    m_refreshing = true;
    m_events->clear();
    for (const std::string& row : m_macro->rowTexts(m_layout))
        m_events->addRow(QString::fromStdString(row));
    m_refreshing = false;
    if (selectRow >= m_events->count())
        selectRow = m_events->count() - 1;
    if (selectRow >= 0)
        m_events->selectRow(selectRow);
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

void MacroDialog::hookKey(quint8 code, bool release) {
    const HookKeyResult result = m_macro->onHookKey(code, release);
    if (result == HookKeyResult::Ignored)
        return;
    if (result == HookKeyResult::Recorded)
        showEvents(static_cast<int>(m_macro->rows().size()) - 1);
    else if (result == HookKeyResult::Inserted || result == HookKeyResult::InsertionEnded)
        showEvents(m_macro->insertRow());
    else
        update(); // the byte count
}

void MacroDialog::click(int region) {
    switch (region) {
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
    if (m_macro->startStopRecording() == RecordingResult::NoMacroSelected) {
        m_dialogs.tell(this, text(macro_texts::kCaption), text(macro_texts::kSelectToRecord));
        return;
    }
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
    m_macro->stopHook();
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
    m_macro->stopHook();
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
    m_macro->stopHook();
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
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("eventMenu"));
    const auto add = [this](QMenu* to, const WindowText& label, int command) {
        QAction* action = to->addAction(text(label));
        action->setData(command);
        connect(action, &QAction::triggered, this, [this, command] { runMenuCommand(command); });
    };
    add(menu.get(), macro_texts::kInsertBefore, kMenuRecordBefore);
    add(menu.get(), macro_texts::kInsertAfter, kMenuRecordAfter);
    QMenu* mouse = menu->addMenu(text(macro_texts::kInsertMouseKey));
    struct Button {
        const WindowText& name;
        std::array<int, 3> commands;
    };
    for (const Button& button :
         {Button{macro_texts::kLeft, {kMenuLeftDown, kMenuLeftUp, kMenuLeftClick}},
          Button{macro_texts::kRight, {kMenuRightDown, kMenuRightUp, kMenuRightClick}},
          Button{macro_texts::kMiddle, {kMenuMiddleDown, kMenuMiddleUp, kMenuMiddleClick}}}) {
        QMenu* sub = mouse->addMenu(text(button.name));
        add(sub, macro_texts::kDown, button.commands[0]);
        add(sub, macro_texts::kUp, button.commands[1]);
        add(sub, macro_texts::kClick, button.commands[2]);
    }
    add(menu.get(), macro_texts::kInsertDelay, kMenuInsertDelay);
    add(menu.get(), macro_texts::kDeleteEvent, kMenuDeleteEvent);
    return menu;
}

void MacroDialog::runMenuCommand(int command) {
    const int row = m_events->selectedRow();
    if (row < 0)
        return;
    EditResult result = EditResult::Ignored;
    const auto mouse = [&](MouseButton button, MouseAction action) {
        result = m_macro->insertMouseKey(row, button, action);
    };
    switch (command) {
    case kMenuRecordBefore:
        result = m_macro->recordBefore(row);
        break;
    case kMenuRecordAfter:
        result = m_macro->recordAfter(row);
        break;
    case kMenuLeftDown:
        mouse(MouseButton::Left, MouseAction::Down);
        break;
    case kMenuLeftUp:
        mouse(MouseButton::Left, MouseAction::Up);
        break;
    case kMenuLeftClick:
        mouse(MouseButton::Left, MouseAction::Click);
        break;
    case kMenuRightDown:
        mouse(MouseButton::Right, MouseAction::Down);
        break;
    case kMenuRightUp:
        mouse(MouseButton::Right, MouseAction::Up);
        break;
    case kMenuRightClick:
        mouse(MouseButton::Right, MouseAction::Click);
        break;
    case kMenuMiddleDown:
        mouse(MouseButton::Middle, MouseAction::Down);
        break;
    case kMenuMiddleUp:
        mouse(MouseButton::Middle, MouseAction::Up);
        break;
    case kMenuMiddleClick:
        mouse(MouseButton::Middle, MouseAction::Click);
        break;
    case kMenuInsertDelay:
        result = m_macro->insertDelay(row);
        break;
    case kMenuDeleteEvent:
        result = m_macro->deleteRow(row);
        break;
    default:
        return;
    }
    if (result == EditResult::DelayRowSelected)
        m_dialogs.tell(this, text(macro_texts::kCaption), text(macro_texts::kEditCurrentDelay));
    else if (result == EditResult::NoRoom)
        m_dialogs.tell(this, text(macro_texts::kCaption), text(macro_texts::kMacroFull));
    else if (result == EditResult::Changed)
        showEvents(row);
    update();
}

void MacroDialog::setHover(int region) {
    if (region == m_lastRegion)
        return;
    m_lastRegion = region;
    if (region == kDelayBox || region == kLoopBox || region == kCloseMark)
        return;
    for (int r : {kRecord, kNew, kDelete, kOk, kCancel})
        m_hover[static_cast<std::size_t>(r)] = r == region;
    update();
}

void MacroDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QDialog::mousePressEvent(event);
    m_drag.press(*event);
}

void MacroDialog::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const auto region = regionAt(kRegions, point.x(), point.y());
    setHover(region.value_or(-1));
    // Only the empty background drags the dialog.
    m_drag.move(*event, !region);
}

void MacroDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QDialog::mouseReleaseEvent(event);
    if (m_drag.release() != BackgroundDrag::Release::Click)
        return;
    const QPoint point = event->position().toPoint();
    if (const auto region = regionAt(kRegions, point.x(), point.y()))
        click(*region);
}

void MacroDialog::keyPressEvent(QKeyEvent* event) {
    // Neither Enter nor Esc closes the dialog; the focused control has had them already.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace q905
