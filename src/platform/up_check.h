#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/message_box.h"
#include "platform/registry.h"

// `UpCheck`: the program's record in the registry tree of an outside update
// checker ("Software\Upcheck" under the current user), and whether the
// checker has seen a newer build. The registry is the whole interface.
namespace tavi {

inline constexpr const char* kUpCheckRoot = "Software\\Upcheck";
inline constexpr uint32_t kUpCheckErrorBase = 0x80040000;

// The program's version resource.
struct ProgramVersion {
    std::string productName;
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// A numbered failure of UpCheck; Number() is the error base plus the code.
class UpCheckError : public std::runtime_error {
public:
    enum Code {
        NotInstalled = 1,
        NoMailAddress = 2,
        NoAuthor = 3,
        NoInfoUrl = 4,
        NoName = 5,
        NegativeIconIndex = 6,
        RegistryFailure = 10,
    };
    explicit UpCheckError(Code code);
    Code code() const { return code_; }
    uint32_t Number() const { return kUpCheckErrorBase + static_cast<uint32_t>(code_); }

private:
    Code code_;
};

class UpCheck {
public:
    // `programFolder` and `exeName` (without ".EXE") name the program's own file.
    UpCheck(Registry& registry, ProgramVersion version, std::string programFolder, std::string exeName);

    std::string MailAddress;
    std::string Author;
    std::string DisplayHost;
    std::string DisplayName;
    std::string DistinctName;
    int32_t Build = 0;
    int32_t IconIndex = 0;

    // -1 stores the program's own path, 0 clears it, other values change nothing.
    void SetFilePath(int flag);
    const std::string& FilePath() const { return filePath_; }
    // Ids 0 and 1 set the primary address; 2..255 write theirs to the registry at once.
    void InfoURL(const std::string& url, uint8_t id);
    bool InstalledUpCheck();
    bool CheckNewVer();
    void WriteData();

    // major × 10000 + minor × 100 + revision.
    static int32_t DefaultBuild(const ProgramVersion& version);

private:
    std::string DeveloperKey() const;
    std::string ProgramName() const;
    void Require(bool condition, UpCheckError::Code code) const;

    Registry& registry_;
    ProgramVersion version_;
    std::string programFolder_;
    std::string exeName_;
    std::string filePath_;
    std::string infoUrl_;
};

// Where the checker finds us: the mail address that names our key, the web
// host it shows and our update information file.
struct UpdateContact {
    std::string mail;
    std::string host;
    std::string infoUrl;
};
// From the web page's address (its host is shown), the mail address and the
// information file's address.
UpdateContact UpdateContactFor(std::string_view homeUrl, std::string_view mail, std::string_view infoUrl);
// The addresses this build was given; empty where it was given none.
UpdateContact UpdateContactOfBuild();

// The registration the bar makes once at start: when the checker is
// installed, our identity is written and a newer build is announced. Every
// failure is ignored; without the checker, or without a mail address and an
// information file to give it, nothing is written.
void RegisterUpCheck(Registry& registry, MessageBoxes& messages, const ProgramVersion& version,
                     const std::string& programFolder, const std::string& exeName, const UpdateContact& contact);

}  // namespace tavi
