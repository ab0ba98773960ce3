#include "model/CKVRConfigList.h"

#include "ArchiveBytes.h"
#include "framework/ui/CComboBox.h"
#include "framework/ui/CListBox.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/WindowHandle.h"
#include "model/CKVRControlConfig.h"
#include "model/CKVRSensorConfig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Counts the live objects, so that a test sees every deletion.
class CountedItem : public CObject {
public:
    explicit CountedItem(int& live) : m_live(live) { ++m_live; }
    ~CountedItem() override { --m_live; }

private:
    int& m_live;
};

TEST(CKVRConfigListTest, PositionsNamesAndOwnership)
{
    int live = 0;
    {
        CKVRConfigList list;
        EXPECT_TRUE(list.IsEmpty());
        EXPECT_EQ(list.Add("A", std::make_unique<CountedItem>(live)), 1);
        EXPECT_EQ(list.Add("B", std::make_unique<CountedItem>(live)), 1);
        EXPECT_EQ(list.Add("A", nullptr), 1);
        EXPECT_EQ(list.GetCount(), 3);
        EXPECT_EQ(live, 2);

        EXPECT_EQ(list.FindByName("A"), 0); // first of two
        EXPECT_EQ(list.FindByName("a"), -1);
        EXPECT_EQ(list.FindByName("C"), -1);
        EXPECT_STREQ(list.GetName(1), "B");
        EXPECT_STREQ(list.GetName(3), "");
        EXPECT_STREQ(list.GetName(-1), "");
        EXPECT_EQ(list.GetObject(2), nullptr);
        EXPECT_EQ(list.GetObject(5), nullptr);

        EXPECT_EQ(list.Rename(2, "C"), 1);
        EXPECT_EQ(list.Rename(3, "D"), 0);
        EXPECT_EQ(list.FindByName("C"), 2);

        EXPECT_EQ(list.SetObject(2, std::make_unique<CountedItem>(live)), 1);
        EXPECT_EQ(live, 3);
        EXPECT_EQ(list.SetObject(0, std::make_unique<CountedItem>(live)), 1);
        EXPECT_EQ(live, 3); // the old one went
        EXPECT_EQ(list.SetObject(3, nullptr), 0);

        EXPECT_EQ(list.RemoveAt(3), 0);
        EXPECT_EQ(list.RemoveAt(0), 1);
        EXPECT_EQ(live, 2);
        EXPECT_STREQ(list.GetName(0), "B");
        list.RemoveAll();
        EXPECT_EQ(live, 0);
        list.Add("E", std::make_unique<CountedItem>(live));
    }
    EXPECT_EQ(live, 0); // the list deletes what it holds
}

TEST(CKVRConfigListTest, ArchiveBytesAndLoadingAppends)
{
    CKVRConfigList list(RUNTIME_CLASS(CKVRSensorConfig));
    list.Add("S1", std::make_unique<CKVRSensorConfig>());
    list.Add("", nullptr);
    list.Add("S3", std::make_unique<CKVRSensorConfig>());
    const std::vector<BYTE> bytes = StoreBytes(list);
    std::vector<BYTE> expected = {0x03, 0x00, 0x02, 'S', '1', 0xFF, 0xFF, 0x01, 0x00, 0x10, 0x00};
    const std::string className = "CKVRSensorConfig";
    expected.insert(expected.end(), className.begin(), className.end());
    expected.insert(expected.end(), {0x01, 0x00, 0x00, 0x00, 0x02, 'S', '3', 0x01, 0x80, 0x01});
    EXPECT_EQ(bytes, expected);

    CKVRConfigList loaded(RUNTIME_CLASS(CKVRSensorConfig));
    loaded.Add("old", nullptr);
    LoadBytes(loaded, bytes);
    ASSERT_EQ(loaded.GetCount(), 4);
    EXPECT_STREQ(loaded.GetName(1), "S1");
    EXPECT_NE(dynamic_cast<CKVRSensorConfig*>(loaded.GetObject(1)), nullptr);
    EXPECT_EQ(loaded.GetObject(2), nullptr);
    EXPECT_STREQ(loaded.GetName(3), "S3");
}

TEST(CKVRConfigListTest, LoadingRefusesForeignClassesAndSharedObjects)
{
    CKVRConfigList cases(RUNTIME_CLASS(CKVRControlConfig));
    cases.Add("C", std::make_unique<CKVRControlConfig>());
    const std::vector<BYTE> caseBytes = StoreBytes(cases);
    CKVRConfigList sensors(RUNTIME_CLASS(CKVRSensorConfig));
    EXPECT_EQ(LoadFailure(sensors, caseBytes), CArchiveException::badClass);

    // The second item refers back to the first object: two owners would delete it twice.
    CKVRConfigList list(RUNTIME_CLASS(CKVRSensorConfig));
    list.Add("S1", std::make_unique<CKVRSensorConfig>());
    std::vector<BYTE> bytes = StoreBytes(list);
    bytes[0] = 2;
    bytes.insert(bytes.end(), {0x02, 'S', '2', 0x02, 0x00}); // object index 2
    CKVRConfigList shared(RUNTIME_CLASS(CKVRSensorConfig));
    EXPECT_EQ(LoadFailure(shared, bytes), CArchiveException::badIndex);
    EXPECT_EQ(shared.GetCount(), 1);

    // A count beyond the data ends the load without a crash.
    EXPECT_EQ(LoadFailure(shared, {0xFF, 0xFF}), CArchiveException::endOfFile);
}

class ConfigListControlTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(m_dialog.CreateEx(0, nullptr, "lists", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 300), nullptr, 0));
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 200, 100), &m_dialog, 2080));
        ASSERT_TRUE(m_combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(10, 110, 200, 250), &m_dialog, 2081));
        m_items.Add("Case", nullptr);
        m_items.Add("Second case", nullptr);
    }
    void TearDown() override
    {
        m_combo.DestroyWindow();
        m_list.DestroyWindow();
        m_dialog.DestroyWindow();
    }
    std::vector<std::string> ListLines()
    {
        std::vector<std::string> lines;
        for (int i = 0; i < m_list.GetCount(); ++i) {
            CString text;
            m_list.GetText(i, text);
            lines.emplace_back(text.c_str());
        }
        return lines;
    }
    std::vector<std::string> ComboLines()
    {
        std::vector<std::string> lines;
        for (int i = 0; i < m_combo.GetCount(); ++i) {
            CString text;
            m_combo.GetLBText(i, text);
            lines.emplace_back(text.c_str());
        }
        return lines;
    }

    CWnd m_dialog;
    CListBox m_list;
    CComboBox m_combo;
    CKVRConfigList m_items;
};

TEST_F(ConfigListControlTest, LinesAreNumberedOrBare)
{
    m_list.AddString("stale");
    m_items.FillListBox(&m_list, FALSE);
    EXPECT_EQ(ListLines(), (std::vector<std::string>{"1\tCase", "2\tSecond case"}));
    m_items.FillListBox(&m_list, TRUE);
    EXPECT_EQ(ListLines(), (std::vector<std::string>{"Case", "Second case"}));

    m_items.FillComboBox(&m_combo, FALSE);
    EXPECT_EQ(ComboLines(), (std::vector<std::string>{"1\tCase", "2\tSecond case"}));
    m_items.FillComboBox(&m_combo, TRUE);
    EXPECT_EQ(ComboLines(), (std::vector<std::string>{"Case", "Second case"}));
}

} // namespace
