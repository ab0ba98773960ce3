// Field, scan, contour and teach-in commands of a ZOK scanner against scripted answers,
// and a few reads from the simulated scanner.
#include "RecordingZOKSensor.h"
#include "device/SensorHelpers.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/CScan.h"
#include "model/CSensorType.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// 12:34 on 5 March 2021 as the scanner sends it.
constexpr BYTE kMinute = 34, kHour = 12, kDay = 5, kMonth0 = 2;
constexpr WORD kYears = 121;

CTime DeviceTime()
{
    return DeviceTimeToCTime(kDay, kMonth0, kYears, kHour, kMinute);
}

// A 0xC5 or 0xC0 answer: status, shape code at its offset, time, then words from byte 27.
SensorAnswer FieldAnswer(BYTE code, BYTE status, std::size_t shapeAt, BYTE shape, const std::vector<WORD>& words)
{
    SensorAnswer answer = DeviceAnswer(code, status);
    answer.SetByte(shapeAt, shape);
    answer.SetByte(21, kMinute);
    answer.SetByte(22, kHour);
    answer.SetByte(23, kDay);
    answer.SetByte(24, kMonth0);
    answer.SetWord(25, kYears);
    for (std::size_t i = 0; i < words.size(); ++i)
        answer.SetWord(27 + 2 * i, words[i]);
    return answer;
}

SensorAnswer ReadAnswer(BYTE shape, const std::vector<WORD>& words)
{
    return FieldAnswer(0xC5, 0, 19, shape, words);
}

SensorAnswer WriteAnswer(BYTE status, BYTE shape, const std::vector<WORD>& words)
{
    return FieldAnswer(0xC0, status, 20, shape, words);
}

// A polygon answer's words: count - 1, then the distances.
std::vector<WORD> PolyWords(int count, WORD distance)
{
    std::vector<WORD> words(std::size_t(count) + 1, distance);
    words[0] = WORD(count - 1);
    return words;
}

SensorAnswer ScanAnswer(int count, WORD word)
{
    SensorAnswer answer = DeviceAnswer(0xB0, 0);
    answer.SetWord(10, WORD(count));
    for (int i = 0; i < count && 12 + 2 * i < 755; ++i)
        answer.SetWord(12 + 2 * std::size_t(i), word);
    return answer;
}

CSensorType Type4()
{
    return CSensorType(4, 0);
}

std::unique_ptr<CPolyShelter> Polygon(int count, WORD distance)
{
    auto field = std::make_unique<CPolyShelter>();
    field->InitializeConstant(Type4(), distance, count, kProtectiveField);
    return field;
}

// A field class that is none of the three shapes the scanner knows.
class OtherShelter : public CShelter {
public:
    std::unique_ptr<CSensorObject> Clone() const override { return std::make_unique<OtherShelter>(); }
    void DrawOutline(CDC*) const override {}
    void DrawFilled(CDC*) const override {}
    void DrawHandles(CDC*) const override {}
    WORD GetMinExtent() const override { return 0; }
    WORD GetMaxExtent() const override { return 0; }
    BOOL IsInSensorRange(const CSensorPoint&) const override { return FALSE; }
    BOOL IsSelectedVertex(const CSensorPoint&) const override { return FALSE; }
    BOOL HitsVertex(const CSensorPoint&) const override { return FALSE; }
    BOOL SetPoint(const CSensorPoint&) override { return FALSE; }
    BOOL RemovePoint(const CSensorPoint&) override { return FALSE; }
    BOOL HasSelection() const override { return FALSE; }
    BOOL Select(int, const CSensorPoint&) override { return FALSE; }
    BOOL DeleteSelection() override { return FALSE; }
    BOOL Edit(CWnd*, int, BOOL, CObject*) override { return FALSE; }
    void ResetToDefaults() override {}
};

