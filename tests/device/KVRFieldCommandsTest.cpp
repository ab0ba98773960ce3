// The KVR field, scan, contour and teach-in commands against scripted answers: the bytes
// of each request, the checks on each answer, and the objects built from the answers.
#include "RecordingKVRSensor.h"

#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/CScan.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const CTime kAnswerTime(2021, 3, 15, 10, 30, 0);

// Minute, hour, day, month 0-11 and the year since 1900 at offset.
void PutAnswerTime(SensorAnswer& answer, std::size_t offset)
{
    answer.SetByte(offset, 30);
    answer.SetByte(offset + 1, 10);
    answer.SetByte(offset + 2, 15);
    answer.SetByte(offset + 3, 2);
    answer.SetWord(offset + 4, 121);
}

// A 0x45 answer for pair n with its name, shape and time.
SensorAnswer FieldReadAnswer(BYTE number, BYTE shape)
{
    SensorAnswer answer = DeviceAnswer(0xC5, number);
    PutText(answer, 10, std::string("Feld 1   ", 9));
    answer.SetByte(19, shape);
    PutAnswerTime(answer, 21);
    return answer;
}

// A 0x40 answer echoing pair n, the padded name "ABCD" and the shape.
SensorAnswer FieldWriteAnswer(BYTE status, BYTE number, BYTE shape)
{
    SensorAnswer answer = DeviceAnswer(0xC0, status);
    answer.SetByte(10, number);
    PutText(answer, 11, std::string("ABCD    \0", 9));
    answer.SetByte(20, shape);
    PutAnswerTime(answer, 21);
    return answer;
}

void PutWords(SensorAnswer& answer, std::size_t offset, int count, WORD first)
{
    for (int i = 0; i < count; ++i)
        answer.SetWord(offset + 2 * std::size_t(i), WORD(first + i));
}

CSensorType Type4()
{
    return CSensorType(kDeviceTypeZOK4, 0);
}

std::unique_ptr<CPolyShelter> Polygon(int beams, int distance)
{
    auto polygon = std::make_unique<CPolyShelter>();
    polygon->InitializeConstant(Type4(), distance, beams, kWarningField);
    return polygon;
}

class KVRFieldCommandsTest : public ::testing::Test {
protected:
    const SensorRequest& Request(std::size_t i) const { return sensor.requests.at(i); }

    RecordingKVRSensor sensor;
};

