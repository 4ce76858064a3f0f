// Undo and Redo with the keys a person presses.
#include "driver.h"

#include "resources/resource.h"

TEST(UndoKeys, CtrlZAltBackspaceAndCtrlYWalkTheHistory)
{
    std::string path = FreshFolder() + "keys.c";
    ASSERT_TRUE(WriteBytes(path, ""));
    Program editor;
    ASSERT_TRUE(Launch(editor, path));
    ASSERT_TRUE(WaitFor([&] { return TextOf(editor.main) == "PENRIK - " + path; }, 10000)) << TextOf(editor.main);
    HWND edit = GetDlgItem(editor.main, IDC_EDIT);
    auto type = [&](const char* text) {
        for (const char* c = text; *c != 0; ++c)
            PostMessageA(edit, WM_CHAR, (WPARAM)(unsigned char)*c, 1);
        Settle(editor);
    };
    auto expect = [&](const char* text) {
        EXPECT_TRUE(WaitFor([&] { return TextOf(edit) == text; }, 5000)) << TextOf(edit);
    };

    // Three steps: a word, Enter with the indentation it brings, a word.
    type("\t{");
    PressKey(editor, VK_RETURN);
    type("y;");
    expect("\t{\r\n\t\ty;");

    PressKey(editor, 'Z', true);
    expect("\t{\r\n\t\t");
    PressKey(editor, VK_BACK, false, true);
    expect("\t{");
    PressKey(editor, 'Z', true);
    expect("");
    PressKey(editor, 'Z', true);  // nothing older
    expect("");

    PressKey(editor, 'Y', true);
    PressKey(editor, 'Y', true);
    expect("\t{\r\n\t\t");
    PressKey(editor, 'Y', true);
    expect("\t{\r\n\t\ty;");

    // Back at the text as loaded, Exit has nothing to ask.
    for (int i = 0; i < 3; ++i)
        PressKey(editor, VK_BACK, false, true);
    expect("");
    PostMessageA(editor.main, WM_COMMAND, IDM_EXIT, 0);
    End(editor);
    EXPECT_EQ("", ReadBytes(path));
}
