// Undo and Redo: random edits sent as the keyboard, the mouse and the
// commands send them, against a model of the history they should leave.
#include "findbox.h"

#include <random>
#include <vector>

namespace {

enum Run { TYPING = 1, BACKSPACES, DELETES };

// The texts Undo and Redo should walk: one per step, and which one was
// saved (-1: none any more).
struct Model {
    std::vector<std::string> texts;
    size_t now = 0;
    long saved = 0;
    int openRun = 0;  // the kind of edit a further one of the same kind joins; 0: none

    // An edit left `text`; `run` is its kind when a run of it is one step.
    void Edit(const std::string& text, int run)
    {
        const std::string& old = texts[now];
        if (text == old)
            return;
        // A Backspace or Delete that brought indentation is a step of its own.
        size_t head = 0, tail = 0;
        while (head < old.size() && head < text.size() && old[head] == text[head])
            ++head;
        while (tail < old.size() - head && tail < text.size() - head &&
               old[old.size() - 1 - tail] == text[text.size() - 1 - tail])
            ++tail;
        if (run != TYPING && text.size() - head - tail > 0)
            run = 0;
        texts.resize(now + 1);
        if (saved > (long)now)
            saved = -1;
        if (run != 0 && run == openRun) {
            texts[now] = text;
        } else {
            texts.push_back(text);
            ++now;
        }
        openRun = run;
    }
};


class UndoRedo : public FindBoxTest {
protected:
    void Select(DWORD start, DWORD end) { SendMessageA(Penrik.hwndEdit, EM_SETSEL, start, end); }
    std::string SelectedText()
    {
        DWORD start = 0, end = 0;
        SendMessageA(Penrik.hwndEdit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        return EditText().substr(start, end - start);
    }
    // A place in the text that is not inside a line break.
    DWORD PlaceIn(const std::string& text, std::mt19937& random)
    {
        DWORD at = (DWORD)(random() % (text.size() + 1));
        return at > 0 && at < text.size() && text[at - 1] == '\r' ? at - 1 : at;
    }
    void ExpectModel(const Model& model, const char* what)
    {
        ASSERT_EQ(model.texts[model.now], EditText()) << what << " at step " << model.now;
        ASSERT_EQ(model.saved != (long)model.now, Modified()) << what << " at step " << model.now;
    }
    // Undo by one of its ways; the model goes one step back.
    void Undo(Model* model, std::mt19937& random)
    {
        switch (random() % 3) {
        case 0: Command(IDM_UNDO); break;
        case 1: Key(VK_BACK, false, true); break;
        case 2: Type("\x1A"); break;  // Ctrl+Z, as the control takes it
        }
        if (model->now > 0)
            --model->now;
        model->openRun = 0;
        ExpectModel(*model, "undo");
    }
    void Redo(Model* model, std::mt19937& random)
    {
        if (random() % 2)
            Command(IDM_REDO);
        else
            Key('Y', true);
        if (model->now + 1 < model->texts.size())
            ++model->now;
        model->openRun = 0;
        ExpectModel(*model, "redo");
    }
    void RandomStep(Model* model, std::mt19937& random)
    {
        static const char* words[] = {"a", "bc", " ", "\t", "{", "}", "x;", "if (a) {"};
        static const char* pastes[] = {"p", "q\r\n", "\tr;\r\n\ts", ""};
        std::string text = EditText();
        int run = 0;
        switch (random() % 14) {
        case 0:
        case 1: {
            // An edit that gives the same text again is one the model cannot see.
            const char* word = words[random() % 8];
            if (SelectedText() == word)
                return;
            Type(word);
            run = TYPING;
            break;
        }
        case 2: Key(VK_RETURN); break;
        case 3: Key(VK_BACK); run = BACKSPACES; break;
        case 4:
            if (!SelectedText().empty())
                return;
            Key(VK_DELETE);
            run = DELETES;
            break;
        case 5: {  // the caret moves, or a selection is made
            DWORD a = PlaceIn(text, random), b = random() % 2 ? a : PlaceIn(text, random);
            Select(a, b);
            model->openRun = 0;
            return;
        }
        case 6: {
            const char* paste = pastes[random() % 4];
            if (SelectedText() == paste)
                return;
            SetClipboard(paste);
            Command(IDM_PASTE);
            break;
        }
        case 7: Command(IDM_CUT); break;
        case 8: Command(IDM_CLEAR); break;
        case 9:
            SendMessageA(Penrik.hwndMain, WM_SETCURSOR, (WPARAM)Penrik.hwndEdit, MAKELPARAM(HTCLIENT, WM_RBUTTONUP));
            break;
        case 10: {  // Find, then Replace
            script.boxAnswers.push_back(IDOK);
            WithDialog(IDM_FIND, Enter(words[random() % 3], words[3 + random() % 5]));
            Command(IDM_REPLACE);
            script.boxAnswers.clear();
            model->openRun = 0;
            break;
        }
        case 11:
            script.boxAnswers.push_back(IDOK);
            WithDialog(IDM_REPLACEALL, Enter(words[random() % 3], words[3 + random() % 5]));
            script.boxAnswers.clear();
            model->openRun = 0;
            break;
        case 12:
            Command(IDM_SAVE);
            model->saved = (long)model->now;
            model->openRun = 0;
            return;
        case 13:
            if (random() % 2)
                Undo(model, random);
            else
                Redo(model, random);
            return;
        }
        model->Edit(EditText(), run);
        ExpectModel(*model, "edit");
    }
};

TEST_F(UndoRedo, EveryEditUndoneAndRedoneBackToTheLoadedText)
{
    const std::string loaded = "int main()\r\n{\r\n\tif (a) {\r\n\t\treturn 0;\r\n\t}\r\n}\r\n";
    for (unsigned int seed = 1; seed <= 16; ++seed) {
        if (started) {
            TearDown();
            SetUp();
        }
        std::string path = TempDir() + "model.c";
        WriteFileBytes(path, loaded);
        // Half the runs wrapped, where Replace All goes match by match.
        if (seed % 2)
            WriteSettings("[Penrik]\r\nWordWrap=1\r\n");
        Start(path);
        std::mt19937 random(seed);
        Model model;
        model.texts.push_back(loaded);
        ExpectModel(model, "loaded");
        for (int i = 0; i < 60 && !HasFatalFailure(); ++i)
            RandomStep(&model, random);

        // All the way back, one step too many, and all the way forward.
        size_t steps = model.now, total = model.texts.size();
        for (size_t i = 0; i <= steps && !HasFatalFailure(); ++i)
            Undo(&model, random);
        EXPECT_EQ(loaded, EditText()) << "seed " << seed;
        for (size_t i = 0; i < total && !HasFatalFailure(); ++i)
            Redo(&model, random);
        EXPECT_EQ(model.texts.back(), EditText()) << "seed " << seed;
        if (HasFatalFailure())
            return;
    }
}

TEST_F(UndoRedo, ABackspaceThatBringsIndentationIsUndoneWhole)
{
    Start();
    const char* text = "\tif (a) {\r\n\r\n\r\n";
    SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)text);
    SendMessageA(Penrik.hwndEdit, EM_SETSEL, 13, 13);  // the start of the third line
    SendMessageA(Penrik.hwndMain, WM_SETCURSOR, (WPARAM)Penrik.hwndEdit, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    Key(VK_BACK);  // onto the empty line above, which the change rule indents
    EXPECT_EQ("\tif (a) {\r\n\t\t\r\n", EditText());
    Command(IDM_UNDO);
    EXPECT_EQ(text, EditText());
    Command(IDM_REDO);
    EXPECT_EQ("\tif (a) {\r\n\t\t\r\n", EditText());
}

TEST_F(UndoRedo, MemoryThatRunsShortEmptiesTheHistoryNotTheEdit)
{
    Start();
    Type("ab");
    script.failAllocAfter = 0;  // the history's copy of the next character
    Type("c");
    EXPECT_EQ("abc", EditText());
    Command(IDM_UNDO);
    EXPECT_EQ("abc", EditText());
    EXPECT_TRUE(Modified());
    Type("d");
    Command(IDM_UNDO);
    EXPECT_EQ("abc", EditText());
    EXPECT_TRUE(Modified());  // the text before the loss is out of reach
}

TEST_F(UndoRedo, TheControlsOwnWaysTakeTheSameHistory)
{
    Start();
    Type("ab");
    Key(VK_RETURN);
    Type("c");
    EXPECT_TRUE(SendMessageW(Penrik.hwndEdit, EM_CANUNDO, 0, 0));
    SendMessageW(Penrik.hwndEdit, EM_UNDO, 0, 0);
    EXPECT_EQ("ab\r\n", EditText());
    SendMessageW(Penrik.hwndEdit, WM_UNDO, 0, 0);
    EXPECT_EQ("ab", EditText());
    // The control's menu, from the keyboard: its Undo, by its letter.
    PostMessageW(Penrik.hwndEdit, WM_CHAR, 'u', 1);
    SendMessageW(Penrik.hwndEdit, WM_CONTEXTMENU, (WPARAM)Penrik.hwndEdit, MAKELPARAM(-1, -1));
    EXPECT_EQ("", EditText());
    EXPECT_FALSE(SendMessageW(Penrik.hwndEdit, EM_CANUNDO, 0, 0));
    EXPECT_FALSE(Modified());
    // The right button's release, which has cut or pasted, opens no menu:
    // the letter is typed.
    PostMessageW(Penrik.hwndEdit, WM_CHAR, 'u', 1);
    SendMessageW(Penrik.hwndEdit, WM_CONTEXTMENU, (WPARAM)Penrik.hwndEdit, MAKELPARAM(40, 150));
    Pump();
    EXPECT_EQ("u", EditText());
}

TEST_F(UndoRedo, WordWrapKeepsTheHistoryOfTheTextItShowsAgain)
{
    std::string path = TempDir() + "wrap.txt";
    WriteFileBytes(path, "x");
    Start(path);
    Type("ab");
    script.boxAnswers = {IDYES};  // saved first: the same text comes back
    Command(IDM_WORDWRAP);
    EXPECT_EQ("abx", EditText());
    Command(IDM_UNDO);
    EXPECT_EQ("x", EditText());
    EXPECT_TRUE(Modified());

    script.boxAnswers = {IDNO};  // the changes dropped: the file's text, a new history
    Command(IDM_WORDWRAP);
    EXPECT_EQ("abx", EditText());
    Command(IDM_UNDO);
    EXPECT_EQ("abx", EditText());
    EXPECT_FALSE(Modified());
}

}  // namespace
