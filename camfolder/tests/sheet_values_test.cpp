// The arithmetic behind the property sheets: attribute boxes over several
// items and what applying them writes, the typed camera address, and the
// values shown for several items and for a drive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/address_text.h"
#include "core/attribute_boxes.h"
#include "core/sheet_values.h"
#include "sheets/property_records.h"

namespace {

constexpr BoxState kOn = BoxState::kChecked;
constexpr BoxState kOff = BoxState::kUnchecked;
constexpr BoxState kMixed = BoxState::kIndeterminate;

TEST(AttributeBoxes, MergeShowsWhatAllNoneOrSomeItemsHave) {
  // Boxes in order: read-only 0x01, hidden 0x02, archive 0x20, system 0x04.
  const std::vector<uint32_t> items = {0x10 | 0x01 | 0x20, 0x01 | 0x04, 0x01 | 0x20};
  EXPECT_EQ(MergeAttributeBoxes(items), (BoxStates{kOn, kOff, kMixed, kMixed}));
  const uint32_t one = 0x02 | 0x04;
  EXPECT_EQ(MergeAttributeBoxes({&one, 1}), (BoxStates{kOff, kOn, kOff, kOn}));
  EXPECT_EQ(MergeAttributeBoxes({}), (BoxStates{kOff, kOff, kOff, kOff}));
}

TEST(AttributeBoxes, ApplyChangesOnlyDecidedBits) {
  const std::vector<uint32_t> items = {0x10 | 0x01, 0x20, 0x01 | 0x02 | 0x20};
  const BoxStates merged = MergeAttributeBoxes(items);
  // Unchanged boxes give every item back its own attributes.
  for (const uint32_t item : items) EXPECT_EQ(ApplyAttributeBoxes(item, merged), item);
  // An indeterminate read-only box leaves each item's read-only bit alone
  // while the decided boxes set or clear theirs; the directory bit stays.
  const BoxStates decided = {kMixed, kOff, kOn, kOn};
  EXPECT_EQ(ApplyAttributeBoxes(0x10 | 0x01, decided), 0x10u | 0x01 | 0x20 | 0x04);
  EXPECT_EQ(ApplyAttributeBoxes(0x20, decided), 0x20u | 0x04);
  EXPECT_EQ(ApplyAttributeBoxes(0x01 | 0x02 | 0x20, decided), 0x01u | 0x20 | 0x04);
  EXPECT_EQ(ApplyAttributeBoxes(0xFFu, {kOff, kOff, kOff, kOff}), 0xFFu & ~kBoxBits);
}

TEST(AttributeBoxes, SingleItemsWriteTheirCheckedBitsAndClicksNeverReturnToMixed) {
  EXPECT_EQ(CheckedBoxBits({kOn, kOff, kOn, kOff}), 0x21u);
  EXPECT_EQ(CheckedBoxBits({kOff, kOn, kOff, kOn}), 0x06u);
  EXPECT_EQ(ClickedBoxState(kMixed), kOn);
  EXPECT_EQ(ClickedBoxState(kOn), kOff);
  EXPECT_EQ(ClickedBoxState(kOff), kOn);
}

TEST(AddressText, UpToFourNumbersWithMissingPartsZero) {
  EXPECT_EQ(ParseAddressText("192.168.0.5"), 0xC0A80005u);
  EXPECT_EQ(ParseAddressText("10.1"), 0x0A010000u);
  EXPECT_EQ(ParseAddressText("10..7"), 0x0A000700u);
  EXPECT_EQ(ParseAddressText(""), 0u);
  EXPECT_EQ(ParseAddressText("255.255.255.255"), 0xFFFFFFFFu);
  // The field is filled with blanks around the numbers: it reads its own text.
  EXPECT_EQ(ParseAddressText("127 .  0   .  0   .  1  "), 0x7F000001u);
  EXPECT_EQ(ParseAddressText(" 10 . 2"), 0x0A020000u);
}

TEST(AddressText, WhatNoAddressCanHoldIsRefused) {
  // A part above 255 would spill into its neighbour.
  EXPECT_FALSE(ParseAddressText("192.168.0.256"));
  EXPECT_FALSE(ParseAddressText("300.1.1.1"));
  EXPECT_FALSE(ParseAddressText("1.2.3.99999999999999999999"));
  EXPECT_FALSE(ParseAddressText("1.2.3.4.5"));
  EXPECT_FALSE(ParseAddressText("1.2.3.4."));
  EXPECT_FALSE(ParseAddressText("camera"));
  EXPECT_FALSE(ParseAddressText("1.2 3.4"));
  EXPECT_FALSE(ParseAddressText("-1.2.3.4"));
}

TEST(SheetValues, CommonTypesAndPlaces) {
  const std::vector<std::string> places = {"0:/DCIM/", "0:/dcim/", "0:/DCIM/"};
  EXPECT_EQ(CommonText(places, TextCase::kCameraNames), "0:/DCIM/");
  EXPECT_FALSE(CommonText(places, TextCase::kExact));
  const std::vector<std::string> two = {"0:/DCIM/", "1:/DCIM/"};
  EXPECT_FALSE(CommonText(two, TextCase::kCameraNames));
  const std::vector<std::string> one = {"JPEG"};
  EXPECT_EQ(CommonText(one, TextCase::kExact), "JPEG");
  EXPECT_FALSE(CommonText({}, TextCase::kExact));
}

TEST(SheetValues, NumbersAndDriveSpace) {
  EXPECT_EQ(DecimalDigits(0), "0");
  EXPECT_EQ(DecimalDigits(18446744073709551615ull), "18446744073709551615");
  EXPECT_EQ(CutAtDecimal(L"1,234,567.00", L"."), L"1,234,567");
  EXPECT_EQ(CutAtDecimal(L"1.234.567,00", L","), L"1.234.567");
  EXPECT_EQ(CutAtDecimal(L"1234", L"."), L"1234");
  EXPECT_EQ(CutAtDecimal(L"12.5", L""), L"12.5");
  // The locale's grouping for an explicit number format.
  EXPECT_EQ(NumberGrouping("3;0"), 3u);
  EXPECT_EQ(NumberGrouping("3;2;0"), 32u);
  EXPECT_EQ(NumberGrouping("3"), 30u);
  EXPECT_EQ(NumberGrouping("0"), 0u);
  EXPECT_EQ(NumberGrouping(""), 0u);
  EXPECT_EQ(NumberGrouping("3;3;3;3;3;3;3;3;3;3;3;3"), 333333333u);
  EXPECT_EQ(UsedSpace(64000000, 1000000), 63000000u);
  // A camera reporting more free space than capacity has used nothing.
  EXPECT_EQ(UsedSpace(1000, 5000), 0u);
  TreeTotals totals{0xFFFFFFFFu, 1, 0};
  totals += TreeTotals{0xFFFFFFFFu, 2, 3};
  EXPECT_EQ(totals.size, 0x1FFFFFFFEull);
  EXPECT_EQ(totals.files, 3u);
  EXPECT_EQ(totals.folders, 3u);
}

}  // namespace
