#include "server_settings.h"

#include "resource.h"
#include "resource_string.h"

using winfx::LoadResourceString;

ServerSettings ServerSettings::Load(const winfx::CProfile &profile) {
  const std::string section = LoadResourceString(IDS_SECTION);
  ServerSettings settings;
  settings.ftp.userName = LoadResourceString(IDS_USER_NAME);
  settings.ftp.password = LoadResourceString(IDS_PASSWORD);
  settings.ftp.rootDirectory =
      profile.GetString(section, LoadResourceString(IDS_ENTRY_ROOTPATH), LoadResourceString(IDS_DEFAULT_ROOT));
  settings.logFileName = profile.GetString(section, LoadResourceString(IDS_ENTRY_LOGFILE));
  return settings;
}

bool ServerSettings::Save(const winfx::CProfile &profile) const {
  const std::string section = LoadResourceString(IDS_SECTION);
  return profile.WriteString(section, LoadResourceString(IDS_ENTRY_ROOTPATH), ftp.rootDirectory) &&
         profile.WriteString(section, LoadResourceString(IDS_ENTRY_LOGFILE), logFileName);
}