TEST_F(KVRFieldCommandsTest, ReadAndProcedureRequests)
{
    int caseNumber = 0;
    CString name;
    struct Case {
        const char* name;
        std::function<void()> run;
        BYTE command;
        std::string data; // from byte 9
    };
    const Case cases[] = {
        {"protective field", [&] { sensor.ReadProtectiveField(3, name); }, 0x45, std::string("\x03\x00", 2)},
        {"warning field", [&] { sensor.ReadWarningField(2, name); }, 0x45, "\x02\x01"},
        {"full scan", [&] { sensor.ReadScan(1, 361); }, 0x30, std::string("\x01\x01\x00", 3)},
        {"counted scan", [&] { sensor.ReadScan(2, 180); }, 0x30, "\x02\x05\xB4"},
        {"scan B", [&] { sensor.ReadScanB(2, 180); }, 0x30, "\x12\x05\xB4"},
        {"first case scan", [&] { sensor.ReadScanWithStatus(1, 361, caseNumber); }, 0x30, std::string("\x00\x01", 2)},
        {"second case scan", [&] { sensor.ReadScanWithStatus(2, 361, caseNumber); }, 0x30, "\x05\x01"},
        {"contour", [&] { sensor.ReadScanContour(4); }, 0x30, "\x04\x03"},
        {"locked contour", [&] { sensor.ReadScanContourLocked(4); }, 0x30, "\x04\x04"},
        {"discard", [&] { sensor.DiscardPendingField(1, 3); }, 0x41, std::string("\x00\x03\x01", 3)},
        {"preview", [&] { sensor.PreviewPendingField(1, 3); }, 0x41, "\x01\x03\x01"},
        {"store", [&] { sensor.StorePendingField(2, 3); }, 0x41, "\x02\x03\x02"},
        {"accept teach-in", [&] { sensor.AcceptTeachIn(2, 3, "TEACHING_IN"); }, 0x46,
         std::string("\x03TEACHING\0\x02\x01", 12)},
        {"end teach-in", [&] { sensor.EndTeachIn(2, 3, "T1"); }, 0x46, std::string("\x03T1\0\0\0\0\0\0\0\x02\x02", 12)},
    };
    for (const Case& c : cases) {
        sensor.requests.clear();
        c.run();
        ASSERT_EQ(sensor.requests.size(), 1u) << c.name;
        const SensorRequest& request = Request(0);
        EXPECT_EQ(request.Family(), kFamilyKVR) << c.name;
        EXPECT_EQ(request.Byte(RequestOffset::Address), 0) << c.name;
        EXPECT_EQ(request.Command(), c.command) << c.name;
        EXPECT_EQ(RequestBytes(request, 9, c.data.size()), c.data) << c.name;
        const auto rest = request.Bytes().subspan(9 + c.data.size());
        EXPECT_TRUE(std::all_of(rest.begin(), rest.end(), [](BYTE b) { return b == 0; })) << c.name;
    }
    EXPECT_EQ(caseNumber, 0) << "a failed scan names no case";

    // Starting a teach-in adds the current time after the sub-code.
    sensor.requests.clear();
    const CTime before = CTime::GetCurrentTime();
    sensor.StartTeachIn(2, 3, "T1");
    const SensorRequest& start = Request(0);
    EXPECT_EQ(start.Byte(20), 0);
    EXPECT_EQ(start.Byte(19), 2);
    EXPECT_EQ(start.Byte(23), before.GetDay());
    EXPECT_EQ(start.Byte(24), before.GetMonth() - 1);
    EXPECT_EQ(start.Word(25), before.GetYear() - 1900);
}

TEST_F(KVRFieldCommandsTest, CountsThatDoNotFitAByteAreNotSent)
{
    for (int count : {0, -1, 256, 360, 362}) {
        sensor.requests.clear();
        EXPECT_EQ(sensor.ReadScan(1, count), nullptr) << count;
        EXPECT_TRUE(sensor.requests.empty()) << count;
    }
}

TEST_F(KVRFieldCommandsTest, FieldWritesPackTheShapeNamePaddedAndTheTime)
{
    CArcShelter arc;
    arc.Initialize(Type4(), 400, kProtectiveField);
    CRectShelter rect;
    rect.Initialize(Type4(), 100, 200, 150, kProtectiveField);
    auto polygon = Polygon(181, 300);
    polygon->SetVertexFlags(-1, TRUE); // flags never travel

    struct Case {
        const CShelter* field;
        const char* name;
        BYTE shape;
        std::vector<WORD> words; // from byte 26
    };
    std::vector<WORD> polyWords{180};
    polyWords.insert(polyWords.end(), 181, 300);
    polyWords.push_back(0);
    const Case cases[] = {
        {&arc, "ABCD", 1, {400, 0}},
        {&rect, "ABCDEFGHIJ", 0, {100, 150, 200, 0}},
        {polygon.get(), "", 2, polyWords},
    };
    for (const Case& c : cases) {
        sensor.requests.clear();
        const CTime before = CTime::GetCurrentTime();
        EXPECT_EQ(sensor.WriteField(5, c.name, c.field), nullptr);
        ASSERT_EQ(sensor.requests.size(), 1u) << c.name;
        const SensorRequest& request = Request(0);
        EXPECT_EQ(request.Command(), 0x40);
        EXPECT_EQ(request.Byte(9), 5);
        std::string padded = std::string(c.name).substr(0, 8);
        padded.resize(8, ' ');
        EXPECT_EQ(RequestBytes(request, 10, 9), padded + '\0') << c.name;
        EXPECT_EQ(request.Byte(19), c.shape) << c.name;
        EXPECT_EQ(request.Byte(22), before.GetDay());
        EXPECT_EQ(request.Byte(23), before.GetMonth() - 1);
        EXPECT_EQ(request.Word(24), before.GetYear() - 1900);
        for (std::size_t i = 0; i < c.words.size(); ++i)
            ASSERT_EQ(request.Word(26 + 2 * i), c.words[i]) << c.name << " word " << i;
    }

    // The warning contour: count - 1 at 10, the distances from 12.
    sensor.requests.clear();
    EXPECT_EQ(sensor.ExchangeContour(6, polygon.get()), nullptr);
    ASSERT_EQ(sensor.requests.size(), 1u);
    EXPECT_EQ(Request(0).Command(), 0x43);
    EXPECT_EQ(Request(0).Byte(9), 6);
    EXPECT_EQ(Request(0).Word(10), 180);
    EXPECT_EQ(Request(0).Word(12), 300);
    EXPECT_EQ(Request(0).Word(12 + 2 * 180), 300);
    EXPECT_EQ(Request(0).Word(12 + 2 * 181), 0);
}

