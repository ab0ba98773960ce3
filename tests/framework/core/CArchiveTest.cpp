#include "framework/core/CArchive.h"
#include "framework/core/CList.h"
#include "framework/core/CMemFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

using Bytes = std::vector<BYTE>;

namespace {

// Counts the test objects alive, so that failed loads can be checked for leaks and
// double deletes alike.
class CTracked : public CObject {
public:
    CTracked() { Live().insert(this); }
    CTracked(const CTracked&) = delete;
    ~CTracked() override { Live().erase(this); }
    static std::set<CTracked*>& Live()
    {
        static std::set<CTracked*> live;
        return live;
    }
    static void DeleteAll()
    {
        const std::set<CTracked*> left = Live();
        for (CTracked* p : left) delete p;
    }
};

} // namespace

class CGoldItem : public CTracked {
    DECLARE_SERIAL(CGoldItem)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_value << m_colour << m_ratio;
        } else {
            m_schemaSeen = ar.GetObjectSchema();
            m_schemaSeenAgain = ar.GetObjectSchema();
            ar >> m_value >> m_colour >> m_ratio;
        }
    }
    short m_value = 0;
    DWORD m_colour = 0;
    double m_ratio = 0;
    UINT m_schemaSeen = 0;
    UINT m_schemaSeenAgain = 0;
};
IMPLEMENT_SERIAL(CGoldItem, CObject, 1)

// Holds a name and two pointers it does not own.
class CGoldHolder : public CTracked {
    DECLARE_SERIAL(CGoldHolder)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_name << m_pRef << m_pNone;
        else
            ar >> m_name >> m_pRef >> m_pNone;
    }
    CString m_name;
    CObject* m_pRef = nullptr;
    CObject* m_pNone = nullptr;
};
IMPLEMENT_SERIAL(CGoldHolder, CObject, 2)

// Writes nothing of its own: two bytes of tag per object.
class CGoldEmpty : public CTracked {
    DECLARE_SERIAL(CGoldEmpty)
};
IMPLEMENT_SERIAL(CGoldEmpty, CObject, 0)

namespace {

Bytes Store(const std::function<void(CArchive&)>& write)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    return file.Detach();
}

void Load(const Bytes& bytes, const std::function<void(CArchive&)>& read)
{
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    read(ar);
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// The holder's name: 300 characters in Windows-1252, the degree sign one byte of them.
std::string LongNameTail()
{
    std::string tail;
    for (int i = 0; i < 292; ++i) tail += char('a' + i % 26);
    return tail;
}
const std::string kLongNameUtf8 = "Feld 90\xC2\xB0" + LongNameTail();
const std::string kLongNameCp1252 = "Feld 90\xB0" + LongNameTail();

// A list of four: item a, item b, a holder that refers back to a and holds a null
// pointer, and b again. Indexes: class CObList 1, the list 2, class CGoldItem 3, a 4,
// b 5, class CGoldHolder 6, the holder 7.
const Bytes kGolden = Cat({
    {0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00}, Text("CObList"),
    {0x04, 0x00},
    {0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00}, Text("CGoldItem"),
    {0xFE, 0xFF, 0xEE, 0xFF, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F},
    {0x03, 0x80},
    {0x2C, 0x01, 0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xD0, 0xBF},
    {0xFF, 0xFF, 0x02, 0x00, 0x0B, 0x00}, Text("CGoldHolder"),
    {0xFF, 0x2C, 0x01}, Text(kLongNameCp1252),
    {0x04, 0x00},
    {0x00, 0x00},
    {0x05, 0x00},
});

// Offsets into kGolden of the fields the corruption cases change.
constexpr std::size_t kCountAt = 13;
constexpr std::size_t kItemSchemaAt = 17;
constexpr std::size_t kItemNameAt = 21;
constexpr std::size_t kSecondItemTagAt = 44;
constexpr std::size_t kStringLengthAt = 77;
constexpr std::size_t kRefToAAt = 380;
constexpr std::size_t kRefToBAt = 384;

struct GoldGraph {
    CGoldItem a;
    CGoldItem b;
    CGoldHolder holder;
    CObList list;

    GoldGraph()
    {
        a.m_value = -2;
        a.m_colour = 0x00C0FFEE;
        a.m_ratio = 1.5;
        b.m_value = 300;
        b.m_colour = 0x12345678;
        b.m_ratio = -0.25;
        holder.m_name = kLongNameUtf8.c_str();
        holder.m_pRef = &a;
        list.AddTail(&a);
        list.AddTail(&b);
        list.AddTail(&holder);
        list.AddTail(&b);
    }
};

int ArchiveCause(const Bytes& bytes, const CRuntimeClass* pExpected = nullptr)
{
    int cause = CArchiveException::none;
    try {
        Load(bytes, [&](CArchive& ar) { delete ar.ReadObject(pExpected); });
    } catch (const CArchiveException& e) {
        cause = e.m_cause;
    }
    CTracked::DeleteAll();
    return cause;
}

Bytes Replaced(Bytes bytes, std::size_t at, std::initializer_list<BYTE> with, std::size_t replacing)
{
    bytes.erase(bytes.begin() + std::ptrdiff_t(at), bytes.begin() + std::ptrdiff_t(at + replacing));
    bytes.insert(bytes.begin() + std::ptrdiff_t(at), with);
    return bytes;
}

} // namespace

