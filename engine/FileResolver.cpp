#include "FileResolver.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

namespace {

std::vector<std::string>& Roots() {
    static std::vector<std::string> roots;
    return roots;
}

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// Finds the entry of dir whose name equals component ignoring case; exact match first.
bool MatchComponent(const std::string& dir, const std::string& component, std::string& out) {
    std::string exact = dir.empty() ? component : dir + "/" + component;
    if (Exists(exact)) {
        out = exact;
        return true;
    }
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return false;
    bool found = false;
    while (dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, component.c_str()) == 0) {
            out = dir.empty() ? std::string(e->d_name) : dir + "/" + e->d_name;
            found = true;
            break;
        }
    }
    closedir(d);
    return found;
}

bool ResolveUnder(const std::string& root, const std::string& relative, std::string& out) {
    std::string current = root;
    size_t pos = 0;
    while (pos <= relative.size()) {
        size_t slash = relative.find('/', pos);
        std::string component =
            relative.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
        if (!component.empty() && component != ".") {
            std::string next;
            if (!MatchComponent(current, component, next)) return false;
            current = next;
        }
        if (slash == std::string::npos) break;
        pos = slash + 1;
    }
    out = current;
    return true;
}

}  // namespace

std::string FileResolver::Normalise(const std::string& name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        char s = c == '\\' ? '/' : c;
        if (s == '/' && !out.empty() && out.back() == '/') continue;
        out.push_back(s);
    }
    return out;
}

std::string FileResolver::Resolve(const std::string& name) {
    std::string relative = Normalise(name);
    if (relative.empty()) return relative;
    std::string found;
    if (relative[0] == '/') {
        if (ResolveUnder("/", relative.substr(1), found)) return found;
        return relative;
    }
    if (ResolveUnder("", relative, found)) return found;
    for (const std::string& root : Roots())
        if (ResolveUnder(root, relative, found)) return found;
    return relative;
}

void FileResolver::AddSearchRoot(const std::string& directory) { Roots().push_back(directory); }

void FileResolver::ClearSearchRoots() { Roots().clear(); }

const std::vector<std::string>& FileResolver::SearchRoots() { return Roots(); }
