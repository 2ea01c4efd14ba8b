// The four attribute boxes of a page as window controls.
#pragma once

#include <windows.h>

#include "core/attribute_boxes.h"

namespace camfolder {

bool IsAttributeBox(int control);
BoxState ReadBox(HWND page, int control);
void ShowBox(HWND page, int control, BoxState state);
void ShowAttributeBoxes(HWND page, const BoxStates &states);
BoxStates ReadAttributeBoxes(HWND page);

}  // namespace camfolder
