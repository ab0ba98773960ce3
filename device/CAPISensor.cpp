#include "device/CAPISensor.h"

#include "driver/orudrv.h"
#include "framework/ui/CWnd.h"

IMPLEMENT_DYNAMIC(CAPISensor, CObject)

namespace {

constexpr int kDriverErrorSize = 256; // the driver keeps no longer text

} // namespace

CAPISensor::~CAPISensor()
{
    if (m_open)
        Close();
    if (m_loaded)
        Free();
}

BOOL CAPISensor::Load(LPCTSTR iniPath)
{
    if (m_loaded)
        return TRUE;
    if (!iniPath)
        return FALSE;
    const intptr_t handle = ::LoadSensor(iniPath);
    if (handle == 0)
        return FALSE;
    m_handle = handle;
    m_iniPath = iniPath;
    m_loaded = TRUE;
    return TRUE;
}

BOOL CAPISensor::Free()
{
    if (!m_loaded)
        return TRUE;
    if (m_open || !::FreeSensor(m_handle))
        return FALSE;
    m_handle = 0;
    m_loaded = FALSE;
    return TRUE;
}

BOOL CAPISensor::Open()
{
    if (!m_loaded)
        return FALSE;
    if (m_open)
        return TRUE;
    if (m_simulate || ::OpenSensor(m_handle))
        m_open = TRUE;
    return m_open;
}

BOOL CAPISensor::Close()
{
    if (!m_loaded || !m_open)
        return TRUE;
    if (!m_simulate && !::CloseSensor(m_handle))
        return FALSE;
    m_open = FALSE;
    return TRUE;
}

BOOL CAPISensor::Query()
{
    return m_loaded && ::QuerySensor(m_handle);
}

BOOL CAPISensor::Setup(CWnd* frame)
{
    if (!m_loaded)
        return FALSE;
    // A reason left by an earlier call would stand for this one after Cancel.
    TakeDriverError();
    return ::SetupSensor(m_handle, reinterpret_cast<intptr_t>(frame ? frame->GetSafeHwnd() : nullptr)) != 0;
}

CString CAPISensor::TakeDriverError()
{
    char text[kDriverErrorSize] = {};
    ::ErrorSensor(m_handle, text, int(sizeof text));
    return CString(text);
}

BOOL CAPISensor::SetBaudrate(int rate)
{
    return m_loaded && ::SetBaudrate(m_handle, rate);
}

int CAPISensor::GetSetupBaudrate()
{
    return m_loaded ? ::GetSetupBaudrate(m_handle) : 0;
}

BOOL CAPISensor::SendTelegram(RequestSpan request, AnswerSpan answer)
{
    if (!m_loaded || !m_open)
        return FALSE;
    SetRecordWord(request, RequestOffset::Marker, kRequestMarker);
    if (!Telegram(request, answer))
        return FALSE;
    return GetRecordWord(answer, AnswerOffset::Marker) == kAnswerMarker;
}

BOOL CAPISensor::ReceiveTelegram(AnswerSpan answer)
{
    if (!m_loaded || !m_open)
        return FALSE;
    if (m_simulate)
        return TRUE;
    if (!::TelegramSensor(m_handle, nullptr, answer.data()))
        return FALSE;
    return GetRecordWord(answer, AnswerOffset::Marker) == kAnswerMarker;
}

int CAPISensor::GetSensorType(BYTE family)
{
    return m_loaded ? ::GetSensorType(m_handle, family) : 0;
}

int CAPISensor::GetSensorCaps(BYTE type, int index)
{
    return m_loaded ? ::GetSensorCaps(m_handle, type, index) : 0;
}

BOOL CAPISensor::Telegram(RequestSpan request, AnswerSpan answer)
{
    if (m_simulate)
        return TRUE;
    return m_loaded && ::TelegramSensor(m_handle, request.data(), answer.data()) != 0;
}
