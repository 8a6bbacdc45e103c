#include "data/GdalLibrary.h"

#include <dlfcn.h>

#include <filesystem>
#include <mutex>
#include <vector>

#include "draw/RunError.h"

#ifndef CITYSIZE_GDAL_FROM_BIN
#define CITYSIZE_GDAL_FROM_BIN "../lib/citysize"
#endif

namespace {

namespace fs = std::filesystem;

constexpr const char* LibraryName = "libcitysize_gdal.so";

std::vector<std::string> Candidates() {
    std::vector<std::string> places;
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        places.push_back((exe.parent_path() / LibraryName).string());
        places.push_back((exe.parent_path() / CITYSIZE_GDAL_FROM_BIN / LibraryName).lexically_normal().string());
    }
    // The Python module carries this code in its own shared object, installed in
    // lib/python3.../site-packages/citysize beside the prefix's lib/citysize.
    Dl_info self{};
    if (dladdr(reinterpret_cast<void*>(&Candidates), &self) && self.dli_fname) {
        const fs::path object = fs::absolute(self.dli_fname, ec);
        if (!ec) places.push_back((object.parent_path() / "../../../citysize" / LibraryName).lexically_normal().string());
    }
#ifdef CITYSIZE_GDAL_BUILD_DIR
    places.push_back((fs::path(CITYSIZE_GDAL_BUILD_DIR) / LibraryName).string());
#endif
    places.push_back(LibraryName);  // LD_LIBRARY_PATH and the system's folders
    return places;
}

struct Library {
    void* handle = nullptr;
    std::string error;
};

const Library& Loaded() {
    static Library lib;
    static std::once_flag once;
    std::call_once(once, [] {
        for (const std::string& path : Candidates()) {
            std::error_code ec;
            if (path.find('/') != std::string::npos && !fs::exists(path, ec)) continue;
            lib.handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (lib.handle) return;
            if (const char* why = dlerror()) lib.error = why;
        }
        if (lib.error.empty()) lib.error = std::string(LibraryName) + " was not found beside the program nor installed";
    });
    return lib;
}

}  // namespace

void* GdalSymbol(const char* name) {
    const Library& lib = Loaded();
    if (!lib.handle)
        throw RunError("Workbooks, GIS layers and maps need the program's GDAL library, which cannot be loaded: " +
                       lib.error);
    void* f = dlsym(lib.handle, name);
    if (!f) throw RunError(std::string("The program's GDAL library has no function ") + name + " (a library of another version?)");
    return f;
}
