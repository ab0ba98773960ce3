// Field and scan answers whose counts promise more beams than their frames carry: the
// device objects refuse them by the received length in the answer record, and take the
// same answers whole when every beam arrived; also through the real driver over a
// pseudo-terminal.
#include "RecordingKVRSensor.h"
#include "RecordingZOKSensor.h"
#include "TestIniFile.h"
#include "device/CKVRSensor.h"
#include "device/CZOKSensor.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CScan.h"
#include "model/CSensorType.h"
#include "tools/DeviceEmulator.h"
#include "tools/SimulatorAnswerer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

enum class Read { Protective, Warning, Scan, Contour, WritePoly };

struct ShortCase {
    const char* name;
    BYTE family;
    Read read;
    BYTE shape; // of a field answer
    int count;  // beams the answer promises
    std::size_t lead; // data bytes ahead of the beam words on the wire
    std::size_t trailing = 0; // data bytes after them (a written field's check value)
};

// Distinct distances inside every field kind's limits, so a beam that did not arrive
// cannot pass for one that did.
WORD Distance(int beam)
{
    return WORD(60 + beam % 300);
}

// The answer to the read or write under test, of which only `sent` beam words arrived:
// the received length (answer bytes 2-3) counts the data after the answer code up to
// the status byte.
void FillShortAnswer(const ShortCase& c, int sent, AnswerSpan answer)
{
    answer[AnswerOffset::Status] = c.family == kFamilyKVR ? kStatusKVRBit : 0;
    answer[AnswerOffset::Data] = 1; // the KVR number echo; the written field's status
    std::size_t wordsAt = 12;
    if (c.read == Read::Scan || c.read == Read::Contour) {
        answer[AnswerOffset::Command] = 0xB0;
        SetRecordWord(answer, 10, WORD(c.count));
    } else {
        const bool written = c.read == Read::WritePoly;
        answer[AnswerOffset::Command] = written ? 0xC0 : 0xC5;
        answer[written ? 20 : 19] = c.shape;
        if (written && c.family == kFamilyKVR) {
            answer[10] = 1;
            for (std::size_t i = 0; i < 8; ++i)
                answer[11 + i] = BYTE("FIELD_01"[i]);
        }
        wordsAt = c.shape == 4 ? 27 : 29;
        if (c.shape != 4)
            SetRecordWord(answer, 27, WORD(c.count - 1));
    }
    for (int i = 0; i < c.count; ++i)
        SetRecordWord(answer, wordsAt + 2 * std::size_t(i), Distance(i));
    SetRecordWord(answer, AnswerOffset::DataLength, WORD(c.lead + 2 * std::size_t(sent) + c.trailing + 1));
}

// Answers as the simulator does (identification, type), except the one read under test.
class ShortAnswerer : public DeviceAnswerer {
public:
    ShortAnswerer(const ShortCase& c, int sent) : m_case(c), m_sent(sent) {}

    bool Answer(ConstRequestSpan request, AnswerSpan answer) override
    {
        const BYTE command = request[RequestOffset::Command];
        if (command != 0x45 && command != 0x30)
            return m_simulator.Answer(request, answer);
        FillShortAnswer(m_case, m_sent, answer);
        return true;
    }

private:
    ShortCase m_case;
    int m_sent;
    SimulatorAnswerer m_simulator;
};

const CPolyShelter& SentPolygon(int count)
{
    static CPolyShelter polygon;
    std::vector<WORD> distances(std::size_t(count), 100);
    polygon.InitializeFromDistances(CSensorType(4, 0), distances.data(), count, 1);
    return polygon;
}

