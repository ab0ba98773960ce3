#include "driver/internal/DeviceTexts.h"

#include "driver/internal/DriverLastError.h"
#include "framework/core/Resources.h"
#include "framework/core/Utf8Text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <span>

namespace {

constexpr UINT IDS_FOLLOW_UP = 706;
constexpr UINT IDS_DELAY_UNIT = 695;
constexpr UINT IDS_TIME_UNIT = 699;
constexpr UINT IDS_SCAN_UNIT = 698;
// Appended strings pass a buffer of this size, terminating NUL included.
constexpr int APPENDED_TEXT_SIZE = 128;
constexpr int LEADING_TEXT_SIZE = 1024;

struct CodeText {
    WORD code;
    UINT id;
};

constexpr CodeText OPERATING_MODES[] = {{0, 634}, {1, 635}, {2, 636}, {16, 637}, {32, 638},
                                        {33, 646}, {34, 639}, {35, 647}, {36, 705}, {37, 703}};
constexpr CodeText CLASS_2[] = {{0, 696}, {1, 697}};
constexpr CodeText ERROR_CLASSES[] = {
    {0, 632},   {8, 632},   {1, 629},   {9, 629},   {2, 630},   {10, 630},  {3, 631},
    {11, 631},  {4, 628},   {12, 628},  {17, 787},  {18, 788},  {19, 789},  {20, 790},
    {33, 791},  {34, 792},  {35, 793},  {36, 794},  {129, 651}, {137, 651}, {130, 652},
    {138, 652}, {131, 653}, {139, 653}, {132, 655}, {140, 655}};
constexpr CodeText CLASS_6[] = {{0, 683}, {1, 684}, {2, 685}};
constexpr CodeText CLASS_19[] = {{0, 688}, {1, 686}, {2, 687}};
constexpr CodeText CLASS_20[] = {{0, 690}, {1, 689}};
constexpr CodeText CLASS_21[] = {{64, 691},    {65, 692},    {66, 693},    {67, 700},    {68, 774},    {69, 775},
                                 {70, 776},    {71, 777},    {72, 778},    {32769, 778}, {32770, 777}, {32771, 776},
                                 {32772, 775}, {32776, 774}, {32784, 700}, {32793, 691}, {32819, 692}, {32871, 693}};
constexpr CodeText CLASS_25[] = {{0, 702}, {1, 701}};
constexpr CodeText CLASS_28[] = {{0, 712}, {1, 711}};
constexpr CodeText CLASS_29[] = {{0, 710}, {1, 709}};
constexpr CodeText CLASS_39[] = {{0, 721}, {1, 722}};
constexpr CodeText CLASS_53[] = {{0, 724}, {1, 723}};

struct TableClass {
    int textClass;
    std::span<const CodeText> table;
};

const TableClass TABLE_CLASSES[] = {
    {1, OPERATING_MODES}, {2, CLASS_2},   {3, ERROR_CLASSES}, {6, CLASS_6},   {19, CLASS_19},
    {20, CLASS_20},       {21, CLASS_21}, {25, CLASS_25},     {28, CLASS_28}, {29, CLASS_29},
    {39, CLASS_39},       {53, CLASS_53},
};

// Classes with one string whatever the code.
struct FixedClass {
    int textClass;
    UINT id;
};

constexpr FixedClass FIXED_CLASSES[] = {{8, 554}, {17, 531}, {18, 544}, {32, 730}, {42, 733}, {43, 731}, {64, 795}};

struct ComposedClass {
    int textClass;
    UINT leading;
    bool plainNumber; // else the number in five places
    bool followUp;    // string 706 after the number
};

constexpr ComposedClass COMPOSED_CLASSES[] = {
    {26, 704, false, true},  {31, 716, false, true},  {34, 718, false, false}, {35, 717, false, false},
    {36, 719, false, true},  {38, 720, false, true},  {44, 725, false, false}, {45, 727, false, true},
    {46, 728, false, true},  {47, 729, true, true},   {48, 770, false, false}, {49, 771, false, false},
    {50, 772, false, true},  {51, 726, false, false}, {52, 755, false, false}, {54, 773, false, true},
    {57, 779, true, true},   {58, 780, false, true},  {59, 782, true, true},   {60, 781, true, true},
    {61, 784, false, true},  {62, 785, false, true},  {63, 783, false, false},
};

UINT LookUp(std::span<const CodeText> table, WORD code)
{
    const auto entry = std::find_if(table.begin(), table.end(), [code](const CodeText& e) { return e.code == code; });
    return entry != table.end() ? entry->id : IDS_UNKNOWN_DEVICE_CODE;
}

// ZOK error codes: 801 + code below 60, except that 40 and 41 swap places.
UINT ScannerErrorId(WORD code)
{
    if (code == 40)
        return 842;
    if (code == 41)
        return 841;
    return code < 60 ? 801u + code : IDS_UNKNOWN_DEVICE_CODE;
}

// KVR error codes.
UINT UnitErrorId(WORD code)
{
    static constexpr CodeText SINGLES[] = {{39, 1353}, {48, 1355}, {49, 1359}, {50, 1345}, {51, 1346}, {52, 1354},
                                           {53, 1347}, {54, 1348}, {55, 1351}, {56, 1349}, {57, 1350}, {58, 1352},
                                           {59, 1356}, {60, 1357}, {61, 1358}};
    if (code <= 38)
        return 1298u + code;
    if (code >= 40 && code <= 47)
        return 1337u + (code - 40u);
    if (code >= 62 && code <= 252)
        return 1360u + (code - 62u);
    return LookUp(SINGLES, code);
}

std::optional<UINT> TableTextId(int textClass, WORD code)
{
    if (textClass == 4)
        return ScannerErrorId(code);
    if (textClass == 55)
        return UnitErrorId(code);
    if (textClass == 30)
        return code == 1 ? 715u : 714u;
    for (const TableClass& entry : TABLE_CLASSES) {
        if (entry.textClass == textClass)
            return LookUp(entry.table, code);
    }
    for (const FixedClass& entry : FIXED_CLASSES) {
        if (entry.textClass == textClass)
            return entry.id;
    }
    return std::nullopt;
}

std::string LoadText(HINSTANCE module, UINT id, int bufferSize)
{
    std::string buffer(std::size_t(bufferSize), '\0');
    const int length = LoadString(module, id, buffer.data(), bufferSize);
    buffer.resize(std::size_t(std::max(length, 0)));
    return buffer;
}

// An appended string comes through the 128-byte buffer, and a doubled percent sign
// stands for one, as after a pass through a formatter. The text is never used as a
// format: a conversion in it stays as it is.
std::string AppendedText(HINSTANCE module, UINT id)
{
    const std::string text = LoadText(module, id, APPENDED_TEXT_SIZE);
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        result += text[i];
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%')
            ++i;
    }
    return result;
}

