#include "data/DataSearch.h"

#include <filesystem>

#include "data/Loader.h"

std::string FindDataFile(const std::vector<std::string>& folders) {
    namespace fs = std::filesystem;
    for (const auto& folder : folders) {
        if (folder.empty()) continue;
        const fs::path file = fs::path(folder) / DataFileName;
        std::error_code ec;
        if (fs::is_regular_file(file, ec)) return file.string();
    }
    return {};
}

std::string DataFilePath(const std::string& fileOrFolder) {
    namespace fs = std::filesystem;
    if (fileOrFolder.empty()) return DataFileName;
    std::error_code ec;
    const fs::path path(fileOrFolder);
    const bool isFile = fs::exists(path, ec) ? !fs::is_directory(path, ec) : path.extension() == ".csv";
    return isFile ? fileOrFolder : fileOrFolder + "/" + DataFileName;
}

std::vector<std::string> FindShippedOutlines(const std::vector<std::string>& folders) {
    namespace fs = std::filesystem;
    for (const auto& folder : folders) {
        if (folder.empty()) continue;
        std::vector<std::string> files;
        for (const char* name : {"countries-110m.json", "states-10m.json"}) {
            const fs::path file = fs::path(folder) / "outlines" / name;
            std::error_code ec;
            if (fs::is_regular_file(file, ec)) files.push_back(file.string());
        }
        if (!files.empty()) return files;
    }
    return {};
}
