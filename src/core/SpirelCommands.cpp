// Handlers of the spirel commands.
#include "core/Commands.h"
#include "core/Form.h"
#include "spirels/CitySpirel.h"
#include "spirels/DistanceSpirel.h"
#include "spirels/InfoSpirel.h"
#include "spirels/PopSpirel.h"
#include "spirels/RankShiftSpirel.h"
#include "spirels/RankSpirels.h"

namespace {

// The rank spirels take the whole window; once drawn they offer the city list, and the
// first variant the city spirel as well.
void RankSpirelCommand(Form& f, int variant) {
    CollapseCommandPanel(f);
    RankSpirel(*f.data, f.rank, f.spirel, CanvasOf(f), variant);
    f.panel.Show("Cities");
    if (variant == 1) f.panel.Show("PlotCity");
}

}  // namespace

void RankSpirel1_Click(Form& f) { RankSpirelCommand(f, 1); }
void RankSpirel2_Click(Form& f) { RankSpirelCommand(f, 2); }
void RankSpirel3_Click(Form& f) { RankSpirelCommand(f, 3); }
void RankSpirel4_Click(Form& f) { RankSpirelCommand(f, 4); }
void RankSpirel5_Click(Form& f) { RankSpirelCommand(f, 5); }
void RankSpirel6_Click(Form& f) { RankSpirelCommand(f, 6); }

void PlotCity_Click(Form& f) {
    PlotCityOnSpirel(*f.data, f.rank, f.spirel, CanvasOf(f), f.panel["Cities"].listIndex);
}

void DistancePlot_Click(Form& f) {
    f.panel.Hide("PlotCity");
    CollapseCommandPanel(f);
    DistanceSpirel(*f.data, f.rank, f.spirel, CanvasOf(f));
}

void RankShiftSpirel_Click(Form& f) { RankShiftSpirel(*f.data, f.info, CanvasOf(f)); }
void InfoSpirel_Click(Form& f) { InfoSpirel(*f.data, f.info, CanvasOf(f)); }
void PopSpirel_Click(Form& f) { PopSpirel(*f.data, f.pop, CanvasOf(f)); }