// The beams of whatever the read built; empty when it built nothing.
std::vector<WORD> ReadBeams(const ShortCase& c, CSensor& device)
{
    std::vector<WORD> beams;
    auto take = [&beams](int count, const std::function<WORD(int)>& distance) {
        for (int i = 0; i < count; ++i)
            beams.push_back(distance(i));
    };
    std::unique_ptr<CPolyShelter> poly;
    std::unique_ptr<CScan> scan;
    CString name;
    if (c.family == kFamilyZOK) {
        auto& zok = static_cast<CZOKSensor&>(device);
        if (c.read == Read::Protective) {
            std::unique_ptr<CShelter> field = zok.ReadProtectiveField();
            if (field && field->IsKindOf(RUNTIME_CLASS(CPolyShelter)))
                poly.reset(static_cast<CPolyShelter*>(field.release()));
        } else if (c.read == Read::Warning) {
            poly = zok.ReadWarningField();
        } else if (c.read == Read::Contour) {
            poly = zok.ReadScanContour();
        } else if (c.read == Read::WritePoly) {
            std::unique_ptr<CShelter> field = zok.WriteField(&SentPolygon(c.count));
            if (field)
                poly.reset(static_cast<CPolyShelter*>(field.release()));
        } else {
            scan = zok.ReadScan(361);
        }
    } else {
        auto& kvr = static_cast<CKVRSensor&>(device);
        if (c.read == Read::Protective) {
            std::unique_ptr<CShelter> field = kvr.ReadProtectiveField(1, name);
            if (field && field->IsKindOf(RUNTIME_CLASS(CPolyShelter)))
                poly.reset(static_cast<CPolyShelter*>(field.release()));
        } else if (c.read == Read::Warning) {
            poly = kvr.ReadWarningField(1, name);
        } else if (c.read == Read::Contour) {
            poly = kvr.ReadScanContour(1);
        } else if (c.read == Read::WritePoly) {
            std::unique_ptr<CShelter> field = kvr.WriteField(1, "FIELD_01", &SentPolygon(c.count));
            if (field)
                poly.reset(static_cast<CPolyShelter*>(field.release()));
        } else {
            scan = kvr.ReadScan(1, 361);
        }
    }
    if (poly)
        take(poly->GetBeamCount(), [&](int i) { return poly->GetBeamDistance(i); });
    if (scan)
        take(scan->GetBeamCount(), [&](int i) { return scan->GetDistance(i); });
    return beams;
}

// The leads follow the frame layouts: a ZOK field read sends shape, time and word 25
// (7 bytes) ahead of its values, a KVR unit adds byte 20, the number and the name (17);
// a polygon's count byte comes on top; a warning read sends no time; a KVR scan sends
// its number byte ahead of the count word.
const ShortCase kCases[] = {
    {"ZOK contour of shape 4", kFamilyZOK, Read::Protective, 4, 361, 7},
    {"ZOK protective polygon", kFamilyZOK, Read::Protective, 2, 181, 8},
    {"ZOK warning polygon", kFamilyZOK, Read::Warning, 3, 91, 2},
    {"ZOK scan", kFamilyZOK, Read::Scan, 0, 361, 2},
    {"KVR contour of shape 4", kFamilyKVR, Read::Protective, 4, 361, 17},
    {"KVR protective polygon", kFamilyKVR, Read::Protective, 2, 181, 18},
    {"KVR warning polygon", kFamilyKVR, Read::Warning, 3, 91, 11},
    {"KVR scan", kFamilyKVR, Read::Scan, 0, 361, 3},
};

// Through scripted answer records: the device objects' own check, whatever a driver let
// through. A written polygon's answer closes with its check value.
TEST(ShortAnswerTest, CountsBeyondTheReceivedLengthAreRefused)
{
    std::vector<ShortCase> cases(std::begin(kCases), std::end(kCases));
    cases.insert(cases.end(), {
                                  {"ZOK contour", kFamilyZOK, Read::Contour, 0, 181, 2},
                                  {"KVR contour", kFamilyKVR, Read::Contour, 0, 181, 3},
                                  {"ZOK written polygon", kFamilyZOK, Read::WritePoly, 2, 181, 9, 2},
                                  {"KVR written polygon", kFamilyKVR, Read::WritePoly, 2, 181, 18, 2},
                              });
    for (const ShortCase& c : cases) {
        for (const int sent : {c.count, c.count - 1, 0}) {
            SCOPED_TRACE(std::string(c.name) + ", beams sent: " + std::to_string(sent));
            SensorAnswer answer;
            answer.SetWord(AnswerOffset::Marker, kAnswerMarker);
            FillShortAnswer(c, sent, answer.Bytes());
            std::vector<WORD> beams;
            BYTE lastStatus = 0;
            if (c.family == kFamilyZOK) {
                RecordingZOKSensor sensor;
                sensor.script = {answer, IdentityAnswer()};
                beams = ReadBeams(c, sensor);
                lastStatus = sensor.GetLastStatus();
            } else {
                RecordingKVRSensor sensor;
                sensor.script = {answer, BlockAnswer()};
                beams = ReadBeams(c, sensor);
                lastStatus = sensor.GetLastStatus();
            }
            EXPECT_EQ(beams.size(), sent == c.count ? std::size_t(c.count) : 0u);
            if (!beams.empty()) {
                EXPECT_EQ(beams.back(), Distance(c.count - 1));
            }
            // A refused write still leaves the status the device gave it; a ZOK write
            // keeps it past the type query as well.
            if (c.read == Read::WritePoly && (beams.empty() || c.family == kFamilyZOK)) {
                EXPECT_EQ(lastStatus, 1);
            }
        }
    }
}

