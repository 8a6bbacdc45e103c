// Handlers of the statistics commands and their paging buttons.
#include "core/Commands.h"
#include "core/Form.h"
#include "stats/HalfLives.h"
#include "stats/InfoPaging.h"
#include "stats/InfoStats.h"
#include "stats/MobilityPages.h"
#include "stats/PopStats.h"

void InfoStats_Click(Form& f) {
    InfoStats(*f.data, f.rank, f.info, CanvasOf(f));
    // The panel changes only once the statistics are complete.
    CollapseCommandPanel(f);
    f.panel.Hide("DistancePlot");
    f.Picture1.Visible = false;
    f.panel.Show("NextInfo");
}

void NextInfo_Click(Form& f) {
    NextInfo(*f.data, f.info, f.Text);
    f.panel.Hide("NextInfo");
    f.panel.Hide("LastInfo");
    f.panel.Show("NextLastInfo");
}

void NextLastInfo_Click(Form& f) {
    NextLastInfo(*f.data, f.rank, f.Text);
    f.panel.Hide("NextInfo");
    f.panel.Show("LastInfo");
    f.panel.Hide("NextLastInfo");
}

void LastInfo_Click(Form& f) { LastInfo(*f.data, f.info, f.Text); }

void PopStats_Click(Form& f) {
    PopStats(*f.data, f.rank, f.pop, f.half, CanvasOf(f));
    // The panel changes only once every share is computed.
    f.ShowMainCommandSet(false);
    f.Picture1.Visible = false;
    f.panel.Show("NextPop");
}

void NextPop_Click(Form& f) {
    NextPop(*f.data, f.pop, f.Text);
    f.panel.Hide("NextPop");
    f.panel.Show("LastPop");
}

void LastPop_Click(Form& f) { LastPop(*f.data, f.half, f.Text); }

void HalfLives_Click(Form& f) { HalfLives(*f.data, f.rank, f.half, CanvasOf(f)); }

void Mobility_Click(Form& f) {
    Mobility(*f.data, f.rank, f.mobility, CanvasOf(f));
    // As "Zipf-Exponents": the picture stays beside page 1 and the panel offers page 2.
    f.ShowMainCommandSet(false);
    f.Picture1.Visible = true;
    f.panel.Show("NextMobility");
}

void NextMobility_Click(Form& f) {
    NextMobility(f.mobility, f.Text);
    f.panel.Hide("NextMobility");
}
