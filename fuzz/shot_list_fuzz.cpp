// A shot list file as the camera leaves it on the card: the line reader and
// every reader of the list, on a Japanese and on a Western system.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_input.h"
#include "list_file.h"
#include "list_line_reader.h"

namespace {

bool IsCp932LeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool NoLeadBytes(unsigned char) { return false; }

std::string g_path;  // one file per fuzzing process, rewritten for every input

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  const char *folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  g_path = std::string(folder) + "/lumo-shot-list-fuzz-" + std::to_string(getpid()) + ".lst";
  std::atexit([] { std::remove(g_path.c_str()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput input(data, size);
  const bool japanese = input.Byte() & 1;
  const std::vector<uint8_t> file = input.Rest();
  std::FILE *out = std::fopen(g_path.c_str(), "wb");
  if (!out) return 0;
  std::fwrite(file.data(), 1, file.size(), out);
  std::fclose(out);

  unsigned warnings = 0;
  const ListContext context{japanese ? TextLocale{IsCp932LeadByte, kLanguageJapanese} : TextLocale{NoLeadBytes, 0x0409},
                            [&](const std::string &, const std::string &) { ++warnings; }};
  ListLineReader reader(context.warn);
  if (reader.Open(g_path)) {
    std::string line;
    unsigned last = 0;
    while (const unsigned number = reader.ReadLine(line)) {
      if (number <= last || line.empty() || line.size() >= ListLineReader::kBlockSize) __builtin_trap();
      last = number;
    }
    reader.Close();
  }
  const std::string title = ReadListTitle(g_path, context);
  const std::vector<std::string> cuts = ReadCutTitles(g_path, context);
  if (CountCutTitles(g_path, context) != cuts.size()) __builtin_trap();
  for (const std::string &path : ReadImagePaths(g_path, title, cuts.empty() ? "" : cuts.front(), context))
    Use(path.size());
  Use(warnings);
  return 0;
}
