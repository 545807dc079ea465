// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/ui/LightingPanel.h"

#include "controls/ui/PaintedControlAccessible.h"
#include "controls/ui/QtText.h"
#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinSlider.h"
#include "controls/ui/TextLayout.h"
#include "device/Settings.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/PanelControls.h"
#include "lighting/PanelRules.h"
#include "lighting/ui/ColourPicker.h"
#include "lighting/ui/LightingPanelImpl.h"

#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace q905 {

LightingPanel::Impl::Impl(LightingPanel& owner, Settings& settings, SkinCache& skin,
                          ColourPicker& colours, PanelView& view, Language language,
                          QWidget* window)
    : m_owner(owner), m_settings(settings), m_skin(skin), m_colours(colours), m_view(view),
      m_language(language), m_window(window) {
    for (std::size_t i = 0; i < PanelSliders.size(); ++i) {
        const PanelSliderRange& info = PanelSliders[i];
        auto* slider = new SkinSlider(window);
        slider->setObjectName(QStringLiteral("slider%1").arg(info.controlId));
        slider->setControlId(info.controlId);
        const RegionRect& place = panelControl(info.controlId).rect;
        slider->move(place.left, place.top);
        slider->setValueText([id = info.controlId, language](int position) {
            return QString::fromStdString(sliderValueText(id, position, language));
        });
        slider->setValueNumber(
            [id = info.controlId](int position) { return sliderValueNumber(id, position); });
        slider->createThumbWindow(skin.image(QStringLiteral("Thumb.png")));
        slider->loadTracks(skin.image(QStringLiteral("Track-Empty.png")),
                           skin.image(QStringLiteral("Track-Filled.png")));
        slider->setRange(0, info.maximum);
        slider->setValue(info.initialPosition);
        m_sliders[i] = {&info, slider, slider->value()};
        QObject::connect(slider, &SkinSlider::sliderMoveReported, &owner,
                         [this](int controlId) { onSliderMoved(controlId); });
    }
}

SettingsImage& LightingPanel::Impl::image() {
    return m_settings.deviceSettings();
}

LightingPanel::Impl::SliderSlot& LightingPanel::Impl::slot(int controlId) {
    for (SliderSlot& slot : m_sliders) {
        if (slot.info->controlId == controlId)
            return slot;
    }
    return m_sliders.front();
}

void LightingPanel::Impl::onSliderMoved(int controlId) {
    if (m_followingImage)
        return;
    SliderSlot& moved = slot(controlId);
    const int position = moved.slider->value();
    if (position == moved.lastDrawn)
        return;
    storeSliderPosition(image(), controlId, position);
    moved.lastDrawn = position;
    requestRepaint();
}

void LightingPanel::Impl::setSlider(int controlId, int position) {
    SliderSlot& target = slot(controlId);
    target.slider->setValue(position);
    const int stored = target.slider->value();
    storeSliderPosition(image(), controlId, stored);
    target.lastDrawn = stored;
}

void LightingPanel::Impl::followImage(const SettingsImage& shown) {
    m_followingImage = true;
    for (SliderSlot& slot : m_sliders) {
        const int wanted = std::clamp(sliderPositionFromImage(shown, slot.info->controlId),
                                      slot.slider->minimum(), slot.slider->maximum());
        if (slot.slider->value() != wanted) {
            slot.slider->setValue(wanted);
            slot.lastDrawn = wanted;
        }
    }
    m_followingImage = false;
}

void LightingPanel::Impl::normalise() {
    normaliseColourIndex(image());
}

void LightingPanel::Impl::updateSliderVisibility() {
    updateSliderVisibility(m_settings.deviceByte(layout::kLightingEffect));
}

void LightingPanel::Impl::updateSliderVisibility(std::uint8_t effectCode) {
    const bool listOpen = m_lists.isOpen();
    const bool speedShown = showsSpeed(effectCode) && !listOpen;
    for (SliderSlot& slot : m_sliders) {
        bool visible = !listOpen;
        if (slot.info->controlId == slider::kSpeed)
            visible = speedShown;
        else if (slot.info->controlId == slider::kReportRate)
            visible = true;
        if (slot.slider->isVisibleTo(m_window) != visible)
            slot.slider->setVisible(visible);
    }
}

void LightingPanel::Impl::requestRepaint() {
    emit m_owner.repaintRequested();
}

