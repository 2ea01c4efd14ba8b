// "camsim upload": the camera's direct upload to the PC's upload server.
#pragma once

// argv[0] is "upload"; returns the process exit code (0 when every file
// was stored, 1 on a failure, 2 on a usage error).
int CamsimUploadMain(int argc, char **argv);
