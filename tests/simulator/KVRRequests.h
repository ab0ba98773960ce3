#pragma once
// Request records of the interface unit's configuration and field commands, laid out as
// the device layer packs them: names of 8 characters padded with blanks and a NUL.
#include "SimRecords.h"
#include "shared/SensorTelegram.h"

#include <cstdint>
#include <string>
#include <vector>

// A device name as it travels: padded with blanks to 8 characters.
inline std::string PaddedName(std::string name)
{
    name.resize(8, ' ');
    return name;
}

inline void PutName(SensorRequest& request, std::size_t offset, const std::string& name)
{
    PutText(request, offset, PaddedName(name).c_str());
}

struct KVRBlock {
    BYTE typeCode = 4;
    std::vector<std::string> sensors{"ZOK 1"};
    std::vector<std::string> fieldPairs{"Feld 1"};
    BYTE caseCount = 1;
    BYTE bytes42to45[4] = {0, 1, 1, 0};
    WORD words[3] = {50, 50, 25};
    BYTE bytes130to135[6] = {0, 0, 2, 0, 2, 1};
};

// 0x70 or 0x71 with the block at request bytes 9-146 (block byte n at n + 9).
inline SensorRequest BlockRequest(BYTE command, const KVRBlock& block)
{
    SensorRequest request(kFamilyKVR, command);
    request.SetByte(9, block.typeCode);
    request.SetByte(10, BYTE(block.sensors.size()));
    for (std::size_t i = 0; i < block.sensors.size() && i < 4; ++i)
        PutName(request, 11 + 9 * i, block.sensors[i]);
    for (std::size_t i = 0; i < 4; ++i)
        request.SetByte(51 + i, block.bytes42to45[i]);
    request.SetByte(56, BYTE(block.fieldPairs.size()));
    for (std::size_t i = 0; i < block.fieldPairs.size() && i < 8; ++i)
        PutName(request, 57 + 9 * i, block.fieldPairs[i]);
    request.SetByte(130, block.caseCount);
    for (std::size_t i = 0; i < 3; ++i)
        request.SetWord(131 + 2 * i, block.words[i]);
    for (std::size_t i = 0; i < 6; ++i)
        request.SetByte(139 + i, block.bytes130to135[i]);
    return request;
}

struct KVRCase {
    BYTE number = 1;
    std::string name = "Fall 1";
    WORD control = 0xFF;
    BYTE sensor = 1;
    BYTE fieldPair = 1;
    BYTE outputs = 0;
    BYTE scans = 2;
    BYTE nextCase1 = 255;
    BYTE nextCase2 = 255;
    std::int16_t highSpeed = 2000;
    std::int16_t lowSpeed = -2000;
};

// 0x72 or 0x73 with the case record at request bytes 9-34.
inline SensorRequest CaseRequest(BYTE command, const KVRCase& record)
{
    SensorRequest request(kFamilyKVR, command);
    request.SetByte(9, record.number);
    PutName(request, 10, record.name);
    request.SetWord(19, record.control);
    request.SetByte(21, record.sensor);
    request.SetByte(22, record.fieldPair);
    request.SetByte(24, record.outputs);
    request.SetByte(28, record.scans);
    request.SetByte(29, record.nextCase1);
    request.SetByte(30, record.nextCase2);
    request.SetWord(31, WORD(record.highSpeed));
    request.SetWord(33, WORD(record.lowSpeed));
    return request;
}

// 0x40 for field pair number with a name, a shape code, the time 30 past 9 on day 14,
// month 5 (0-based), year 124, and the shape's words from byte 26.
inline SensorRequest FieldWriteRequest(BYTE number, const std::string& name, BYTE shape,
                                       const std::vector<WORD>& words)
{
    SensorRequest request(kFamilyKVR, 0x40);
    request.SetByte(9, number);
    PutName(request, 10, name);
    request.SetByte(19, shape);
    request.SetByte(20, 30);
    request.SetByte(21, 9);
    request.SetByte(22, 14);
    request.SetByte(23, 5);
    request.SetWord(24, 124);
    for (std::size_t i = 0; i < words.size(); ++i)
        request.SetWord(26 + 2 * i, words[i]);
    return request;
}

// A polygon write: the count minus 1 at 26 and the distances from 28.
inline SensorRequest PolygonWriteRequest(BYTE number, const std::string& name, const std::vector<WORD>& distances)
{
    std::vector<WORD> words{WORD(distances.size() - 1)};
    words.insert(words.end(), distances.begin(), distances.end());
    return FieldWriteRequest(number, name, 2, words);
}

// 0x41: step at 9, field-pair number at 10, selector at 11.
inline SensorRequest PendingFieldRequest(BYTE step, BYTE number, BYTE selector = 1)
{
    return SimRequest(kFamilyKVR, 0x41, {{9, step}, {10, number}, {11, selector}});
}

// 0x43 for field pair number: the count minus 1 at 10, the distances from 12.
inline SensorRequest WarningContourRequest(BYTE number, const std::vector<WORD>& distances)
{
    SensorRequest request(kFamilyKVR, 0x43);
    request.SetByte(9, number);
    request.SetWord(10, WORD(distances.size() - 1));
    for (std::size_t i = 0; i < distances.size(); ++i)
        request.SetWord(12 + 2 * i, distances[i]);
    return request;
}

// 0x45 for field pair number: 0 the protective field, 1 the warning contour.
inline SensorRequest FieldReadRequest(BYTE number, BYTE which)
{
    return SimRequest(kFamilyKVR, 0x45, {{9, number}, {10, which}});
}

// 0x46 for field pair number and sensor: step 0 starts (with a time), 1 accepts.
inline SensorRequest TeachInRequest(BYTE number, BYTE sensor, BYTE step)
{
    SensorRequest request = SimRequest(kFamilyKVR, 0x46, {{9, number}, {19, sensor}, {20, step}});
    PutText(request, 10, "Feld 1");
    if (step == 0) {
        request.SetByte(21, 15);
        request.SetByte(22, 8);
        request.SetByte(23, 2);
        request.SetByte(24, 0);
        request.SetWord(25, 125);
    }
    return request;
}
