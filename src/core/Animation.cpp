// Time-lapses: the pictures a command draws, one per date.
#include "core/Animation.h"

#include "core/Form.h"
#include "core/Marks.h"
#include "draw/Contrast.h"
#include "draw/PlotFrame.h"
#include "draw/RunError.h"

namespace {

// The whole picture as far as date t: every op of a later date left out (keys and frames,
// which belong to no date, stay), and with `emphasiseNewest` the curve of date t drawn
// wider, over the others.
Picture UpTo(const Picture& whole, int t, bool emphasiseNewest, int year) {
    Picture p = whole;
    p.Clear();
    p.ZoomArea = whole.ZoomArea;  // the frame a zoomed picture's cut discs are clipped to
    std::vector<DrawOp> newest;
    for (DrawOp op : whole.Ops()) {
        if (op.tag.series != KeySeries && op.tag.date > t) continue;
        if (emphasiseNewest && op.tag.series == RankCurve && op.tag.date == t) {
            op.width = static_cast<int16_t>(op.width + 2);
            op.colour = Visible(op.colour, whole.BackColor);
            newest.push_back(std::move(op));
            continue;
        }
        p.Append(std::move(op));
    }
    for (DrawOp& op : newest) p.Append(std::move(op));
    // The frame's date, large, where no plot draws.
    p.CurrentTag = OpTag{};
    p.ForeColor = InkFor(p.BackColor);
    p.FontSize = 14;
    p.FontBold = true;
    PrintAt(p, 150, p.Height - 550, std::to_string(year));
    return p;
}

}  // namespace

bool Animates(const Form& f, std::string_view control) {
    for (const auto& m : f.modules)
        if (m->Animates(control)) return true;
    return false;
}

std::vector<Picture> AnimationFrames(Form& f, std::string_view control) {
    for (const auto& m : f.modules)
        if (m->Animates(control)) {
            if (!f.HasData()) throw RunError("Load the data first");
            for (const auto& other : f.modules) other->BeforeCommand(control);
            return m->Frames(f, control);
        }
    throw RunError("A time-lapse shows Map, Rank (Rank-Size), RankSpirel1 or InfoSpirel, not \"" +
                   std::string(control) + "\"");
}

std::vector<Picture> FramesByDate(Form& f, std::string_view control, bool emphasiseNewest) {
    const auto command = f.ModuleCommand(control);
    if (!command) throw RunError("\"" + std::string(control) + "\" has no command");
    command->second.handler(f);
    MarkPlaces(f, control);
    const DataSet& d = *f.data;
    std::vector<Picture> frames;
    frames.reserve(static_cast<std::size_t>(d.NumDates));
    for (int t = 1; t <= d.NumDates; ++t) frames.push_back(UpTo(f.Picture1, t, emphasiseNewest, d.DateYear(t)));
    return frames;
}