void ExpectFieldFlags(const CShelter& field, int kind, int locked, int protectiveInDevice, int warningInDevice)
{
    EXPECT_EQ(field.GetFieldKind(), kind);
    EXPECT_EQ(field.IsLocked(), locked);
    EXPECT_EQ(field.IsProtectiveInDevice(), protectiveInDevice);
    EXPECT_EQ(field.IsWarningInDevice(), warningInDevice);
    EXPECT_EQ(field.GetTime(), DeviceTime());
    EXPECT_EQ(field.GetSensorType().GetVariant(), 1);
}

TEST(ZOKFieldCommandsTest, ProtectiveFieldIsBuiltByItsShapeCode)
{
    struct Case {
        BYTE shape;
        std::vector<WORD> words;
        std::function<void(const CShelter&)> check;
    };
    const Case cases[] = {
        {0, {150, 200, 300}, [](const CShelter& f) {
             auto* rect = dynamic_cast<const CRectShelter*>(&f);
             ASSERT_NE(rect, nullptr);
             EXPECT_EQ(rect->GetLeft(), 150);
             EXPECT_EQ(rect->GetRight(), 200);
             EXPECT_EQ(rect->GetFront(), 300);
             ExpectFieldFlags(f, kProtectiveField, 0, 1, 1);
         }},
        {1, {400}, [](const CShelter& f) {
             auto* arc = dynamic_cast<const CArcShelter*>(&f);
             ASSERT_NE(arc, nullptr);
             EXPECT_EQ(arc->GetRadius(), 400);
             ExpectFieldFlags(f, kProtectiveField, 0, 1, 1);
         }},
        {2, PolyWords(181, 250), [](const CShelter& f) {
             auto* poly = dynamic_cast<const CPolyShelter*>(&f);
             ASSERT_NE(poly, nullptr);
             EXPECT_EQ(poly->GetBeamCount(), 181);
             EXPECT_EQ(poly->GetBeamDistance(180), 250);
             ExpectFieldFlags(f, kProtectiveField, 0, 1, 1);
         }},
        {4, std::vector<WORD>(361, 320), [](const CShelter& f) {
             auto* poly = dynamic_cast<const CPolyShelter*>(&f);
             ASSERT_NE(poly, nullptr);
             EXPECT_EQ(poly->GetBeamCount(), 361);
             EXPECT_EQ(poly->GetBeamDistance(0), 320);
             EXPECT_EQ(poly->GetBeamDistance(360), 320);
             ExpectFieldFlags(f, kProtectiveField, 1, 1, 1);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.shape));
        RecordingZOKSensor sensor;
        sensor.script = {ReadAnswer(c.shape, c.words), IdentityAnswer("03.20   ", {{30, 1}})};
        const std::unique_ptr<CShelter> field = sensor.ReadProtectiveField();
        ASSERT_NE(field, nullptr);
        c.check(*field);
        ASSERT_EQ(sensor.requests.size(), 2u);
        EXPECT_TRUE(sensor.requests[0] == ExpectedRequest(0x45));
        EXPECT_EQ(sensor.requests[1].Command(), 0x31);
    }
}