// The decimal digits right-aligned in five places, leading zeros shown as blanks.
std::string FivePlaces(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%5u", value);
    return text;
}

std::string PlainNumber(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u", value);
    return text;
}

const ComposedClass* FindComposed(int textClass)
{
    for (const ComposedClass& entry : COMPOSED_CLASSES) {
        if (entry.textClass == textClass)
            return &entry;
    }
    return nullptr;
}

// Two bits of the code pick one of three strings: value high, value low, else.
UINT BitPairText(WORD code, int shift, UINT ifHigh, UINT ifLow, UINT otherwise)
{
    const unsigned bits = (code >> shift) & 3u;
    if (bits == 2)
        return ifHigh;
    if (bits == 1)
        return ifLow;
    return otherwise;
}

std::string InterfaceStateText(WORD code, HINSTANCE module)
{
    std::string text = LoadText(module, 732, LEADING_TEXT_SIZE);
    text += AppendedText(module, BitPairText(code, 0, 735, 734, 736));
    text += AppendedText(module, BitPairText(code, 2, 738, 737, 739));
    text += AppendedText(module, BitPairText(code, 4, 741, 740, 742));
    text += AppendedText(module, BitPairText(code, 6, 744, 743, 745));
    const unsigned high = (code >> 10) & 3u;
    if (high == 3)
        text += AppendedText(module, 746);
    else if (high == 0)
        text += AppendedText(module, 747);
    return text;
}

// A leading string, then for each bit one of two strings: bit set, bit clear.
struct BitText {
    int bit;
    UINT ifSet;
    UINT ifClear;
};

std::string BitFieldText(UINT leading, std::span<const BitText> bits, WORD code, HINSTANCE module)
{
    std::string text = LoadText(module, leading, LEADING_TEXT_SIZE);
    for (const BitText& bit : bits)
        text += AppendedText(module, (code >> bit.bit) & 1u ? bit.ifSet : bit.ifClear);
    return text;
}

std::optional<std::string> RuleText(int textClass, WORD code, HINSTANCE module)
{
    static constexpr BitText CLASS_40_BITS[] = {
        {0, 756, 757}, {1, 758, 759}, {2, 760, 761}, {3, 762, 763}, {6, 764, 765}};
    static constexpr BitText CLASS_41_BITS[] = {{0, 766, 767}, {1, 768, 769}};
    switch (textClass) {
    case 22:
        return FivePlaces(code / 200u) + AppendedText(module, IDS_DELAY_UNIT);
    case 56:
        return FivePlaces(code) + AppendedText(module, IDS_DELAY_UNIT);
    case 23:
        return FivePlaces(code) + AppendedText(module, IDS_TIME_UNIT);
    case 24:
        return FivePlaces(code) + AppendedText(module, IDS_SCAN_UNIT);
    case 33:
        return InterfaceStateText(code, module);
    case 37:
        return LoadText(module, 750, LEADING_TEXT_SIZE)
            + AppendedText(module, code == 1 ? 753 : (code == 2 ? 754 : IDS_UNKNOWN_DEVICE_CODE));
    case 40:
        return BitFieldText(752, CLASS_40_BITS, code, module);
    case 41:
        return BitFieldText(751, CLASS_41_BITS, code, module);
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<std::string> ComposeDeviceText(int textClass, WORD code, HINSTANCE module)
{
    if (const std::optional<UINT> id = TableTextId(textClass, code))
        return LoadText(module, *id, LEADING_TEXT_SIZE);
    if (const ComposedClass* composed = FindComposed(textClass)) {
        std::string text = LoadText(module, composed->leading, LEADING_TEXT_SIZE);
        text += composed->plainNumber ? PlainNumber(code) : FivePlaces(code);
        if (composed->followUp)
            text += AppendedText(module, IDS_FOLLOW_UP);
        return text;
    }
    return RuleText(textClass, code, module);
}

int TextSensorText(int textClass, int code, char* buffer, int size)
{
    if (!buffer || size <= 0)
        return 0;
    const std::optional<std::string> text = ComposeDeviceText(textClass, WORD(code), GetDriverResourceHandle());
    if (!text)
        return 0;
    return CopyUtf8ToBuffer(*text, buffer, size) > 0 ? 1 : 0;
}
