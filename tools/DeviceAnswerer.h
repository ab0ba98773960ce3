#pragma once
// What answers the requests that reach the device emulator. The emulator takes a request
// frame off the line, rebuilds the request record the program filled, hands it to an
// answerer, and puts the answer record it gets back on the line as an answer frame. So
// anything that answers records the way a device does (canned answers, the simulator
// library) can stand behind a pseudo-terminal.
#include "shared/SensorTelegram.h"

class DeviceAnswerer {
public:
    virtual ~DeviceAnswerer() = default;

    // request: the record rebuilt from one request frame, as the driver would have been
    //   given it: marker 752 (bytes 0-1); the emulated family in byte 2 (frames carry no
    //   family); the frame's length L in bytes 3-4 and 6-7; the frame's address in byte 5;
    //   the command in byte 8; the data at the record offsets the driver packs them from
    //   (names as sent: 8 characters padded with blanks, then a NUL). Bytes the frame does
    //   not carry are 0.
    // answer: 756 bytes, all 0 on entry. Fill it as the driver's caller reads it: byte 7
    //   the device status (bit 3 set for a KVR unit), byte 8 the answer command, the data
    //   from byte 9 at the offsets the driver unpacks them to. Bytes 2-3 may give the
    //   number of data bytes after the command, status included, as the driver's answer
    //   record has it; left 0, the emulator derives the length from the answer command's
    //   layout and its count fields. The marker (bytes 0-1) is not looked at.
    // Returns false when the device does not serve the request: the emulator refuses it
    // with NAK and sends no frame.
    virtual bool Answer(ConstRequestSpan request, AnswerSpan answer) = 0;

    // The family of the device that answers a frame sent to this address, which decides
    // the layouts of the request and of the answer on the line: the emulated family,
    // unless the device passes frames on (a KVR unit to a scanner behind it).
    virtual BYTE FamilyAt(BYTE /*address*/, BYTE emulatedFamily) const { return emulatedFamily; }
};
