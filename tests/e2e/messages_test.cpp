// A compiler's message in the build results, double-clicked: the editor
// of its file comes to its line.
#include "driver.h"

#include "resources/resource.h"

TEST(MessageLinks, ADoubleClickInTheBuildResultsTakesTheEditorToTheLine)
{
    std::string folder = FreshFolder();
    ASSERT_TRUE(WriteBytes(folder + "hello.c", "int main(void)\r\n{\r\n\treturn x;\r\n}\r\n"));
    ASSERT_TRUE(WriteBytes(folder + "buildres.ult",
                           "hello.c: In function 'main':\r\nhello.c:3:9: error: 'x' undeclared\r\n"));
    Program editor, results;
    ASSERT_TRUE(Launch(editor, "hello.c", folder));
    ASSERT_TRUE(WaitFor([&] { return TextOf(editor.main) == "PENRIK - " + folder + "hello.c"; }, 10000));
    ASSERT_TRUE(Launch(results, "buildres.ult", folder));
    ASSERT_TRUE(WaitFor([&] { return TextOf(results.main) == "PENRIK - " + folder + "buildres.ult"; }, 10000));

    // The mouse, twice on the message's line.
    HWND list = GetDlgItem(results.main, IDC_EDIT);
    LRESULT first = SendMessageA(list, EM_LINEINDEX, 1, 0);
    LRESULT place = SendMessageA(list, EM_POSFROMCHAR, (WPARAM)first + 2, 0);
    LPARAM point = MAKELPARAM(LOWORD(place) + 1, HIWORD(place) + 2);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        PostMessageA(list, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, point);
    Settle(results);

    HWND edit = GetDlgItem(editor.main, IDC_EDIT);
    EXPECT_TRUE(WaitFor([&] { return LOWORD(SendMessageA(edit, EM_GETSEL, 0, 0)) == 27; }, 10000))
        << LOWORD(SendMessageA(edit, EM_GETSEL, 0, 0));
    EXPECT_EQ(2, SendMessageA(edit, EM_LINEFROMCHAR, (WPARAM)-1, 0));
    // The results stay as they were.
    EXPECT_EQ("PENRIK - " + folder + "buildres.ult", TextOf(results.main));

    PostMessageA(results.main, WM_COMMAND, IDM_EXIT, 0);
    End(results);
    PostMessageA(editor.main, WM_COMMAND, IDM_EXIT, 0);
    End(editor);
}