TEST(CArchive, ObjectGraphIsWrittenAsTheGoldenBytes)
{
    ASSERT_EQ(kGolden[kItemNameAt], 'C');
    ASSERT_EQ(kGolden[kSecondItemTagAt + 1], 0x80);
    ASSERT_EQ(kGolden[kStringLengthAt], 0xFF);
    ASSERT_EQ(kGolden.size(), kRefToBAt + 2);

    GoldGraph graph;
    const Bytes written = Store([&](CArchive& ar) { ar << &graph.list; });
    EXPECT_EQ(written, kGolden);
}

TEST(CArchive, GoldenBytesReadBackIntoTheSameGraph)
{
    CObject* pRoot = nullptr;
    Load(kGolden, [&](CArchive& ar) { ar >> pRoot; });
    std::unique_ptr<CObList> list(dynamic_cast<CObList*>(pRoot));
    ASSERT_TRUE(list);
    ASSERT_EQ(list->GetCount(), 4);

    auto* a = dynamic_cast<CGoldItem*>(list->GetAt(list->FindIndex(0)));
    auto* b = dynamic_cast<CGoldItem*>(list->GetAt(list->FindIndex(1)));
    auto* holder = dynamic_cast<CGoldHolder*>(list->GetAt(list->FindIndex(2)));
    ASSERT_TRUE(a && b && holder);
    EXPECT_EQ(list->GetAt(list->FindIndex(3)), b);
    EXPECT_EQ(a->m_value, -2);
    EXPECT_EQ(a->m_colour, 0x00C0FFEEu);
    EXPECT_EQ(a->m_ratio, 1.5);
    EXPECT_EQ(a->m_schemaSeen, 1u);
    EXPECT_EQ(a->m_schemaSeenAgain, UINT(-1));
    EXPECT_EQ(b->m_value, 300);
    EXPECT_EQ(b->m_colour, 0x12345678u);
    EXPECT_EQ(b->m_ratio, -0.25);
    EXPECT_EQ(holder->m_name.str(), kLongNameUtf8);
    EXPECT_EQ(holder->m_pRef, a);
    EXPECT_EQ(holder->m_pNone, nullptr);
    EXPECT_EQ(CTracked::Live().size(), 3u);
    CTracked::DeleteAll();
}

TEST(CArchive, EveryTruncationRaisesEndOfFileAndLeavesNothingBehind)
{
    for (std::size_t length = 0; length < kGolden.size(); ++length) {
        const Bytes prefix(kGolden.begin(), kGolden.begin() + std::ptrdiff_t(length));
        EXPECT_EQ(ArchiveCause(prefix), CArchiveException::endOfFile) << "prefix of " << length << " bytes";
        EXPECT_TRUE(CTracked::Live().empty());
    }
}