TEST(ZOKFieldCommandsTest, FieldAnswersOfTheWrongShapeOrSizeAreRefused)
{
    struct Case {
        const char* name;
        bool warning;
        SensorAnswer answer;
    };
    const Case cases[] = {
        {"protective answered with the warning shape", false, ReadAnswer(3, PolyWords(181, 35))},
        {"unknown shape", false, ReadAnswer(5, {400})},
        {"protective polygon of 362 beams", false, ReadAnswer(2, {361})},
        {"protective polygon of 65536 beams", false, ReadAnswer(2, {0xFFFF})},
        {"wrong answer code", false, FieldAnswer(0xC0, 0, 19, 1, {400})},
        {"warning answered with a polygon", true, ReadAnswer(2, PolyWords(181, 35))},
        {"warning polygon of 362 beams", true, ReadAnswer(3, {361})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingZOKSensor sensor;
        sensor.script = {c.answer, IdentityAnswer()};
        if (c.warning)
            EXPECT_EQ(sensor.ReadWarningField(), nullptr);
        else
            EXPECT_EQ(sensor.ReadProtectiveField(), nullptr);
        EXPECT_EQ(sensor.requests.size(), 1u); // no type query for a refused answer
    }

    RecordingZOKSensor unknownType;
    unknownType.typeCode = 0;
    unknownType.script = {ReadAnswer(1, {400})};
    EXPECT_EQ(unknownType.ReadProtectiveField(), nullptr);
}

TEST(ZOKFieldCommandsTest, WarningFieldIsAPolygonOfKindTwo)
{
    RecordingZOKSensor sensor;
    sensor.script = {ReadAnswer(3, PolyWords(181, 35)), IdentityAnswer("03.20   ", {{30, 1}})};
    const std::unique_ptr<CPolyShelter> field = sensor.ReadWarningField();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->GetBeamCount(), 181);
    EXPECT_EQ(field->GetBeamDistance(90), 35);
    ExpectFieldFlags(*field, kWarningField, 0, 0, 1);
    EXPECT_TRUE(sensor.requests[0] == ExpectedRequest(0x45, {{10, 1}}));
}

// The current time at bytes 20-25 of a field write: taken at sending, so within a minute.
void ExpectCurrentTime(const SensorRequest& request, std::size_t at)
{
    const CTime sent = DeviceTimeToCTime(request.Byte(at + 2), request.Byte(at + 3), request.Word(at + 4),
                                         request.Byte(at + 1), request.Byte(at));
    const CTimeSpan age = CTime::GetCurrentTime() - sent;
    EXPECT_GE(age.GetTotalSeconds(), 0);
    EXPECT_LT(age.GetTotalSeconds(), 120);
}

