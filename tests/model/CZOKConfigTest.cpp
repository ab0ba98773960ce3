#include "model/CZOKConfig.h"

#include "ArchiveBytes.h"
#include "LanguageScript.h"
#include "LegacyRecordBytes.h"
#include "model/CKVRSensorConfig.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"

#include <gtest/gtest.h>

namespace {

const CSensorType kType50(50, 0);

std::unique_ptr<CRectShelter> Rectangle(const CSensorType& type)
{
    auto rect = std::make_unique<CRectShelter>();
    rect->Initialize(type, 100, 200, 300, kProtectiveField);
    return rect;
}

std::unique_ptr<CPolyShelter> Contour(const CSensorType& type)
{
    auto contour = std::make_unique<CPolyShelter>();
    contour->InitializeConstant(type, 500, 181, kWarningField);
    return contour;
}

// Names "P" and "W", option bytes 7, 3, 4, 5, 6, four scans, the pair (1, 30).
CZOKConfig ValuedConfig()
{
    CZOKConfig config;
    config.SetSensorType(CSensorType(50, 1));
    config.SetProtectiveName("P");
    config.SetWarningName("W");
    config.SetOption1(7);
    config.SetScanCount(4);
    config.SetOption3(3);
    config.SetOption4(4);
    config.SetOption5(5);
    config.SetOption6(6);
    config.GetModeDelay().Set(1, 30);
    return config;
}

void ExpectValues(const CZOKConfig& config)
{
    EXPECT_EQ(config.GetProtectiveName(), CString("P"));
    EXPECT_EQ(config.GetWarningName(), CString("W"));
    EXPECT_EQ(config.GetOption1(), 7);
    EXPECT_EQ(config.GetScanCount(), 4);
    EXPECT_EQ(config.GetOption3(), 3);
    EXPECT_EQ(config.GetOption4(), 4);
    EXPECT_EQ(config.GetOption5(), 5);
    EXPECT_EQ(config.GetOption6(), 6);
    EXPECT_EQ(config.GetModeDelay(), CModeDelay(1, 30));
}

// Names, option byte 1, mode and delay, scans and option bytes 3 to 6 as ValuedConfig
// has them.
void AppendNamesAndOptions(ByteBuilder& bytes)
{
    bytes.String("P").String("W").Byte(7).Byte(1).Byte(30);
    bytes.Byte(4).Byte(3).Byte(4).Byte(5).Byte(6);
}

// Version 3: the fields by pointer first, the variant byte and the type last.
std::vector<BYTE> Version3Bytes(const CShelter* protective, const CShelter* warning, BYTE variant)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << BYTE(3) << static_cast<const CObject*>(protective) << static_cast<const CObject*>(warning);
        ar << CString("P") << CString("W") << BYTE(7);
        CModeDelay(1, 30).Serialize(ar);
        ar << BYTE(4) << BYTE(3) << BYTE(4) << BYTE(5) << BYTE(6) << variant;
        CSensorType(kType50).Serialize(ar);
        ar.Close();
    }
    return file.Detach();
}

// Versions 2 and 1: the fields as embedded older records; version 1 has no type.
std::vector<BYTE> LegacyVersionBytes(BYTE version, const std::vector<BYTE>& protective, BYTE variant)
{
    ByteBuilder bytes;
    bytes.Byte(version).Append(protective).Append(CShelterBytes(LegacyBeams(181, 800, true)));
    AppendNamesAndOptions(bytes);
    bytes.Byte(variant);
    if (version == 2) bytes.Byte(0x97).Word(1).Word(0); // type code 7, variant 0
    return bytes.Bytes();
}

} // namespace

TEST(CZOKConfigTest, Defaults)
{
    LanguageScript texts("checks.rc");
    ASSERT_TRUE(texts.Loaded()) << texts.Error();
    const CZOKConfig config;
    EXPECT_EQ(config.GetSensorType(), CSensorType(4, 0));
    // Device names hold at most 8 characters, so the default names must fit.
    EXPECT_EQ(config.GetProtectiveName(), CString("Protect"));
    EXPECT_EQ(config.GetWarningName(), CString("Warning"));
    EXPECT_EQ(config.GetOption1(), 0);
    EXPECT_EQ(config.GetScanCount(), 2);
    EXPECT_EQ(config.GetOption3(), 1);
    EXPECT_EQ(config.GetOption4(), 1);
    EXPECT_EQ(config.GetOption5(), 0);
    EXPECT_EQ(config.GetOption6(), 0);
    EXPECT_EQ(config.GetModeDelay(), CModeDelay(0, 2));
    EXPECT_EQ(config.GetShelter(kProtectiveField), nullptr);
    EXPECT_EQ(config.GetShelter(kWarningField), nullptr);
}

