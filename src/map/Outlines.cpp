#include "map/Outlines.h"

#include "data/GdalLibrary.h"

#include <memory>

#include "draw/RunError.h"

std::vector<OutlinePath> ReadOutlines(const std::string& path) {
    std::vector<OutlinePath> out;
    GdalFunction<void(const std::string*, std::vector<OutlinePath>*)>("citysize_ReadOutlines")(&path, &out);
    return out;
}
