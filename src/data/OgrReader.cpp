#include "data/OgrReader.h"

#include <filesystem>

#include "data/GdalLibrary.h"
#include "data/TableCells.h"

bool IsOgrFile(const std::string& path) {
    const std::string ext = Lower(std::filesystem::path(path).extension().string());
    return !(ext.empty() || ext == ".csv" || ext == ".txt" || ext == ".tsv" || ext == ".tab" || ext == ".dat");
}

RawTable ReadOgrTable(const std::string& path, const std::string& part) {
    RawTable raw;
    GdalFunction<void(const std::string*, const std::string*, RawTable*)>("citysize_ReadOgrTable")(&path, &part, &raw);
    return raw;
}
