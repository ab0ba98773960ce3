// The rules of the KVR inputs page that the sheet and the wizard share: the order of the
// refusals, and what is taken from and stored into the configuration.
#include "dialogs/KVRInputsChoice.h"

#include "model/CKVRConfig.h"

#include <gtest/gtest.h>

namespace {

constexpr BYTE kNotOnThePage = 0x80;

TEST(KVRInputsChoiceTest, RefusalsInTheirOrder)
{
    struct Case {
        const char* what;
        KVRInputsChoice choice;
        UINT refusal;
    };
    const Case cases[] = {
        {"input 1 and option A", {.input = {1, 0, 0, 0}}, 0},
        {"input 4 alone", {.input = {0, 0, 0, 1}}, 0},
        {"speed alone", {.speed = 1}, 0},
        {"nothing to evaluate", {}, KVRInputsChoice::IDP_NOTHING_TO_EVALUATE},
        {"nothing to evaluate before no option", {.optionA = 0}, KVRInputsChoice::IDP_NOTHING_TO_EVALUATE},
        {"no option", {.input = {0, 1, 0, 0}, .optionA = 0}, KVRInputsChoice::IDP_NO_OPTION},
        {"no option before an extra", {.input = {1, 0, 0, 0}, .optionA = 0, .extraA = 1},
         KVRInputsChoice::IDP_NO_OPTION},
        {"option B alone", {.input = {1, 0, 0, 0}, .optionA = 0, .optionB = 1, .extraB = 1}, 0},
        {"extra A without option A",
         {.input = {1, 0, 0, 0}, .optionA = 0, .optionB = 1, .extraA = 1},
         KVRInputsChoice::IDP_EXTRA_WITHOUT_OPTION},
        {"extra B without option B", {.input = {1, 0, 0, 0}, .extraB = 1}, KVRInputsChoice::IDP_EXTRA_WITHOUT_OPTION},
        {"both extras with their options", {.speed = 1, .optionB = 1, .extraA = 1, .extraB = 1}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.choice.Refusal(), c.refusal) << c.what;
}

TEST(KVRInputsChoiceTest, TakenWithOptionAAndStoredBackKeepingTheOtherFlags)
{
    CKVRConfig config;
    config.SetUsedFlags(BYTE(kNotOnThePage | 0x02 | kUsesSpeed | kUsesOssdB));
    config.SetOssdA(0);
    config.SetOssdB(1);

    KVRInputsChoice choice = KVRInputsChoice::TakeFrom(config);
    EXPECT_EQ(config.GetUsedFlags(), BYTE(kNotOnThePage | 0x02 | kUsesSpeed | kUsesOssdA | kUsesOssdB))
        << "every unit uses option A";
    EXPECT_EQ(choice.input, (std::array<int, 4>{0, 1, 0, 0}));
    EXPECT_EQ(choice.speed, 1);
    EXPECT_EQ(choice.optionA, 1);
    EXPECT_EQ(choice.optionB, 1);
    EXPECT_EQ(choice.extraA, 0);
    EXPECT_EQ(choice.extraB, 1);

    choice.input = {1, 0, 0, 1};
    choice.speed = 0;
    choice.optionB = 0;
    choice.extraA = 1;
    choice.extraB = 0;
    choice.StoreInto(config);
    EXPECT_EQ(config.GetUsedFlags(), BYTE(kNotOnThePage | 0x01 | 0x08 | kUsesOssdA));
    EXPECT_EQ(config.GetOssdA(), 1);
    EXPECT_EQ(config.GetOssdB(), 0);
}

} // namespace
