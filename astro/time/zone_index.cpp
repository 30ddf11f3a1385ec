// SPDX-License-Identifier: MIT
#include "astro/time/zone_index.h"

#include <algorithm>
#include <cstdio>

namespace vantoril::astro {

namespace {

// tzdata.zi is about 100 kB.
constexpr std::size_t kMaxIndexBytes = 8U << 20;

std::vector<std::string_view> Fields(std::string_view line, std::size_t most)
{
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size() && fields.size() < most) {
        while (at < line.size() && IsZoneBlank(line[at])) ++at;
        const std::size_t start = at;
        while (at < line.size() && !IsZoneBlank(line[at])) ++at;
        if (at > start) fields.push_back(line.substr(start, at - start));
    }
    return fields;
}

} // namespace

bool LooksLikeZoneName(std::string_view name)
{
    if (name.empty() || name.size() > 255) return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        const std::string_view part = name.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        for (const char c : part) {
            const bool fine = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
                              c == '-' || c == '+' || c == '.';
            if (!fine) return false;
        }
        start = end + 1;
    }
    return true;
}

bool ReadZoneData(const std::string& path, std::size_t most, std::string& text)
{
    std::FILE* file = std::fopen(path.c_str(), "rbe");
    if (file == nullptr) return false;
    char buffer[16384];
    bool fine = true;
    // A short read is the end of the file or an error: never read past it.
    for (std::size_t got = sizeof buffer; got == sizeof buffer;) {
        got = std::fread(buffer, 1, sizeof buffer, file);
        if (text.size() + got > most) {
            fine = false;
            break;
        }
        text.append(buffer, got);
    }
    fine = fine && std::ferror(file) == 0;
    std::fclose(file);
    return fine;
}

ZoneIndex ZoneIndex::Parse(std::string_view tzdataZi)
{
    ZoneIndex index;
    std::string_view text = tzdataZi;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.size() < 2 || (line[0] != 'Z' && line[0] != 'L') || !IsZoneBlank(line[1])) continue;
        const auto fields = Fields(line, 3);
        if (line[0] == 'Z' && fields.size() >= 2) index.zones_.emplace_back(fields[1]);
        if (line[0] == 'L' && fields.size() == 3) index.links_.emplace_back(fields[2], fields[1]);
    }
    std::sort(index.zones_.begin(), index.zones_.end());
    index.zones_.erase(std::unique(index.zones_.begin(), index.zones_.end()), index.zones_.end());
    // The first line for a name holds, as zic takes only one.
    std::stable_sort(index.links_.begin(), index.links_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    index.links_.erase(std::unique(index.links_.begin(), index.links_.end(),
                                   [](const auto& a, const auto& b) { return a.first == b.first; }),
                       index.links_.end());
    // A zone's name is not also a link's (zic refuses both).
    index.links_.erase(
        std::remove_if(
            index.links_.begin(), index.links_.end(),
            [&](const auto& link) { return std::binary_search(index.zones_.begin(), index.zones_.end(), link.first); }),
        index.links_.end());
    return index;
}

ZoneIndex ZoneIndex::Read(std::string_view folder)
{
    std::string text;
    if (!ReadZoneData(std::string(folder) + "/tzdata.zi", kMaxIndexBytes, text)) return {};
    return Parse(text);
}

std::optional<std::string> ZoneIndex::ZoneOf(std::string_view name) const
{
    std::string_view wanted = name;
    // Links to links are allowed; a loop is not followed for ever.
    for (int hops = 0; hops < 8; ++hops) {
        if (std::binary_search(zones_.begin(), zones_.end(), wanted)) return std::string(wanted);
        const auto link = std::lower_bound(links_.begin(), links_.end(), wanted,
                                           [](const auto& l, std::string_view n) { return l.first < n; });
        if (link == links_.end() || link->first != wanted) return std::nullopt;
        wanted = link->second;
    }
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> ZoneIndex::Links() const
{
    std::vector<std::pair<std::string, std::string>> links;
    for (const auto& [name, target] : links_) {
        if (auto zone = ZoneOf(target)) links.emplace_back(name, std::move(*zone));
    }
    return links;
}

std::vector<std::string> ZoneIndex::Names() const
{
    std::vector<std::string> names = zones_;
    for (const auto& [name, zone] : Links()) names.push_back(name);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

bool IsUtcName(std::string_view name)
{
    return name.size() == 3 && (name[0] == 'U' || name[0] == 'u') && (name[1] == 'T' || name[1] == 't') &&
           (name[2] == 'C' || name[2] == 'c');
}

std::vector<std::string> ZoneNames(std::string_view folder) { return ZoneIndex::Read(folder).Names(); }

} // namespace vantoril::astro
