#include "model/CShelterSelection.h"

#include <gtest/gtest.h>

TEST(CShelterSelectionTest, SettersKeepByteThree)
{
    CShelterSelection selection;
    EXPECT_EQ(selection.GetValue(), 0x00FFFFFFu); // the same stored value every time
    EXPECT_EQ(selection.GetIndex(), -1);
    EXPECT_EQ(selection.GetSubIndex(), -1);
    EXPECT_EQ(selection.GetKind(), -1);

    struct Case {
        void (*apply)(CShelterSelection&);
        DWORD value;
    };
    const Case cases[] = {
        {[](CShelterSelection& s) { s.SetIndex(2); }, 0x11FFFF02},
        {[](CShelterSelection& s) { s.SetKind(2); }, 0x1102FFFF},
        {[](CShelterSelection& s) { s.SetIndexKind(5, 1); }, 0x1101FF05},
        {[](CShelterSelection& s) { s.SetIndexKindSub(5, 2, 3); }, 0x11020305},
        {[](CShelterSelection& s) { s.Clear(); }, 0x11FFFFFF},
    };
    for (const Case& c : cases) {
        selection.SetValue(0x11223344);
        c.apply(selection);
        EXPECT_EQ(selection.GetValue(), c.value) << std::hex << c.value;
    }
    selection.SetIndexKindSub(7, 1, 4);
    EXPECT_EQ(selection.GetIndex(), 7);
    EXPECT_EQ(selection.GetSubIndex(), 4);
    EXPECT_EQ(selection.GetKind(), 1);
}
