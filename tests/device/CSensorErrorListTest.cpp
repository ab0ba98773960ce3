#include "device/CSensorErrorList.h"

#include "device/SensorHelpers.h"
#include "driver/orudrv.h"
#include "framework/core/Library.h"
#include "framework/core/Resources.h"

#include <gtest/gtest.h>

namespace {

SensorAnswer ErrorListAnswer(BYTE status, BYTE count)
{
    SensorAnswer answer;
    answer.SetByte(AnswerOffset::Status, status);
    answer.SetByte(AnswerOffset::Command, 0xB2);
    answer.SetByte(9, count);
    for (std::size_t i = 0; i < 50; ++i) {
        answer.SetByte(10 + 2 * i, BYTE(100 + i));
        answer.SetByte(11 + 2 * i, BYTE(200 + i));
    }
    return answer;
}

TEST(CSensorErrorListTest, EmptyUntilParsed)
{
    const CSensorErrorList list;
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetFamily(), 255);
    EXPECT_EQ(list.GetClass(0), 0);
    EXPECT_EQ(list.GetCode(0), 0);
    EXPECT_TRUE(list.GetCodeText(0).IsEmpty());
}

TEST(CSensorErrorListTest, ParseTakesFamilyCountAndPairs)
{
    CSensorErrorList list;
    ASSERT_TRUE(list.Parse(ErrorListAnswer(0x08, 3).Bytes()));
    EXPECT_EQ(list.GetFamily(), 1);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetClass(0), 100);
    EXPECT_EQ(list.GetCode(0), 200);
    EXPECT_EQ(list.GetClass(2), 102);
    EXPECT_EQ(list.GetCode(2), 202);
    // Entries behind the count are not the list's.
    EXPECT_EQ(list.GetCode(3), 0);
    EXPECT_EQ(list.GetCode(-1), 0);

    ASSERT_TRUE(list.Parse(ErrorListAnswer(0x00, 48).Bytes()));
    EXPECT_EQ(list.GetFamily(), 0);
    EXPECT_EQ(list.GetCount(), 48);
    EXPECT_EQ(list.GetCode(47), 247);
}

TEST(CSensorErrorListTest, CountAboveFortyEightIsRefusedAndKeepsTheList)
{
    CSensorErrorList list;
    ASSERT_TRUE(list.Parse(ErrorListAnswer(0x08, 2).Bytes()));
    for (BYTE count : {49, 255}) {
        EXPECT_FALSE(list.Parse(ErrorListAnswer(0x00, count).Bytes()));
        EXPECT_EQ(list.GetCount(), 2);
        EXPECT_EQ(list.GetFamily(), 1);
        EXPECT_EQ(list.GetCode(1), 201);
    }
}

// The texts come from the driver in the language library: the class by its own text
// class, the code by the family of the device that sent the list.
TEST(CSensorErrorListTest, TextsComeFromTheDriverByTheListsFamily)
{
    const HMODULE language = LoadLibrary("LAN_ENG.DLL");
    ASSERT_NE(language, nullptr) << GetLastLibraryError().c_str();
    OruDrvSetResourceHandle(reinterpret_cast<intptr_t>(language));
    auto text = [language](UINT id) {
        char buffer[256] = {};
        LoadString(language, id, buffer, sizeof buffer);
        return CString(buffer);
    };

    SensorAnswer answer;
    answer.SetByte(9, 1);
    answer.SetByte(10, 1);  // class
    answer.SetByte(11, 40); // code
    CSensorErrorList list;
    ASSERT_TRUE(list.Parse(answer.Bytes()));
    EXPECT_EQ(list.GetClassText(0), text(629));
    EXPECT_EQ(list.GetCodeText(0), text(842)); // scanner error 40
    answer.SetByte(AnswerOffset::Status, 0x08);
    ASSERT_TRUE(list.Parse(answer.Bytes()));
    EXPECT_EQ(list.GetCodeText(0), text(1337)); // interface unit error 40
    EXPECT_FALSE(list.GetCodeText(0).IsEmpty());
    EXPECT_TRUE(list.GetClassText(1).IsEmpty());
    EXPECT_TRUE(DeviceErrorText(2, 40).IsEmpty());

    OruDrvSetResourceHandle(0);
    FreeLibrary(language);
}

} // namespace
