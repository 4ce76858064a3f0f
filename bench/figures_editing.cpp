// Typing into the editor's control, and what the bare control's
// WM_SETTEXT costs by the window's state and the font.
#include "bench/figures.h"
#include "bench/harness.h"

#include "base/process.h"
#include "editing/editing.h"
#include "resources/resource.h"
#include "search/search.h"

#include <stdio.h>

static std::string IndentedLines(size_t lines)
{
    std::string text;
    for (size_t i = 0; i < lines; ++i)
        text += i + 1 == lines ? "\t\tif (x) {" : "\t\tstatement_number_x;\r\n";
    return text;
}

static void PressEnterAtEnd(HWND edit, const std::string& text)
{
    SendMessageA(edit, EM_SETSEL, text.size(), text.size());
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1 | (MapVirtualKeyA(VK_RETURN, 0) << 16));
    PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC0000001 | (MapVirtualKeyA(VK_RETURN, 0) << 16));
    Pump();
}

void EnterFigure(size_t lines)
{
    std::string text = IndentedLines(lines);
    StartEditor();
    double ours = Measure([&] { SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)text.c_str()); },
                          [&] { PressEnterAtEnd(Penrik.hwndEdit, text); });
    StopEditor();
    double bare;
    {
        BareEdit edit;
        bare = Measure([&] { SendMessageA(edit.edit, WM_SETTEXT, 0, (LPARAM)text.c_str()); },
                       [&] { PressEnterAtEnd(edit.edit, text); });
    }
    Report("enter with auto-indent, 100k lines", ours, "ms", bare);
}

// One character typed at the end, and in the middle, of `bytes` of text,
// run on run as a person types them: against the same keys into a bare
// control, as it comes and with the editor's font; and against the
// editor's control with its edits no longer recorded, which shows the
// history's own share.
void TypingFigure(size_t bytes)
{
    std::string text = MakeText(bytes, 0);
    size_t middle = text.find('\n', text.size() / 2) + 1;
    RunsFor runs(21);
    auto typeInto = [](HWND edit) {
        return Measure([] {}, [edit] {
            PostMessageA(edit, WM_CHAR, 'x', 1);
            Pump();
        });
    };
    for (size_t at : {text.size(), middle}) {
        std::string name = at == middle ? "type a character in the middle of 10 MB" : "type a character at the end of 10 MB";
        StartEditor();
        SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)text.c_str());
        SendMessageA(Penrik.hwndEdit, EM_SETSEL, at, at);
        double ours = typeInto(Penrik.hwndEdit);
        SetWindowLongPtrW(Penrik.hwndEdit, GWLP_WNDPROC, GetClassLongPtrW(Penrik.hwndEdit, GCLP_WNDPROC));
        double unrecorded = typeInto(Penrik.hwndEdit);
        StopEditor();
        double bare, bareLook;
        {
            BareEdit edit;
            SendMessageA(edit.edit, WM_SETTEXT, 0, (LPARAM)text.c_str());
            SendMessageA(edit.edit, EM_SETSEL, at, at);
            bare = typeInto(edit.edit);
            edit.UseEditorLook();
            bareLook = typeInto(edit.edit);
        }
        Report(name.c_str(), ours, "ms", bare);
        Report((name + " (bare, editor's font)").c_str(), ours, "ms", bareLook);
        Report((name + " (no history)").c_str(), ours, "ms", unrecorded);
    }
}

// Undo of a Replace All of "needle" by "thread" (`matches` of them in
// `bytes`): against one WM_SETTEXT of the text in a bare control; and
// what the history holds for it, against the text from the first match
// to the last, before and after.
void UndoReplaceAllFigure(size_t bytes, size_t matches)
{
    std::string text = MakeText(bytes, matches);
    text.insert(0, "x");  // the loop's first search starts one past 0
    size_t first = text.find("needle"), last = text.rfind("needle") + 6;
    double spans = 2.0 * (double)(last - first) * sizeof(wchar_t) / (1 << 20);
    std::wstring wide = Widened(text);
    RunsFor runs(3);
    StartEditor();
    double held = 0;
    double undo = Measure(
        [&] {
            SendMessageW(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)wide.c_str());
            WithFindBox(IDM_REPLACEALL, "needle", "thread", 1);
            held = (double)UndoHistoryBytes() / (1 << 20);
        },
        [] { EditCommand(IDM_UNDO); });
    std::wstring back((size_t)GetWindowTextLengthW(Penrik.hwndEdit), L'\0');
    GetWindowTextW(Penrik.hwndEdit, &back[0], (int)back.size() + 1);
    if (back != wide)
        printf("undo did not give the text back\n");
    StopEditor();
    BareEdit edit;
    double settext = Measure([&] { SendMessageW(edit.edit, WM_SETTEXT, 0, (LPARAM)L""); },
                             [&] { SendMessageW(edit.edit, WM_SETTEXT, 0, (LPARAM)wide.c_str()); });
    Report("undo of replace all, 1,000 in 10 MB", undo, "ms", settext);
    Report("history after that replace all", held, "MB", spans);
}

// penrik_bench --settext MEGABYTES (code-page text) or --settext-utf8
// MEGABYTES (the UTF-8 figure's characters).
int SetTextExperiment(size_t megabytes, bool utf8)
{
    std::wstring text = utf8 ? Widened(MakeUtf8Text(megabytes << 20, 0)) : Widened(MakeText(megabytes << 20, 0));
    if (megabytes > 1)
        Runs = 2;
    BareEdit edit;
    auto set = [&] { SendMessageW(edit.edit, WM_SETTEXT, 0, (LPARAM)text.c_str()); };
    auto clear = [&] { SendMessageW(edit.edit, WM_SETTEXT, 0, (LPARAM)L""); };
    Report("settext shown", Measure(clear, set), "ms");
    if (megabytes == 1) {  // the window's state, at 1 MB only
        Report("settext no redraw", Measure(clear, [&] {
            SendMessageW(edit.edit, WM_SETREDRAW, FALSE, 0);
            set();
            SendMessageW(edit.edit, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(edit.edit, NULL, TRUE);
        }), "ms");
        Report("settext control hidden", Measure(clear, [&] {
            ShowWindow(edit.edit, SW_HIDE);
            set();
            ShowWindow(edit.edit, SW_SHOW);
        }), "ms");
    }
    edit.UseEditorLook();
    Report("settext editor font and tabs", Measure(clear, set), "ms");
    return 0;
}
