#include "core/Redraw.h"

#include "core/Form.h"

namespace {

struct LongFitRefused {};

}  // namespace

bool RedrawPicture(Form& f, std::string_view command) {
    if (!f.HasData() || command.empty() || command.rfind("Next", 0) == 0 || command == "ReadData" ||
        command == "Clear")
        return false;
    const Picture before = f.Picture1;
    const PlotFrame frame = f.frame;
    const TextSurface text = f.Text;
    const int loop = f.LoopIndex;
    auto longFit = std::move(f.runLongFit);
    f.runLongFit = [](const std::function<void(const TailFitControl&)>&) { throw LongFitRefused{}; };
    bool drawn = true;
    try {
        if (f.map.shown)
            MapChoice_Changed(f);
        else
            f.Click(command);
    } catch (...) {
        drawn = false;
    }
    f.runLongFit = std::move(longFit);
    if (!drawn) {
        f.Picture1 = before;
        f.frame = frame;
    }
    f.Text = text;
    f.LoopIndex = loop;
    return drawn;
}
