#include "engine/process_list.h"

#include <map>

#include "platform/text.h"

namespace vellumar {

namespace {

// Maps the letters of UTF-8 text one code point at a time: ASCII letters,
// and the Latin-1 letters, whose two cases lie 0x20 apart (U+00C0-U+00DE
// and U+00E0-U+00FE, less the multiplication and division signs).
std::string MapCase(std::string_view text, bool upper) {
    std::string result(text);
    for (std::size_t i = 0; i < result.size(); ++i) {
        auto& c = reinterpret_cast<unsigned char&>(result[i]);
        if (upper && c >= 'a' && c <= 'z') {
            c = static_cast<unsigned char>(c - 0x20);
        } else if (!upper && c >= 'A' && c <= 'Z') {
            c = static_cast<unsigned char>(c + 0x20);
        } else if (c == 0xC3 && i + 1 < result.size()) {
            // U+00C0-U+00FF are 0xC3 0x80-0xBF; capitals 0x80-0x9E, small 0xA0-0xBE.
            auto& next = reinterpret_cast<unsigned char&>(result[i + 1]);
            if (upper && next >= 0xA0 && next <= 0xBE && next != 0xB7) {
                next = static_cast<unsigned char>(next - 0x20);
            } else if (!upper && next >= 0x80 && next <= 0x9E && next != 0x97) {
                next = static_cast<unsigned char>(next + 0x20);
            }
            ++i;
        }
    }
    return result;
}

}  // namespace

std::string UpperCaseText(std::string_view text) {
    return MapCase(text, true);
}

std::string LowerCaseText(std::string_view text) {
    return MapCase(text, false);
}

std::string GetProcessPath(ProcessSnapshots& snapshots, ProcessId process, std::string_view name) {
    const std::string wanted = UpperCaseText(CutAtNul(name));
    std::string found;
    snapshots.VisitModulePaths(process, [&](const std::string& module_path) {
        if (UpperCaseText(CutAtNul(module_path)).find(wanted) == std::string::npos)
            return false;
        found = LowerCaseText(CutAtNul(module_path));
        return true;
    });
    return found;
}

SharedIcon GetFileIcon(FileIcons& icons, const std::string& path, bool small) {
    return icons.FileIcon(path, small);
}

void ProcessList::RefreshProcessList() {
    list_.Clear();
    list_.SetSmallIcons(nullptr);
    images_.Clear();

    // Rows of one executable share its icon: one fetch per distinct path.
    std::map<std::string, SharedIcon, std::less<>> icons;
    for (const ProcessEntry& entry : snapshots_.ProcessEntries()) {
        const std::string name = CutAtNul(entry.exe_file);
        const std::string path = CutAtNul(GetProcessPath(entry.id, name));
        if (path.empty())
            continue;
        const int row = list_.AddRow(std::to_string(list_.RowCount() + 1));
        list_.SetCell(row, kColumnPid, std::to_string(entry.id));
        list_.SetCell(row, kColumnProcess, name);

        auto icon = icons.find(path);
        if (icon == icons.end())
            icon = icons.emplace(path, GetFileIcon(path, true)).first;
        const std::string key = "P" + std::to_string(list_.RowCount() + 1);
        images_.Add(key, icon->second);

        list_.SetSmallIcons(&images_);
        list_.SetRowIcon(row, key);
        list_.EnsureVisible(row);
    }
    // A list of this kind keeps a row selected, so the Limit command never
    // acts on a row that is gone; it is the last row, the one the list is
    // scrolled to, so Limit acts on a row the user can see.
    if (list_.RowCount() > 0)
        list_.SelectRow(list_.RowCount() - 1);
}

}  // namespace vellumar
