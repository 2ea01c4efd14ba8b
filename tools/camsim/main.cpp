// camsim: the simulated Lumo camera. Subcommands: serve (the default) and,
// when built in, upload and serial.
#include <cstring>

#include "serve_command.h"

#ifdef CAMSIM_HAS_UPLOAD
#include "upload/upload_command.h"
#endif
#ifdef CAMSIM_HAS_SERIAL
#include "serial/serial_command.h"
#endif

int main(int argc, char **argv) {
  if (argc > 1 && std::strcmp(argv[1], "serve") == 0) return ServeMain(argc - 2, argv + 2);
#ifdef CAMSIM_HAS_UPLOAD
  if (argc > 1 && std::strcmp(argv[1], "upload") == 0) return CamsimUploadMain(argc - 1, argv + 1);
#endif
#ifdef CAMSIM_HAS_SERIAL
  if (argc > 1 && std::strcmp(argv[1], "serial") == 0) return CamsimSerialMain(argc - 2, argv + 2);
#endif
  return ServeMain(argc - 1, argv + 1);
}
