// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/PaintedControlAccessible.h"

#include "controls/ui/RegionRects.h"

#include <QFocusEvent>
#include <QWidget>

#include <algorithm>

namespace q905 {

namespace {

QAccessibleInterface* skinnedWindowFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    auto* host = dynamic_cast<PaintedControlHost*>(widget);
    return host ? new SkinnedWindowAccessible(widget, *host) : nullptr;
}

bool isPressable(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::Swatch:
    case ControlKind::Key:
    case ControlKind::Tab:
    case ControlKind::MenuItem:
    case ControlKind::Radio:
        return true;
    default:
        return false;
    }
}

// Qt's own way to the bridge, which relayQtAccessibleEvent stands in front of.
void toPlatform(QAccessibleEvent* event) {
    const QAccessible::UpdateHandler handler = QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(handler);
}

} // namespace

// A skinned window that takes Qt's focus from one of its widgets (Tab from a slider to a painted
// toggle, the window given back after a dialog) has Qt say that the window took it: Orca would
// read the frame before the control. The focus is the painted control's, so that is what goes
// out.
void relayQtAccessibleEvent(QAccessibleEvent* event) {
    auto* host = event->type() == QAccessible::Focus && event->object()
                     ? dynamic_cast<PaintedControlHost*>(event->object())
                     : nullptr;
    const std::optional<int> id = host ? host->focusedControl() : std::nullopt;
    auto* skinned =
        id ? dynamic_cast<SkinnedWindowAccessible*>(event->accessibleInterface()) : nullptr;
    if (PaintedControlAccessible* control = skinned ? skinned->paintedChild(*id) : nullptr) {
        QAccessibleEvent focus(control, QAccessible::Focus);
        sendAccessibleEvent(focus);
        return;
    }
    toPlatform(event);
}

void installPaintedControlAccessibility() {
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(skinnedWindowFactory);
        QAccessible::installUpdateHandler(relayQtAccessibleEvent);
        return true;
    }();
}

void nameControlWidgets(PaintedControlHost& host) {
    for (const ControlSpec& control : host.controls())
        if (QWidget* widget = host.controlWidget(control.id))
            widget->setAccessibleName(controlName(host, control));
}

namespace {
std::function<void(QAccessibleEvent&)>& eventListener() {
    static std::function<void(QAccessibleEvent&)> listener;
    return listener;
}

bool anyoneListens() {
    return QAccessible::isActive() || eventListener();
}
} // namespace

namespace {
class FocusReturnAnnouncer final : public QObject {
  public:
    FocusReturnAnnouncer(PaintedControlHost& host) : QObject(host.hostWidget()), m_host(host) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::FocusIn)
            return false;
        // Tab to a painted control announces that control already.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            return false;
        // After Qt's own word that the window took the focus.
        QMetaObject::invokeMethod(
            this,
            [this] {
                const std::optional<int> id = m_host.focusedControl();
                if (id && m_host.hostWidget()->hasFocus() && !m_host.controlWidget(*id))
                    notifyControlEvent(m_host, *id, QAccessible::Focus);
            },
            Qt::QueuedConnection);
        return false;
    }

  private:
    PaintedControlHost& m_host;
};
} // namespace

void announceFocusReturns(PaintedControlHost& host) {
    host.hostWidget()->installEventFilter(new FocusReturnAnnouncer(host));
}

void listenToAccessibleEvents(std::function<void(QAccessibleEvent&)> listener) {
    eventListener() = std::move(listener);
}

void sendAccessibleEvent(QAccessibleEvent& event) {
    if (QAccessible::isActive())
        toPlatform(&event);
    else if (eventListener())
        eventListener()(event);
}

void notifyCurrentControlItem(PaintedControlHost& host, int id) {
    if (!anyoneListens())
        return;
    auto* skinned = dynamic_cast<SkinnedWindowAccessible*>(
        QAccessible::queryAccessibleInterface(host.hostWidget()));
    PaintedControlAccessible* list = skinned ? skinned->paintedChild(id) : nullptr;
    if (!list)
        return;
    const std::vector<ControlItem> items = host.controlItems(id);
    for (std::size_t row = 0; row < items.size(); ++row) {
        if (!items[row].current)
            continue;
        QAccessibleInterface* item = list->child(static_cast<int>(row));
        // Orca follows the focus; Qt's bridge has no selection interface for it to ask.
        QAccessibleEvent focus(item, QAccessible::Focus);
        sendAccessibleEvent(focus);
        QAccessible::State changed;
        changed.selected = true;
        QAccessibleStateChangeEvent selection(item, changed);
        sendAccessibleEvent(selection);
    }
}

