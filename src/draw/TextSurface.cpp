#include "TextSurface.h"

std::string& TextSurface::Current() {
    if (!lineOpen_) {
        lines_.emplace_back();
        sizes_.push_back(FontSize);
        lineOpen_ = true;
    }
    return lines_.back();
}

int TextSurface::Column() const { return lineOpen_ ? static_cast<int>(lines_.back().size()) : 0; }

TextSurface& TextSurface::Put(std::string_view item) {
    Current().append(item);
    ++revision_;
    return *this;
}

TextSurface& TextSurface::Zone() {
    std::string& line = Current();
    std::size_t next = (line.size() / ZoneWidth + 1) * ZoneWidth;
    line.append(next - line.size(), ' ');
    ++revision_;
    return *this;
}

TextSurface& TextSurface::End() {
    Current();
    lineOpen_ = false;
    ++revision_;
    return *this;
}

TextSurface& TextSurface::Line(std::string_view item) { return Put(item).End(); }

void TextSurface::Clear() {
    lines_.clear();
    sizes_.clear();
    Tables.clear();
    lineOpen_ = false;
    ++revision_;
}

std::string TextSurface::ToString() const {
    std::string out;
    for (const auto& l : lines_) {
        out += l;
        out += '\n';
    }
    return out;
}
