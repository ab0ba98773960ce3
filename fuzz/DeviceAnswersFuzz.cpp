// Plays a device that answers with arbitrary data: the first input byte picks a session
// command of either family (reads, checks and field writes), the second its parameter
// (field pair, beam count, device type, field shape); the rest is the answers, each a
// status byte, an answer code (0: the request's own code with the answer bit), a length
// word and that many data bytes from byte 9 on. When the bytes run out the exchange
// fails. Whatever object a session builds from the answers must store and load again,
// and then store stably; a configuration block built from a configuration the unit sent
// unpacks and packs again to the same block.
#include "FuzzArchive.h"
#include "FuzzScratchFile.h"

#include "device/CKVRSensor.h"
#include "device/CSensorErrorList.h"
#include "device/CZOKSensor.h"
#include "device/KVRConfigTransfer.h"
#include "model/CKVRConfig.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/CScan.h"
#include "model/CZOKConfig.h"

#include <algorithm>
#include <array>
#include <functional>

namespace {

constexpr BYTE kAnswerBit = 0x80;
constexpr std::size_t kAnswerHead = 4;
constexpr std::size_t kMostData = kAnswerRecordSize - AnswerOffset::Data;

class AnswerScript {
public:
    explicit AnswerScript(std::span<const BYTE> bytes) : m_rest(bytes) {}

    BOOL Answer(RequestSpan request, AnswerSpan answer)
    {
        if (m_rest.size() < kAnswerHead)
            return FALSE;
        const BYTE status = m_rest[0];
        const BYTE code = m_rest[1] != 0 ? m_rest[1] : BYTE(request[RequestOffset::Command] | kAnswerBit);
        const std::size_t length = std::min({std::size_t(MAKEWORD(m_rest[2], m_rest[3])), kMostData,
                                             m_rest.size() - kAnswerHead});
        std::fill(answer.begin(), answer.end(), BYTE(0));
        SetRecordWord(answer, AnswerOffset::Marker, kAnswerMarker);
        answer[AnswerOffset::Status] = status;
        answer[AnswerOffset::Command] = code;
        std::copy_n(m_rest.begin() + kAnswerHead, length, answer.begin() + AnswerOffset::Data);
        m_rest = m_rest.subspan(kAnswerHead + length);
        return TRUE;
    }

private:
    std::span<const BYTE> m_rest;
};

// The driver instance a session needs is loaded from an INI file; simulated, so no port
// is opened and every answer comes from the script.
const char* SessionIniPath()
{
    static const FuzzScratchFile file("session.ini");
    static const bool written = [] {
        static constexpr char kSetup[] = "[SETUP]\nPort=9\nBaud=19200\n";
        file.Write(kSetup, sizeof kSetup - 1);
        return true;
    }();
    (void)written;
    return file.Path();
}

template <typename Sensor>
class ScriptedSensor : public Sensor {
public:
    ScriptedSensor(std::span<const BYTE> answers, int typeCode) : Sensor(1), m_script(answers), m_typeCode(typeCode)
    {
        this->Load(SessionIniPath());
        this->Open();
    }