TEST_F(KVRFieldCommandsTest, NothingIsSentForShapesThatCannotTravel)
{
    CRectShelter rect;
    CPolyShelter empty; // no beams: no count to send
    EXPECT_EQ(sensor.ExchangeContour(1, &rect), nullptr);
    EXPECT_EQ(sensor.ExchangeContour(1, &empty), nullptr);
    EXPECT_EQ(sensor.WriteField(1, "A", &empty), nullptr);
    EXPECT_EQ(sensor.WriteField(1, "A", nullptr), nullptr);
    EXPECT_TRUE(sensor.requests.empty());
}

TEST_F(KVRFieldCommandsTest, ProtectiveFieldIsBuiltByItsShapeCode)
{
    SensorAnswer rect = FieldReadAnswer(2, 0);
    rect.SetWord(27, 100); // left
    rect.SetWord(29, 150); // right
    rect.SetWord(31, 200); // front
    sensor.script = {rect, BlockAnswer(1)};
    CString name;
    auto field = sensor.ReadProtectiveField(2, name);
    ASSERT_NE(field, nullptr);
    ASSERT_EQ(sensor.requests.size(), 2u);
    EXPECT_EQ(Request(1).Command(), 0x38) << "the type is read after the field";
    auto* r = dynamic_cast<CRectShelter*>(field.get());
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->GetLeft(), 100);
    EXPECT_EQ(r->GetRight(), 150);
    EXPECT_EQ(r->GetFront(), 200);
    EXPECT_EQ(field->GetSensorType().GetVariant(), 1);
    EXPECT_EQ(field->GetFieldKind(), kProtectiveField);
    EXPECT_EQ(field->IsProtectiveInDevice(), 1);
    EXPECT_EQ(field->IsWarningInDevice(), 1);
    EXPECT_EQ(field->IsLocked(), 0);
    EXPECT_EQ(field->GetTime(), kAnswerTime);
    EXPECT_STREQ(name, "Feld 1   ");

    SensorAnswer arc = FieldReadAnswer(2, 1);
    arc.SetWord(27, 400);
    sensor.script = {arc, BlockAnswer()};
    field = sensor.ReadProtectiveField(2, name);
    auto* a = dynamic_cast<CArcShelter*>(field.get());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetRadius(), 400);

    SensorAnswer poly = FieldReadAnswer(2, 2);
    poly.SetWord(27, 180);
    PutWords(poly, 29, 181, 200);
    sensor.script = {poly, BlockAnswer()};
    field = sensor.ReadProtectiveField(2, name);
    auto* p = dynamic_cast<CPolyShelter*>(field.get());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetBeamCount(), 181);
    EXPECT_EQ(p->GetBeamDistance(0), 200);
    EXPECT_EQ(p->GetBeamDistance(180), 380);
    EXPECT_EQ(p->IsLocked(), 0);

    SensorAnswer contour = FieldReadAnswer(2, 4);
    PutWords(contour, 27, 361, 100);
    sensor.script = {contour, BlockAnswer()};
    field = sensor.ReadProtectiveField(2, name);
    p = dynamic_cast<CPolyShelter*>(field.get());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetBeamCount(), 361);
    EXPECT_EQ(p->GetBeamDistance(0), 100);
    EXPECT_EQ(p->GetBeamDistance(360), 460);
    EXPECT_EQ(p->IsLocked(), 1);
    EXPECT_EQ(p->IsProtectiveInDevice(), 1);
    EXPECT_EQ(p->IsWarningInDevice(), 1);
}

