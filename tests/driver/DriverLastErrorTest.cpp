#include "driver/internal/DriverLastError.h"
#include "framework/core/Library.h"
#include "framework/core/Resources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class LastErrorText : public ::testing::Test {
protected:
    void SetUp() override
    {
        char drain[DRIVER_LAST_ERROR_SIZE];
        CopyAndClearLastErrorText(drain, sizeof drain);
    }
};

TEST_F(LastErrorText, FetchFollowsTheErrorSensorRule)
{
    struct Case {
        bool failurePending;
        int size;
        int expectedResult;
        std::string expectedText;
    };
    const Case cases[] = {
        {false, 64, 0, ""},
        {true, 64, 1, "Error 522"},
        {true, 10, 1, "Error 522"}, // exactly fits
        {true, 4, 1, "Err"},        // size - 1 characters and a NUL
        {true, 1, 0, ""},           // room for the NUL only
    };
    for (const Case& c : cases) {
        if (c.failurePending)
            SetLastErrorText(IDS_DRV_RECEIVE_FAILED);
        char buffer[64];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(CopyAndClearLastErrorText(buffer, c.size), c.expectedResult) << c.size;
        EXPECT_EQ(std::string(buffer), c.expectedText);
        EXPECT_STREQ(PeekLastErrorText(), "") << "a fetch always empties the text";
        EXPECT_EQ(CopyAndClearLastErrorText(buffer, sizeof buffer), 0) << "a second fetch finds nothing";
    }
}

TEST_F(LastErrorText, NoRoomKeepsTheTextForALaterFetch)
{
    SetLastErrorText(IDS_DRV_OPEN_FAILED);
    char buffer[8] = "keep";
    EXPECT_EQ(CopyAndClearLastErrorText(buffer, 0), 0);
    EXPECT_EQ(CopyAndClearLastErrorText(buffer, -5), 0);
    EXPECT_EQ(CopyAndClearLastErrorText(nullptr, 8), 0);
    EXPECT_STREQ(buffer, "keep");
    char full[DRIVER_LAST_ERROR_SIZE];
    EXPECT_EQ(CopyAndClearLastErrorText(full, sizeof full), 1);
    EXPECT_STREQ(full, "Error 517");
}

TEST_F(LastErrorText, TextComesFromTheDriversLanguageLibrary)
{
    std::string error;
    HINSTANCE module = CreateResourceModule("driver.rc", R"(
STRINGTABLE
BEGIN
    517 "Port konnte nicht geöffnet werden"
END
)",
                                            {}, error);
    ASSERT_NE(module, nullptr) << error;
    SetDriverResourceHandle(module);
    EXPECT_EQ(GetDriverResourceHandle(), module);

    SetLastErrorText(IDS_DRV_OPEN_FAILED);
    EXPECT_STREQ(PeekLastErrorText(), "Port konnte nicht geöffnet werden");
    // 21 bytes end inside the two-byte ö: the cut steps back before it.
    char buffer[22];
    EXPECT_EQ(CopyAndClearLastErrorText(buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "Port konnte nicht ge");

    SetLastErrorText(IDS_DRV_RECEIVE_FAILED);
    EXPECT_STREQ(PeekLastErrorText(), "Error 522") << "an id the library lacks still leaves a text";

    SetDriverResourceHandle(nullptr);
    FreeLibrary(module);
}

TEST_F(LastErrorText, FailuresSharingAFieldNameIdUseTheirOwnTexts)
{
    std::string error;
    HINSTANCE module = CreateResourceModule("lan.rc", R"(
STRINGTABLE
BEGIN
    522 "Protective field"
    527 "Warning field"
    2522 "No answer"
    2527 "No memory"
END
)",
                                            {}, error);
    ASSERT_NE(module, nullptr) << error;
    SetDriverResourceHandle(module);
    SetLastErrorText(IDS_DRV_RECEIVE_FAILED);
    EXPECT_STREQ(PeekLastErrorText(), "No answer");
    SetLastErrorText(IDS_DRV_NO_MEMORY);
    EXPECT_STREQ(PeekLastErrorText(), "No memory");
    SetDriverResourceHandle(nullptr);
    FreeLibrary(module);
}

TEST_F(LastErrorText, LatestFailureWins)
{
    SetLastErrorText(IDS_DRV_PORT_CALL_FAILED);
    SetLastErrorText(IDS_DRV_LINE_STATE_UNREADABLE);
    EXPECT_STREQ(PeekLastErrorText(), "Error 516");
}

} // namespace