TEST(CArchive, CorruptedArchivesRaiseTheirCause)
{
    struct Case {
        const char* what;
        Bytes bytes;
        int cause;
    };
    const Case cases[] = {
        {"class index not yet defined", Replaced(kGolden, kSecondItemTagAt, {0x09, 0x80}, 2), CArchiveException::badIndex},
        {"class index naming an object", Replaced(kGolden, kSecondItemTagAt, {0x02, 0x80}, 2), CArchiveException::badIndex},
        {"object reference naming a class", Replaced(kGolden, kRefToAAt, {0x03, 0x00}, 2), CArchiveException::badIndex},
        {"object reference beyond the table", Replaced(kGolden, kRefToBAt, {0x08, 0x00}, 2), CArchiveException::badIndex},
        {"big object reference beyond the table", Replaced(kGolden, kRefToBAt, {0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F}, 2),
         CArchiveException::badIndex},
        {"big class reference beyond the table", Replaced(kGolden, kSecondItemTagAt, {0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF}, 2),
         CArchiveException::badIndex},
        {"unknown class name", Replaced(kGolden, kItemNameAt, {'X'}, 1), CArchiveException::badClass},
        {"class name with a NUL", Replaced(kGolden, kItemNameAt + 8, {0x00}, 1), CArchiveException::badClass},
        {"class name of 64 bytes", Replaced(kGolden, kItemSchemaAt + 2, {0x40, 0x00}, 2), CArchiveException::badClass},
        {"schema of another version", Replaced(kGolden, kItemSchemaAt, {0x02, 0x00}, 2), CArchiveException::badSchema},
        {"huge list count", Replaced(kGolden, kCountAt, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, 2), CArchiveException::endOfFile},
        {"huge string length", Replaced(kGolden, kStringLengthAt, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 3),
         CArchiveException::endOfFile},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ArchiveCause(c.bytes), c.cause) << c.what;
        EXPECT_TRUE(CTracked::Live().empty()) << c.what;
    }
}

TEST(CArchive, ReadObjectInsistsOnTheRequestedClass)
{
    EXPECT_EQ(ArchiveCause(kGolden, RUNTIME_CLASS(CGoldItem)), CArchiveException::badClass);
    EXPECT_EQ(ArchiveCause(kGolden, RUNTIME_CLASS(CObList)), CArchiveException::none);

    // A back-reference is checked as well: the second read wants a holder and finds an item.
    CGoldItem item;
    const Bytes bytes = Store([&](CArchive& ar) { ar << &item << &item; });
    int cause = CArchiveException::none;
    try {
        Load(bytes, [](CArchive& ar) {
            std::unique_ptr<CObject> first(ar.ReadObject(RUNTIME_CLASS(CGoldItem)));
            CGoldHolder* second = nullptr;
            ar >> second;
        });
    } catch (const CArchiveException& e) {
        cause = e.m_cause;
    }
    EXPECT_EQ(cause, CArchiveException::badClass);
}

TEST(CArchive, IndexesFrom0x7FFFUseTheBigTag)
{
    // Class 1, objects 2..0x7FFF, then class CGoldItem 0x8000 and its object 0x8001.
    std::vector<std::unique_ptr<CGoldEmpty>> empties;
    for (int i = 0; i < 0x7FFE; ++i) empties.push_back(std::make_unique<CGoldEmpty>());
    CGoldItem first;
    CGoldItem second;
    const Bytes bytes = Store([&](CArchive& ar) {
        for (const auto& p : empties) ar << p.get();
        ar << &first << &second << &first << empties.back().get() << empties.front().get();
    });
    const Bytes expectedTail = Cat({
        {0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00}, Text("CGoldItem"), Bytes(14, 0x00),
        {0xFF, 0x7F, 0x00, 0x80, 0x00, 0x80}, Bytes(14, 0x00),
        {0xFF, 0x7F, 0x01, 0x80, 0x00, 0x00},
        {0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x00},
        {0x02, 0x00},
    });
    ASSERT_GT(bytes.size(), expectedTail.size());
    EXPECT_EQ(Bytes(bytes.end() - std::ptrdiff_t(expectedTail.size()), bytes.end()), expectedTail);

    Load(bytes, [&](CArchive& ar) {
        std::vector<CObject*> read;
        for (std::size_t i = 0; i < empties.size() + 5; ++i) read.push_back(ar.ReadObject(nullptr));
        EXPECT_EQ(read[empties.size() + 2], read[empties.size()]);
        EXPECT_EQ(read[empties.size() + 3], read[empties.size() - 1]);
        EXPECT_EQ(read[empties.size() + 4], read[0]);
        EXPECT_TRUE(read[empties.size() + 1]->IsKindOf(RUNTIME_CLASS(CGoldItem)));
    });
    empties.clear();
    const std::set<CTracked*> keep{&first, &second};
    for (CTracked* p : std::set<CTracked*>(CTracked::Live()))
        if (!keep.count(p)) delete p;
}

