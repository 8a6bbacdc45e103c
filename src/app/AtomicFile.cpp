#include "app/AtomicFile.h"

#include <filesystem>
#include <fstream>
#include <random>

#include "draw/RunError.h"

namespace fs = std::filesystem;

namespace {

// A name beside `path` that no other run picks: hidden, with a random part, ending with
// `path`'s own name.
std::string TempBeside(const std::string& path) {
    static std::mt19937_64 random{std::random_device{}()};
    const fs::path p(path);
    char tag[24];
    std::snprintf(tag, sizeof tag, "%012llx", static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFULL));
    const std::string name = p.filename().string();
    return (p.parent_path() / (".citysize-" + std::string(tag) + "-" + name)).string();
}

void ReplaceAll(std::string& s, const std::string& from, const std::string& to) {
    if (from.empty()) return;
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

}  // namespace

AtomicFiles::~AtomicFiles() { Discard(); }

std::string AtomicFiles::File(const std::string& path) {
    entries_.push_back({TempBeside(path), path, false});
    return entries_.back().temp;
}

std::string AtomicFiles::Folder(const std::string& dir) {
    // "out/" names the folder "out": the temporary one goes beside it, not inside.
    fs::path target = fs::path(dir).lexically_normal();
    if (!target.has_filename()) target = target.parent_path();
    std::error_code ec;
    std::vector<fs::path> missing;
    for (fs::path up = target.parent_path(); !up.empty() && !fs::exists(up, ec); up = up.parent_path())
        missing.push_back(up);
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (!fs::create_directory(*it, ec) && ec) throw RunError("cannot make the folder " + it->string() + ": " + ec.message());
        madeParents_.push_back(it->string());
    }
    const std::string temp = TempBeside(target.string());
    if (!fs::create_directory(temp, ec)) throw RunError("cannot make the folder " + dir + (ec ? ": " + ec.message() : ""));
    entries_.push_back({temp, target.string(), true});
    return temp;
}

void AtomicFiles::Write(const std::string& path, const std::string& content) {
    const std::string temp = File(path);
    std::ofstream out(temp, std::ios::binary);
    out << content;
    out.close();
    if (!out) throw RunError("cannot write " + path);
}

std::string AtomicFiles::Commit() {
    std::error_code ec;
    std::string failure;
    for (const Entry& e : entries_) {
        if (!e.folder) {
            fs::rename(e.temp, e.final, ec);
            if (ec && failure.empty()) failure = "cannot write " + e.final + ": " + ec.message();
            continue;
        }
        if (!fs::exists(e.final, ec)) {
            fs::rename(e.temp, e.final, ec);
            if (!ec) continue;
        }
        if (!fs::is_directory(e.final, ec)) {
            if (failure.empty()) failure = "cannot write the folder " + e.final + ": a file of that name is in the way";
            continue;
        }
        for (const auto& item : fs::directory_iterator(e.temp, ec)) {
            std::error_code moved;
            fs::rename(item.path(), fs::path(e.final) / item.path().filename(), moved);
            if (moved && failure.empty()) failure = "cannot write " + (fs::path(e.final) / item.path().filename()).string() + ": " + moved.message();
        }
    }
    madeParents_.clear();  // they hold what was committed now
    Discard();
    return failure;
}

void AtomicFiles::Discard() {
    std::error_code ec;
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) fs::remove_all(it->temp, ec);
    entries_.clear();
    // Only folders this object made, and only while they are empty.
    for (auto it = madeParents_.rbegin(); it != madeParents_.rend(); ++it) fs::remove(*it, ec);
    madeParents_.clear();
}

std::string AtomicFiles::Named(std::string message) const {
    for (const Entry& e : entries_) ReplaceAll(message, e.temp, e.final);
    return message;
}