TEST(ZOKFieldCommandsTest, FieldWritesPackTheShapeAndBuildTheScannersCopy)
{
    CRectShelter rect;
    rect.Initialize(Type4(), 150, 300, 200, kProtectiveField);
    CArcShelter arc;
    arc.Initialize(Type4(), 400, kProtectiveField);
    const std::unique_ptr<CPolyShelter> poly = Polygon(181, 250);

    struct Case {
        const char* name;
        const CShelter* field;
        BYTE shape;
        std::vector<std::pair<std::size_t, WORD>> requestWords;
        SensorAnswer answer;
        const CRuntimeClass* builtClass;
    };
    const Case cases[] = {
        {"rectangle", &rect, 0, {{26, 150}, {28, 200}, {30, 300}}, WriteAnswer(1, 0, {150, 200, 300}),
         RUNTIME_CLASS(CRectShelter)},
        {"arc", &arc, 1, {{26, 400}}, WriteAnswer(2, 1, {400}), RUNTIME_CLASS(CArcShelter)},
        {"polygon", poly.get(), 2, {{26, 180}, {28, 250}, {28 + 2 * 180, 250}}, WriteAnswer(2, 2, PolyWords(181, 250)),
         RUNTIME_CLASS(CPolyShelter)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingZOKSensor sensor;
        sensor.script = {c.answer, IdentityAnswer("03.20   ", {{30, 1}})};
        const std::unique_ptr<CShelter> written = sensor.WriteField(c.field);
        ASSERT_NE(written, nullptr);
        EXPECT_TRUE(written->IsKindOf(c.builtClass));
        ExpectFieldFlags(*written, kProtectiveField, 0, 0, 1);
        // The write's status stays the last status for the caller's confirmation step.
        EXPECT_EQ(sensor.GetLastStatus(), c.answer.Byte(9));

        const SensorRequest& request = sensor.requests.at(0);
        EXPECT_EQ(request.Command(), 0x40);
        EXPECT_EQ(request.Byte(19), c.shape);
        ExpectCurrentTime(request, 20);
        for (const auto& [offset, value] : c.requestWords)
            EXPECT_EQ(request.Word(offset), value) << "word " << offset;
        // Nothing follows the last value.
        const std::size_t end = c.requestWords.back().first + 2;
        for (std::size_t i = end; i < kRequestRecordSize; ++i)
            ASSERT_EQ(request.Byte(i), 0) << "byte " << i;
    }
}

TEST(ZOKFieldCommandsTest, WrittenPolygonTakesTheScannersBeamsNotTheOnesSent)
{
    RecordingZOKSensor sensor;
    sensor.script = {WriteAnswer(1, 2, PolyWords(91, 500)), IdentityAnswer()};
    const std::unique_ptr<CPolyShelter> written = sensor.WritePolyField(Polygon(181, 250).get());
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(written->GetBeamCount(), 91);
    EXPECT_EQ(written->GetBeamDistance(45), 500);
}

TEST(ZOKFieldCommandsTest, RefusedWritesReturnNullAndKeepTheStatusOnceTheCodeMatched)
{
    CArcShelter arc;
    arc.Initialize(Type4(), 400, kProtectiveField);
    struct Case {
        const char* name;
        std::optional<SensorAnswer> answer;
        BYTE lastStatus;
    };
    const Case cases[] = {
        {"shape 2 echoed for an arc", WriteAnswer(1, 2, {400}), 1},
        {"status 3", WriteAnswer(3, 1, {400}), 3},
        {"status 0", WriteAnswer(0, 1, {400}), 0},
        {"wrong answer code", FieldAnswer(0xC1, 1, 20, 1, {400}), 0},
        {"no answer", std::nullopt, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingZOKSensor sensor;
        sensor.script = {c.answer, IdentityAnswer()};
        EXPECT_EQ(sensor.WriteArcField(&arc), nullptr);
        EXPECT_EQ(sensor.GetLastStatus(), c.lastStatus);
        EXPECT_EQ(sensor.requests.size(), 1u);
    }

    RecordingZOKSensor polygonTooLong;
    polygonTooLong.script = {WriteAnswer(1, 2, {361}), IdentityAnswer()};
    EXPECT_EQ(polygonTooLong.WritePolyField(Polygon(181, 250).get()), nullptr);
    EXPECT_EQ(polygonTooLong.GetLastStatus(), 1);
}

TEST(ZOKFieldCommandsTest, FieldsTheScannerCannotHoldAreNotSent)
{
    RecordingZOKSensor sensor;
    OtherShelter other;
    CPolyShelter empty;
    EXPECT_EQ(sensor.WriteField(&other), nullptr);
    EXPECT_EQ(sensor.WriteField(nullptr), nullptr);
    EXPECT_EQ(sensor.WritePolyField(&empty), nullptr);
    EXPECT_EQ(sensor.ExchangeContour(&other), nullptr);
    EXPECT_EQ(sensor.ExchangePolyContour(&empty), nullptr);
    EXPECT_TRUE(sensor.requests.empty());
}

TEST(ZOKFieldCommandsTest, ContourExchangeReturnsACopyOfThePolygonSent)
{
    const std::unique_ptr<CPolyShelter> sent = Polygon(181, 250);
    RecordingZOKSensor sensor;
    SensorAnswer answer = DeviceAnswer(0xC3, 1);
    answer.SetWord(10, 90); // whatever the scanner says is not read
    sensor.script = {answer};
    const std::unique_ptr<CPolyShelter> copy = sensor.ExchangeContour(sent.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetBeamCount(), 181);
    EXPECT_EQ(copy->GetBeamDistance(100), 250);
    EXPECT_EQ(copy->IsWarningInDevice(), 1);

    const SensorRequest& request = sensor.requests.at(0);
    EXPECT_EQ(request.Command(), 0x43);
    EXPECT_EQ(request.Word(10), 180);
    EXPECT_EQ(request.Word(12), 250);
    EXPECT_EQ(request.Word(12 + 2 * 180), 250);
    EXPECT_EQ(request.Word(12 + 2 * 181), 0);

    RecordingZOKSensor refused;
    refused.script = {DeviceAnswer(0xC3, 2)};
    EXPECT_EQ(refused.ExchangeContour(sent.get()), nullptr);
}

TEST(ZOKFieldCommandsTest, ContourExchangeKeepsNoStatus)
{
    // Unlike the interface unit's, the scanner's contour status never becomes the last status.
    const std::unique_ptr<CPolyShelter> sent = Polygon(91, 35);
    for (BYTE status : {BYTE(1), BYTE(2)}) {
        RecordingZOKSensor sensor;
        sensor.script = {DeviceAnswer(0xC3, status)};
        sensor.ExchangeContour(sent.get());
        EXPECT_EQ(sensor.GetLastStatus(), 0) << int(status);
    }
}

TEST(ZOKFieldCommandsTest, ScanRequestsCarryTheCountAsOneByte)
{
    struct Case {
        int count;
        BYTE sub, countByte;
    };
    for (const Case& c : {Case{361, 1, 0}, Case{181, 5, 181}, Case{1, 5, 1}, Case{255, 5, 255}}) {
        SCOPED_TRACE(c.count);
        RecordingZOKSensor sensor;
        sensor.script = {ScanAnswer(c.count, 0x8000 | 420), IdentityAnswer()};
        const std::unique_ptr<CScan> scan = sensor.ReadScan(c.count);
        ASSERT_NE(scan, nullptr);
        EXPECT_EQ(scan->GetBeamCount(), c.count);
        EXPECT_EQ(scan->GetDistance(c.count - 1), 420);
        EXPECT_TRUE(scan->GetFA(c.count - 1));
        EXPECT_TRUE(sensor.requests.at(0) == ExpectedRequest(0x30, {{10, c.sub}, {11, c.countByte}}));
    }
    // Counts one byte cannot carry are refused before sending.
    for (int count : {0, 256, 360, 362}) {
        RecordingZOKSensor sensor;
        EXPECT_EQ(sensor.ReadScan(count), nullptr) << count;
        EXPECT_TRUE(sensor.requests.empty());
    }
    RecordingZOKSensor tooLong;
    tooLong.script = {ScanAnswer(362, 100), IdentityAnswer()};
    EXPECT_EQ(tooLong.ReadScan(361), nullptr);
}

TEST(ZOKFieldCommandsTest, MeasuredContoursAreLockedProtectivePolygons)
{
    for (bool locked : {false, true}) {
        SCOPED_TRACE(locked);
        RecordingZOKSensor sensor;
        sensor.script = {ScanAnswer(361, 380), IdentityAnswer()};
        const std::unique_ptr<CPolyShelter> contour = locked ? sensor.ReadScanContourLocked() : sensor.ReadScanContour();
        ASSERT_NE(contour, nullptr);
        EXPECT_EQ(contour->GetBeamCount(), 361);
        EXPECT_EQ(contour->GetBeamDistance(200), 380);
        EXPECT_EQ(contour->GetFieldKind(), kProtectiveField);
        EXPECT_EQ(contour->IsLocked(), 1);
        EXPECT_EQ(contour->IsWarningInDevice(), 1);
        EXPECT_EQ(contour->IsProtectiveInDevice(), locked ? 1 : 0);
        EXPECT_TRUE(sensor.requests.at(0) == ExpectedRequest(0x30, {{10, BYTE(locked ? 4 : 3)}}));
    }
    for (int count : {0, 362}) {
        RecordingZOKSensor sensor;
        sensor.script = {ScanAnswer(count, 380), IdentityAnswer()};
        EXPECT_EQ(sensor.ReadScanContour(), nullptr) << count;
    }
}

TEST(ZOKFieldCommandsTest, PendingFieldAndTeachInRequestsAcceptOnlyTheirStatus)
{
    using Operation = std::function<BOOL(CZOKSensor&)>;
    struct Case {
        const char* name;
        Operation operation;
        std::size_t subAt;
        BYTE sub, answerCode, accepted;
    };
    const Case cases[] = {
        {"discard", [](CZOKSensor& s) { return s.DiscardPendingField(); }, 9, 0, 0xC1, 0},
        {"preview", [](CZOKSensor& s) { return s.PreviewPendingField(); }, 9, 1, 0xC1, 3},
        {"store", [](CZOKSensor& s) { return s.StorePendingField(); }, 9, 2, 0xC1, 1},
        {"after write", [](CZOKSensor& s) { return s.SendCommand41Sub3(); }, 9, 3, 0xC0, 1},
        {"teach start", [](CZOKSensor& s) { return s.StartTeachIn(); }, 20, 0, 0xC6, 3},
        {"teach accept", [](CZOKSensor& s) { return s.AcceptTeachIn(); }, 20, 1, 0xC6, 1},
        {"teach end", [](CZOKSensor& s) { return s.EndTeachIn(); }, 20, 2, 0xC6, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (BYTE status = 0; status <= 4; ++status) {
            RecordingZOKSensor sensor;
            sensor.script = {DeviceAnswer(c.answerCode, status)};
            const bool accepted = status == c.accepted || (c.answerCode == 0xC0 && status == 2);
            EXPECT_EQ(bool(c.operation(sensor)), accepted) << "status " << int(status);
            const SensorRequest& request = sensor.requests.at(0);
            EXPECT_EQ(request.Byte(c.subAt), c.sub);
            if (c.subAt == 20 && c.sub == 0) {
                ExpectCurrentTime(request, 21);
            } else {
                SensorRequest expected = ExpectedRequest(request.Command(), {{c.subAt, c.sub}});
                EXPECT_TRUE(request == expected);
            }
            // Only the preview keeps its status.
            EXPECT_EQ(sensor.GetLastStatus(), c.sub == 1 && c.subAt == 9 ? status : 0);
        }
        RecordingZOKSensor wrongCode;
        wrongCode.script = {DeviceAnswer(BYTE(c.answerCode ^ 0x01), c.accepted)};
        EXPECT_FALSE(c.operation(wrongCode));
    }
}

// The simulated scanner answers these records as a scanner does.
class ZOKSimulatedFieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sensor.Load(ini.Path()));
        ASSERT_TRUE(sensor.Open());
    }

    TestIniFile ini{"[SETUP]\nPort=9\nBaud=19200\n"};
    CZOKSensor sensor{1};
};

