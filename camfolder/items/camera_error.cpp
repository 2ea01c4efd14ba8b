#include "items/camera_error.h"

#include "core/camera_messages.h"
#include "core/text_format.h"
#include "items/module_strings.h"
#include "resource_ids.h"

namespace camfolder {

int ShowCameraError(HWND owner, uint32_t result) {
  const CameraMessage message = MessageForResult(result);
  if (message.message == 0) return message.returned;
  const auto text = LoadModuleText(static_cast<unsigned>(message.message));
  if (!text) return -1;
  const std::wstring caption = ModuleTextOr(IDS_ERROR_CAPTION, L"Lumo");
  const UINT icon = message.icon == MessageIcon::kError ? MB_ICONERROR : MB_ICONEXCLAMATION;
  MessageBoxW(owner, text->c_str(), caption.c_str(), MB_OK | icon);
  return message.message;
}

int ShowCameraMessage(HWND owner, int message, const std::vector<std::string> &names, UINT buttons) {
  constexpr size_t kNamesShown = 10;
  auto text = LoadModuleText(static_cast<unsigned>(message));
  if (!text) return 0;
  std::wstring list;
  for (size_t i = 0; i < names.size() && i <= kNamesShown; ++i) {
    if (!list.empty()) list += L"\n";
    list += i < kNamesShown ? WidenAnsi(names[i]) : L"...";
  }
  // A question is no error report: its box carries the camera's name.
  const std::wstring caption = (buttons & MB_TYPEMASK) == MB_OK ? ModuleTextOr(IDS_ERROR_CAPTION, L"Lumo")
                                                                : ModuleTextOr(IDS_CAMERA_NAME, L"Lumo");
  return MessageBoxW(owner, FormatText(*text, {list}).c_str(), caption.c_str(), buttons | MB_ICONEXCLAMATION);
}

}  // namespace camfolder
