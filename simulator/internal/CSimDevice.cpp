#include "simulator/internal/CSimDevice.h"

#include "simulator/internal/SimAnswer.h"
#include "simulator/internal/SimCapabilities.h"
#include "simulator/internal/SimCommandTable.h"
#include "simulator/internal/SimFieldSteps.h"

namespace {

constexpr BYTE kArchiveVersion = 1;
constexpr std::size_t kMeasuredKind = 10;
constexpr int kMarksCapability = 8;

// Steps of the pending field (0x41) and of the teach-in (0x46).
enum : BYTE { kPendingDiscard = 0, kPendingPreview = 1, kPendingStore = 2 };
enum : BYTE { kTeachInStart = 0, kTeachInAccept = 1 };

} // namespace

CSimDevice::CSimDevice(const char* identityText, const char* versionText, DWORD firmwareVersion, BYTE deviceStatus)
    : m_identityText(identityText),
      m_versionText(versionText),
      m_deviceName("PC - SIM"),
      m_firmwareVersion(firmwareVersion),
      m_typeCode(kDeviceTypeZOK4),
      m_operatingMode(0x23),
      m_spareA(0),
      m_constantWord(66),
      m_value66(0),
      m_value67(0),
      m_deviceStatus(deviceStatus)
{
}

void CSimDevice::Serialize(CArchive& ar)
{
    SerializeSimDeviceVersion(ar, kArchiveVersion);
}

void CSimDevice::AnswerConnectionTest(ConstRequestSpan, AnswerSpan)
{
}

void CSimDevice::AnswerAccess(ConstRequestSpan request, AnswerSpan answer)
{
    m_accessCodes.AnswerAccessRequest(request, answer, m_operatingMode);
}

void CSimDevice::AnswerErrorList(ConstRequestSpan, AnswerSpan answer)
{
    answer[AnswerOffset::Data] = m_errorCount;
}

void CSimDevice::AnswerCodeChange(ConstRequestSpan request, AnswerSpan answer)
{
    m_accessCodes.AnswerCodeChange(request, answer);
}

bool CSimDevice::AnswerMeasuredKind(ConstRequestSpan request, AnswerSpan answer, DWORD capabilityType)
{
    const BYTE kind = request[kMeasuredKind];
    if (!SimMeasuredValues::ServesKind(kind)) {
        AnswerNotServed(answer);
        return false;
    }
    const DWORD capability = LookupSimCapability(capabilityType, m_firmwareVersion, kMarksCapability);
    m_measured.AnswerKind(kind, answer,
                          SimMeasuredValues::MarksPerRequest(capability, m_measured.CurrentContour().count));
    return true;
}

BYTE CSimDevice::TakePendingFieldStep(BYTE step, SimFieldRecord& stored)
{
    switch (step) {
    case kPendingDiscard: m_pendingField.defined = 0; return SIM_FIELD_REFUSED;
    case kPendingPreview:
        return PreviewPendingField(m_pendingField, m_measured.CurrentContour()) ? SIM_FIELD_IN_PROGRESS
                                                                                 : SIM_FIELD_REFUSED;
    case kPendingStore: StorePendingField(m_pendingField, stored, SimLocalTimeNow()); return SIM_FIELD_DONE;
    default: return SIM_FIELD_REFUSED;
    }
}

BYTE CSimDevice::TakeTeachInStep(BYTE step, ConstRequestSpan request)
{
    switch (step) {
    case kTeachInStart: StartTeachIn(request, m_measured.ScanRecord()); return SIM_FIELD_IN_PROGRESS;
    case kTeachInAccept: m_pendingField = m_measured.ScanRecord(); return SIM_FIELD_DONE;
    default: return SIM_FIELD_REFUSED;
    }
}

void CSimDevice::WriteIdentificationHead(AnswerSpan answer) const
{
    WriteSimText(answer, 9, m_versionText, 7);
    answer[17] = m_operatingMode;
    answer[18] = m_spareA;
    WriteSimText(answer, 19, m_deviceName, 8);
}

void CSimDevice::AnswerNotServed(AnswerSpan answer) const
{
    BeginSimAnswer(answer, m_deviceStatus, kSimAnswerNotServed);
}