TEST_F(ZOKSimulatedFieldTest, ReadsIdentityTypeAndBothFields)
{
    CZOKIdentity identity;
    ASSERT_TRUE(sensor.ReadIdentity(identity));
    EXPECT_EQ(identity.GetFirmwareVersion(), 0x30014u);
    CSensorType type;
    ASSERT_TRUE(sensor.ReadSensorType(type));
    EXPECT_EQ(type.GetTypeCode(), 4);

    const std::unique_ptr<CShelter> protective = sensor.ReadProtectiveField();
    ASSERT_NE(protective, nullptr);
    EXPECT_TRUE(protective->IsProtectiveInDevice());
    const std::unique_ptr<CPolyShelter> warning = sensor.ReadWarningField();
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(warning->GetFieldKind(), kWarningField);
    EXPECT_GT(warning->GetBeamCount(), 0);
}

TEST_F(ZOKSimulatedFieldTest, ChecksTheParametersWithoutStoringThem)
{
    BYTE mode = 1, delay = 5;
    EXPECT_TRUE(sensor.CheckCommand44(mode, delay));
    EXPECT_EQ(mode, 1);
    BYTE scans = 2;
    EXPECT_TRUE(sensor.CheckCommand63(scans));
    const std::unique_ptr<CScan> scan = sensor.ReadScan(361);
    ASSERT_NE(scan, nullptr);
    EXPECT_EQ(scan->GetBeamCount(), 361);
}

} // namespace