    BOOL Telegram(RequestSpan request, AnswerSpan answer) override
    {
        request[RequestOffset::Family] = this->GetFamily();
        return m_script.Answer(request, answer);
    }
    int GetSensorType(BYTE) override { return m_typeCode; }

private:
    AnswerScript m_script;
    int m_typeCode;
};

using KVRSession = ScriptedSensor<CKVRSensor>;
using ZOKSession = ScriptedSensor<CZOKSensor>;

// Loading drops what only held while the object agreed with a device (the in-device
// flags of fields), so the stable form is the one loaded once.
void CheckObject(CObject* object)
{
    if (object != nullptr)
        CheckStoresStably(*StoredAndLoaded(*object));
}



void CheckConfigBlock(CKVRConfig& config)
{
    CheckObject(&config);
    if (!ConfigFitsUnit(config))
        return;
    const KVRConfigBlock block = PackConfigBlock(config);
    CKVRConfig copy(config);
    UnpackConfigBlock(block, copy);
    if (PackConfigBlock(copy) != block)
        FuzzFailure("a configuration block unpacks and packs to another block");
}

using Session = std::function<void(std::span<const BYTE> answers, BYTE parameter)>;

int TypeCode(BYTE parameter)
{
    static constexpr std::array<int, 8> kTypes = {4, 7, 50, 132, 135, 178, 0, 255};
    return kTypes[parameter % kTypes.size()];
}

// A field of each shape the sessions write, picked by the parameter.
std::unique_ptr<CShelter> FieldToWrite(BYTE parameter)
{
    const CSensorType type(4, 0);
    switch (parameter % 3) {
    case 0: {
        auto rect = std::make_unique<CRectShelter>();
        rect->Initialize(type, 1000, 2000, 1500, kProtectiveField);
        return rect;
    }
    case 1: {
        auto arc = std::make_unique<CArcShelter>();
        arc->Initialize(type, 3000, kProtectiveField);
        return arc;
    }
    default: {
        auto poly = std::make_unique<CPolyShelter>();
        poly->InitializeConstant(type, 3000, 181, kProtectiveField);
        return poly;
    }
    }
}

template <typename Session>
void ReadErrorList(std::span<const BYTE> answers, BYTE parameter)
{
    CSensorErrorList list;
    const BOOL read = Session(answers, TypeCode(parameter)).ReadErrorList(list);
    if (list.GetCount() < 0 || list.GetCount() > CSensorErrorList::kMaxEntries || (!read && list.GetCount() != 0))
        FuzzFailure("an error list holds more entries than it can, or some of a refused answer");
}

const std::array<Session, 19> kSessions = {
    [](auto answers, BYTE p) {
        auto config = KVRSession(answers, TypeCode(p)).ReadConfiguration();
        if (config)
            CheckConfigBlock(*config);
    },
    [](auto answers, BYTE p) {
        CString name;
        CheckObject(KVRSession(answers, TypeCode(p)).ReadProtectiveField(p % 9, name).get());
    },
    [](auto answers, BYTE p) {
        CString name;
        CheckObject(KVRSession(answers, TypeCode(p)).ReadWarningField(p % 9, name).get());
    },
    [](auto answers, BYTE p) { CheckObject(KVRSession(answers, 132).ReadScan(p & 1, p < 128 ? 361 : p).get()); },
    [](auto answers, BYTE p) { CheckObject(KVRSession(answers, 132).ReadScanContour(p % 9).get()); },
    [](auto answers, BYTE p) {
        int caseNumber = 0;
        CheckObject(KVRSession(answers, 132).ReadScanWithStatus(p & 1, p < 128 ? 361 : p, caseNumber).get());
    },
    [](auto answers, BYTE) {
        CKVRIdentity identity;
        KVRSession(answers, 132).ReadIdentity(identity);
    },
    ReadErrorList<KVRSession>,
    [](auto answers, BYTE p) { CheckObject(ZOKSession(answers, TypeCode(p)).ReadConfiguration().get()); },
    [](auto answers, BYTE p) { CheckObject(ZOKSession(answers, TypeCode(p)).ReadProtectiveField().get()); },
    [](auto answers, BYTE p) { CheckObject(ZOKSession(answers, TypeCode(p)).ReadWarningField().get()); },
    [](auto answers, BYTE p) { CheckObject(ZOKSession(answers, 4).ReadScan(p < 128 ? 361 : p).get()); },
    [](auto answers, BYTE p) {
        CheckObject((p & 1 ? ZOKSession(answers, 4).ReadScanContourLocked() : ZOKSession(answers, 4).ReadScanContour())
                        .get());
    },
    [](auto answers, BYTE) {
        CZOKIdentity identity;
        ZOKSession(answers, 4).ReadIdentity(identity);
    },
    ReadErrorList<ZOKSession>,
    [](auto answers, BYTE p) {
        auto config = KVRSession(answers, TypeCode(p)).CheckConfiguration(CKVRConfig());
        if (config)
            CheckConfigBlock(*config);
    },
    [](auto answers, BYTE p) { CheckObject(ZOKSession(answers, TypeCode(p)).CheckConfiguration(CZOKConfig()).get()); },
    [](auto answers, BYTE p) {
        const auto field = FieldToWrite(p);
        CheckObject(KVRSession(answers, 132).WriteField(1, "FIELD", field.get()).get());
    },
    [](auto answers, BYTE p) {
        const auto field = FieldToWrite(p);
        CheckObject(ZOKSession(answers, 4).WriteField(field.get()).get());
    },
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    kSessions[data[0] % kSessions.size()](std::span<const BYTE>(data + 2, size - 2), data[1]);
    return 0;
}
