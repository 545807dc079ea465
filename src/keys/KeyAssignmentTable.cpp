// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/KeyAssignmentTable.h"

#include "keys/KeyTable.h"
#include "base/Utf16.h"

namespace q905 {

std::u16string KeyAssignmentRecord::launchPath() const {
    return readUtf16Field(std::span<const std::uint8_t>(
        m_bytes.data() + record_layout::kLaunchPath.offset, record_layout::kLaunchPath.size));
}

bool KeyAssignmentRecord::setLaunchPath(std::u16string_view path) {
    if (path.size() > record_layout::kMaxLaunchPathLength)
        return false;
    std::uint8_t* out = m_bytes.data() + record_layout::kLaunchPath.offset;
    for (char16_t unit : path) {
        *out++ = static_cast<std::uint8_t>(unit & 0xFF);
        *out++ = static_cast<std::uint8_t>(unit >> 8);
    }
    *out++ = 0;
    *out = 0;
    return true;
}

void KeyAssignmentTable::resetKeyCodes() {
    for (int index = 0; index < kKeyCount; ++index)
        records[static_cast<std::size_t>(index)].setKeyCode(KeyTable[index].keyCode);
}

KeyAssignments::KeyAssignments()
    : m_table(std::make_unique<KeyAssignmentTable>()),
      m_applied(std::make_unique<KeyAssignmentTable>()) {}

KeyAssignments::KeyAssignments(const KeyAssignments& other)
    : m_table(std::make_unique<KeyAssignmentTable>(*other.m_table)),
      m_applied(std::make_unique<KeyAssignmentTable>(*other.m_applied)), m_flags(other.m_flags),
      m_fileBehind(other.m_fileBehind) {}

KeyAssignments& KeyAssignments::operator=(const KeyAssignments& other) {
    *m_table = *other.m_table;
    *m_applied = *other.m_applied;
    m_flags = other.m_flags;
    m_fileBehind = other.m_fileBehind;
    return *this;
}

void KeyAssignments::clearAll() {
    m_flags.fill(0);
    m_table->clear();
    m_table->resetKeyCodes();
}

} // namespace q905
