#include "device/DeviceWriter.h"

namespace q905 {

namespace {

using Pause = HidLink::Pause;

class Applier {
  public:
    Applier(HidLink& link, AckFlag& ack, ApplyOptions options)
        : m_link(link), m_ack(ack), m_options(options) {}

    // Clears the flag before a group's first frame.
    void beginGroup() { m_ack.clear(); }

    [[nodiscard]] bool awaitAck() {
        m_link.traceAckWait();
        return m_ack.wait(m_options.ackTimeout);
    }

    void sendLighting(const SettingsImage& image, std::uint8_t phase) {
        m_link.sendCommand(
            command::kLighting,
            {.p1 = phase,
             .p2 = image.lightingEffect(),
             .p3 = static_cast<std::uint8_t>(10 - image.speedStep()),
             .p4 = phase == command::kLightingCommit ? image.brightness() : std::uint8_t{0},
             .p5 = image.colourIndex(),
             .p6 = image.direction()});
        m_link.wait(wait::kLightingWrite);
    }

    void sendColours(const SettingsImage& image) {
        for (std::uint8_t triple = 0; triple < layout::kColourTripleCount; ++triple) {
            const auto rgb = image.block(layout::colourTriple(triple));
            m_link.sendCommand(command::kColourTriple,
                               {.p2 = triple, .p3 = rgb[0], .p4 = rgb[1], .p5 = rgb[2]});
            m_link.wait(wait::kColourTripleWrite);
        }
    }

    void sendKeyMap(const SettingsImage& image) {
        m_link.sendCommand(command::kKeyMap, {.p3 = command::kKeyMapReports});
        m_link.wait(wait::kKeyMapFrame);
        m_link.writeBlock(image.block(layout::kKeyMapBlock));
        m_link.wait(wait::kKeyMapLastReport);
    }

    void sendMacroSlot(const SettingsImage& image, std::uint8_t slot) {
        m_link.sendCommand(command::kMacroSlot, {.p2 = slot, .p3 = command::kMacroSlotReports});
        m_link.wait(wait::kMacroSlotFrame);
        m_link.writeBlock(image.block(layout::macroSlot(slot)), Pause::Yield);
    }

    void sendKeyEnableMask(const SettingsImage& image) {
        m_link.sendCommand(command::kKeyEnable, {.p3 = command::kKeyEnableBytes});
        m_link.wait(wait::kKeyEnableWrite);
        DataReport report{};
        const auto mask = image.block(layout::kKeyEnableMask);
        std::copy(mask.begin(), mask.end(), report.begin() + 1);
        m_link.writeReport(report);
    }

    void sendPerKeyPage(const SettingsImage& image, std::uint8_t page) {
        m_link.sendCommand(command::kPerKeyColours,
                           {.p2 = page, .p3 = command::kPerKeyPageReports});
        m_link.wait(wait::kPerKeyFrame);
        m_link.writeBlock(image.block(layout::perKeyColourPage(page)), Pause::Wait5);
        m_link.wait(wait::kPerKeyWriteReport);
    }

    void sendSession(std::uint8_t phase) {
        m_link.sendCommand(command::kApplySession, {.p1 = phase});
        m_link.wait(wait::kApplySession);
    }

