#include "sheets/attribute_controls.h"

namespace camfolder {

namespace {

WPARAM CheckOf(BoxState state) {
  switch (state) {
    case BoxState::kChecked:
      return BST_CHECKED;
    case BoxState::kIndeterminate:
      return BST_INDETERMINATE;
    case BoxState::kUnchecked:
      break;
  }
  return BST_UNCHECKED;
}

BoxState StateOf(LRESULT check) {
  if (check == BST_CHECKED) return BoxState::kChecked;
  if (check == BST_INDETERMINATE) return BoxState::kIndeterminate;
  return BoxState::kUnchecked;
}

}  // namespace

bool IsAttributeBox(int control) {
  for (const AttributeBox &box : kAttributeBoxes)
    if (box.control == control) return true;
  return false;
}

BoxState ReadBox(HWND page, int control) { return StateOf(SendDlgItemMessageA(page, control, BM_GETCHECK, 0, 0)); }

void ShowBox(HWND page, int control, BoxState state) {
  SendDlgItemMessageA(page, control, BM_SETCHECK, CheckOf(state), 0);
}

void ShowAttributeBoxes(HWND page, const BoxStates &states) {
  for (size_t box = 0; box < kAttributeBoxes.size(); ++box) ShowBox(page, kAttributeBoxes[box].control, states[box]);
}

BoxStates ReadAttributeBoxes(HWND page) {
  BoxStates states{};
  for (size_t box = 0; box < kAttributeBoxes.size(); ++box) states[box] = ReadBox(page, kAttributeBoxes[box].control);
  return states;
}

}  // namespace camfolder
