#include "framework/core/CArchive.h"
#include "framework/core/CList.h"
#include "framework/core/CMemFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<CString> Contents(const CStringList& list)
{
    std::vector<CString> out;
    for (POSITION position = list.GetHeadPosition(); position;) out.push_back(list.GetNext(position));
    return out;
}

std::vector<CString> Backwards(const CStringList& list)
{
    std::vector<CString> out;
    for (POSITION position = list.GetTailPosition(); position;) out.push_back(list.GetPrev(position));
    return out;
}

} // namespace

TEST(CList, PositionsInsertFindAndRemove)
{
    CStringList list;
    list.AddTail("b");
    const POSITION d = list.AddTail("d");
    list.AddHead("a");
    list.InsertBefore(d, "c");
    list.InsertAfter(d, "e");
    list.InsertBefore(nullptr, "head");
    list.InsertAfter(nullptr, "tail");
    EXPECT_EQ(Contents(list), (std::vector<CString>{"head", "a", "b", "c", "d", "e", "tail"}));
    EXPECT_EQ(Backwards(list), (std::vector<CString>{"tail", "e", "d", "c", "b", "a", "head"}));
    EXPECT_EQ(list.GetCount(), 7);

    EXPECT_EQ(list.Find("d"), d);
    EXPECT_EQ(list.Find("d", d), nullptr);
    EXPECT_EQ(list.FindIndex(4), d);
    EXPECT_EQ(list.FindIndex(7), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);

    list.SetAt(d, "D");
    list.RemoveAt(list.Find("c"));
    EXPECT_EQ(list.RemoveHead(), "head");
    EXPECT_EQ(list.RemoveTail(), "tail");
    EXPECT_EQ(list.GetHead(), "a");
    EXPECT_EQ(list.GetTail(), "e");
    EXPECT_EQ(Contents(list), (std::vector<CString>{"a", "b", "D", "e"}));
    EXPECT_EQ(Backwards(list), (std::vector<CString>{"e", "D", "b", "a"}));

    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    EXPECT_EQ(list.GetTailPosition(), nullptr);
}

TEST(CList, MisuseThrowsInsteadOfCrashing)
{
    CPtrList list;
    EXPECT_THROW(list.GetHead(), CInvalidArgException);
    EXPECT_THROW(list.RemoveTail(), CInvalidArgException);
    POSITION none = nullptr;
    EXPECT_THROW(list.GetNext(none), CInvalidArgException);
    EXPECT_THROW(list.RemoveAt(nullptr), CInvalidArgException);
}

TEST(CStringList, ArchiveFormAppendsOnLoad)
{
    CStringList list;
    list.AddTail("Feld 1");
    list.AddTail("");
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        list.Serialize(ar);
    }
    const std::vector<BYTE> bytes = file.Detach();
    EXPECT_EQ(bytes, (std::vector<BYTE>{0x02, 0x00, 0x06, 'F', 'e', 'l', 'd', ' ', '1', 0x00}));

    CStringList back;
    back.AddTail("kept");
    CMemFile in(bytes.data(), UINT(bytes.size()));
    CArchive ar(&in, CArchive::load);
    back.Serialize(ar);
    EXPECT_EQ(Contents(back), (std::vector<CString>{"kept", "Feld 1", ""}));
}