std::vector<WORD> ReadOverPty(const ShortCase& c, int sent)
{
    DeviceEmulator emulator(std::make_unique<ShortAnswerer>(c, sent), c.family);
    if (!emulator.Start())
        return {0xFFFF};
    TestIniFile ini("[SETUP]\nPort=1\nBaud=19200\nParity=EVEN\nReadTimeout=0\nSTXTimeout=300\n"
                    "ACKResponseTimeout=200\nRepeatCounter=1\n[PORTS]\nCOM1=" +
                    emulator.SlavePath() + "\n");
    std::unique_ptr<CSensor> device;
    if (c.family == kFamilyZOK)
        device = std::make_unique<CZOKSensor>(0);
    else
        device = std::make_unique<CKVRSensor>(0);
    if (!device->Load(ini.Path()) || !device->Open())
        return {0xFFFF};
    std::vector<WORD> beams = ReadBeams(c, *device);
    device->Close();
    device->Free();
    return beams;
}

TEST(ShortAnswerTest, OverThePseudoTerminalOnlyWholeAnswersAreTaken)
{
    for (const ShortCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::vector<WORD> whole = ReadOverPty(c, c.count);
        ASSERT_EQ(whole.size(), std::size_t(c.count));
        for (int i = 0; i < c.count; ++i)
            ASSERT_EQ(whole[std::size_t(i)], Distance(i)) << "beam " << i;

        EXPECT_TRUE(ReadOverPty(c, c.count - 1).empty());
        EXPECT_TRUE(ReadOverPty(c, 1).empty());
    }
}

// A device that answers a field write with status 1 and the polygon shape, counting
// more beams than its frame carries.
class LongShapeWriteAnswerer : public DeviceAnswerer {
public:
    explicit LongShapeWriteAnswerer(BYTE family) : m_family(family) {}

    bool Answer(ConstRequestSpan request, AnswerSpan answer) override
    {
        if (request[RequestOffset::Command] != 0x40)
            return m_simulator.Answer(request, answer);
        const bool kvr = m_family == kFamilyKVR;
        answer[AnswerOffset::Status] = kvr ? kStatusKVRBit : 0;
        answer[AnswerOffset::Command] = 0xC0;
        answer[9] = 1; // accepted
        if (kvr)
            std::copy_n(request.begin() + 9, 9, answer.begin() + 10); // number and name echoed
        answer[20] = 2;
        SetRecordWord(answer, 27, 180);
        constexpr std::size_t sentWords = 3;
        for (std::size_t i = 0; i < sentWords; ++i)
            SetRecordWord(answer, 29 + 2 * i, WORD(100 + i));
        // Status, shape, time and word 25, the KVR number and name, the count byte.
        const std::size_t lead = kvr ? 18 : 9;
        SetRecordWord(answer, AnswerOffset::DataLength, WORD(lead + 2 * sentWords + 1));
        return true;
    }

private:
    BYTE m_family;
    SimulatorAnswerer m_simulator;
};

// The device's status reaches the session although the shape it echoes is refused: no
// field is built from a frame that does not carry it.
TEST(ShortAnswerTest, WriteAnsweredWithAShapeLongerThanItsFrameKeepsTheStatus)
{
    CArcShelter arc;
    arc.Initialize(CSensorType(4, 0), 300, 1);
    const struct {
        const char* name;
        BYTE family;
        const CShelter* field;
    } cases[] = {
        {"ZOK arc", kFamilyZOK, &arc},
        {"ZOK polygon", kFamilyZOK, &SentPolygon(181)},
        {"KVR arc", kFamilyKVR, &arc},
        {"KVR polygon", kFamilyKVR, &SentPolygon(181)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceEmulator emulator(std::make_unique<LongShapeWriteAnswerer>(c.family), c.family);
        ASSERT_TRUE(emulator.Start());
        TestIniFile ini("[SETUP]\nPort=1\nBaud=19200\nParity=EVEN\nReadTimeout=0\nSTXTimeout=300\n"
                        "ACKResponseTimeout=200\nRepeatCounter=1\n[PORTS]\nCOM1=" +
                        emulator.SlavePath() + "\n");
        std::unique_ptr<CSensor> device;
        std::unique_ptr<CShelter> written;
        if (c.family == kFamilyZOK) {
            auto zok = std::make_unique<CZOKSensor>(0);
            ASSERT_TRUE(zok->Load(ini.Path()) && zok->Open());
            written = zok->WriteField(c.field);
            device = std::move(zok);
        } else {
            auto kvr = std::make_unique<CKVRSensor>(0);
            ASSERT_TRUE(kvr->Load(ini.Path()) && kvr->Open());
            written = kvr->WriteField(1, "FIELD_01", c.field);
            device = std::move(kvr);
        }
        EXPECT_EQ(written, nullptr);
        EXPECT_EQ(device->GetLastStatus(), 1);
        device->Close();
        device->Free();
    }
}

} // namespace