  private:
    HidLink& m_link;
    AckFlag& m_ack;
    ApplyOptions m_options;
};

} // namespace

bool ChangedBlocks::any() const {
    bool result = colours || gameMode || reportRate || responseTime || keyMap || keyEnableMask ||
                  lightingParams;
    for (bool slot : macroSlots)
        result = result || slot;
    for (bool page : perKeyPages)
        result = result || page;
    return result;
}

ChangedBlocks compareImages(const SettingsImage& device, const SettingsImage& applied) {
    ChangedBlocks changed;
    const auto differs = [&](Block block) { return !device.sameBlock(applied, block); };
    changed.colours = differs(layout::kEffectColours);
    changed.gameMode = differs(layout::kGameMode);
    changed.reportRate = differs(layout::kReportRate);
    changed.responseTime = differs(layout::kResponseTime);
    changed.keyMap = differs(layout::kKeyMapBlock);
    changed.keyEnableMask = differs(layout::kKeyEnableMask);
    for (std::size_t slot = 0; slot < layout::kMacroSlotCount; ++slot)
        changed.macroSlots[slot] = differs(layout::macroSlot(slot));
    for (std::size_t page = 0; page < layout::kPerKeyPageCount; ++page)
        changed.perKeyPages[page] = differs(layout::perKeyColourPage(page));
    changed.lightingParams = differs(layout::kLightingParams);
    return changed;
}

ApplyResult applyChanges(HidLink& link, Settings& settings, AckFlag& ack, ApplyOptions options) {
    if (!link.commandHandleValid())
        return ApplyResult::NotConnected;
    auto conversation = link.beginConversation();
    Applier applier(link, ack, options);
    applier.sendSession(1);

    SettingsImage image;
    ChangedBlocks changed;
    {
        std::lock_guard lock(settings.mutex());
        settings.deviceSettings().foldWinKeyLock();
        settings.deviceSettings().at(layout::kPalmRestBlock.offset) = command::kPalmRest;
        image = settings.deviceSettings();
        changed = compareImages(image, settings.appliedSettings());
    }

    FeatureFrame palmFrame{};
    const auto palm = image.block(layout::kPalmRestBlock);
    std::copy(palm.begin(), palm.end(), palmFrame.begin() + 1);
    link.sendFrame(palmFrame);

    if (!changed.any()) {
        applier.sendSession(0);
        return ApplyResult::NothingToApply;
    }

    // A group the keyboard does not acknowledge ends the apply: nothing more is sent but the
    // closing session frame, and no snapshot claims the keyboard holds what it may not.
    const auto abandon = [&] {
        applier.sendSession(0);
        return ApplyResult::NotAcknowledged;
    };

    applier.beginGroup();
    applier.sendLighting(image, command::kLightingPreview);
    if (!applier.awaitAck())
        return abandon();
    if (changed.colours) {
        applier.beginGroup();
        applier.sendColours(image);
        if (!applier.awaitAck())
            return abandon();
    }
    if (changed.gameMode) {
        applier.beginGroup();
        link.sendCommand(command::kGameMode, {.p1 = image.gameMode()});
        link.wait(wait::kGameModeWrite);
        {
            std::lock_guard lock(settings.mutex());
            settings.deviceSettings().foldWinKeyLock();
        }
        if (!applier.awaitAck())
            return abandon();
    }
    if (changed.reportRate) {
        applier.beginGroup();
        link.sendCommand(command::kReportRate, {.p1 = image.reportRate()});
        link.wait(wait::kReportRateWrite);
        if (!applier.awaitAck())
            return abandon();
    }
    if (changed.responseTime) {
        applier.beginGroup();
        link.sendCommand(command::kResponseTime,
                         {.p1 = static_cast<std::uint8_t>(image.responseTime() + 1)});
        link.wait(wait::kResponseTimeWrite);
        if (!applier.awaitAck())
            return abandon();
    }
    if (changed.keyMap) {
        applier.beginGroup();
        applier.sendKeyMap(image);
        if (!applier.awaitAck())
            return abandon();
    }
    for (std::uint8_t slot = 0; slot < layout::kMacroSlotCount; ++slot) {
        if (!changed.macroSlots[slot])
            continue;
        applier.beginGroup();
        applier.sendMacroSlot(image, slot);
        if (!applier.awaitAck())
            return abandon();
    }
    if (changed.keyEnableMask) {
        applier.beginGroup();
        applier.sendKeyEnableMask(image);
        if (!applier.awaitAck())
            return abandon();
    }
    for (std::uint8_t page = 0; page < layout::kPerKeyPageCount; ++page) {
        if (!changed.perKeyPages[page])
            continue;
        applier.beginGroup();
        applier.sendPerKeyPage(image, page);
        if (!applier.awaitAck())
            return abandon();
    }
    applier.sendLighting(image, command::kLightingCommit);
    settings.snapshot();
    applier.sendSession(0);
    return ApplyResult::Applied;
}

void resetKeyboard(HidLink& link) {
    auto conversation = link.beginConversation();
    link.sendCommand(command::kFactoryReset, {.p1 = command::kFactoryResetParam});
    link.wait(wait::kFactoryReset);
    for (int i = 0; i < 2; ++i) {
        link.sendCommand(command::kGameMode, {.p1 = 1});
        link.wait(wait::kGameModeWrite);
        link.wait(wait::kFactoryReset);
    }
}

const char* describe(ApplyResult result) {
    switch (result) {
    case ApplyResult::Applied:
        return "applied";
    case ApplyResult::NothingToApply:
        return "nothing to apply";
    case ApplyResult::NotConnected:
        return "not connected";
    case ApplyResult::NotAcknowledged:
        return "not acknowledged";
    }
    return "unknown";
}

} // namespace q905
