// The command numbers of the camera's menus: their verbs and help texts for
// IContextMenu::GetCommandString, and the command an invocation names.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <optional>

namespace camfolder {

// GetCommandString of every camera menu: help texts are the string of the
// command's number (ANSI or UTF-16), verbs the command's verb; E_NOTIMPL
// for validation, E_INVALIDARG for a command without what was asked.
HRESULT CommandString(UINT_PTR command, UINT type, LPSTR name, UINT size);

// The command number an invocation names: the chosen item's offset, or one
// of the verbs "properties" and "disconnect" (and "delete" where deleting
// is offered). Nothing for other verbs.
enum class DeleteVerb { kRefused, kAccepted };
std::optional<UINT> InvokedCommand(const CMINVOKECOMMANDINFO *invoke, DeleteVerb deleteVerb);

}  // namespace camfolder
