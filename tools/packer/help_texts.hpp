// The tool's help texts, one per command.
#pragma once

namespace tools::help {

inline constexpr const char* general =
    "usage: packer COMMAND [OPTIONS]\n"
    "\n"
    "Builds, lists, verifies and extracts installers made of Reader.exe and a payload.\n"
    "\n"
    "commands:\n"
    "  build    make an installer from Reader.exe, files and values\n"
    "  list     show the groups of an installer in reading order\n"
    "  verify   check that an installer reads completely with every digest matching\n"
    "  extract  unpack what Reader.exe would unpack, without running anything\n"
    "\n"
    "\"packer COMMAND --help\" describes a command. Exit status: 0 success, 1 failure,\n"
    "2 command line not understood.\n";

inline constexpr const char* build =
    "usage: packer build --stub READER.EXE --output INSTALLER.EXE\n"
    "                    [--file NAME=PATH [--as FILE_NAME]] [--value NAME=TEXT] ...\n"
    "\n"
    "Writes an installer: the stub group with the image of READER.EXE, then one group per\n"
    "--file and --value in the order given (the last one given is read first), then the\n"
    "tail record. The same inputs always give the same bytes. The installer is written to\n"
    "INSTALLER.EXE.partial and renamed when complete, so a failed build leaves nothing\n"
    "half-written. Sign the installer after building it, never the stub before.\n"
    "\n"
    "  --stub PATH         the plain Reader.exe (unsigned, without a container)\n"
    "  --output PATH, -o   the installer to write\n"
    "  --file NAME=PATH    store the file at PATH; NAME (may be empty) becomes a value\n"
    "                      holding the stored file name, e.g. installer32=QZVPROSetup.exe\n"
    "  --as FILE_NAME      store the preceding --file under FILE_NAME instead of the\n"
    "                      base name of its path\n"
    "  --value NAME=TEXT   store a value, e.g. executable32=%installer32%\n"
    "\n"
    "Refused: a stub that already holds a container or carries a signature, stored file\n"
    "names that are not plain file names, names or stored file names given twice,\n"
    "unreadable inputs, and an installer of 4 GiB or more.\n";

inline constexpr const char* list =
    "usage: packer list [--json] INSTALLER.EXE\n"
    "\n"
    "Shows the groups of the installer's container in the order Reader.exe reads them:\n"
    "kind, name, stored file name, size of the data, and whether every record of the\n"
    "group matches its digest. Damage does not stop the listing. Signed installers list\n"
    "like unsigned ones. Exit status 0 when the container reads completely, else 1.\n"
    "\n"
    "  --json   one JSON object instead of the table\n";

inline constexpr const char* verify =
    "usage: packer verify INSTALLER.EXE\n"
    "\n"
    "Exit status 0 when the installer's container reads completely, from the tail record\n"
    "to the stub group, with every record matching its digest and every stored file name\n"
    "plain; otherwise 1, with the reasons on standard error.\n";

inline constexpr const char* extract =
    "usage: packer extract INSTALLER.EXE DIR\n"
    "\n"
    "Unpacks into DIR (created if missing) what Reader.exe would unpack into its working\n"
    "directory, and prints the paths of the files written. Nothing is run. Exit status 0\n"
    "when the whole container was read and verified, else 1.\n";

}  // namespace tools::help
