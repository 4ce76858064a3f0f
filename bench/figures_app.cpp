// Start-up, against a bare window with an Edit control.
#include "bench/figures.h"
#include "bench/harness.h"

#include "base/process.h"

void StartupFigure()
{
    // Each run leaves a started editor behind; the next run stops it untimed.
    double ours = Measure([] { if (Penrik.hwndMain != NULL) StopEditor(); }, [] { StartEditor(); });
    StopEditor();
    double bare = Measure([] {}, [] { BareEdit bare; });
    Report("startup", ours, "ms", bare);
}
