// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's side of the command protocol, free of threads and transport: it keeps the
// memory in the encoding of the settings image, answers read requests, stores writes and
// refuses anything the protocol does not allow. EmulatedKeyboard serialises the calls.

#include "device/Reports.h"
#include "device/SettingsImage.h"

#include <array>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

namespace q905 {

// One transfer as the firmware saw it.
struct FirmwareStep {
    bool accepted = true;
    // A write command is complete; the keyboard acknowledges it on the notification interface.
    bool writeCompleted = false;
    std::string error; // set when the transfer was refused
};

class EmulatedFirmware {
  public:
    EmulatedFirmware();

    const SettingsImage& memory() const { return m_memory; }
    // Takes the bytes as they are, except that the derived bytes are made to agree.
    void setMemory(const SettingsImage& memory);
    void factoryReset();
    void setVersion(std::uint8_t major, std::uint8_t minor);
    // A lighting field (2..6) changed on the keyboard itself; other fields change nothing.
    void changeLighting(std::uint8_t field, std::uint8_t wireValue);
    // The key map entry at a matrix position (0..127).
    std::array<std::uint8_t, 4> keyMapEntry(std::size_t position) const;
    // Drops a half-done exchange, as losing power does.
    void abandonExchange();

    FirmwareStep setFeature(const FeatureFrame& frame);
    FirmwareStep getFeature(FeatureFrame& reply);
    FirmwareStep writeReport(const DataReport& report);
    FirmwareStep readReport(DataReport& report);

  private:
    enum class Exchange {
        Idle,
        ReplyReady,       // a read request waits for its reply to be fetched
        SendingReports,   // a bulk read's data reports wait to be read
        ReceivingReports, // a bulk write waits for its data reports
    };

    FirmwareStep handleRead(const FeatureFrame& frame);
    FirmwareStep handleWrite(const FeatureFrame& frame);
    FirmwareStep refuse(std::string error);
    void prepareReply(const FeatureFrame& reply);
    void queueReports(std::span<const std::uint8_t> bytes);
    void expectReports(std::uint8_t command, Block target, std::size_t reports);
    void storeReceived();
    std::string exchangeInProgress() const;
    // The exchange in progress in brackets, or nothing when there is none.
    std::string pendingNote() const;

    SettingsImage m_memory;
    std::uint8_t m_versionMajor = 1;
    std::uint8_t m_versionMinor = 0;

    Exchange m_exchange = Exchange::Idle;
    std::uint8_t m_exchangeCommand = 0;
    FeatureFrame m_reply{};
    std::deque<DataReport> m_outgoing;
    // A bulk write keeps its data here and stores it only once the last report arrived.
    Block m_incomingTarget{};
    std::size_t m_incomingReports = 0;
    std::vector<std::uint8_t> m_incoming;
};

} // namespace q905