TEST(CZOKConfigTest, FieldsAreOwnedAndCopiedAsClones)
{
    CZOKConfig config;
    std::unique_ptr<CShelter> stray = Rectangle(kType50);
    EXPECT_FALSE(config.SetShelter(3, std::move(stray)));
    EXPECT_NE(stray, nullptr); // the caller keeps it
    EXPECT_EQ(config.GetShelter(3), nullptr);
    EXPECT_TRUE(config.SetShelter(kProtectiveField, Rectangle(kType50)));
    EXPECT_TRUE(config.SetShelter(kWarningField, Contour(kType50)));
    config.SetProtectiveName("Front");

    CZOKConfig copy(config);
    ASSERT_NE(copy.GetShelter(kProtectiveField), nullptr);
    EXPECT_NE(copy.GetShelter(kProtectiveField), config.GetShelter(kProtectiveField));
    EXPECT_EQ(dynamic_cast<CRectShelter&>(*copy.GetShelter(kProtectiveField)).GetRight(), 300);
    EXPECT_EQ(dynamic_cast<CPolyShelter&>(*copy.GetShelter(kWarningField)).GetBeamDistance(90), 500);
    EXPECT_EQ(copy.GetProtectiveName(), CString("Front"));

    CShelter* const kept = config.GetShelter(kProtectiveField);
    config = static_cast<const CZOKConfig&>(config);
    EXPECT_EQ(config.GetShelter(kProtectiveField), kept);
    copy.SetShelter(kWarningField, nullptr);
    config = copy;
    EXPECT_EQ(config.GetShelter(kWarningField), nullptr);
    EXPECT_EQ(config.DetachShelter(kProtectiveField)->GetFieldKind(), kProtectiveField);
    EXPECT_EQ(config.GetShelter(kProtectiveField), nullptr);
}

TEST(CZOKConfigTest, Version4BytesAndRoundTrip)
{
    CZOKConfig config = ValuedConfig();
    ByteBuilder golden;
    golden.Byte(4).Byte(0x97).Word(2).Word(1).Word(0).Word(0);
    AppendNamesAndOptions(golden);
    EXPECT_EQ(StoreBytes(config), golden.Bytes());

    config.SetShelter(kProtectiveField, Rectangle(CSensorType(50, 1)));
    config.SetShelter(kWarningField, Contour(CSensorType(50, 1)));
    CZOKConfig loaded;
    LoadBytes(loaded, StoreBytes(config));
    EXPECT_EQ(loaded.GetSensorType(), CSensorType(50, 1));
    ExpectValues(loaded);
    const auto* rect = dynamic_cast<const CRectShelter*>(loaded.GetShelter(kProtectiveField));
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->GetFront(), 200);
    const auto* contour = dynamic_cast<const CPolyShelter*>(loaded.GetShelter(kWarningField));
    ASSERT_NE(contour, nullptr);
    EXPECT_EQ(contour->GetBeamDistance(0), 500);

    // Only mode 1 keeps a delay of its own.
    config.GetModeDelay().Set(2, 30);
    LoadBytes(loaded, StoreBytes(config));
    EXPECT_EQ(loaded.GetModeDelay(), CModeDelay(2, 2));
}

TEST(CZOKConfigTest, Version3TakesTheVariantByte)
{
    std::unique_ptr<CRectShelter> rect = Rectangle(CSensorType(4, 0));
    rect->SetModified(3);
    const std::unique_ptr<CPolyShelter> contour = Contour(CSensorType(4, 0));
    CZOKConfig config;
    LoadBytes(config, Version3Bytes(rect.get(), contour.get(), 1));
    EXPECT_EQ(config.GetSensorType(), CSensorType(50, 1));
    ExpectValues(config);
    const CShelter* protective = config.GetShelter(kProtectiveField);
    const CShelter* warning = config.GetShelter(kWarningField);
    ASSERT_NE(protective, nullptr);
    ASSERT_NE(warning, nullptr);
    // A plain copy of the type: kind and mark stay as loaded.
    EXPECT_EQ(protective->GetSensorType(), CSensorType(50, 1));
    EXPECT_EQ(warning->GetSensorType(), CSensorType(50, 1));
    EXPECT_EQ(protective->GetFieldKind(), kProtectiveField);
    EXPECT_EQ(warning->GetFieldKind(), kWarningField);
    EXPECT_EQ(protective->GetModified(), 3);

    CZOKConfig withoutFields;
    LoadBytes(withoutFields, Version3Bytes(nullptr, nullptr, 0));
    EXPECT_EQ(withoutFields.GetSensorType(), CSensorType(50, 0));
    EXPECT_EQ(withoutFields.GetShelter(kProtectiveField), nullptr);
}