namespace {
StatusAccessible* statusOf(PaintedControlHost& host) {
    auto* skinned = dynamic_cast<SkinnedWindowAccessible*>(
        QAccessible::queryAccessibleInterface(host.hostWidget()));
    return skinned ? skinned->statusChild() : nullptr;
}
} // namespace

void notifyStatusChanged(PaintedControlHost& host) {
    if (!anyoneListens())
        return;
    if (StatusAccessible* status = statusOf(host)) {
        QAccessibleEvent changed(status, QAccessible::NameChanged);
        sendAccessibleEvent(changed);
    }
}

void announceStatus(PaintedControlHost& host) {
    notifyStatusChanged(host);
    if (!anyoneListens())
        return;
    if (StatusAccessible* status = statusOf(host); status && !host.statusText().isEmpty())
        status->notice()->say(host.statusText());
}

void notifyControlEvent(PaintedControlHost& host, int id, QAccessible::Event event) {
    if (!anyoneListens())
        return;
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(host.hostWidget());
    auto* skinned = dynamic_cast<SkinnedWindowAccessible*>(window);
    if (!skinned)
        return;
    if (PaintedControlAccessible* child = skinned->paintedChild(id)) {
        if (event == QAccessible::StateChanged) {
            QAccessible::State changed;
            changed.checked = true;
            changed.selected = true;
            changed.disabled = true;
            QAccessibleStateChangeEvent stateEvent(child, changed);
            sendAccessibleEvent(stateEvent);
            return;
        }
        QAccessibleEvent plain(child, event);
        sendAccessibleEvent(plain);
        if (event == QAccessible::NameChanged && child->state().focused)
            if (StatusAccessible* status = statusOf(host))
                status->notice()->say(child->text(QAccessible::Name));
    }
}

// --- one painted control ---

const ControlSpec* PaintedControlAccessible::declared() const {
    return controlById(m_host.controls(), m_id);
}

PaintedControlAccessible::~PaintedControlAccessible() {
    for (const QAccessible::Id item : m_items)
        QAccessible::deleteAccessibleInterface(item);
}

int PaintedControlAccessible::childCount() const {
    return static_cast<int>(m_host.controlItems(m_id).size());
}

QAccessibleInterface* PaintedControlAccessible::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    while (static_cast<int>(m_items.size()) <= index)
        m_items.push_back(QAccessible::registerAccessibleInterface(new ControlItemAccessible(
            const_cast<PaintedControlAccessible&>(*this), static_cast<int>(m_items.size()))));
    return QAccessible::accessibleInterface(m_items[static_cast<std::size_t>(index)]);
}

int PaintedControlAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* item = dynamic_cast<const ControlItemAccessible*>(child);
    return item && item->parent() == this ? item->row() : -1;
}

QAccessibleInterface* PaintedControlAccessible::focusChild() const {
    const std::vector<ControlItem> items = m_host.controlItems(m_id);
    for (std::size_t row = 0; row < items.size(); ++row)
        if (items[row].current)
            return child(static_cast<int>(row));
    return nullptr;
}

bool PaintedControlAccessible::isValid() const {
    return declared() != nullptr;
}

QWindow* PaintedControlAccessible::window() const {
    return m_host.hostWidget()->window()->windowHandle();
}

QAccessibleInterface* PaintedControlAccessible::parent() const {
    return QAccessible::queryAccessibleInterface(m_host.hostWidget());
}

QString PaintedControlAccessible::text(QAccessible::Text t) const {
    const ControlSpec* control = declared();
    if (!control)
        return {};
    switch (t) {
    case QAccessible::Name:
        return controlName(m_host, *control);
    case QAccessible::Value:
    // AT-SPI carries only numbers as values: a list's choice or a swatch's colour is read
    // from the description.
    case QAccessible::Description:
        return m_host.controlStatus(m_id).value;
    default:
        return {};
    }
}