TEST_F(KVRFieldCommandsTest, FieldAnswersThatAreRefused)
{
    SensorAnswer otherPair = FieldReadAnswer(3, 1);
    SensorAnswer tooLong = FieldReadAnswer(2, 2);
    tooLong.SetWord(27, 361); // 362 beams
    SensorAnswer wrapping = FieldReadAnswer(2, 2);
    wrapping.SetWord(27, 0xFFFF);
    SensorAnswer wrongCode = FieldReadAnswer(2, 1);
    wrongCode.SetByte(8, 0xC4);
    struct Case {
        const char* what;
        SensorAnswer answer;
    };
    const Case cases[] = {
        {"shape 3", FieldReadAnswer(2, 3)}, {"shape 5", FieldReadAnswer(2, 5)}, {"other pair", otherPair},
        {"362 beams", tooLong},             {"count wraps", wrapping},           {"wrong code", wrongCode},
    };
    for (const Case& c : cases) {
        sensor.requests.clear();
        sensor.script = {c.answer, BlockAnswer()};
        CString name("kept");
        EXPECT_EQ(sensor.ReadProtectiveField(2, name), nullptr) << c.what;
        EXPECT_STREQ(name, "kept") << c.what;
        EXPECT_EQ(sensor.requests.size(), 1u) << c.what << ": no type read for a refused answer";
    }

    // A type query naming no known scanner fails the read after the answer.
    sensor.typeCode = 0;
    SensorAnswer arc = FieldReadAnswer(2, 1);
    sensor.script = {arc};
    CString name;
    EXPECT_EQ(sensor.ReadProtectiveField(2, name), nullptr);
}

TEST_F(KVRFieldCommandsTest, WarningFieldNeedsShape3AndKeepsItsOwnTime)
{
    SensorAnswer warning = FieldReadAnswer(1, 3);
    warning.SetWord(27, 180);
    PutWords(warning, 29, 181, 35);
    sensor.script = {warning, BlockAnswer()};
    CString name;
    auto field = sensor.ReadWarningField(1, name);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->GetBeamCount(), 181);
    EXPECT_EQ(field->GetBeamDistance(0), 35);
    EXPECT_EQ(field->GetFieldKind(), kWarningField);
    EXPECT_EQ(field->IsWarningInDevice(), 1);
    EXPECT_EQ(field->IsProtectiveInDevice(), 0);
    EXPECT_NE(field->GetTime(), kAnswerTime);
    EXPECT_STREQ(name, "Feld 1   ");

    for (BYTE shape : {0, 2, 4}) {
        SensorAnswer other = warning;
        other.SetByte(19, shape);
        sensor.script = {other, BlockAnswer()};
        EXPECT_EQ(sensor.ReadWarningField(1, name), nullptr) << int(shape);
    }
}

