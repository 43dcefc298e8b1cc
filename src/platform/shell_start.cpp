#include "platform/shell_start.h"

#include "platform/text.h"

namespace tavi {
namespace {

constexpr size_t kMaxPath = 260;
constexpr size_t kMaxFolder = 248;

bool IsFullPath(std::string_view path) {
    const bool drive = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                       path[1] == ':' && path[2] == '\\';
    const bool network = path.size() > 2 && path[0] == '\\' && path[1] == '\\';
    return drive || network;
}

bool IsOpenVerb(std::string_view verb) { return verb.empty() || ToUpperAscii(verb) == "OPEN"; }

bool HasProgramExtension(std::string_view file) {
    const std::string extension = ToUpperAscii(GetExtension(file));
    return extension == ".EXE" || extension == ".COM";
}

}  // namespace

size_t Utf16Length(std::string_view utf8) {
    size_t units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
        units += byte >= 0xF0 ? 2 : 1;        // four-byte sequences need a surrogate pair
    }
    return units;
}

bool FilePathTooLong(std::string_view path) { return Utf16Length(path) + 1 > kMaxPath; }

bool FolderPathTooLong(std::string_view path) { return Utf16Length(path) >= kMaxFolder; }

std::string WorkingFolder(std::string_view directory) {
    if (directory.size() == 2 && directory[1] == ':') return std::string(directory) + "\\";
    return std::string(directory);
}

std::string ShellFileName(std::string_view file) {
    size_t end = file.size();
    while (end > 0 && file[end - 1] == '\\') --end;
    // "C:\" and "\\" stay as they are: "C:" alone is the drive's current folder.
    if (end == file.size() || end == 0 || (end == 2 && file[1] == ':')) return std::string(file);
    return std::string(file.substr(0, end));
}

bool IsDirectProgram(std::string_view verb, std::string_view file) {
    return IsOpenVerb(verb) && IsFullPath(file) && !Contains(file, "\"") && HasProgramExtension(file);
}

bool IsBareProgramName(std::string_view verb, std::string_view file) {
    return IsOpenVerb(verb) && !file.empty() && file.find_first_of("\\/:\"") == std::string_view::npos &&
           HasProgramExtension(file);
}

std::string ProgramCommandLine(std::string_view program, std::string_view parameters) {
    std::string line = "\"" + std::string(program) + "\"";
    if (!parameters.empty()) line += " " + std::string(parameters);
    return line;
}

int ShellResultForStartError(uint32_t error) {
    switch (error) {
        case 8:   // ERROR_NOT_ENOUGH_MEMORY
        case 14:  // ERROR_OUTOFMEMORY
            return 0;
        case 2:  // ERROR_FILE_NOT_FOUND
        case 3:  // ERROR_PATH_NOT_FOUND
        case 5:  // ERROR_ACCESS_DENIED
        case 11: // ERROR_BAD_FORMAT
            return static_cast<int>(error);
        case 193: return 11;  // ERROR_BAD_EXE_FORMAT: SE_ERR_BAD_FORMAT
        case 32: return 26;   // ERROR_SHARING_VIOLATION: SE_ERR_SHARE
        default: return 31;
    }
}

}  // namespace tavi
