#include "dialogs/file_information.h"

#include "platform/messages.h"
#include "app/number_format.h"
#include "platform/text.h"
#include "dialogs/icon_change.h"

namespace tavi {
namespace {

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// A registry default value that names something; an empty one names nothing.
std::optional<std::string> ClassDefault(Registry& registry, const std::string& key) {
    if (key.empty()) return std::nullopt;
    auto value = registry.ReadText(RegistryRoot::ClassesRoot, key, "");
    if (!value || value->empty()) return std::nullopt;
    return value;
}

std::optional<FileFacts> OpenWithRetry(FileDetails& details, const std::string& path) {
    for (int attempt = 1; attempt <= kFileOpenAttempts; ++attempt) {
        if (auto facts = details.Open(path)) return facts;
        // Another program may hold the file for a moment; after the last
        // attempt there is nothing to wait for.
        if (attempt < kFileOpenAttempts) details.Wait(kFileOpenRetryMs);
    }
    return std::nullopt;
}

}  // namespace

std::string GetTypeName(const std::string& path, FileDetails& details, Registry& registry) {
    if (const auto attributes = details.Attributes(path)) {
        const size_t length = CharCount(path);
        if (length >= 9 && LowerAscii(CharMid(path, length - 9)) == "\\recycled") return std::string(text::kTypeRecycleBin);
        if (*attributes & kAttributeDirectory) return std::string(text::kTypeFolder);
    }
    const std::string extension = GetExtension(path);
    if (extension.empty()) return std::string(text::kTypeFile);
    if (const auto className = ClassDefault(registry, extension))
        if (const auto description = ClassDefault(registry, *className)) return *description;
    return ToUpperAscii(extension.substr(1)) + " " + std::string(text::kTypeFile);
}

std::string FormatFileTime(const FileStamp& t) {
    const int weekday = t.dayOfWeek >= 0 && t.dayOfWeek < 7 ? t.dayOfWeek : 0;
    return Fill(text::kFileDate, {{"year", std::to_string(t.year)},
                                  {"month", std::to_string(t.month)},
                                  {"day", std::to_string(t.day)},
                                  {"weekday", text::kDateWeekdays[weekday]},
                                  {"hour", std::to_string(t.hour)},
                                  {"minute", std::to_string(t.minute)},
                                  {"second", std::to_string(t.second)}});
}

std::string FormatFileSize(uint64_t bytes, std::string_view separator) {
    return GroupThousandsBlankZero(bytes, separator) + std::string(text::kFileInfoBytes);
}

std::string FolderOfPath(std::string_view path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? std::string() : std::string(path.substr(0, separator));
}

FileInformationView FileInformationFrame(const LaunchEntry& entry) {
    const std::string unknown(text::kFileInfoUnknown);
    FileInformationView view;
    view.fileName = unknown;
    view.place.fill(unknown);
    view.access.fill(unknown);
    view.iconPath = TrimSpaces(entry.IconPath);
    view.iconIndex = IconNumberOf(entry.IconIndex);

    const std::string path = TrimSpaces(entry.PathName);
    view.fileName = GetFileName(path);
    view.caption = TrimSpaces(view.fileName) + std::string(text::kFileInfoCaptionSuffix);
    if (path.find_first_of("\\/") != std::string::npos) view.place[1] = FolderOfPath(path);
    return view;
}

void FileInformationRead(FileInformationView& view, const LaunchEntry& entry, FileDetails& details, Registry& registry,
                         std::string_view separator) {
    const std::string path = TrimSpaces(entry.PathName);
    view.place[0] = GetTypeName(path, details, registry);
    const std::string shortPath = details.ShortPath(path);
    if (!shortPath.empty()) view.access[0] = GetFileName(shortPath);

    const auto facts = OpenWithRetry(details, path);
    if (!facts) return;
    static constexpr uint32_t kBits[] = {kAttributeReadOnly, kAttributeHidden, kAttributeArchive, kAttributeSystem,
                                         kAttributeCompressed};
    for (size_t i = 0; i < view.attributes.size(); ++i) view.attributes[i] = (facts->attributes & kBits[i]) != 0;
    const std::optional<FileStamp>* times[] = {&facts->created, &facts->modified, &facts->accessed};
    for (size_t i = 0; i < 3; ++i)
        if (*times[i]) view.access[i + 1] = FormatFileTime(**times[i]);
    view.place[2] = FormatFileSize(facts->size, separator);
}

FileInformationView FileInformationLoad(const LaunchEntry& entry, FileDetails& details, Registry& registry,
                                      std::string_view separator) {
    FileInformationView view = FileInformationFrame(entry);
    FileInformationRead(view, entry, details, registry, separator);
    return view;
}

}  // namespace tavi
