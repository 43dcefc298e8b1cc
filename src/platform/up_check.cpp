#include "platform/up_check.h"

#include "platform/messages.h"
#include "platform/program_identity.h"
#include "platform/text.h"

namespace tavi {
namespace {

std::string_view Description(UpCheckError::Code code) {
    switch (code) {
        case UpCheckError::NotInstalled: return text::kUpCheckNotInstalled;
        case UpCheckError::NoMailAddress: return text::kUpCheckNoMailAddress;
        case UpCheckError::NoAuthor: return text::kUpCheckNoAuthor;
        case UpCheckError::NoInfoUrl: return text::kUpCheckNoInfoUrl;
        case UpCheckError::NoName: return text::kUpCheckNoName;
        case UpCheckError::NegativeIconIndex: return text::kUpCheckNegativeIcon;
        case UpCheckError::RegistryFailure: return text::kUpCheckRegistryError;
    }
    return text::kUpCheckRegistryError;
}

}  // namespace

UpCheckError::UpCheckError(Code code) : std::runtime_error(std::string(Description(code))), code_(code) {}

UpCheck::UpCheck(Registry& registry, ProgramVersion version, std::string programFolder, std::string exeName)
    : registry_(registry),
      version_(std::move(version)),
      programFolder_(std::move(programFolder)),
      exeName_(std::move(exeName)) {}

int32_t UpCheck::DefaultBuild(const ProgramVersion& v) {
    // In 32 bits: 16 would overflow from version 3.27.68 on.
    return v.major * 10000 + v.minor * 100 + v.revision;
}

void UpCheck::SetFilePath(int flag) {
    if (flag == -1)
        filePath_ = AddBackslash(programFolder_) + exeName_ + ".EXE";
    else if (flag == 0)
        filePath_.clear();
}

void UpCheck::Require(bool condition, UpCheckError::Code code) const {
    if (!condition) throw UpCheckError(code);
}

std::string UpCheck::DeveloperKey() const { return std::string(kUpCheckRoot) + "\\" + MailAddress; }

std::string UpCheck::ProgramName() const { return DistinctName.empty() ? version_.productName : DistinctName; }

bool UpCheck::InstalledUpCheck() { return registry_.KeyExists(RegistryRoot::CurrentUser, kUpCheckRoot); }

void UpCheck::InfoURL(const std::string& url, uint8_t id) {
    if (id < 2) {
        infoUrl_ = url;
        return;
    }
    Require(InstalledUpCheck(), UpCheckError::NotInstalled);
    Require(!MailAddress.empty(), UpCheckError::NoMailAddress);
    Require(!url.empty(), UpCheckError::NoInfoUrl);
    const std::string key = DeveloperKey();
    Require(registry_.CreateKey(RegistryRoot::CurrentUser, key), UpCheckError::RegistryFailure);
    Require(registry_.WriteText(RegistryRoot::CurrentUser, key, std::to_string(id) + "InfoURL", url),
            UpCheckError::RegistryFailure);
}

void UpCheck::WriteData() {
    Require(InstalledUpCheck(), UpCheckError::NotInstalled);
    Require(!MailAddress.empty(), UpCheckError::NoMailAddress);
    Require(!Author.empty(), UpCheckError::NoAuthor);
    Require(!infoUrl_.empty(), UpCheckError::NoInfoUrl);
    if (DistinctName.empty()) DistinctName = version_.productName;
    Require(!DistinctName.empty(), UpCheckError::NoName);
    Require(IconIndex >= 0, UpCheckError::NegativeIconIndex);
    if (Build < 1) Build = DefaultBuild(version_);

    constexpr RegistryRoot user = RegistryRoot::CurrentUser;
    auto text = [&](const std::string& key, const char* name, const std::string& value) {
        Require(registry_.WriteText(user, key, name, value), UpCheckError::RegistryFailure);
    };
    auto number = [&](const std::string& key, const char* name, int32_t value) {
        Require(registry_.WriteNumber(user, key, name, static_cast<uint32_t>(value)), UpCheckError::RegistryFailure);
    };

    const std::string developer = DeveloperKey();
    Require(registry_.CreateKey(user, developer), UpCheckError::RegistryFailure);
    text(developer, "Author", Author);
    text(developer, "InfoURL", infoUrl_);
    if (!DisplayHost.empty()) text(developer, "DisplayHost", DisplayHost);

    const std::string program = developer + "\\" + DistinctName;
    Require(registry_.CreateKey(user, program), UpCheckError::RegistryFailure);
    text(program, "DistinctName", DistinctName);
    number(program, "Build", Build);
    if (IconIndex > 0) number(program, "IconIndex", IconIndex);
    if (!filePath_.empty()) text(program, "FilePath", filePath_);
    if (!DisplayName.empty()) text(program, "DisplayName", DisplayName);
}

bool UpCheck::CheckNewVer() {
    Require(!MailAddress.empty(), UpCheckError::NoMailAddress);
    const std::string name = ProgramName();
    Require(!name.empty(), UpCheckError::NoName);
    const int64_t current = Build > 0 ? Build : DefaultBuild(version_);
    const std::string program = DeveloperKey() + "\\" + name;
    Require(registry_.KeyExists(RegistryRoot::CurrentUser, program), UpCheckError::RegistryFailure);
    // The checker writes these as 32-bit numbers; one it has not written is 0.
    auto read = [&](const char* value) -> int64_t {
        return static_cast<int32_t>(registry_.ReadNumber(RegistryRoot::CurrentUser, program, value).value_or(0));
    };
    const int64_t latest = read("LatestBuild");
    const int64_t next = read("NextBuild");
    return current < latest && !(next != 0 && current >= next);
}

UpdateContact UpdateContactFor(std::string_view homeUrl, std::string_view mail, std::string_view infoUrl) {
    // "https://host/path" gives "host".
    std::string_view host = homeUrl;
    if (const size_t scheme = host.find("://"); scheme != std::string_view::npos) host.remove_prefix(scheme + 3);
    host = host.substr(0, host.find('/'));
    return {std::string(mail), std::string(host), std::string(infoUrl)};
}

UpdateContact UpdateContactOfBuild() { return UpdateContactFor(kHomeUrl, kSupportMail, kUpdateInfoUrl); }

void RegisterUpCheck(Registry& registry, MessageBoxes& messages, const ProgramVersion& version,
                     const std::string& programFolder, const std::string& exeName, const UpdateContact& contact) {
    if (contact.mail.empty() || contact.infoUrl.empty()) return;
    UpCheck check(registry, version, programFolder, exeName);
    if (!check.InstalledUpCheck()) return;
    check.MailAddress = contact.mail;
    check.Author = kPublisher;
    check.Build = 0;
    check.DisplayHost = contact.host;
    check.DisplayName = text::kAppTitle;
    check.SetFilePath(-1);
    check.InfoURL(contact.infoUrl, 1);
    // Each step is tried on its own: a registration that failed must not keep
    // a known newer build from being announced, and a failed check announces nothing.
    try {
        check.WriteData();
    } catch (const UpCheckError&) {
    }
    bool newer = false;
    try {
        newer = check.CheckNewVer();
    } catch (const UpCheckError&) {
    }
    if (newer)
        messages.Show({std::string(text::kNewerVersionExists), std::string(text::kMessageCaption),
                       MessageIcon::Information, MessageButtons::Ok});
}

}  // namespace tavi
