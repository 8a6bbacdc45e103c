#pragma once
#include <string>
#include <vector>

// Output that appears whole or not at all. Each file is written under a temporary name in
// the folder of its final one (the same file system, so moving it into place is one atomic
// rename) and only Commit moves it there: a run that fails leaves neither a partial file nor
// a changed old one. Whatever is not committed is removed when the object goes.
class AtomicFiles {
public:
    AtomicFiles() = default;
    AtomicFiles(const AtomicFiles&) = delete;
    AtomicFiles& operator=(const AtomicFiles&) = delete;
    ~AtomicFiles();

    // The name to write instead of `path`. It ends with `path`'s own file name, so a writer
    // that goes by the suffix (.png, .svg, .pdf) chooses the same format.
    std::string File(const std::string& path);
    // A new empty folder to fill instead of `dir`; on Commit its files move into `dir`, which
    // is made if need be (files already in `dir` and not written again stay). Folders above
    // `dir` that had to be made are removed again if nothing is committed. Throws RunError
    // when the folder cannot be made.
    std::string Folder(const std::string& dir);
    // Writes `content` to File(path); throws RunError naming `path` when it cannot.
    void Write(const std::string& path, const std::string& content);

    // Moves everything into place: an empty string, or what could not be moved.
    std::string Commit();
    // Removes everything written so far.
    void Discard();
    // `message` with each temporary name replaced by the final one, for error messages.
    std::string Named(std::string message) const;

private:
    struct Entry {
        std::string temp, final;
        bool folder;
    };
    std::vector<Entry> entries_;
    std::vector<std::string> madeParents_;  // outermost first
};
