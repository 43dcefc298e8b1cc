#pragma once
#include <map>
#include <memory>
#include <string>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/profile.h"

namespace tavi {

// INI files with the semantics of the system's profile functions as Wine
// implements them: every call loads the whole file, and a change rewrites it
// whole from its parsed form (CR LF line ends, blank lines dropped). Files
// without a byte order mark are in `codePage`. Paths go to `files` as given,
// so pass full paths (the system would look for a bare name in the Windows
// folder).
//
// With `keepUnicode`, text the code page cannot hold is not written as "?":
// such a file is written in UTF-16 with a byte order mark, the form the
// system's profile functions read and write without loss. A file whose text
// the code page holds stays in it, byte for byte as the system writes it.
class IniProfile final : public Profile {
public:
    IniProfile(FileSystem& files, CodePage& codePage, bool keepUnicode = false);
    ~IniProfile() override;

    std::string GetString(const std::string& file, const std::string& section, const std::string& key) override;
    [[nodiscard]] bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                                   const std::string& value) override;
    [[nodiscard]] bool DeleteKey(const std::string& file, const std::string& section, const std::string& key) override;
    [[nodiscard]] bool DeleteSection(const std::string& file, const std::string& section) override;
    ReadOutcome FileOutcome(const std::string& file) override;
    void BeginBatch() override;
    [[nodiscard]] bool EndBatch() override;

    struct CachedFile;
    struct ParsedFile;

private:
    CachedFile* Open(const std::string& path);
    // Ends the calls on a file; keeps its parse if it was not changed.
    void Release(const std::string& path);
    void ReleaseAll();
    // Asks, in a batch, whether the file reads back as it is before its first change.
    void BeforeChange(CachedFile& file);
    // Ends a call that changed the file; `linesReadBack`: the lines it changed
    // read back as they are in memory.
    bool Changed(const std::string& path, CachedFile& file, bool linesReadBack);
    // Ends a call that wrote nothing (false: the file could not be read).
    bool Unchanged(const std::string& path, bool result = false);

    FileSystem& files_;
    CodePage& codePage_;
    bool keepUnicode_;
    int batchDepth_ = 0;
    bool batchFailed_ = false;
    std::map<std::string, std::unique_ptr<CachedFile>> cache_;  // only while a batch is open
    std::map<std::string, std::unique_ptr<ParsedFile>> parsed_;  // files read whole, between calls
};

}  // namespace tavi