TEST_F(KVRFieldCommandsTest, WriteAnswerChecksAndTheUnitsCopy)
{
    CArcShelter arc;
    arc.Initialize(Type4(), 400, kProtectiveField);

    SensorAnswer good = FieldWriteAnswer(1, 2, 1);
    good.SetWord(27, 390); // the unit's copy, not the field sent
    SensorAnswer otherName = good;
    otherName.SetByte(14, 'X');
    SensorAnswer unpadded = good;
    PutText(unpadded, 11, std::string("ABCD\0", 5));
    SensorAnswer otherPair = good;
    otherPair.SetByte(10, 3);
    SensorAnswer wrongCode = good;
    wrongCode.SetByte(8, 0xC1);
    struct Case {
        const char* what;
        SensorAnswer answer;
        bool built;
        BYTE lastStatus;
    };
    const Case cases[] = {
        {"status 1", good, true, 0}, // the type read that follows clears the status
        {"status 2", FieldWriteAnswer(2, 2, 1), true, 0},
        {"status 3", FieldWriteAnswer(3, 2, 1), false, 3},
        {"status 0", FieldWriteAnswer(0, 2, 1), false, 0},
        {"shape echo 2", FieldWriteAnswer(1, 2, 2), false, 1},
        {"other name", otherName, false, 0},
        {"unpadded name", unpadded, false, 0},
        {"other pair", otherPair, false, 0},
        {"wrong code", wrongCode, false, 0},
    };
    for (const Case& c : cases) {
        sensor.requests.clear();
        sensor.script = {c.answer, BlockAnswer()};
        std::unique_ptr<CShelter> result = sensor.WriteField(2, "ABCD", &arc);
        EXPECT_EQ(result != nullptr, c.built) << c.what;
        EXPECT_EQ(sensor.GetLastStatus(), c.lastStatus) << c.what;
        EXPECT_EQ(sensor.requests.size(), c.built ? 2u : 1u) << c.what;
    }

    sensor.script = {good, BlockAnswer()};
    auto written = sensor.WriteArcField(2, "ABCD", &arc);
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(written->GetRadius(), 390);
    EXPECT_EQ(written->GetFieldKind(), kProtectiveField);
    EXPECT_EQ(written->IsWarningInDevice(), 1);
    EXPECT_EQ(written->IsProtectiveInDevice(), 0);
    EXPECT_EQ(written->GetTime(), kAnswerTime);

    // A polygon comes back with the answer's count + 1 beams from byte 29.
    auto polygon = Polygon(181, 300);
    SensorAnswer polyAnswer = FieldWriteAnswer(1, 2, 2);
    polyAnswer.SetWord(27, 90);
    PutWords(polyAnswer, 29, 91, 250);
    sensor.script = {polyAnswer, BlockAnswer()};
    auto poly = sensor.WritePolyField(2, "ABCD", polygon.get());
    ASSERT_NE(poly, nullptr);
    EXPECT_EQ(poly->GetBeamCount(), 91);
    EXPECT_EQ(poly->GetBeamDistance(90), 340);
    EXPECT_EQ(poly->IsWarningInDevice(), 1);

    polyAnswer.SetWord(27, 400);
    sensor.script = {polyAnswer, BlockAnswer()};
    EXPECT_EQ(sensor.WritePolyField(2, "ABCD", polygon.get()), nullptr) << "more beams than a field holds";
}

TEST_F(KVRFieldCommandsTest, ContourExchangeReturnsACopyOfWhatWasSent)
{
    auto polygon = Polygon(181, 35);
    SensorAnswer answer = DeviceAnswer(0xC3, 1);
    answer.SetByte(10, 4);
    PutWords(answer, 12, 181, 999); // never read
    sensor.script = {answer};
    auto copy = sensor.ExchangeContour(4, polygon.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetBeamCount(), 181);
    EXPECT_EQ(copy->GetBeamDistance(100), 35);
    EXPECT_EQ(copy->IsWarningInDevice(), 1);
    EXPECT_EQ(copy->GetFieldKind(), kWarningField);
    EXPECT_EQ(sensor.requests.size(), 1u) << "no type read";

    SensorAnswer refused = answer;
    refused.SetByte(9, 2);
    SensorAnswer otherPair = answer;
    otherPair.SetByte(10, 5);
    const std::pair<SensorAnswer, BYTE> failures[] = {{refused, 2}, {otherPair, 0}};
    for (const auto& [failure, status] : failures) {
        sensor.script = {failure};
        EXPECT_EQ(sensor.ExchangeContour(4, polygon.get()), nullptr);
        EXPECT_EQ(sensor.GetLastStatus(), status);
    }
}