TEST(CArchive, ValuesAreLittleEndian)
{
    const Bytes bytes = Store([](CArchive& ar) {
        ar << BYTE(0x12) << WORD(0x1234) << short(-2) << int(-2) << DWORD(0xDEADBEEF) << 1.0f << 1.5;
        ar.WriteCount(0xFFFE);
        ar.WriteCount(0xFFFF);
    });
    const Bytes expected = {0x12, 0x34, 0x12, 0xFE, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xBE, 0xAD, 0xDE,
                            0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F,
                            0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
    EXPECT_EQ(bytes, expected);

    Load(bytes, [](CArchive& ar) {
        BYTE by = 0;
        WORD w = 0;
        short s = 0;
        int i = 0;
        DWORD dw = 0;
        float f = 0;
        double d = 0;
        ar >> by >> w >> s >> i >> dw >> f >> d;
        EXPECT_EQ(by, 0x12);
        EXPECT_EQ(w, 0x1234);
        EXPECT_EQ(s, -2);
        EXPECT_EQ(i, -2);
        EXPECT_EQ(dw, 0xDEADBEEFu);
        EXPECT_EQ(f, 1.0f);
        EXPECT_EQ(d, 1.5);
        EXPECT_EQ(ar.ReadCount(), 0xFFFEu);
        EXPECT_EQ(ar.ReadCount(), 0xFFFFu);
    });
}

TEST(CArchive, StringLengthPrefixes)
{
    struct Case {
        std::size_t length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        const CString text(std::string(c.length, 'q'));
        const Bytes bytes = Store([&](CArchive& ar) { ar << text; });
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + std::ptrdiff_t(c.prefix.size())), c.prefix) << c.length;
        CString back;
        Load(bytes, [&](CArchive& ar) { ar >> back; });
        EXPECT_EQ(back, text) << c.length;
    }
}

TEST(CArchive, WrongDirectionRaisesReadOnlyOrWriteOnly)
{
    int cause = CArchiveException::none;
    try {
        Load({0x01}, [](CArchive& ar) { ar << BYTE(1); });
    } catch (const CArchiveException& e) {
        cause = e.m_cause;
    }
    EXPECT_EQ(cause, CArchiveException::readOnly);

    cause = CArchiveException::none;
    try {
        Store([](CArchive& ar) {
            BYTE by = 0;
            ar >> by;
        });
    } catch (const CArchiveException& e) {
        cause = e.m_cause;
    }
    EXPECT_EQ(cause, CArchiveException::writeOnly);
}

TEST(CArchive, ClosingALoadingArchiveLeavesTheFileAtTheObjectsEnd)
{
    CGoldItem item;
    Bytes bytes = Store([&](CArchive& ar) { ar << &item; });
    const std::size_t objectLength = bytes.size();
    bytes.resize(bytes.size() + 5000, 0xAB);

    CMemFile file(bytes.data(), UINT(bytes.size()));
    {
        CArchive ar(&file, CArchive::load);
        std::unique_ptr<CObject> read(ar.ReadObject(RUNTIME_CLASS(CGoldItem)));
        ar.Close();
    }
    EXPECT_EQ(file.GetPosition(), objectLength);
}

TEST(CArchive, ObjectsWithoutSchemaCannotBeWritten)
{
    CObject* plain = new CPtrList;
    std::unique_ptr<CObject> owner(plain);
    EXPECT_THROW(Store([&](CArchive& ar) { ar << plain; }), CNotSupportedException);
}
