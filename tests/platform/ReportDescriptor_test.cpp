// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ReportDescriptor.h"

#include <gtest/gtest.h>

#include <random>

namespace q905 {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Bytes kConsumer = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02,
                         0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0};
// A keyboard collection with a nested physical collection, which is no top-level one.
const Bytes kNestedKeyboard = {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x09, 0x06,
                               0xA1, 0x00, 0x75, 0x08, 0x95, 0x06, 0x81, 0x00, 0xC0, 0xC0};
// Vendor page 0xFF00 in a 2-byte Usage Page item, report id 4.
const Bytes kVendor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85,
                       0x04, 0x75, 0x08, 0x95, 0x03, 0x81, 0x02, 0xC0};

TEST(ReportDescriptor, CountsTopLevelCollectionsWithTheirUsagesAndIds) {
    const auto summary = summariseReportDescriptor(concat({kConsumer, kNestedKeyboard, kVendor}));
    EXPECT_FALSE(summary.truncated);
    ASSERT_EQ(summary.collections.size(), 3u);
    EXPECT_EQ(summary.collections[0].usagePage, 0x0C);
    EXPECT_EQ(summary.collections[0].reportIds, Bytes{2});
    EXPECT_EQ(summary.collections[1].usage, 0x06);
    EXPECT_EQ(summary.collections[1].reportIds, Bytes{1});
    EXPECT_EQ(summary.collections[2].usagePage, 0xFF00);
    EXPECT_EQ(summary.collections[2].usage, 0x01);
    EXPECT_EQ(summary.collections[2].reportIds, Bytes{4});

    // An id declared just before its collection belongs to it; one collection may have several.
    const Bytes early = {0x85, 0x05, 0xA1, 0x01, 0x81, 0x00, 0x85, 0x06, 0x81, 0x00, 0xC0};
    EXPECT_EQ(summariseReportDescriptor(early).collections.at(0).reportIds, (Bytes{5, 6}));
}

TEST(ReportDescriptor, SkipsLongItemsAndFourByteData) {
    // A long item whose data holds bytes that would look like Collection items, then a
    // 4-byte Usage (page in the high half).
    const Bytes descriptor = concat(
        {{0xFE, 0x03, 0x10, 0xA1, 0x01, 0xA1}, {0x0B, 0x01, 0x00, 0x00, 0xFF, 0xA1, 0x01, 0xC0}});
    const auto summary = summariseReportDescriptor(descriptor);
    EXPECT_FALSE(summary.truncated);
    ASSERT_EQ(summary.collections.size(), 1u);
    EXPECT_EQ(summary.collections[0].usagePage, 0xFF00);
    EXPECT_EQ(summary.collections[0].usage, 0x0001);
}

TEST(ReportDescriptor, TruncatedInputKeepsWhatCameBefore) {
    const Bytes whole = concat({kConsumer, kVendor});
    // Cut inside the vendor collection's Usage Page item: only its data is missing.
    const auto cut = summariseReportDescriptor(std::span(whole).first(kConsumer.size() + 2));
    EXPECT_TRUE(cut.truncated);
    EXPECT_EQ(cut.collections.size(), 1u);

    // An unclosed collection still counts; a stray End Collection does not unbalance the rest.
    const auto unclosed = summariseReportDescriptor(Bytes{0xC0, 0xC0, 0xA1, 0x01, 0xA1, 0x00});
    EXPECT_FALSE(unclosed.truncated);
    EXPECT_EQ(unclosed.collections.size(), 1u);

    EXPECT_TRUE(summariseReportDescriptor(Bytes{0xFE}).truncated);
    EXPECT_TRUE(summariseReportDescriptor(Bytes{0xFE, 0x05, 0x00, 0x01}).truncated);
    EXPECT_TRUE(summariseReportDescriptor(Bytes{}).collections.empty());
}

TEST(ReportDescriptor, GarbageNeverReadsPastTheEnd) {
    std::mt19937 random(905);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        Bytes garbage(static_cast<std::size_t>(round % 64));
        for (auto& b : garbage)
            b = static_cast<std::uint8_t>(byte(random));
        // Exactly sized heap buffers let a sanitizer build see any overread.
        const auto summary = summariseReportDescriptor(garbage);
        EXPECT_LE(summary.collections.size(), garbage.size() / 2 + 1);
    }
}

} // namespace
} // namespace q905
