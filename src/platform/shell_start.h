#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// How the shell adapter carries out an "open" so that what the user typed
// reaches the started program exactly: a program named by its full path is
// started directly, with no command interpreter and no variable expansion in
// between; documents, folders and everything else go to the shell.
namespace tavi {

// UTF-16 code units of a UTF-8 text: the length the system's path limits count.
size_t Utf16Length(std::string_view utf8);

// A file path the system's own calls refuse: MAX_PATH (260) units with the
// terminating NUL. Such a path is started by its short (8.3) name.
bool FilePathTooLong(std::string_view path);
// A working folder the system cannot enter: it must leave room for an 8.3
// file name (248 units, the limit of CreateDirectory and SetCurrentDirectory).
bool FolderPathTooLong(std::string_view path);

// A drive-relative "C:" becomes its root "C:\": as a working folder "C:"
// would mean whatever folder was last current on that drive.
std::string WorkingFolder(std::string_view directory);

// A folder without its closing "\" (a drive root keeps it): the shell puts
// the path into a command line as "%1", where "\" before the closing quote
// would escape the quote and swallow the rest of the line into the argument.
std::string ShellFileName(std::string_view file);

// True when `file` names a program the adapter starts itself: the verb is
// "open" (or empty), the path is a full one (drive or network) without
// quotes, and it ends in ".exe" or ".com". Batch files, shortcuts and
// documents need the shell.
bool IsDirectProgram(std::string_view verb, std::string_view file);
// A bare program name ("explorer.exe"): started directly once the system's
// search has found it, so its parameters are not expanded either.
bool IsBareProgramName(std::string_view verb, std::string_view file);

// The command line a program is started with: its path in double quotes
// (a path cannot hold one), then a blank and the parameters exactly as given.
std::string ProgramCommandLine(std::string_view program, std::string_view parameters);

// The shell's result code for a system error of a direct start, as the shell
// itself reports a failed start: 0 when out of memory, its own codes for a
// missing file or path, denied access, a bad format or a sharing violation,
// else 31.
int ShellResultForStartError(uint32_t error);

}  // namespace tavi