// The dialogs run without the lock: the window paints while they are open.
void LightingPanel::Impl::editColour(int slot) {
    if (const auto colour = m_colours.pickColour(m_window, kDialogStartColour))
        storeSlotColour(image(), slot, *colour);
}

void LightingPanel::Impl::editPalmColour() {
    if (!palmColourEditable(image()))
        return;
    if (const auto colour = m_colours.pickColour(m_window, kDialogStartColour))
        storePalmColour(image(), *colour);
}

LightingPanel::LightingPanel(Settings& settings, SkinCache& skin, ColourPicker& colours,
                             PanelView& view, Language language, QWidget* window)
    : QObject(window), m_impl(new Impl(*this, settings, skin, colours, view, language, window)) {}

LightingPanel::~LightingPanel() {
    delete m_impl;
}

void LightingPanel::paint(QPainter& painter, const SettingsImage& shown, TextLayout* layout) {
    TextLayout own;
    m_impl->paint(painter, shown, layout ? *layout : own);
}

// A disabled slider loses the focus to the next control; it gets it back afterwards, unless
// the user moved on meanwhile.
void LightingPanel::setEditable(bool editable) {
    QWidget* window = m_impl->m_window;
    if (!editable) {
        for (Impl::SliderSlot& slot : m_impl->m_sliders)
            if (slot.slider->isEnabled() && slot.slider->hasFocus())
                m_impl->m_focusedSlider = slot.slider;
    }
    for (Impl::SliderSlot& slot : m_impl->m_sliders)
        slot.slider->setEnabled(editable);
    if (!editable) {
        if (m_impl->m_focusedSlider)
            m_impl->m_focusMovedTo = window->focusWidget();
        return;
    }
    const QPointer<QWidget> slider = std::exchange(m_impl->m_focusedSlider, nullptr);
    const QPointer<QWidget> movedTo = std::exchange(m_impl->m_focusMovedTo, nullptr);
    if (slider && slider->isVisibleTo(window) && window->focusWidget() == movedTo.data())
        slider->setFocus(Qt::OtherFocusReason);
}

bool LightingPanel::isListOpen() const {
    return m_impl->m_lists.isOpen();
}

void LightingPanel::clickOpenList(int x, int y) {
    const ListClick click = q905::clickOpenList(m_impl->m_lists, m_impl->image(), x, y);
    if (click.effectPicked)
        m_impl->m_view.perKeyColourMode = click.perKeyColourMode;
    m_impl->afterEdit();
}

bool LightingPanel::hoverOpenList(int x, int y) {
    return q905::hoverOpenList(m_impl->m_lists, x, y);
}

