#include "upload_dialog.h"

#include "about_dialog.h"
#include "resource.h"
#include "resource_string.h"

using winfx::LoadResourceString;

namespace {

// The root is made a full path once, against the folder the program started
// in: uploads change the working directory, which a relative root would
// otherwise follow.
std::string FullFolderPath(const std::string &folder, const std::string &startFolder) {
  if (folder.empty()) return folder;
  const bool relative = folder[0] != '\\' && folder[0] != '/' && !(folder.size() >= 2 && folder[1] == ':');
  const std::string anchored = relative && !startFolder.empty() ? startFolder + "\\" + folder : folder;
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(anchored.c_str(), sizeof full, full, nullptr);
  return length == 0 || length >= sizeof full ? folder : std::string(full, length);
}

std::string WorkingDirectory() {
  char folder[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
  return length == 0 || length >= sizeof folder ? std::string() : std::string(folder, length);
}

}  // namespace

CUploadDialog::CUploadDialog(ServerSettings &settings, const winfx::CProfile &profile)
    : CDialog(IDD_UPLOADD_DIALOG), settings_(settings), profile_(profile), startFolder_(WorkingDirectory()) {}

BOOL CUploadDialog::OnInitDialog() {
  HWND window = GetSafeHwnd();
  const std::string aboutText = LoadResourceString(IDS_ABOUTBOX);
  if (HMENU systemMenu = GetSystemMenu(window, FALSE); systemMenu && !aboutText.empty()) {
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText.c_str());
  }
  HINSTANCE instance = GetModuleHandleA(nullptr);
  auto *bigIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  auto *smallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
  SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
  notifyIcon_.Add(window, IDC_TRAY_ICON, smallIcon, WM_TRAY_NOTIFY, LoadResourceString(IDS_TRAY_TIP));
  connections_ = ConnectionListBox(GetDlgItem(IDC_CONNECTIONS));

  SetItemText(IDC_USER_NAME, settings_.ftp.userName);
  SetItemText(IDC_PORT, std::to_string(ServerSettings::kPort));
  SetItemText(IDC_PASSWORD, settings_.ftp.password);
  SetItemText(IDC_ROOT_DIRECTORY, settings_.ftp.rootDirectory);
  SetItemText(IDC_LOG_FILE, settings_.logFileName);
  return TRUE;
}

void CUploadDialog::OnCommand(int id, int) {
  switch (id) {
    case IDC_APPLY: Apply(); break;
    case IDC_START: Start(); break;
    // Closing the window by its close box or Escape quits like the button,
    // so the server always stops and logs its end.
    case IDC_QUIT:
    case IDCANCEL: Quit(); break;
    case IDC_HIDE: ShowWindow(GetSafeHwnd(), SW_HIDE); break;
    default: break;
  }
}

bool CUploadDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != IDM_ABOUTBOX) return false;
      CAboutDialog(GetSafeHwnd()).DoModal();
      return true;
    case WM_TRAY_NOTIFY:
      if (lParam == WM_LBUTTONDOWN) {
        ShowWindow(GetSafeHwnd(), SW_SHOW);
        SetForegroundWindow(GetSafeHwnd());
      }
      return true;
    case WM_CLOSE_CONNECTION:
      if (lParam != 0 && server_) server_->CloseConnection(static_cast<unsigned>(lParam));
      return true;
    default:
      return false;
  }
}

void CUploadDialog::OnDestroy() {
  notifyIcon_.Remove();
  server_.reset();
  log_.reset();
}

bool CUploadDialog::Apply() {
  settings_.ftp.rootDirectory = FullFolderPath(GetItemText(IDC_ROOT_DIRECTORY), startFolder_);
  settings_.logFileName = GetItemText(IDC_LOG_FILE);
  const std::string &root = settings_.ftp.rootDirectory;
  SetItemText(IDC_ROOT_DIRECTORY, root);
  if (!root.empty() && !CreateDirectoryA(root.c_str(), nullptr)) {
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) {
      ShowMessage(LoadResourceString(IDS_CREATE_ROOT_FAILED));
      return false;
    }
  }
  settings_.Save(profile_);
  return true;
}

void CUploadDialog::Start() {
  if (server_ || !Apply()) return;
  auto log = std::make_unique<RollingLog>();
  if (!log->Open(settings_.logFileName)) {
    ShowMessage(LoadResourceString(IDS_OPEN_LOG_FAILED));
    return;
  }
  auto server = std::make_unique<UploadServer>(settings_, *log, connections_, GetSafeHwnd());
  if (!server->Start()) {
    ShowMessage(LoadResourceString(IDS_CREATE_SOCKET_FAILED));
    return;
  }
  log_ = std::move(log);
  server_ = std::move(server);
  log_->AppendStamped(LoadResourceString(IDS_LOG_START));
  EnableItem(IDC_START, false);
}

void CUploadDialog::StopServer() {
  if (!server_) return;
  log_->AppendStamped(LoadResourceString(IDS_LOG_QUIT));
  server_.reset();
  log_.reset();
}

void CUploadDialog::Quit() {
  StopServer();
  EndDialog(IDC_QUIT);
}
