#pragma once
// The parameter-set file of a ZOK scanner: the 10 bytes of a CZOKParameters record at
// the file's start, with byte 6 (the number of scans) stored minus 1. File errors reach
// the caller as the framework's CFileException.
class CFile;
class CZOKParameters;

// The size of a parameter-set file.
constexpr unsigned kZOKParameterFileSize = 10;

// Writes the record at the file's current position; the record itself is not changed.
// A record with 0 scans is refused (genericException) before anything is written.
void WriteZOKParameterFile(CFile& file, const CZOKParameters& parameters);
// Reads a record from the file's current position. A file that ends early (endOfFile),
// holds more than the 10 bytes or a number of scans that does not fit a byte
// (genericException) is refused and the record stays as it was.
void ReadZOKParameterFile(CFile& file, CZOKParameters& parameters);
