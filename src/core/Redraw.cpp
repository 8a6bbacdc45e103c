#include "core/Redraw.h"

#include "core/Form.h"
#include "core/MapModule.h"
#include "stats/TailFit.h"

namespace {

struct LongFitRefused {};

}  // namespace

bool RedrawPicture(Form& f, std::string_view command) {
    if (!f.HasData() || command.empty() || command.rfind("Next", 0) == 0 || command == "ReadData" ||
        command == "Clear")
        return false;
    const Picture before = f.Picture1;
    // A redraw changes nothing in the panel, though the command may have left its own button
    // hidden behind it (a spirel's panel).
    const ControlTable panel = f.panel;
    const PlotFrame frame = f.frame;
    const TextSurface text = f.Text;
    const int loop = f.LoopIndex;
    auto longFit = std::move(f.runLongFit);
    f.runLongFit = [](const std::function<void(const TailFitControl&)>&) { throw LongFitRefused{}; };
    bool drawn = true;
    try {
        const auto own = f.ModuleCommand(command);
        if (own && own->first->Redraw(f, command)) {
            // drawn from the analysis's kept results
        } else if (f.Module<MapModule>().state.shown) {
            MapChoice_Changed(f);
        } else {
            if (f.panel.Find(command)) f.panel[command].visible = true;
            f.Click(command);
        }
    } catch (...) {
        drawn = false;
    }
    f.runLongFit = std::move(longFit);
    if (!drawn) {
        f.Picture1 = before;
        f.frame = frame;
    }
    f.panel = panel;
    f.Text = text;
    f.LoopIndex = loop;
    return drawn;
}
