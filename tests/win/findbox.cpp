#include "findbox.h"

std::deque<DialogStep> dialogSteps;

namespace {

int stuckTicks;

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = FindWindowA("#32770", "Find");
    if (dialog == NULL)
        dialog = FindWindowA("#32770", "Go To");
    if (dialog == NULL || GetWindowThreadProcessId(dialog, NULL) != GetCurrentThreadId())
        return;
    if (GetPropA(dialog, "driven") != NULL) {
        if (++stuckTicks == 300) {
            ADD_FAILURE() << "the dialog stayed open";
            EndDialog(dialog, 0);
        }
        return;
    }
    SetPropA(dialog, "driven", (HANDLE)1);
    stuckTicks = 0;
    if (dialogSteps.empty()) {
        ADD_FAILURE() << "unexpected dialog";
        EndDialog(dialog, 0);
        return;
    }
    DialogStep step = dialogSteps.front();
    dialogSteps.pop_front();
    step(dialog);
}

}  // namespace

DialogStep Enter(const char* find, const char* replacement, int button, bool clickCase)
{
    return [=](HWND dialog) {
        if (find != NULL)
            SetDlgItemTextA(dialog, IDC_FINDTEXT, find);
        if (replacement != NULL)
            SetDlgItemTextA(dialog, IDC_REPLTEXT, replacement);
        if (clickCase)
            SendDlgItemMessageA(dialog, IDC_CASE, BM_CLICK, 0, 0);
        SendDlgItemMessageA(dialog, button, BM_CLICK, 0, 0);
    };
}

void FindBoxTest::SetUp()
{
    PenrikTest::SetUp();
    dialogSteps.clear();
    timer = SetTimer(NULL, 0, 10, DriveDialog);
}

void FindBoxTest::TearDown()
{
    KillTimer(NULL, timer);
    EXPECT_TRUE(dialogSteps.empty()) << "a dialog step never ran";
    PenrikTest::TearDown();
}

void FindBoxTest::WithDialog(int command, DialogStep step)
{
    dialogSteps.push_back(step);
    Command(command);
}

std::string FindBoxTest::Boxes()
{
    std::string seen;
    for (const BoxCall& box : script.boxes)
        if (box.text == "Done" && box.caption == "Find String" && box.type == (MB_OK | MB_ICONINFORMATION))
            seen += "Done;";
        else
            seen += box.text + ";";
    script.boxes.clear();
    return seen;
}
