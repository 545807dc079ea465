#include "lighting/ui/LightingPanel.h"

#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinSlider.h"
#include "controls/ui/TextLayout.h"
#include "device/Settings.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/PanelRegions.h"
#include "lighting/PanelRules.h"
#include "lighting/ui/ColourPicker.h"
#include "lighting/ui/LightingPanelImpl.h"

#include <QWidget>

#include <algorithm>

namespace q905 {

LightingPanel::Impl::Impl(LightingPanel& owner, Settings& settings, SkinCache& skin,
                          ColourPicker& colours, PanelView& view, Language language,
                          QWidget* window)
    : m_owner(owner), m_settings(settings), m_skin(skin), m_colours(colours), m_view(view),
      m_german(language == Language::German), m_window(window) {
    for (std::size_t i = 0; i < PanelSliders.size(); ++i) {
        const PanelSliderPlace& info = PanelSliders[i];
        auto* slider = new SkinSlider(window);
        slider->setObjectName(QStringLiteral("slider%1").arg(info.controlId));
        slider->setControlId(info.controlId);
        slider->move(info.x, info.y);
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
    edit([&](SettingsImage& image) { storeSliderPosition(image, controlId, position); });
    moved.lastDrawn = position;
    requestRepaint();
}

void LightingPanel::Impl::setSlider(int controlId, int position) {
    SliderSlot& target = slot(controlId);
    target.slider->setValue(position);
    const int stored = target.slider->value();
    edit([&](SettingsImage& image) { storeSliderPosition(image, controlId, stored); });
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
    edit([](SettingsImage& image) { normaliseColourIndex(image); });
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
        edit([&](SettingsImage& image) { storeSlotColour(image, slot, *colour); });
}

void LightingPanel::Impl::editPalmColour() {
    if (!edit([](SettingsImage& image) { return palmColourEditable(image); }))
        return;
    if (const auto colour = m_colours.pickColour(m_window, kDialogStartColour))
        edit([&](SettingsImage& image) { storePalmColour(image, *colour); });
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

void LightingPanel::setEditable(bool editable) {
    for (Impl::SliderSlot& slot : m_impl->m_sliders)
        slot.slider->setEnabled(editable);
}

bool LightingPanel::isListOpen() const {
    return m_impl->m_lists.isOpen();
}

void LightingPanel::clickOpenList(int x, int y) {
    const ListClick click = m_impl->edit(
        [&](SettingsImage& image) { return q905::clickOpenList(m_impl->m_lists, image, x, y); });
    if (click.effectPicked)
        m_impl->m_view.perKeyColourMode = click.perKeyColourMode;
    m_impl->normalise();
    m_impl->updateSliderVisibility();
    m_impl->requestRepaint();
}

bool LightingPanel::hoverOpenList(int x, int y) {
    return q905::hoverOpenList(m_impl->m_lists, x, y);
}

std::span<const ControlSpec> LightingPanel::controls() const {
    return {};
}

ControlStatus LightingPanel::controlStatus(int) const {
    return {};
}

QWidget* LightingPanel::controlWidget(int id) const {
    return findPanelSlider(id) ? m_impl->slot(id).slider : nullptr;
}

void LightingPanel::activateControl(int id) {
    clickRegion(id, 0, 0);
}

bool LightingPanel::controlKey(int, QKeyEvent*) {
    return false;
}

void LightingPanel::clickRegion(int region, int, int) {
    enum class Then { Repaint, EditPalmColour, EditSlotColour, Nothing };
    int slot = 0;
    const Then then = m_impl->edit([&](SettingsImage& image) {
        switch (region) {
        case panelRegion::kEffectBox:
            m_impl->m_lists.effectListOpen = true;
            break;
        case panelRegion::kDirectionTop:
            setDirection(image, direction::kTop);
            break;
        case panelRegion::kDirectionBottom:
            setDirection(image, direction::kBottom);
            break;
        case panelRegion::kDirectionRight:
            setDirection(image, direction::kRight);
            break;
        case panelRegion::kDirectionLeft:
            setDirection(image, direction::kLeft);
            break;
        case panelRegion::kMulticolour:
            clickMulticolour(image);
            break;
        case panelRegion::kGameMode:
            toggleGameMode(image);
            break;
        case panelRegion::kWinKeyLock:
            toggleWinKeyLock(image);
            break;
        case panelRegion::kPalmBox:
            m_impl->m_lists.palmListOpen = true;
            break;
        case panelRegion::kPalmRight:
            setPalmDirection(image, palm::kDirectionRight);
            break;
        case panelRegion::kPalmLeft:
            setPalmDirection(image, palm::kDirectionLeft);
            break;
        case panelRegion::kPalmColour:
            return Then::EditPalmColour;
        case panelRegion::kKeymapView:
        case panelRegion::kCustomView:
            if (image.lightingEffect() < effect::kFirstProfile)
                return Then::Nothing;
            m_impl->m_view.perKeyColourMode = region == panelRegion::kCustomView;
            break;
        default: {
            if (region < panelRegion::kFirstSwatch || region > panelRegion::kLastSwatch)
                return Then::Nothing;
            slot = region - panelRegion::kFirstSwatch + 1;
            if (clickColourSlot(image, slot) == SwatchClick::EditColour)
                return Then::EditSlotColour;
            break;
        }
        }
        return Then::Repaint;
    });
    if (then == Then::Nothing)
        return;
    if (then == Then::EditPalmColour)
        m_impl->editPalmColour();
    else if (then == Then::EditSlotColour)
        m_impl->editColour(slot);
    m_impl->normalise();
    m_impl->updateSliderVisibility();
    m_impl->requestRepaint();
}

void LightingPanel::refreshSliders() {
    const SettingsImage current = m_impl->m_settings.deviceCopy();
    for (const PanelSliderPlace& info : PanelSliders)
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
    m_impl->normalise();
    m_impl->updateSliderVisibility();
    m_impl->requestRepaint();
}

void LightingPanel::applyPerKeyColour(const std::array<bool, 113>& selectedKeys,
                                      std::uint32_t colour) {
    if (m_impl->edit(
            [&](SettingsImage& image) { return writePerKeyColour(image, selectedKeys, colour); }))
        m_impl->requestRepaint();
}

} // namespace q905
