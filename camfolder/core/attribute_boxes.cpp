#include "core/attribute_boxes.h"

BoxStates MergeAttributeBoxes(std::span<const uint32_t> attributes) {
  BoxStates states{};
  for (size_t box = 0; box < kAttributeBoxes.size(); ++box) {
    size_t withBit = 0;
    for (const uint32_t value : attributes)
      if (value & kAttributeBoxes[box].bit) ++withBit;
    states[box] = withBit == 0                  ? BoxState::kUnchecked
                  : withBit == attributes.size() ? BoxState::kChecked
                                                 : BoxState::kIndeterminate;
  }
  return states;
}

uint32_t ApplyAttributeBoxes(uint32_t attributes, const BoxStates &states) {
  for (size_t box = 0; box < kAttributeBoxes.size(); ++box) {
    if (states[box] == BoxState::kChecked) attributes |= kAttributeBoxes[box].bit;
    if (states[box] == BoxState::kUnchecked) attributes &= ~kAttributeBoxes[box].bit;
  }
  return attributes;
}

uint32_t CheckedBoxBits(const BoxStates &states) {
  uint32_t bits = 0;
  for (size_t box = 0; box < kAttributeBoxes.size(); ++box)
    if (states[box] == BoxState::kChecked) bits |= kAttributeBoxes[box].bit;
  return bits;
}

BoxState ClickedBoxState(BoxState state) {
  return state == BoxState::kChecked ? BoxState::kUnchecked : BoxState::kChecked;
}
