#include "model/CSensorType.h"

#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

struct Block {
    WORD code;
    WORD variant;
    const char* model;
    WORD protectiveMax;
    BYTE minScans, maxScans;
    UINT protectiveText, warningText;
};

// Every row with both of its limit blocks.
const Block kBlocks[] = {
    {4, 0, "ZOK 31x-x44", 400, 2, 16, 522, 523},  {4, 1, "ZOK 31x-x44", 400, 2, 16, 522, 523},
    {7, 0, "ZOK 31x-x47", 400, 2, 16, 524, 525},  {7, 1, "ZOK 31x-x47", 650, 4, 4, 524, 525},
    {50, 0, "ZOK 62x-x45", 5000, 2, 16, 526, 527}, {50, 1, "ZOK 62x-x45", 5000, 2, 16, 526, 527},
};

TEST(CSensorTypeTest, EveryLimitBlockHoldsItsValues)
{
    for (const Block& b : kBlocks) {
        SCOPED_TRACE(testing::Message() << "code " << b.code << " variant " << b.variant);
        const CSensorType type(b.code, b.variant);
        EXPECT_EQ(type.GetTypeCode(), b.code);
        EXPECT_EQ(type.GetVariant(), b.variant);
        EXPECT_STREQ(type.GetModelName(), b.model);

        EXPECT_EQ(type.GetMinAngle(), 0);
        EXPECT_EQ(type.GetMaxAngle(), 180);
        EXPECT_EQ(type.GetAngleSpan(), 180);
        EXPECT_FLOAT_EQ(type.GetAngleStep(), 0.5f);
        EXPECT_EQ(type.GetBeamCount(), 361);

        EXPECT_EQ(type.GetMinDistance(), 5);
        EXPECT_EQ(type.GetMaxDistance(), 5000);
        EXPECT_EQ(type.GetDistanceStep(), 1);
        EXPECT_EQ(type.GetDistanceSpan(), 4995);
        EXPECT_EQ(type.GetGeneralFourthValue(), 40);
        EXPECT_EQ(type.GetDefaultDistance(), 50);

        EXPECT_EQ(type.GetProtectiveMinDistance(), 5);
        EXPECT_EQ(type.GetProtectiveMaxDistance(), b.protectiveMax);
        EXPECT_EQ(type.GetProtectiveDistanceStep(), 1);
        EXPECT_EQ(type.GetProtectiveDefaultDistance(), 50);
        EXPECT_EQ(type.GetProtectiveMaxWidth(), b.protectiveMax);

        EXPECT_EQ(type.GetWarningMinDistance(), 5);
        EXPECT_EQ(type.GetWarningMaxDistance(), 5000);
        EXPECT_EQ(type.GetWarningDistanceStep(), 1);
        EXPECT_EQ(type.GetWarningDefaultDistance(), 50);

        EXPECT_EQ(type.GetMinScanCount(), b.minScans);
        EXPECT_EQ(type.GetMaxScanCount(), b.maxScans);

        EXPECT_EQ(type.GetGeneralFieldTextId(), 0u);
        EXPECT_EQ(type.GetProtectiveFieldTextId(), b.protectiveText);
        EXPECT_EQ(type.GetWarningFieldTextId(), b.warningText);
        EXPECT_EQ(type.GetLayer(), 0);
        EXPECT_EQ(type.GetUnit(), 0);
        EXPECT_STREQ(type.GetUnitText(), "cm");
    }
}

