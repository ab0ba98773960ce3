#include "framework/core/CArchive.h"
#include "framework/core/CArray.h"
#include "framework/core/CMemFile.h"

#include <gtest/gtest.h>

#include <vector>

using Bytes = std::vector<BYTE>;

namespace {

template <class Array>
Bytes Store(Array& array)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        array.Serialize(ar);
    }
    return file.Detach();
}

template <class Array>
void Load(const Bytes& bytes, Array& array)
{
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    array.Serialize(ar);
}

template <class Array>
int LoadCause(const Bytes& bytes)
{
    Array array;
    try {
        Load(bytes, array);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return CArchiveException::none;
}

} // namespace

TEST(CArray, GrowsInsertsAndRemoves)
{
    CUIntArray array;
    array.SetSize(2);
    EXPECT_EQ(array[0], 0u);
    array.SetAtGrow(4, 40);
    EXPECT_EQ(array.GetSize(), 5);
    EXPECT_EQ(array.Add(50), 5);
    array.InsertAt(1, 7, 2);
    array.InsertAt(9, 90); // beyond the end: grows first
    EXPECT_EQ(array.GetSize(), 10);
    array.RemoveAt(0, 3);
    const std::vector<UINT> expected{0, 0, 0, 40, 50, 0, 90};
    ASSERT_EQ(array.GetSize(), int(expected.size()));
    for (int i = 0; i < array.GetSize(); ++i) EXPECT_EQ(array.GetAt(i), expected[std::size_t(i)]) << i;

    array.SetAtGrow(100, array[3]); // the element copied lives in the array that grows
    EXPECT_EQ(array[100], 40u);

    EXPECT_THROW(array.GetAt(101), CInvalidArgException);
    EXPECT_THROW(array[-1], CInvalidArgException);
    EXPECT_THROW(array.RemoveAt(99, 3), CInvalidArgException);
    EXPECT_THROW(array.SetSize(-1), CInvalidArgException);
}

TEST(CArray, NumberArraysStoreCountAndLittleEndianValues)
{
    CWordArray words;
    words.Add(0x1234);
    words.Add(0xFFFF);
    EXPECT_EQ(Store(words), (Bytes{0x02, 0x00, 0x34, 0x12, 0xFF, 0xFF}));

    CDWordArray dwords;
    dwords.Add(0xDEADBEEF);
    EXPECT_EQ(Store(dwords), (Bytes{0x01, 0x00, 0xEF, 0xBE, 0xAD, 0xDE}));

    CByteArray bytes;
    bytes.Add(0xAB);
    EXPECT_EQ(Store(bytes), (Bytes{0x01, 0x00, 0xAB}));

    // From 0xFFFF elements on the count takes the escape form.
    CWordArray many;
    many.SetSize(0x10000);
    many[0x8000] = 0xBEEF;
    const Bytes stored = Store(many);
    ASSERT_EQ(stored.size(), 6u + 2 * 0x10000);
    EXPECT_EQ(Bytes(stored.begin(), stored.begin() + 6), (Bytes{0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}));
    CWordArray back;
    back.Add(1); // loading replaces the content
    Load(stored, back);
    EXPECT_EQ(back.GetSize(), 0x10000);
    EXPECT_EQ(back[0x8000], 0xBEEF);
    EXPECT_EQ(back[0], 0);
}

TEST(CArray, StringArrayRoundTrip)
{
    CStringArray names;
    names.Add("Fall 1");
    names.Add(CString(std::string(300, 'n')));
    CStringArray back;
    Load(Store(names), back);
    ASSERT_EQ(back.GetSize(), 2);
    EXPECT_EQ(back[0], "Fall 1");
    EXPECT_EQ(back[1], names[1]);
}

TEST(CArray, DamagedCountsEndAtTheDataWithoutHugeAllocations)
{
    const Bytes hugeCount{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x02};
    EXPECT_EQ(LoadCause<CWordArray>(hugeCount), CArchiveException::endOfFile);
    EXPECT_EQ(LoadCause<CDWordArray>(hugeCount), CArchiveException::endOfFile);
    EXPECT_EQ(LoadCause<CByteArray>(hugeCount), CArchiveException::endOfFile);
    EXPECT_EQ(LoadCause<CStringArray>(hugeCount), CArchiveException::endOfFile);
    EXPECT_EQ(LoadCause<CWordArray>(Bytes{0x03, 0x00, 0x01, 0x00, 0x02}), CArchiveException::endOfFile);
}
