#include "camera_error.h"

#include "camera_messages.h"
#include "module_strings.h"
#include "resource_ids.h"

namespace camfolder {

int ShowCameraError(HWND owner, uint32_t result) {
  const CameraMessage message = MessageForResult(result);
  if (message.message == 0) return message.returned;
  constexpr size_t kTextBuffer = 2048;
  const auto text = LoadModuleString(static_cast<unsigned>(message.message), kTextBuffer);
  if (!text) return -1;
  const std::string caption = ModuleStringOr(IDS_ERROR_CAPTION, "Lumo");
  const UINT icon = message.icon == MessageIcon::kError ? MB_ICONERROR : MB_ICONEXCLAMATION;
  MessageBoxA(owner, text->c_str(), caption.c_str(), MB_OK | icon);
  return message.message;
}

int ShowCameraMessage(HWND owner, int message, const std::vector<std::string> &names, UINT buttons) {
  constexpr size_t kTextBuffer = 2048;
  constexpr size_t kNamesShown = 10;
  auto text = LoadModuleString(static_cast<unsigned>(message), kTextBuffer);
  if (!text) return 0;
  std::string list;
  for (size_t i = 0; i < names.size() && i <= kNamesShown; ++i) {
    if (!list.empty()) list += "\n";
    list += i < kNamesShown ? names[i] : "...";
  }
  // The names are put in as they are: a "%" in a camera name is no format.
  if (const size_t at = text->find("%s"); at != std::string::npos) text->replace(at, 2, list);
  // A question is no error report: its box carries the camera's name.
  const std::string caption = (buttons & MB_TYPEMASK) == MB_OK ? ModuleStringOr(IDS_ERROR_CAPTION, "Lumo")
                                                               : ModuleStringOr(IDS_CAMERA_NAME, "Lumo");
  return MessageBoxA(owner, text->c_str(), caption.c_str(), buttons | MB_ICONEXCLAMATION);
}

}  // namespace camfolder
