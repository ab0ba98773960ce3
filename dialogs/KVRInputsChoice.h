#pragma once
// The inputs page of the KVR configuration, on the sheet and in the wizard alike: which
// control inputs, whether speed measurement and which of options A and B the unit uses,
// with the extra of each option, as the page's check boxes hold them (0 or 1), and the
// rules for taking them from a configuration and storing them back.
#include "framework/core/WinTypes.h"

#include <array>

class CDataExchange;
class CKVRConfig;

struct KVRInputsChoice {
    static constexpr UINT IDP_NO_OPTION = 460;
    static constexpr UINT IDP_NOTHING_TO_EVALUATE = 462;
    static constexpr UINT IDP_EXTRA_WITHOUT_OPTION = 465;

    // The check boxes of both pages; the speed box differs, so the pages name it.
    static constexpr std::array<int, 4> IDC_INPUTS = {2178, 2180, 2182, 2183};
    static constexpr int IDC_OPTION_A = 2184;
    static constexpr int IDC_OPTION_B = 2185;
    static constexpr int IDC_EXTRA_A = 2073;
    static constexpr int IDC_EXTRA_B = 2074;

    std::array<int, 4> input{};
    int speed = 0;
    int optionA = 1;
    int optionB = 0;
    int extraA = 0;
    int extraB = 0;

    // Every unit uses option A: the configuration takes it at once.
    static KVRInputsChoice TakeFrom(CKVRConfig& config);
    // The message that keeps the page, or 0 when the choice may be stored.
    UINT Refusal() const;
    // Shows the refusal, if any, with OK; true when the choice may be stored.
    bool Accept() const;
    // The used flags of the page (bits 0 to 6, the others kept) and the two extras.
    void StoreInto(CKVRConfig& config) const;
    // Between the choice and the page's check boxes, speed in the box `speedId`.
    void Exchange(CDataExchange* pDX, int speedId);
};

// What the monitoring cases of a configuration use, which the page does not let the user
// switch off.
struct KVRInputsInUse {
    std::array<bool, 4> input{};
    bool speed = false; // also when a case uses input 3 or 4, whose terminals speed takes
    bool optionB = false;

    static KVRInputsInUse Of(const CKVRConfig& config);
};
