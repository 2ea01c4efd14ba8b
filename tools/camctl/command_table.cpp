#include "command_table.h"

namespace {

const CommandInfo kCommands[] = {
    {CommandId::Info, "info", "", "show the camera model and protocol version",
     "Opens the camera and prints its model and the protocol version agreed with it.\n", 0, 0, 0, true},
    {CommandId::Drives, "drives", "", "list the drives with capacity and free space",
     "Prints one line per drive: number, name, whether it is present, capacity and\n"
     "free space in bytes.\n",
     0, 0, 0, true},
    {CommandId::Ls, "ls", "[-R] [PATH]", "list a folder (default 0:/)",
     "Prints one line per entry: attributes, date, size in bytes and name (folders end\n"
     "in \"/\"). PATH may name a single file. -R lists sub-folders recursively.\n",
     0, 1, kOptionRecursive, true},
    {CommandId::Get, "get", "CAMERA-PATH [LOCAL]", "fetch a file or a whole folder",
     "Receives a camera file, or a folder with everything below it, into LOCAL\n"
     "(default: the current folder). An existing local folder receives the item\n"
     "under its camera name. Existing local files are overwritten.\n",
     1, 2, 0, true},
    {CommandId::Put, "put", "[--replace] LOCAL CAMERA-FOLDER", "send a file or folder into a camera folder",
     "Sends a local file (or a folder with everything below it) into CAMERA-FOLDER\n"
     "under its own name. An existing camera file is refused unless --replace is\n"
     "given. Camera names are at most 12 characters (8.3 form).\n",
     2, 2, kOptionReplace, true},
    {CommandId::Thumb, "thumb", "CAMERA-PATH [LOCAL]", "fetch the thumbnail of a picture",
     "Receives the thumbnail of a camera picture into LOCAL (default: the picture's\n"
     "name with \"_thumb.jpg\" in place of its extension, in the current folder).\n",
     1, 2, 0, true},
    {CommandId::Rm, "rm", "[-f] CAMERA-PATH...", "erase files",
     "Erases camera files; a name may hold the wildcards * and ?. Folders are\n"
     "refused (use rmdir). -f also erases read-only files.\n",
     1, kUnlimitedOperands, kOptionForce, true},
    {CommandId::Rmdir, "rmdir", "CAMERA-FOLDER...", "erase folders with everything in them",
     "Erases camera folders recursively, files and sub-folders first.\n", 1, kUnlimitedOperands, 0, true},
    {CommandId::Mkdir, "mkdir", "CAMERA-FOLDER...", "create folders",
     "Creates camera folders; their parent folders must exist. A folder name is at\n"
     "most 12 characters.\n",
     1, kUnlimitedOperands, 0, true},
    {CommandId::Mv, "mv", "SOURCE DESTINATION", "rename or move a file or folder",
     "Renames SOURCE when DESTINATION is a new name in the same folder; otherwise\n"
     "moves it into the folder DESTINATION (a file may also take a new name there).\n",
     2, 2, 0, true},
    {CommandId::Cp, "cp", "SOURCE DESTINATION", "copy a file or folder inside the camera",
     "Copies a camera file to the path DESTINATION, or into the folder DESTINATION\n"
     "when it ends in \"/\"; a folder is copied with its contents into DESTINATION.\n",
     2, 2, 0, true},
    {CommandId::Attr, "attr", "CAMERA-PATH [ATTRIBUTES]", "show or set attributes",
     "Without ATTRIBUTES prints the attributes of the file or folder. ATTRIBUTES is\n"
     "a number (0x21), letters out of r h s a (\"ra\"), changes (+r, -r, +r-a) or \"-\"\n"
     "for none. r read-only 0x01, h hidden 0x02, s system 0x04, a archive 0x20.\n"
     "Write \"-- -h\" to clear the hidden bit (-h alone asks for help).\n",
     1, 2, 0, true},
    {CommandId::Format, "format", "DRIVE", "format drive 1 or 2 (asks first)",
     "Formats a camera drive, erasing everything on it. Asks for confirmation\n"
     "unless --yes is given. Drive 0 (internal memory) cannot be formatted.\n",
     1, 1, 0, true},
    {CommandId::ConfigGet, "config-get", "FILE", "save the camera configuration to FILE",
     "Receives the camera's configuration and writes it unchanged to FILE\n"
     "(\"-\" writes it to standard output).\n",
     1, 1, 0, true},
    {CommandId::ConfigSet, "config-set", "FILE", "restore the camera configuration from FILE",
     "Sends the contents of FILE, a configuration saved with config-get, to the\n"
     "camera.\n",
     1, 1, 0, true},
    {CommandId::StampSizes, "stamp-sizes", "", "show the camera's stamp size table",
     "Prints the eight entries of the camera's stamp size table, two 16-bit values\n"
     "and one 32-bit value each.\n",
     0, 0, 0, true},
    {CommandId::Settings, "settings", "[DEVICE [ADDRESS]]", "show or set the stored connection settings",
     "Without operands prints the stored device and camera address. DEVICE is LAN\n"
     "(ADDRESS required), USB or COM1 to COM9 (the camera is then reached through\n"
     "the virtual server at 127.0.0.1, the default ADDRESS).\n",
     0, 2, 0, false},
    {CommandId::Help, "help", "[COMMAND]", "show help for camctl or a command", "", 0, 1, 0, false},
};

}  // namespace

const CommandInfo *FindCommand(const std::string &name) {
  for (const CommandInfo &command : kCommands)
    if (name == command.name) return &command;
  return nullptr;
}

const CommandInfo *AllCommands(int &count) {
  count = static_cast<int>(sizeof kCommands / sizeof kCommands[0]);
  return kCommands;
}
