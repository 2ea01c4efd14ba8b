// A stand-alone driver of the upload command, for tests and benchmarks run
// without the whole simulator: camsim_upload_cli upload --server ... FILE...
#include <cstdio>
#include <cstring>

#include "upload_command.h"

int main(int argc, char **argv) {
  if (argc < 2 || std::strcmp(argv[1], "upload") != 0) {
    std::fprintf(stderr, "usage: camsim_upload_cli upload --server HOST[:PORT] FILE...\n");
    return 2;
  }
  return CamsimUploadMain(argc - 1, argv + 1);
}
