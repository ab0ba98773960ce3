#include "dialogs/KVRInputsChoice.h"

#include "framework/ui/CDataExchange.h"
#include "framework/ui/DDX.h"
#include "framework/ui/MessageBox.h"
#include "model/CKVRConfig.h"

namespace {

constexpr BYTE kInputBits = 0x0F;
constexpr BYTE kSpeedInputBits = 0x0C; // inputs 3 and 4
constexpr BYTE kPageBits = kInputBits | kUsesSpeed | kUsesOssdA | kUsesOssdB;

BYTE InputBit(std::size_t index) { return BYTE(kUsesInput1 << index); }

bool Has(BYTE flags, BYTE bits) { return (flags & bits) != 0; }

} // namespace

KVRInputsChoice KVRInputsChoice::TakeFrom(CKVRConfig& config)
{
    config.SetUsedFlags(BYTE(config.GetUsedFlags() | kUsesOssdA));
    const BYTE flags = config.GetUsedFlags();
    KVRInputsChoice choice{
        .speed = Has(flags, kUsesSpeed),
        .optionA = 1,
        .optionB = Has(flags, kUsesOssdB),
        .extraA = config.GetOssdA() != 0,
        .extraB = config.GetOssdB() != 0,
    };
    for (std::size_t i = 0; i < choice.input.size(); ++i)
        choice.input[i] = Has(flags, InputBit(i));
    return choice;
}

UINT KVRInputsChoice::Refusal() const
{
    const bool anyInput = input[0] || input[1] || input[2] || input[3] || speed;
    if (!anyInput)
        return IDP_NOTHING_TO_EVALUATE;
    if (!optionA && !optionB)
        return IDP_NO_OPTION;
    if ((extraA && !optionA) || (extraB && !optionB))
        return IDP_EXTRA_WITHOUT_OPTION;
    return 0;
}

bool KVRInputsChoice::Accept() const
{
    const UINT refusal = Refusal();
    if (refusal != 0)
        AfxMessageBox(refusal, MB_OK);
    return refusal == 0;
}

void KVRInputsChoice::StoreInto(CKVRConfig& config) const
{
    BYTE flags = BYTE(config.GetUsedFlags() & ~kPageBits);
    for (std::size_t i = 0; i < input.size(); ++i)
        if (input[i])
            flags |= InputBit(i);
    if (speed)
        flags |= kUsesSpeed;
    if (optionA)
        flags |= kUsesOssdA;
    if (optionB)
        flags |= kUsesOssdB;
    config.SetUsedFlags(flags);
    config.SetOssdA(BYTE(extraA ? 1 : 0));
    config.SetOssdB(BYTE(extraB ? 1 : 0));
}

KVRInputsInUse KVRInputsInUse::Of(const CKVRConfig& config)
{
    const BYTE used = config.GetUsedInputs().bits;
    KVRInputsInUse inUse{
        .speed = Has(used, BYTE(kUsesSpeed | kSpeedInputBits)),
        .optionB = Has(used, kUsesOssdB),
    };
    for (std::size_t i = 0; i < inUse.input.size(); ++i)
        inUse.input[i] = Has(used, InputBit(i));
    return inUse;
}

void KVRInputsChoice::Exchange(CDataExchange* pDX, int speedId)
{
    for (std::size_t i = 0; i < IDC_INPUTS.size(); ++i)
        DDX_Check(pDX, IDC_INPUTS[i], input[i]);
    DDX_Check(pDX, speedId, speed);
    DDX_Check(pDX, IDC_OPTION_A, optionA);
    DDX_Check(pDX, IDC_OPTION_B, optionB);
    DDX_Check(pDX, IDC_EXTRA_A, extraA);
    DDX_Check(pDX, IDC_EXTRA_B, extraB);
}
