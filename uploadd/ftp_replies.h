// The server's reply texts. Some codes are not the usual FTP ones (220 for
// PORT, 332 for PASS): the camera's client expects exactly these.
#pragma once

namespace ftp_reply {

inline constexpr const char kGreeting[] = "220 Lumo ftpd 1.0 FTP Server ready.\r\n";
inline constexpr const char kCantChangeUser[] = "530 Can't change user from guest login.\r\n";
inline constexpr const char kLoginIncorrect[] = "530 Login incorrect.\r\n";
inline constexpr const char kGuestLoginOk[] = "331 Guest login ok, send your password.\r\n";
inline constexpr const char kPasswordOk[] = "332 Password ok, send your account.\r\n";
inline constexpr const char kAccountOkFormat[] = "230 Account \"%s\" ok. access restrictions apply.\r\n";
inline constexpr const char kClosing[] = "221-Closing control connection.\r\n";
inline constexpr const char kGoodBye[] = "221 Good-bye.\r\n";
inline constexpr const char kPortOk[] = "220 PORT command successful.\r\n";
inline constexpr const char kPortSyntax[] = "501 PORT command syntax error.\r\n";
inline constexpr const char kStorSyntax[] = "501 STOR command syntax error.\r\n";
inline constexpr const char kBadFileNameFormat[] = "553 %s: File name not allowed.\r\n";
inline constexpr const char kCantOpenData[] = "425 Can't open data connection.\r\n";
inline constexpr const char kOpeningDataFormat[] = "150 Opening BINARY mode data connection for %s\r\n";
inline constexpr const char kCantCreateFile[] = "450 Can't create destination file.\r\n";
inline constexpr const char kTransferComplete[] = "226 Transfer complete.\r\n";
inline constexpr const char kTransferAborted[] = "426 Transfer aborted. Data connection closed.\r\n";
inline constexpr const char kAbortOk[] = "226 Abort successful.\r\n";
inline constexpr const char kCwdSyntax[] = "501 CWD command syntax error.\r\n";
inline constexpr const char kCwdOk[] = "250 CWD command successful.\r\n";
inline constexpr const char kNoSuchDirectoryFormat[] = "550 %s: No such file or directory.\r\n";
inline constexpr const char kNotSupported[] = "421-Request not supported.\r\n";
inline constexpr const char kNotSupportedClosing[] = "421-Closing control connection.\r\n";
inline constexpr const char kNotSupportedGoodBye[] = "421 Good-bye.\r\n";

}  // namespace ftp_reply