namespace {
using namespace panelRegion;

// Radio groups in the order arrows walk them: as they stand, left to right.
constexpr int kDirectionGroup[] = {kDirectionTop, kDirectionBottom, kDirectionRight,
                                   kDirectionLeft};
constexpr int kPalmDirectionGroup[] = {kPalmRight, kPalmLeft};
constexpr int kViewGroup[] = {kKeymapView, kCustomView};

std::span<const int> radioGroupOf(int id) {
    for (std::span<const int> group :
         {std::span<const int>(kDirectionGroup), std::span<const int>(kPalmDirectionGroup),
          std::span<const int>(kViewGroup)})
        if (std::find(group.begin(), group.end(), id) != group.end())
            return group;
    return {};
}

// Whether one button of the group is chosen; Tab then stops there alone.
bool radioGroupHasChoice(std::span<const int> group, const SettingsImage& image,
                         std::uint8_t palmCode) {
    if (group.front() == kDirectionTop) {
        const std::uint8_t chosen = image.direction();
        return chosen == direction::kTop || chosen == direction::kBottom ||
               chosen == direction::kRight || chosen == direction::kLeft;
    }
    if (group.front() == kPalmRight) {
        const std::uint8_t chosen = image.at(palm::kDirection);
        return palmCode == kPalmWave &&
               (chosen == palm::kDirectionRight || chosen == palm::kDirectionLeft);
    }
    return true; // one of the two views is always shown
}

bool isSwatch(int id) {
    return (id >= kFirstSwatch && id <= kLastSwatch) || id == kPalmColour;
}

QString colourText(ColourValue colour) {
    return QStringLiteral("#%1%2%3")
        .arg(redOf(colour), 2, 16, QLatin1Char('0'))
        .arg(greenOf(colour), 2, 16, QLatin1Char('0'))
        .arg(blueOf(colour), 2, 16, QLatin1Char('0'))
        .toUpper();
}

bool plain(const QKeyEvent* event) {
    return (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}
} // namespace

void LightingPanel::Impl::announceChanges() {
    auto* host = dynamic_cast<PaintedControlHost*>(m_window);
    if (host == nullptr || !QAccessible::isActive())
        return;
    for (const ControlSpec& control : PanelControls) {
        if (control.kind == ControlKind::Slider)
            continue;
        notifyControlEvent(*host, control.id, QAccessible::StateChanged);
        if (control.kind == ControlKind::List || control.kind == ControlKind::Swatch)
            notifyControlEvent(*host, control.id, QAccessible::ValueChanged);
    }
}

void LightingPanel::Impl::announceListItems() {
    auto* host = dynamic_cast<PaintedControlHost*>(m_window);
    if (host == nullptr)
        return;
    const std::optional<int> focused = host->focusedControl();
    for (const int box : {kEffectBox, kPalmBox}) {
        std::optional<int> current;
        const std::vector<ControlItem> items = m_owner.controlItems(box);
        for (std::size_t row = 0; row < items.size(); ++row)
            if (items[row].current)
                current = static_cast<int>(row);
        auto& announced = m_announcedItems[box == kEffectBox ? 0 : 1];
        if (current == std::exchange(announced, current))
            continue;
        // Only the list the keys are in: a click elsewhere that changes the effect moves no
        // reader's focus.
        const bool open = box == kEffectBox ? m_lists.effectListOpen : m_lists.palmListOpen;
        if (current && (open || focused == box))
            notifyCurrentControlItem(*host, box);
    }
}

void LightingPanel::Impl::afterEdit() {
    normalise();
    updateSliderVisibility();
    announceChanges();
    announceListItems();
    requestRepaint();
}

std::span<const ControlSpec> LightingPanel::controls() const {
    return PanelControls;
}

ControlStatus LightingPanel::controlStatus(int id) const {
    ControlStatus status;
    const SettingsImage& image = m_impl->image();
    const std::uint8_t code = image.lightingEffect();
    const Language language = m_impl->m_language;
    if (isPanelSlider(id)) {
        const SkinSlider* slider = m_impl->slot(id).slider;
        status.visible = slider->isVisibleTo(m_impl->m_window);
        status.enabled = slider->isEnabled();
        status.value = slider->valueText();
        return status;
    }
    if (id >= kFirstSwatch && id <= kLastSwatch) {
        const int slot = id - kFirstSwatch + 1;
        status.visible = showsSwatches(code);
        status.enabled = !isMulticolourOnly(code); // the grey squares do nothing
        status.selected = normalisedColourIndex(image) == slot;
        status.value = colourText(slotColour(image, slot));
        return status;
    }
    const std::uint8_t palmCode = palmEffect(image);
    switch (id) {
    case kEffectBox:
        status.value = qtText(effectName(code, language));
        break;
    case kDirectionTop:
    case kDirectionBottom:
    case kDirectionRight:
    case kDirectionLeft: {
        constexpr std::uint8_t kValues[] = {direction::kTop, direction::kBottom, direction::kRight,
                                            direction::kLeft};
        status.visible = showsDirection(code);
        status.checked = image.direction() == kValues[id - kDirectionTop];
        break;
    }
    case kMulticolour:
        status.visible = showsSwatches(code) && code != effect::kStatic;
        status.enabled = !isMulticolourOnly(code); // always on there
        status.checked = normalisedColourIndex(image) == kMulticolourIndex;
        break;
    case kKeymapView:
    case kCustomView:
        status.visible = code >= effect::kFirstProfile;
        status.checked = m_impl->m_view.perKeyColourMode == (id == kCustomView);
        break;
    case kGameMode:
        status.checked = image.gameMode() != 0;
        break;
    case kWinKeyLock:
        status.checked = image.winKeyLock() != 0;
        break;
    case kPalmBox:
        status.value = qtText(palmEffectName(palmCode, language));
        break;
    case kPalmRight:
    case kPalmLeft:
        // Only the palm wave has a direction; the arrows stay drawn.
        status.enabled = palmCode == kPalmWave;
        status.checked = palmCode == kPalmWave &&
                         image.at(palm::kDirection) ==
                             (id == kPalmRight ? palm::kDirectionRight : palm::kDirectionLeft);
        break;
    case kPalmColour:
        status.visible = palmCode < kPalmEffectCount;
        status.enabled = palmColourEditable(image);
        if (status.enabled)
            status.value = colourText(palmColour(image));
        break;
    default:
        break;
    }
    if (const std::span<const int> group = radioGroupOf(id); !group.empty() && !status.checked)
        status.tabStop = id == group.front() && !radioGroupHasChoice(group, image, palmCode);
    return status;
}

std::vector<ControlItem> LightingPanel::controlItems(int id) const {
    const SettingsImage& image = m_impl->image();
    const PanelLists& lists = m_impl->m_lists;
    const Language language = m_impl->m_language;
    std::vector<ControlItem> items;
    if (id == kEffectBox) {
        const std::optional<int> chosen = effectPosition(image.lightingEffect());
        for (int row = 0; row < kEffectCount; ++row) {
            const EffectInfo& info = EffectCatalogue[static_cast<std::size_t>(row)];
            const bool selected = chosen == row;
            items.push_back({qtText(effectName(info.code, language)), selected,
                             lists.effectListOpen ? lists.effectHover == row : selected});
        }
    } else if (id == kPalmBox) {
        const std::uint8_t chosen = palmEffect(image);
        for (int row = 0; row < kPalmEffectCount; ++row) {
            const bool selected = chosen == row;
            items.push_back({qtText(palmEffectName(static_cast<std::uint8_t>(row), language)),
                             selected, lists.palmListOpen ? lists.palmHover == row : selected});
        }
    }
    return items;
}

QWidget* LightingPanel::controlWidget(int id) const {
    return isPanelSlider(id) ? m_impl->slot(id).slider : nullptr;
}

void LightingPanel::activateControl(int id) {
    if (isPanelRegion(id))
        m_impl->act(id);
}

bool LightingPanel::controlKey(int id, QKeyEvent* event) {
    if (m_impl->m_lists.isOpen())
        return m_impl->openListKey(event);
    const int key = event->key();
    const bool forward = key == Qt::Key_Down || key == Qt::Key_Right;
    const bool backward = key == Qt::Key_Up || key == Qt::Key_Left;
    if (id == kEffectBox || id == kPalmBox) {
        const bool altDown = key == Qt::Key_Down && event->modifiers() == Qt::AltModifier;
        if (altDown || (key == Qt::Key_F4 && plain(event))) {
            m_impl->act(id);
            return true;
        }
        // As in a closed combo box: the next or previous effect at once.
        if ((key == Qt::Key_Down || key == Qt::Key_Up) && plain(event)) {
            m_impl->stepChoice(id, key == Qt::Key_Down ? 1 : -1);
            return true;
        }
        return false;
    }
    if (const std::span<const int> group = radioGroupOf(id);
        !group.empty() && (forward || backward) && plain(event)) {
        const auto at = std::find(group.begin(), group.end(), id) - group.begin();
        const auto count = static_cast<long>(group.size());
        const int next = group[static_cast<std::size_t>((at + (forward ? 1 : count - 1)) % count)];
        m_impl->act(next);
        emit focusRequested(next);
        return true;
    }
    if (isSwatch(id) && (key == Qt::Key_Return || key == Qt::Key_Enter) && plain(event)) {
        m_impl->editSwatch(id);
        return true;
    }
    return false;
}

void LightingPanel::clickRegion(int region, int x, int y) {
    // Where the view switches are not shown, the swatch beneath takes the click.
    if ((region == kKeymapView || region == kCustomView) &&
        m_impl->image().lightingEffect() < effect::kFirstProfile) {
        const ControlSpec* beneath = controlAt(PanelControls, m_impl->m_language, x, y, [](int id) {
            return id != kKeymapView && id != kCustomView;
        });
        if (beneath == nullptr)
            return;
        region = beneath->id;
    }
    if (isPanelRegion(region))
        m_impl->act(region);
}

bool LightingPanel::Impl::openListKey(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_Up:
        if (moveListHighlight(m_lists, event->key() == Qt::Key_Down ? 1 : -1)) {
            announceListItems();
            requestRepaint();
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: {
        const ListClick choice = chooseHighlightedRow(m_lists, image());
        if (choice.effectPicked)
            m_view.perKeyColourMode = choice.perKeyColourMode;
        afterEdit();
        return true;
    }
    case Qt::Key_Escape:
        m_lists.effectListOpen = false;
        m_lists.palmListOpen = false;
        afterEdit();
        return true;
    default:
        return false;
    }
}

void LightingPanel::Impl::stepChoice(int box, int step) {
    SettingsImage& image = this->image();
    if (box == kEffectBox) {
        const int from = effectPosition(image.lightingEffect()).value_or(step > 0 ? -1 : 0);
        const int to = std::clamp(from + step, 0, kEffectCount - 1);
        m_view.perKeyColourMode = pickEffect(image, to);
    } else {
        pickPalmEffect(image, std::clamp(palmEffect(image) + step, 0, kPalmEffectCount - 1));
    }
    afterEdit();
}

void LightingPanel::Impl::editSwatch(int id) {
    if (id == kPalmColour) {
        act(id);
        return;
    }
    // Enter opens the dialog at once; a click (or Space) first only selects the square.
    const int slot = id - kFirstSwatch + 1;
    const SwatchClick click = clickColourSlot(image(), slot);
    if (click != SwatchClick::Ignored)
        editColour(slot);
    afterEdit();
}

void LightingPanel::Impl::act(int region) {
    enum class Then { Repaint, EditPalmColour, EditSlotColour, Nothing };
    int slot = 0;
    SettingsImage& image = this->image();
    const Then then = [&] {
        switch (region) {
        case kEffectBox:
        case kPalmBox:
            openList(m_lists, image, region);
            break;
        case kDirectionTop:
            setDirection(image, direction::kTop);
            break;
        case kDirectionBottom:
            setDirection(image, direction::kBottom);
            break;
        case kDirectionRight:
            setDirection(image, direction::kRight);
            break;
        case kDirectionLeft:
            setDirection(image, direction::kLeft);
            break;
        case kMulticolour:
            clickMulticolour(image);
            break;
        case kGameMode:
            toggleGameMode(image);
            break;
        case kWinKeyLock:
            toggleWinKeyLock(image);
            break;
        case kPalmRight:
            setPalmDirection(image, palm::kDirectionRight);
            break;
        case kPalmLeft:
            setPalmDirection(image, palm::kDirectionLeft);
            break;
        case kPalmColour:
            return Then::EditPalmColour;
        case kKeymapView:
        case kCustomView:
            if (image.lightingEffect() < effect::kFirstProfile)
                return Then::Nothing;
            m_view.perKeyColourMode = region == kCustomView;
            break;
        default: {
            if (region < kFirstSwatch || region > kLastSwatch)
                return Then::Nothing;
            slot = region - kFirstSwatch + 1;
            if (clickColourSlot(image, slot) == SwatchClick::EditColour)
                return Then::EditSlotColour;
            break;
        }
        }
        return Then::Repaint;
    }();
    if (then == Then::Nothing)
        return;
    if (then == Then::EditPalmColour)
        editPalmColour();
    else if (then == Then::EditSlotColour)
        editColour(slot);
    afterEdit();
}

void LightingPanel::refreshSliders() {
    const SettingsImage current = m_impl->m_settings.deviceCopy();
    for (const PanelSliderRange& info : PanelSliders)
        m_impl->setSlider(info.controlId, sliderPositionFromImage(current, info.controlId));
    m_impl->normalise();
    m_impl->requestRepaint();
}

void LightingPanel::keyboardChanged(std::uint8_t field, std::uint8_t storedValue) {
    constexpr std::uint8_t kFirstLightingField = 2;
    constexpr std::uint8_t kLastLightingField = 6;
    if (field < kFirstLightingField || field > kLastLightingField)
        return;
    if (const auto move = sliderForKeyboardReport(field, storedValue))
        m_impl->setSlider(move->controlId, move->position);
    m_impl->afterEdit();
}

void LightingPanel::applyPerKeyColour(const std::array<bool, 113>& selectedKeys,
                                      std::uint32_t colour) {
    if (writePerKeyColour(m_impl->image(), selectedKeys, colour))
        m_impl->requestRepaint();
}

} // namespace q905