TEST(CZOKConfigTest, Versions2And1ImportOlderFieldRecords)
{
    const std::vector<BYTE> rectangle = BShelterBytes(LegacyBeams(361, 400), {{100, 0, 150, 300}});
    const struct {
        BYTE version;
        CSensorType type;
    } table[] = {{2, CSensorType(7, 1)}, {1, CSensorType(4, 1)}};
    for (const auto& row : table) {
        SCOPED_TRACE(int(row.version));
        CZOKConfig config;
        LoadBytes(config, LegacyVersionBytes(row.version, rectangle, 1));
        EXPECT_EQ(config.GetSensorType(), row.type);
        ExpectValues(config);
        const auto* rect = dynamic_cast<const CRectShelter*>(config.GetShelter(kProtectiveField));
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->GetFront(), 300);
        EXPECT_EQ(rect->GetSensorType(), row.type);
        const auto* contour = dynamic_cast<const CPolyShelter*>(config.GetShelter(kWarningField));
        ASSERT_NE(contour, nullptr);
        EXPECT_EQ(contour->GetFieldKind(), kWarningField);
        EXPECT_EQ(contour->GetBeamDistance(180), 800);
        EXPECT_EQ(contour->GetSensorType(), row.type);
    }
    // A protective record without a rectangle becomes a contour.
    CZOKConfig config;
    LoadBytes(config, LegacyVersionBytes(2, BShelterBytes(LegacyBeams(181, 400), {}), 0));
    EXPECT_NE(dynamic_cast<const CPolyShelter*>(config.GetShelter(kProtectiveField)), nullptr);
}

// Older versions kept the device's whole variant byte: only bit 0 reaches the type and the
// fields, and what is written back reads again.
TEST(CZOKConfigTest, OlderVariantBytesCountByBitZeroAndSaveReadably)
{
    const std::unique_ptr<CRectShelter> rect = Rectangle(CSensorType(4, 0));
    const std::unique_ptr<CPolyShelter> contour = Contour(CSensorType(4, 0));
    const std::vector<BYTE> rectangle = BShelterBytes(LegacyBeams(361, 400), {{100, 0, 150, 300}});
    const struct {
        const char* what;
        std::vector<BYTE> bytes;
        CSensorType type;
    } cases[] = {
        {"version 3, byte 3", Version3Bytes(rect.get(), contour.get(), 3), CSensorType(50, 1)},
        {"version 3, byte 2", Version3Bytes(rect.get(), contour.get(), 2), CSensorType(50, 0)},
        {"version 2, byte 0xFF", LegacyVersionBytes(2, rectangle, 0xFF), CSensorType(7, 1)},
        {"version 1, byte 0x82", LegacyVersionBytes(1, rectangle, 0x82), CSensorType(4, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CZOKConfig config;
        LoadBytes(config, c.bytes);
        EXPECT_EQ(config.GetSensorType(), c.type);
        ASSERT_NE(config.GetShelter(kProtectiveField), nullptr);
        EXPECT_EQ(config.GetShelter(kProtectiveField)->GetSensorType(), c.type);
        EXPECT_EQ(config.GetShelter(kWarningField)->GetSensorType(), c.type);

        CZOKConfig reread;
        EXPECT_EQ(LoadFailure(reread, StoreBytes(config)), CArchiveException::none);
        EXPECT_EQ(reread.GetSensorType(), c.type);
        ASSERT_NE(reread.GetShelter(kWarningField), nullptr);
        EXPECT_EQ(reread.GetShelter(kWarningField)->GetSensorType(), c.type);
    }
}

TEST(CZOKConfigTest, RefusedArchives)
{
    CZOKConfig config;
    const std::vector<BYTE> twoRectangles =
        BShelterBytes(LegacyBeams(181, 400), {{100, 0, 150, 300}, {0, 0, 10, 10}});
    EXPECT_EQ(LoadFailure(config, LegacyVersionBytes(2, twoRectangles, 0)), CArchiveException::badIndex);
    for (BYTE version : {BYTE(0), BYTE(5)}) {
        std::vector<BYTE> bytes = StoreBytes(config);
        bytes[0] = version;
        EXPECT_EQ(LoadFailure(config, bytes), CArchiveException::badSchema) << int(version);
    }
    // An object that is no field where a field belongs.
    CKVRSensorConfig notAField;
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << BYTE(4);
        CSensorType().Serialize(ar);
        ar << static_cast<const CObject*>(&notAField);
        ar.Close();
    }
    EXPECT_EQ(LoadFailure(config, file.Detach()), CArchiveException::badClass);
}
