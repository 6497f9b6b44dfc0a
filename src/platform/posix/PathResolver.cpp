#include "platform/posix/PathResolver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <optional>

#include "platform/DoubleByte.h"
#include "platform/profile/ProfileText.h"

namespace velmarin::platform::posix {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::string CurrentDirectory() {
    std::error_code error;
    const auto cwd = std::filesystem::current_path(error);
    return error ? std::string("/") : cwd.string();
}

// A folded name cut into characters: a lead byte and its trail are one.
std::vector<std::string> Characters(const std::string& s) {
    std::vector<std::string> units;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = CharWidth(s, i);
        units.push_back(s.substr(i, n));
        i += n;
    }
    return units;
}

}  // namespace

PathResolver::PathResolver(const std::map<char, std::string>& drives) {
    for (const auto& [letter, folder] : drives) {
        std::string absolute = std::filesystem::absolute(folder).lexically_normal().string();
        while (!absolute.empty() && absolute.back() == '/') absolute.pop_back();
        drives_[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))] = absolute;
    }
}

std::vector<std::string> PathResolver::Components(const std::string& path, std::size_t from) {
    std::vector<std::string> parts;
    std::string part;
    for (std::size_t i = from; i < path.size(); ++i) {
        const char c = path[i];
        if (IsSeparator(c)) {
            if (!part.empty()) parts.push_back(std::move(part));
            part.clear();
            continue;
        }
        part.push_back(c);
        if (CharWidth(path, i) == 2) part.push_back(path[++i]);
    }
    if (!part.empty()) parts.push_back(std::move(part));
    return parts;
}

std::optional<PathResolver::Spelled> PathResolver::spell(const std::string& windowsPath) const {
    if (windowsPath.empty()) return std::nullopt;
    std::string root;  // "" is the root of the file system
    std::vector<std::string> parts;
    std::size_t from = 0;
    const auto first = static_cast<unsigned char>(windowsPath[0]);
    if (windowsPath.size() >= 2 && windowsPath[1] == ':' && std::isalpha(first)) {
        const auto drive = drives_.find(static_cast<char>(std::toupper(first)));
        if (drive == drives_.end()) return std::nullopt;
        root = drive->second;
        from = 2;
    } else if (windowsPath[0] == '\\' && windowsPath.size() >= 2 && IsSeparator(windowsPath[1])) {
        return std::nullopt;  // a network path: there is no network here
    } else if (!IsSeparator(windowsPath[0])) {
        parts = Components(CurrentDirectory(), 0);  // so that ".." can climb out of it
    }

    for (auto& part : Components(windowsPath, from)) {
        if (part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();  // never above the drive, as on Windows
            continue;
        }
        parts.push_back(std::move(part));
    }
    return Spelled{std::move(root), std::move(parts)};
}

std::string PathResolver::literal(const std::string& windowsPath) const {
    const auto spelled = spell(windowsPath);
    if (!spelled) return {};
    std::string exact = spelled->root;
    for (const auto& part : spelled->parts) exact.append("/").append(part);
    return exact.empty() ? "/" : exact;
}

std::string PathResolver::resolve(const std::string& windowsPath) const {
    const auto spelled = spell(windowsPath);
    if (!spelled) return {};
    const auto& [root, parts] = *spelled;
    std::string exact = root;
    for (const auto& part : parts) exact.append("/").append(part);
    if (exact.empty()) return "/";
    if (Exists(exact)) return exact;

    std::string out = root;
    bool existing = true;
    for (const auto& part : parts) {
        if (existing && !Exists(out + "/" + part)) {
            const auto match = index_.find(out, part);
            if (match) {
                out.append("/").append(*match);
                continue;
            }
            existing = false;
        }
        out.append("/").append(part);
    }
    return out;
}

namespace {

std::pair<std::string, std::string> FolderAndName(const std::string& posixPath) {
    const std::size_t slash = posixPath.rfind('/');
    if (slash == std::string::npos) return {CurrentDirectory(), posixPath};
    return {slash == 0 ? "/" : posixPath.substr(0, slash), posixPath.substr(slash + 1)};
}

}  // namespace

void PathResolver::created(const std::string& posixPath) const {
    const auto [folder, name] = FolderAndName(posixPath);
    index_.added(folder, name);
}

void PathResolver::removed(const std::string& posixPath) const {
    const auto [folder, name] = FolderAndName(posixPath);
    index_.removed(folder, name);
}

std::string PathResolver::toWindows(const std::string& posixPath) const {
    if (posixPath.empty() || posixPath[0] != '/') return posixPath;
    const std::pair<const char, std::string>* best = nullptr;
    for (const auto& drive : drives_) {
        const std::string& folder = drive.second;
        const bool inside = posixPath.compare(0, folder.size(), folder) == 0 &&
                            (posixPath.size() == folder.size() || posixPath[folder.size()] == '/');
        if (inside && (best == nullptr || folder.size() > best->second.size())) best = &drive;
    }
    std::string rest = best == nullptr ? posixPath : posixPath.substr(best->second.size());
    for (char& c : rest) {
        if (c == '/') c = '\\';
    }
    if (best == nullptr) return rest;
    return std::string(1, best->first) + ":" + (rest.empty() ? "\\" : rest);
}

bool WildcardMatch(const std::string& pattern, const std::string& name) {
    if (pattern == "*.*") return true;
    const std::string gbk = GbkSpelling(name);
    if (gbk != name && WildcardMatch(pattern, gbk)) return true;
    const auto p = Characters(profile::FoldCase(pattern));
    const auto n = Characters(profile::FoldCase(name));
    std::size_t i = 0;
    std::size_t j = 0;
    std::size_t star = std::string::npos;
    std::size_t mark = 0;
    while (j < n.size()) {
        if (i < p.size() && p[i] != "*" && (p[i] == "?" || p[i] == n[j])) {
            ++i;
            ++j;
        } else if (i < p.size() && p[i] == "*") {
            star = i++;
            mark = j;
        } else if (star != std::string::npos) {
            i = star + 1;
            j = ++mark;
        } else {
            return false;
        }
    }
    while (i < p.size() && p[i] == "*") ++i;
    return i == p.size();
}

}  // namespace velmarin::platform::posix
