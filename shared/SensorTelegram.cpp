#include "shared/SensorTelegram.h"

#include <stdexcept>

WORD GetRecordWord(std::span<const BYTE> record, std::size_t offset)
{
    if (offset + 2 > record.size())
        throw std::out_of_range("record word beyond the record");
    return MAKEWORD(record[offset], record[offset + 1]);
}

void SetRecordWord(std::span<BYTE> record, std::size_t offset, WORD value)
{
    if (offset + 2 > record.size())
        throw std::out_of_range("record word beyond the record");
    record[offset] = LOBYTE(value);
    record[offset + 1] = HIBYTE(value);
}

SensorRequest::SensorRequest(BYTE family, BYTE command, BYTE address)
{
    SetWord(RequestOffset::Marker, kRequestMarker);
    SetByte(RequestOffset::Family, family);
    SetByte(RequestOffset::Address, address);
    SetByte(RequestOffset::Command, command);
}
