#include "console_report.h"

#include "result_text.h"

ExitCode ReportError(const std::string &message, ExitCode code) {
  std::fprintf(stderr, "camctl: %s\n", message.c_str());
  return code;
}

ExitCode ReportCameraError(const std::string &action, ZLXRESULT result, const char *hint) {
  std::fprintf(stderr, "%s\n", ResultErrorLine(action, result, hint).c_str());
  return ExitCodeForResult(result);
}

bool AskYesNo(const std::string &question, std::FILE *in, std::FILE *out) {
  std::fprintf(out, "%s [y/N] ", question.c_str());
  std::fflush(out);
  char answer[64];
  if (!std::fgets(answer, sizeof answer, in)) {
    std::fputc('\n', out);
    return false;
  }
  return answer[0] == 'y' || answer[0] == 'Y';
}