TEST_F(KVRFieldCommandsTest, ScansAndContoursFromTheAnswerCount)
{
    SensorAnswer scanAnswer = DeviceAnswer(0xB0, 7);
    scanAnswer.SetWord(10, 361);
    PutWords(scanAnswer, 12, 361, 500);
    sensor.script = {scanAnswer, BlockAnswer()};
    int caseNumber = 0;
    auto scan = sensor.ReadScanWithStatus(2, 361, caseNumber);
    ASSERT_NE(scan, nullptr);
    EXPECT_EQ(caseNumber, 7);
    EXPECT_EQ(scan->GetBeamCount(), 361);
    EXPECT_EQ(scan->GetDistance(0), 500);
    EXPECT_EQ(scan->GetDistance(360), 860);

    scanAnswer.SetWord(10, 362);
    sensor.script = {scanAnswer, BlockAnswer()};
    EXPECT_EQ(sensor.ReadScan(1, 361), nullptr) << "more beams than a scan holds";

    SensorAnswer contourAnswer = DeviceAnswer(0xB0, 4);
    contourAnswer.SetWord(10, 181);
    PutWords(contourAnswer, 12, 181, 300);
    for (bool locked : {false, true}) {
        sensor.script = {contourAnswer, BlockAnswer()};
        auto contour = locked ? sensor.ReadScanContourLocked(4) : sensor.ReadScanContour(4);
        ASSERT_NE(contour, nullptr);
        EXPECT_EQ(contour->GetBeamCount(), 181) << "the count as sent, not plus 1";
        EXPECT_EQ(contour->GetBeamDistance(180), 480);
        EXPECT_EQ(contour->GetFieldKind(), kProtectiveField);
        EXPECT_EQ(contour->IsLocked(), 1);
        EXPECT_EQ(contour->IsWarningInDevice(), 1);
        EXPECT_EQ(contour->IsProtectiveInDevice(), locked ? 1 : 0);
    }

    SensorAnswer otherNumber = contourAnswer;
    otherNumber.SetByte(9, 3);
    SensorAnswer empty = contourAnswer;
    empty.SetWord(10, 0);
    SensorAnswer tooLong = contourAnswer;
    tooLong.SetWord(10, 362);
    for (const SensorAnswer& refused : {otherNumber, empty, tooLong}) {
        sensor.script = {refused, BlockAnswer()};
        EXPECT_EQ(sensor.ReadScanContour(4), nullptr);
    }
}

TEST_F(KVRFieldCommandsTest, PendingFieldAndTeachInAcceptance)
{
    struct Case {
        const char* what;
        std::function<BOOL()> run;
        BYTE code;
        BYTE echo10, echo11;
        BYTE accepted;
    };
    const Case cases[] = {
        {"discard", [&] { return sensor.DiscardPendingField(1, 3); }, 0xC1, 3, 1, 0},
        {"preview", [&] { return sensor.PreviewPendingField(1, 3); }, 0xC1, 3, 1, 3},
        {"store", [&] { return sensor.StorePendingField(1, 3); }, 0xC1, 3, 1, 1},
        {"start", [&] { return sensor.StartTeachIn(2, 3, "T"); }, 0xC6, 2, 0, 3},
        {"accept", [&] { return sensor.AcceptTeachIn(2, 3, "T"); }, 0xC6, 2, 0, 1},
        {"end", [&] { return sensor.EndTeachIn(2, 3, "T"); }, 0xC6, 2, 0, 0},
    };
    for (const Case& c : cases) {
        for (BYTE status : {0, 1, 2, 3, 4}) {
            SensorAnswer answer = DeviceAnswer(c.code, status);
            answer.SetByte(10, c.echo10);
            answer.SetByte(11, c.echo11);
            sensor.script = {answer};
            EXPECT_EQ(c.run(), status == c.accepted) << c.what << " status " << int(status);
            EXPECT_EQ(sensor.GetLastStatus(), status) << c.what;
        }
        SensorAnswer wrongEcho = DeviceAnswer(c.code, c.accepted);
        wrongEcho.SetByte(10, BYTE(c.echo10 + 1));
        wrongEcho.SetByte(11, c.echo11);
        SensorAnswer wrongCode = DeviceAnswer(c.code ^ 0x02, c.accepted);
        wrongCode.SetByte(10, c.echo10);
        wrongCode.SetByte(11, c.echo11);
        for (const SensorAnswer& refused : {wrongEcho, wrongCode}) {
            sensor.script = {refused};
            EXPECT_FALSE(c.run()) << c.what;
        }
    }
    // The pending-field requests echo the selector too.
    SensorAnswer otherSelector = DeviceAnswer(0xC1, 1);
    otherSelector.SetByte(10, 3);
    otherSelector.SetByte(11, 2);
    sensor.script = {otherSelector};
    EXPECT_FALSE(sensor.StorePendingField(1, 3));
}

} // namespace