TEST(CSensorTypeTest, LimitsByFieldKindFollowTheKindTable)
{
    for (const Block& b : kBlocks) {
        SCOPED_TRACE(testing::Message() << "code " << b.code << " variant " << b.variant);
        const CSensorType type(b.code, b.variant);
        struct {
            int kind;
            WORD min, max, step, def, width;
        } const kinds[] = {
            {0, 5, 5000, 1, 50, 5000},
            {1, 5, b.protectiveMax, 1, 50, b.protectiveMax},
            {2, 5, 5000, 1, 50, 5000},
            {3, 5, 5000, 1, 50, 5000},
            {-1, 5, 5000, 1, 50, 5000},
        };
        for (const auto& k : kinds) {
            EXPECT_EQ(type.GetMinDistanceOfKind(k.kind), k.min) << k.kind;
            EXPECT_EQ(type.GetMaxDistanceOfKind(k.kind), k.max) << k.kind;
            EXPECT_EQ(type.GetDistanceStepOfKind(k.kind), k.step) << k.kind;
            EXPECT_EQ(type.GetDefaultDistanceOfKind(k.kind), k.def) << k.kind;
            EXPECT_EQ(type.GetMaxWidthOfKind(k.kind), k.width) << k.kind;
        }
    }
}

// Older files and devices hand over a whole byte; only its bit 0 picks the limit block,
// so every type the model holds has limits and can be written and read back.
TEST(CSensorTypeTest, VariantIsBitZeroOfWhatIsHandedOver)
{
    struct {
        WORD given;
        WORD variant;
        WORD protectiveMax;
        BYTE maxScans;
    } const cases[] = {{2, 0, 400, 16}, {3, 1, 650, 4}, {0xFE, 0, 400, 16}, {0x101, 1, 650, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        CSensorType set;
        set.SetTypeCode(7);
        set.SetVariant(c.given);
        for (const CSensorType& type : {CSensorType(7, c.given), set}) {
            EXPECT_EQ(type.GetVariant(), c.variant);
            EXPECT_EQ(type.GetProtectiveMaxDistance(), c.protectiveMax);
            EXPECT_EQ(type.GetMaxScanCount(), c.maxScans);
            EXPECT_EQ(type.GetBeamCount(), 361);
            EXPECT_TRUE(type == CSensorType(7, c.variant));
        }
    }
}

TEST(CSensorTypeTest, TypeCodesOutsideTheTableSelectNoRow)
{
    struct {
        UINT code;
        int row;
    } const lookups[] = {{4, 0}, {7, 1}, {50, 2}, {0, -1}, {9, -1}, {132, -1}, {0x10004, 0}, {0xFFFF, -1}, {0xFFFFFFFF, -1}};
    for (const auto& l : lookups) {
        EXPECT_EQ(CSensorType::FindTypeIndex(l.code), l.row) << l.code;
        EXPECT_EQ(CSensorType::IsKnownTypeCode(l.code), l.row >= 0) << l.code;
    }

    CSensorType fallback;
    fallback.SetType(9, 1);
    EXPECT_EQ(fallback.GetTypeCode(), 4);
    EXPECT_EQ(fallback.GetVariant(), 1);

    CSensorType kept(50, 1);
    EXPECT_FALSE(kept.SetTypeCode(9));
    EXPECT_EQ(kept.GetTypeCode(), 50);
    EXPECT_EQ(kept.GetVariant(), 1);
    EXPECT_TRUE(kept.SetTypeCode(7));
    EXPECT_EQ(kept.GetTypeCode(), 7);
    EXPECT_EQ(kept.GetVariant(), 1);
}

TEST(CSensorTypeTest, DefaultCopyAndComparison)
{
    const CSensorType standard;
    EXPECT_EQ(standard.GetTypeCode(), 4);
    EXPECT_EQ(standard.GetVariant(), 0);

    CSensorType a(7, 1);
    CSensorType b(a);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a != b);
    b.SetVariant(0);
    EXPECT_TRUE(a != b);
    b = a;
    EXPECT_TRUE(a == b);
    b.SetTypeCode(50);
    EXPECT_TRUE(a != b);
    b.CopyFrom(b);
    EXPECT_EQ(b.GetTypeCode(), 50);
}

TEST(CSensorTypeTest, BeamCountForResolutionChoice)
{
    const int expected[] = {91, 181, 361, 0, 0};
    const int choices[] = {0, 1, 2, 3, -1};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(CSensorType::GetBeamCountForResolution(choices[i]), expected[i]) << choices[i];
}

