// What every figure uses: timing, generated text, the editor started in
// this process, a bare Edit control as the baseline, peaks measured in a
// process of their own, and the figure lines.
#ifndef PENRIK_BENCH_HARNESS_H
#define PENRIK_BENCH_HARNESS_H

#include <windows.h>

#include <functional>
#include <string>

extern int Runs;            // how many runs a Measure takes the median of
extern std::string Folder;  // where the inputs are written, with a trailing backslash

// Runs set for one figure's measurements, and back as it was after.
struct RunsFor {
    int saved;
    explicit RunsFor(int runs) : saved(Runs) { Runs = runs; }
    ~RunsFor() { Runs = saved; }
};

double Now();  // in milliseconds
// Times `work` Runs times, with `prepare` (untimed) before each run, and
// returns the median.
double Measure(const std::function<void()>& prepare, const std::function<void()>& work);
// One figure line: name, value, unit, and the baseline and ratio when
// there is a baseline.
void Report(const char* name, double value, const char* unit, double baseline = -1);
void ReportHeader();

// Source-like text: lines of about 60 characters; `matches` of them
// carry the word "needle".
std::string MakeText(size_t bytes, size_t matches);
// The same shape with comments in German, Polish, Greek and Japanese, as
// UTF-8 bytes.
std::string MakeUtf8Text(size_t bytes, size_t matches);
std::wstring Widened(const std::string& utf8);
// Writes `text` to `name` in Folder and returns the path.
std::string WriteTemp(const char* name, const std::string& text);

// The editor in this process, with every message box answered No or OK.
void StartEditor();
void StopEditor();
void Pump();
// The bench names its files in the code page.
void SetDocumentName(const std::string& path);

// A plain top-level window with a bare multi-line Edit control.
struct BareEdit {
    HWND window = NULL, edit = NULL;
    HFONT font = NULL;
    BareEdit();
    ~BareEdit();
    // The editor's default font and tab stops, which cost the platform's
    // control time of their own: a second baseline, so that the editor's
    // own share shows.
    void UseEditorLook();
};

// The bare control's WM_SETTEXT of a text, as it comes and with the
// editor's look: `set` gives the control the text, `clear` empties it.
void MeasureBareLoads(const std::function<void(HWND)>& clear, const std::function<void(HWND)>& set, double bare[2]);

// Runs this program with `mode` and the file in a process of its own and
// returns the peak working set it prints, in MB.
double PeakOf(const char* mode, const std::string& path);
// The modes PeakOf runs, each printing the peak working set in bytes:
// loading the file in the editor, and a bare control given its bytes, or
// its characters when `utf8`.
int PeakLoad(const char* path);
int PeakBare(const char* path, bool utf8);

#endif
