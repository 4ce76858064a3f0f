// Typing into the editor's control, and what the bare control's
// WM_SETTEXT costs by the window's state and the font.
#include "bench/figures.h"
#include "bench/harness.h"

#include "base/process.h"

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