// A window holding one drop-down list combo, with string 996 marking its insertions.
class SensorTypeComboTest : public testing::Test {
protected:
    static constexpr int kComboId = 2027;

    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        std::string error;
        m_module = CreateResourceModule("types.rc", "STRINGTABLE\nBEGIN\n 996 \"%1/%2/%3\"\nEND\n", nullptr, error);
        ASSERT_NE(m_module, nullptr) << error;
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
        ASSERT_TRUE(m_dialog.CreateEx(0, nullptr, "types", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(m_combo.Create("COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST,
                                   CRect(10, 10, 200, 150), &m_dialog, kComboId));
    }
    void TearDown() override
    {
        m_combo.DestroyWindow();
        m_dialog.DestroyWindow();
        AfxSetResourceHandle(m_previous);
        if (m_module)
            FreeLibrary(m_module);
    }

    void Exchange(BOOL saving, CSensorType& type)
    {
        CDataExchange dx(&m_dialog, saving);
        DDX_SensorTypeCombo(&dx, kComboId, type);
    }
    void AddEntry(const char* text, LPARAM data)
    {
        const LRESULT index = m_combo.SendMessage(CB_ADDSTRING, 0, LPARAM(text));
        m_combo.SendMessage(CB_SETITEMDATA, WPARAM(index), data);
    }
    // Each entry as its text and item data.
    std::vector<std::pair<std::string, LPARAM>> Entries()
    {
        std::vector<std::pair<std::string, LPARAM>> entries;
        const int count = int(m_combo.SendMessage(CB_GETCOUNT));
        for (int i = 0; i < count; ++i) {
            char text[64] = {};
            m_combo.SendMessage(CB_GETLBTEXT, WPARAM(i), LPARAM(text));
            entries.emplace_back(text, m_combo.SendMessage(CB_GETITEMDATA, WPARAM(i)));
        }
        return entries;
    }
    int Selection() { return int(m_combo.SendMessage(CB_GETCURSEL)); }
    void Select(int index) { m_combo.SendMessage(CB_SETCURSEL, WPARAM(index)); }

    CWnd m_dialog;
    CWnd m_combo;
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

TEST_F(SensorTypeComboTest, LoadingFillsOneEntryPerRowAndSelectsTheType)
{
    CSensorType type(7, 1);
    Exchange(FALSE, type);
    const std::vector<std::pair<std::string, LPARAM>> expected = {
        {"31/44/4.0m", 4}, {"31/47/6.5m", 7}, {"62/45/50.0m", 50}};
    EXPECT_EQ(Entries(), expected);
    EXPECT_EQ(Selection(), 1);

    type.SetTypeCode(50);
    Exchange(FALSE, type);
    EXPECT_EQ(Entries(), expected);
    EXPECT_EQ(Selection(), 2);
}

TEST_F(SensorTypeComboTest, ThreeEntriesAreKeptAndOthersRefilled)
{
    AddEntry("first", 50);
    AddEntry("second", 4);
    AddEntry("third", 7);
    CSensorType type(4, 0);
    Exchange(FALSE, type);
    EXPECT_EQ(Entries().front().first, "first");
    EXPECT_EQ(Selection(), 1);

    m_combo.SendMessage(CB_RESETCONTENT);
    AddEntry("stale", 4);
    Exchange(FALSE, type);
    ASSERT_EQ(Entries().size(), 3u);
    EXPECT_EQ(Entries().front().first, "31/44/4.0m");
    EXPECT_EQ(Selection(), 0);
}

TEST_F(SensorTypeComboTest, SavingTakesTheSelectedTypeCodeOnly)
{
    CSensorType type(4, 1);
    Exchange(FALSE, type);
    Select(2);
    Exchange(TRUE, type);
    EXPECT_EQ(type.GetTypeCode(), 50);
    EXPECT_EQ(type.GetVariant(), 1);

    Select(-1); // no selection changes nothing
    Exchange(TRUE, type);
    EXPECT_EQ(type.GetTypeCode(), 50);

    m_combo.SendMessage(CB_SETITEMDATA, 0, 9); // an entry that names no type
    Select(0);
    Exchange(TRUE, type);
    EXPECT_EQ(type.GetTypeCode(), 50);
}

} // namespace
