#include "menus/command_table.h"

#include <cwchar>

#include "items/module_state.h"
#include "resource_ids.h"

namespace camfolder {

namespace {

struct CommandEntry {
  UINT command;
  const char *verb;  // null: none
  bool help;         // the string of the command's number
};

constexpr CommandEntry kCommands[] = {
    {IDM_SELECT_ALL, nullptr, true},     {IDM_INVERT_SELECTION, nullptr, true},
    {IDM_LARGE_ICONS, nullptr, true},    {IDM_SMALL_ICONS, nullptr, true},
    {IDM_LIST, nullptr, true},           {IDM_DETAILS, nullptr, true},
    {IDM_LINE_UP, nullptr, true},        {IDM_BY_NAME, nullptr, true},
    {IDM_BY_SIZE, nullptr, true},        {IDM_BY_TYPE, nullptr, true},
    {IDM_BY_DATE, nullptr, true},        {IDM_SAVE_CONFIG, "GetConfig", true},
    {IDM_RESTORE_CONFIG, "SetConfig", true}, {IDM_PROPERTIES, "properties", true},
    {IDM_EXPLORE, "explore", true},      {IDM_OPEN, "open", true},
    {IDM_OPEN_FILE, "open", true},       {IDM_NEW_FOLDER, "NewFolder", false},
    {IDM_FORMAT, "format", true},        {IDM_DELETE, "delete", true},
    {IDM_RENAME, "rename", true},        {IDM_DISCONNECT, "disconnect", true},
};

const CommandEntry *EntryOf(UINT_PTR command) {
  for (const CommandEntry &entry : kCommands)
    if (entry.command == command) return &entry;
  return nullptr;
}

HRESULT HelpText(UINT command, bool wide, LPSTR name, UINT size) {
  const int length = wide ? LoadStringW(ModuleInstance(), command, reinterpret_cast<LPWSTR>(name), static_cast<int>(size))
                          : LoadStringA(ModuleInstance(), command, name, static_cast<int>(size));
  return length > 0 ? S_OK : E_FAIL;
}

HRESULT Verb(const char *verb, bool wide, LPSTR name, UINT size) {
  if (!wide) {
    lstrcpynA(name, verb, static_cast<int>(size));
    return S_OK;
  }
  // The verbs are ASCII.
  auto *out = reinterpret_cast<LPWSTR>(name);
  UINT i = 0;
  for (; verb[i] && i + 1 < size; ++i) out[i] = static_cast<wchar_t>(verb[i]);
  out[i] = L'\0';
  return S_OK;
}

std::optional<UINT> CommandOfVerb(const char *verb, DeleteVerb deleteVerb) {
  if (lstrcmpiA(verb, "properties") == 0) return IDM_PROPERTIES;
  if (lstrcmpiA(verb, "disconnect") == 0) return IDM_DISCONNECT;
  if (deleteVerb == DeleteVerb::kAccepted && lstrcmpiA(verb, "delete") == 0) return IDM_DELETE;
  return std::nullopt;
}

}  // namespace

HRESULT CommandString(UINT_PTR command, UINT type, LPSTR name, UINT size) {
  if (type & GCS_VALIDATEA) return E_NOTIMPL;
  if (!name || size == 0) return E_INVALIDARG;
  const CommandEntry *entry = EntryOf(command);
  const bool wide = (type & GCS_UNICODE) != 0;
  if (type & GCS_HELPTEXTA) {
    if (!entry || !entry->help) return E_INVALIDARG;
    return HelpText(entry->command, wide, name, size);
  }
  if (!entry || !entry->verb) return E_INVALIDARG;
  return Verb(entry->verb, wide, name, size);
}

std::optional<UINT> InvokedCommand(const CMINVOKECOMMANDINFO *invoke, DeleteVerb deleteVerb) {
  if (!invoke) return std::nullopt;
  const auto *extended = reinterpret_cast<const CMINVOKECOMMANDINFOEX *>(invoke);
  const bool wide = invoke->cbSize >= sizeof(CMINVOKECOMMANDINFOEX) && (invoke->fMask & CMIC_MASK_UNICODE) &&
                    extended->lpVerbW;
  if (wide && !IS_INTRESOURCE(extended->lpVerbW)) {
    char verb[32];
    // Anything that is not a short ASCII verb is none of ours.
    if (!WideCharToMultiByte(CP_ACP, 0, extended->lpVerbW, -1, verb, sizeof verb, nullptr, nullptr))
      return std::nullopt;
    return CommandOfVerb(verb, deleteVerb);
  }
  if (IS_INTRESOURCE(invoke->lpVerb)) return LOWORD(reinterpret_cast<UINT_PTR>(invoke->lpVerb));
  return CommandOfVerb(invoke->lpVerb, deleteVerb);
}

}  // namespace camfolder
