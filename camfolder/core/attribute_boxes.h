// The attribute boxes of the property pages: read-only, hidden, archive and
// system, each standing for one of the camera's attribute bits. A page for
// several items shows a box checked when every item has the bit, unchecked
// when none has it, and indeterminate otherwise; applying it changes only
// the bits whose box the user has decided.
#pragma once

#include <array>
#include <cstdint>
#include <span>

enum class BoxState { kUnchecked, kChecked, kIndeterminate };

struct AttributeBox {
  int control;   // the box's control in the page templates
  uint32_t bit;  // the camera's attribute bit
};

// In control order: 15009 read-only, 15010 hidden, 15011 archive, 15012 system.
constexpr std::array<AttributeBox, 4> kAttributeBoxes = {{{15009, 0x01}, {15010, 0x02}, {15011, 0x20}, {15012, 0x04}}};
constexpr uint32_t kBoxBits = 0x01 | 0x02 | 0x20 | 0x04;

using BoxStates = std::array<BoxState, kAttributeBoxes.size()>;

// The state of each box over the items' attributes (no items: unchecked).
BoxStates MergeAttributeBoxes(std::span<const uint32_t> attributes);

// An item's attributes after the boxes are applied: a checked box sets its
// bit, an unchecked one clears it, an indeterminate one keeps the item's
// bit; bits without a box are kept.
uint32_t ApplyAttributeBoxes(uint32_t attributes, const BoxStates &states);

// The attributes a single item's page writes: the bits of its checked boxes.
uint32_t CheckedBoxBits(const BoxStates &states);

// A click on a box of the several-items page: between checked and
// unchecked; an indeterminate box becomes checked.
BoxState ClickedBoxState(BoxState state);
