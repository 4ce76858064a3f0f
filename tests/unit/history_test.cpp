#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

#include "editing/history.h"

namespace {

// A text and its history, edited as the control would be.
struct Editor {
    std::u16string text;
    EditHistory history;

    explicit Editor(HistoryLimits limits = DEFAULT_HISTORY_LIMITS, HistoryMemory memory = {nullptr, nullptr})
        : history(limits, memory)
    {
    }
    bool Edit(size_t at, size_t count, const std::u16string& inserted, EditKind kind)
    {
        std::u16string removed = text.substr(at, count);
        text.replace(at, count, inserted);
        return history.Record(at, removed.data(), removed.size(), inserted.data(), inserted.size(), kind);
    }
    void Type(const std::u16string& characters)
    {
        for (char16_t c : characters)
            Edit(text.size(), 0, std::u16string(1, c), EDIT_TYPING);
    }
    bool Undo()
    {
        const EditStep* step = history.Undo();
        if (step != nullptr)
            text.replace(step->at, step->insertedLength, std::u16string(step->removed, step->removedLength));
        return step != nullptr;
    }
    bool Redo()
    {
        const EditStep* step = history.Redo();
        if (step != nullptr)
            text.replace(step->at, step->removedLength, std::u16string(step->inserted, step->insertedLength));
        return step != nullptr;
    }
};

TEST(EditHistory, AStepIsWhatAUserCountsAsOneEdit)
{
    Editor e;
    e.Type(u"int x");                             // one run
    e.Edit(5, 0, u"\r\n", EDIT_NEW_LINE);         // Enter with its indentation
    e.Edit(7, 0, u"\t", EDIT_INDENT);
    e.Type(u"y;");
    e.Edit(9, 1, u"", EDIT_BACKSPACE);            // two Backspaces
    e.Edit(8, 1, u"", EDIT_BACKSPACE);
    e.history.EndRun();                           // the caret moved
    e.Edit(0, 1, u"", EDIT_DELETE);               // two Deletes
    e.Edit(0, 1, u"", EDIT_DELETE);
    e.Edit(0, 1, u"T", EDIT_TYPING);              // typed over a selection
    e.Edit(1, 0, u"!", EDIT_TYPING);
    EXPECT_EQ(u"T! x\r\n\t", e.text);
    EXPECT_EQ(6u, e.history.Steps());

    const char16_t* before[] = {u"t x\r\n\t", u"int x\r\n\t", u"int x\r\n\ty;", u"int x\r\n\t", u"int x", u""};
    for (const char16_t* text : before) {
        ASSERT_TRUE(e.Undo());
        EXPECT_EQ(text, e.text);
    }
    EXPECT_FALSE(e.Undo());
    while (e.Redo()) {
    }
    EXPECT_EQ(u"T! x\r\n\t", e.text);
}

TEST(EditHistory, KnowsTheSavedTextAndDropsWhatANewEditMakesUnreachable)
{
    Editor e;
    EXPECT_TRUE(e.history.AtSavedText());
    e.Type(u"ab");
    e.history.MarkSaved();
    e.Type(u"c");  // a save ends the run: "ab" stays reachable
    EXPECT_FALSE(e.history.AtSavedText());
    e.Undo();
    EXPECT_EQ(u"ab", e.text);
    EXPECT_TRUE(e.history.AtSavedText());
    e.Undo();
    EXPECT_FALSE(e.history.AtSavedText());
    e.Edit(0, 0, u"z", EDIT_OTHER);  // the redo branch, and the saved text with it, go
    EXPECT_FALSE(e.history.CanRedo());
    e.Undo();
    EXPECT_EQ(u"", e.text);
    EXPECT_FALSE(e.history.AtSavedText());
}

TEST(EditHistory, KeepsTheNewestStepsWithinItsBounds)
{
    Editor e({3, 1000});
    for (int i = 0; i < 5; ++i)
        e.Edit(e.text.size(), 0, u"x", EDIT_OTHER);
    EXPECT_EQ(3u, e.history.Steps());
    while (e.Undo()) {
    }
    EXPECT_EQ(u"xx", e.text);  // the two oldest are out of reach

    Editor small({100, 10 * sizeof(char16_t)});
    small.Edit(0, 0, u"abcd", EDIT_OTHER);
    small.Edit(4, 0, u"efgh", EDIT_OTHER);
    small.Edit(8, 0, u"ijklmnopqrstuvwxyz", EDIT_OTHER);  // larger than the bound alone
    EXPECT_EQ(1u, small.history.Steps());
    EXPECT_TRUE(small.Undo());
    EXPECT_EQ(u"abcdefgh", small.text);
    EXPECT_FALSE(small.Undo());
}

int allocationsLeft = -1;  // fail once this many more succeed; -1: never
void* Allocate(size_t bytes)
{
    if (allocationsLeft == 0)
        return nullptr;
    if (allocationsLeft > 0)
        --allocationsLeft;
    return malloc(bytes);
}

TEST(EditHistory, MemoryThatRunsShortEmptiesTheHistoryAndTheEditStands)
{
    Editor e(DEFAULT_HISTORY_LIMITS, {Allocate, free});
    e.Type(u"ab");
    allocationsLeft = 1;  // the step, not its text
    EXPECT_FALSE(e.Edit(2, 0, u"cd", EDIT_OTHER));
    allocationsLeft = -1;
    EXPECT_EQ(u"abcd", e.text);
    EXPECT_EQ(0u, e.history.Steps());
    EXPECT_EQ(0u, e.history.Bytes());
    EXPECT_FALSE(e.Undo());
    EXPECT_FALSE(e.history.AtSavedText());
    EXPECT_TRUE(e.Edit(4, 0, u"e", EDIT_TYPING));  // and goes on afterwards
    EXPECT_TRUE(e.Undo());
    EXPECT_EQ(u"abcd", e.text);
}

}  // namespace
