#pragma once
// Exit codes of the installer runtime, for scripts that run it unattended (/S). The README
// lists them too.

namespace sw {

enum InstallerExitCode : int {
    kExitSuccess = 0,
    kExitCancelled = 1,    // the user (or a missing answer) stopped the installation
    kExitInvalidData = 2,  // the program's length, records or a stream are damaged
    kExitWriteFailed = 3,  // a folder or file of the installation could not be written
    kExitCrcError = 4,     // a file's check value does not match its data
    kExitVolumeMissing = 5,  // a follow-on volume (SETUP.D01, ...) is not beside the program
    kExitRebootNeeded = 6,   // installed, but a file in use is replaced only at the next start
    kExitInvalidDirectory = 7,  // unattended: the directory (/D= or the proposed one) is relative or not a valid path
};

}  // namespace sw