QRect PaintedControlAccessible::rect() const {
    const ControlSpec* control = declared();
    if (!control)
        return {};
    const QRect local = toQRect(control->rectIn(m_host.controlLanguage()));
    return QRect(m_host.hostWidget()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role PaintedControlAccessible::role() const {
    const ControlSpec* control = declared();
    if (!control)
        return QAccessible::NoRole;
    switch (control->kind) {
    case ControlKind::Button:
    case ControlKind::Swatch:
    case ControlKind::Key:
        return QAccessible::Button;
    case ControlKind::Toggle:
        return QAccessible::CheckBox;
    case ControlKind::Radio:
        return QAccessible::RadioButton;
    case ControlKind::List:
        return QAccessible::ComboBox;
    case ControlKind::Slider:
        return QAccessible::Slider;
    case ControlKind::TextField:
        return QAccessible::EditableText;
    case ControlKind::Tab:
        return QAccessible::PageTab;
    case ControlKind::Tree:
        return QAccessible::Tree;
    case ControlKind::MenuItem:
        return QAccessible::MenuItem;
    }
    return QAccessible::NoRole;
}

QAccessible::State PaintedControlAccessible::state() const {
    QAccessible::State state;
    const ControlSpec* control = declared();
    if (!control) {
        state.invalid = true;
        return state;
    }
    const ControlStatus status = m_host.controlStatus(m_id);
    const QWidget* window = m_host.hostWidget();
    state.disabled = !status.enabled;
    state.invisible = !status.visible || !window->isVisible();
    state.offscreen = state.invisible;
    state.focusable = control->isTabStop() && status.enabled;
    state.focused =
        window->hasFocus() && window->focusWidget() == window && m_host.focusedControl() == m_id;
    state.checkable = control->kind == ControlKind::Toggle || control->kind == ControlKind::Radio ||
                      control->kind == ControlKind::Tab;
    state.checked = status.checked;
    state.selectable = control->kind == ControlKind::Key || control->kind == ControlKind::Tab ||
                       control->kind == ControlKind::MenuItem;
    state.selected = status.selected;
    state.hasPopup = control->kind == ControlKind::List;
    return state;
}

void* PaintedControlAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QStringList PaintedControlAccessible::actionNames() const {
    const ControlSpec* control = declared();
    if (!control || !m_host.controlStatus(m_id).enabled)
        return {};
    if (control->kind == ControlKind::Toggle)
        return {toggleAction()};
    if (control->kind == ControlKind::List)
        return {showMenuAction()};
    if (isPressable(control->kind))
        return {pressAction()};
    return {};
}

void PaintedControlAccessible::doAction(const QString& actionName) {
    if (actionNames().contains(actionName)) {
        m_host.activateControl(m_id);
        m_host.hostWidget()->update();
    }
}

// --- one entry of a list ---

std::optional<ControlItem> ControlItemAccessible::item() const {
    const std::vector<ControlItem> items = m_list.host().controlItems(m_list.controlId());
    if (m_row >= static_cast<int>(items.size()))
        return std::nullopt;
    return items[static_cast<std::size_t>(m_row)];
}

bool ControlItemAccessible::isValid() const {
    return m_list.isValid() && item().has_value();
}

QString ControlItemAccessible::text(QAccessible::Text t) const {
    const std::optional<ControlItem> entry = item();
    return entry && t == QAccessible::Name ? entry->name : QString();
}

QAccessible::State ControlItemAccessible::state() const {
    QAccessible::State state;
    const std::optional<ControlItem> entry = item();
    if (!entry) {
        state.invalid = true;
        return state;
    }
    const QAccessible::State list = m_list.state();
    state.invisible = list.invisible;
    state.disabled = list.disabled;
    state.selectable = true;
    state.selected = entry->selected;
    state.focusable = true;
    state.focused = list.focused && entry->current;
    return state;
}

// --- the status line ---

StatusAccessible::~StatusAccessible() {
    if (m_notice)
        QAccessible::deleteAccessibleInterface(*m_notice);
}

NoticeAccessible* StatusAccessible::notice() const {
    if (!m_notice)
        m_notice = QAccessible::registerAccessibleInterface(
            new NoticeAccessible(const_cast<StatusAccessible&>(*this)));
    return static_cast<NoticeAccessible*>(QAccessible::accessibleInterface(*m_notice));
}

QAccessibleInterface* StatusAccessible::child(int index) const {
    return index == 0 ? notice() : nullptr;
}

int StatusAccessible::indexOfChild(const QAccessibleInterface* child) const {
    return child && child == notice() ? 0 : -1;
}

QWindow* StatusAccessible::window() const {
    return m_host.hostWidget()->window()->windowHandle();
}

QAccessibleInterface* StatusAccessible::parent() const {
    return QAccessible::queryAccessibleInterface(m_host.hostWidget());
}

QString StatusAccessible::text(QAccessible::Text t) const {
    return t == QAccessible::Name ? m_host.statusText() : QString();
}

QRect StatusAccessible::rect() const {
    const QWidget* window = m_host.hostWidget();
    return QRect(window->mapToGlobal(QPoint(0, 0)), window->size());
}

QAccessible::State StatusAccessible::state() const {
    QAccessible::State state;
    state.readOnly = true;
    state.invisible = !m_host.hostWidget()->isVisible();
    return state;
}

// --- what the window said ---

void NoticeAccessible::say(const QString& words) {
    m_words = words;
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    sendAccessibleEvent(shown);
}

QString NoticeAccessible::text(QAccessible::Text t) const {
    return t == QAccessible::Name ? m_words : QString();
}

// --- the window ---

SkinnedWindowAccessible::SkinnedWindowAccessible(QWidget* widget, PaintedControlHost& host)
    : QAccessibleWidget(widget, widget->isWindow() && widget->inherits("QDialog")
                                    ? QAccessible::Dialog
                                    : QAccessible::Window),
      m_host(host) {}

SkinnedWindowAccessible::~SkinnedWindowAccessible() {
    for (const auto& [id, accessibleId] : m_painted)
        QAccessible::deleteAccessibleInterface(accessibleId);
    if (m_status)
        QAccessible::deleteAccessibleInterface(*m_status);
}

StatusAccessible* SkinnedWindowAccessible::statusChild() const {
    if (!m_host.hasStatus())
        return nullptr;
    if (!m_status)
        m_status = QAccessible::registerAccessibleInterface(new StatusAccessible(m_host));
    return static_cast<StatusAccessible*>(QAccessible::accessibleInterface(*m_status));
}

PaintedControlAccessible* SkinnedWindowAccessible::paintedChild(int id) const {
    const ControlSpec* control = controlById(m_host.controls(), id);
    if (!control || m_host.controlWidget(id))
        return nullptr;
    return static_cast<PaintedControlAccessible*>(forControl(*control));
}

QAccessibleInterface* SkinnedWindowAccessible::forControl(const ControlSpec& control) const {
    if (QWidget* widget = m_host.controlWidget(control.id))
        return QAccessible::queryAccessibleInterface(widget);
    const auto found = m_painted.find(control.id);
    if (found != m_painted.end())
        return QAccessible::accessibleInterface(found->second);
    auto* painted = new PaintedControlAccessible(m_host, control.id);
    m_painted.emplace(control.id, QAccessible::registerAccessibleInterface(painted));
    return painted;
}

std::vector<QAccessibleInterface*> SkinnedWindowAccessible::children() const {
    std::vector<QAccessibleInterface*> all;
    std::vector<const QWidget*> tableWidgets;
    for (const ControlSpec& control : m_host.controls()) {
        if (const QWidget* widget = m_host.controlWidget(control.id))
            tableWidgets.push_back(widget);
        if (QAccessibleInterface* child = forControl(control))
            all.push_back(child);
    }
    if (StatusAccessible* status = statusChild())
        all.push_back(status);
    // Widgets outside the table (a text editor opened over a row, a dialog's own child).
    const int others = QAccessibleWidget::childCount();
    for (int i = 0; i < others; ++i) {
        QAccessibleInterface* child = QAccessibleWidget::child(i);
        if (child && std::find(tableWidgets.begin(), tableWidgets.end(), child->object()) ==
                         tableWidgets.end())
            all.push_back(child);
    }
    return all;
}

int SkinnedWindowAccessible::childCount() const {
    return static_cast<int>(children().size());
}

QAccessibleInterface* SkinnedWindowAccessible::child(int index) const {
    const std::vector<QAccessibleInterface*> all = children();
    if (index < 0 || index >= static_cast<int>(all.size()))
        return nullptr;
    return all[static_cast<std::size_t>(index)];
}

int SkinnedWindowAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const std::vector<QAccessibleInterface*> all = children();
    const auto found = std::find(all.begin(), all.end(), child);
    return found == all.end() ? -1 : static_cast<int>(found - all.begin());
}

QAccessibleInterface* SkinnedWindowAccessible::childAt(int x, int y) const {
    const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
    const ControlSpec* control =
        controlAt(m_host.controls(), m_host.controlLanguage(), local.x(), local.y(),
                  [this](int id) { return m_host.controlStatus(id).visible; });
    if (control)
        return forControl(*control);
    return QAccessibleWidget::childAt(x, y);
}

QAccessibleInterface* SkinnedWindowAccessible::focusChild() const {
    const std::optional<int> id = m_host.focusedControl();
    if (id) {
        if (const ControlSpec* control = controlById(m_host.controls(), *id))
            return forControl(*control);
    }
    return QAccessibleWidget::focusChild();
}

} // namespace q905
