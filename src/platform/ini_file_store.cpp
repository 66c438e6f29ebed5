#include "platform/ini_file_store.h"

#include "platform/utf8.h"

namespace vellumar {

namespace {

std::string FolderPart(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

IniFileStore::Loaded IniFileStore::ReadNow(const std::string& path) {
    Loaded loaded;
    std::string bytes;
    loaded.status = files_.ReadFile(path, bytes);
    if (loaded.status == FileStatus::Ok)
        loaded.text = IniText::FromBytes(bytes);
    return loaded;
}

const IniFileStore::Loaded& IniFileStore::Load(const std::string& path) {
    auto it = cache_.find(path);
    if (it == cache_.end())
        it = cache_.emplace(path, ReadNow(path)).first;
    else if (it->second.status == FileStatus::Locked)
        it->second = ReadNow(path);
    return it->second;
}

std::string IniFileStore::Read(const std::string& path, std::string_view section,
                               std::string_view key, int capacity) {
    if (capacity <= 0)
        return {};
    const std::string value = Load(path).text.Get(section, key).value_or(std::string());
    return std::string(Utf8Prefix(value, static_cast<std::size_t>(capacity - 1)));
}

bool IniFileStore::Write(const std::string& path, std::string_view section, std::string_view key,
                         std::string_view value) {
    return WriteAll(path, {IniEntry{std::string(section), std::string(key), std::string(value)}}) ==
           FileStatus::Ok;
}

FileStatus IniFileStore::WriteAll(const std::string& path, const std::vector<IniEntry>& entries) {
    // Start from the file as it is now, so that lines others wrote stay; a
    // file that cannot be read is not overwritten blind.
    Loaded now = ReadNow(path);
    if (now.status != FileStatus::Ok && now.status != FileStatus::Missing)
        return now.status;
    if (now.status == FileStatus::Missing)
        (void)files_.EnsureFolder(FolderPart(path));
    for (const auto& entry : entries) now.text.Set(entry.section, entry.key, entry.value);
    if (const FileStatus saved = SaveAtomically(path, now.text); saved != FileStatus::Ok)
        return saved;
    now.status = FileStatus::Ok;
    cache_[path] = std::move(now);
    return FileStatus::Ok;
}

FileStatus IniFileStore::SaveAtomically(const std::string& path, const IniText& text) {
    const std::string temporary = path + std::string(kTemporarySuffix);
    FileStatus status = files_.WriteNewFile(temporary, text.ToBytes());
    if (status == FileStatus::Ok)
        status = files_.ReplaceFile(temporary, path);
    if (status != FileStatus::Ok)
        files_.RemoveFile(temporary);
    return status;
}

}  // namespace vellumar
