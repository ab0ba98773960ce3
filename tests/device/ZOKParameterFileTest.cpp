// The parameter-set file: ten bytes with the number of scans stored minus 1; a damaged
// file is refused and leaves the record as it was.
#include "device/ZOKParameterFile.h"
#include "framework/core/CFile.h"
#include "model/CZOKParameters.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

class ZOKParameterFileTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }

    void WriteBytes(const std::vector<BYTE>& bytes) const
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::vector<BYTE> ReadBytes() const
    {
        std::ifstream in(path, std::ios::binary);
        return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
    }
    static std::vector<BYTE> Bytes(const CZOKParameters& parameters)
    {
        return std::vector<BYTE>(parameters.GetData(), parameters.GetData() + CZOKParameters::kSize);
    }

    std::string path = (std::filesystem::temp_directory_path() /
                        ("taliso-parameters-" + std::to_string(::getpid()) + ".prm")).string();
};

TEST_F(ZOKParameterFileTest, DefaultRecordIsStoredWithScansMinusOne)
{
    const CZOKParameters defaults;
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        WriteZOKParameterFile(file, defaults);
    }
    EXPECT_EQ(ReadBytes(), (std::vector<BYTE>{0x01, 0x00, 0x90, 0x01, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00}));
    EXPECT_EQ(defaults.GetScans(), 2) << "the record itself is unchanged";

    CZOKParameters read;
    read.SetScaledValue(9);
    CFile file(path.c_str(), CFile::modeRead);
    ReadZOKParameterFile(file, read);
    EXPECT_EQ(Bytes(read), Bytes(defaults));
}

TEST_F(ZOKParameterFileTest, StoredZeroScansReadsAsOne)
{
    WriteBytes({1, 2, 0x10, 0x27, 0, 1, 0, 7, 1, 1});
    CZOKParameters read;
    CFile file(path.c_str(), CFile::modeRead);
    ReadZOKParameterFile(file, read);
    EXPECT_EQ(Bytes(read), (std::vector<BYTE>{1, 2, 0x10, 0x27, 0, 1, 1, 7, 1, 1}));
}

TEST_F(ZOKParameterFileTest, DamagedFilesAreRefusedAndChangeNothing)
{
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
        int cause;
    };
    const Case cases[] = {
        {"empty", {}, CFileException::endOfFile},
        {"short", {1, 0, 0x90, 0x01, 1, 0, 1, 0, 0}, CFileException::endOfFile},
        {"too long", {1, 0, 0x90, 0x01, 1, 0, 1, 0, 0, 0, 0}, CFileException::genericException},
        {"scans beyond a byte", {1, 0, 0x90, 0x01, 1, 0, 0xFF, 0, 0, 0}, CFileException::genericException},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(c.bytes);
        CZOKParameters read;
        read.SetScaledValue(7);
        const std::vector<BYTE> before = Bytes(read);
        CFile file(path.c_str(), CFile::modeRead);
        try {
            ReadZOKParameterFile(file, read);
            ADD_FAILURE() << "accepted";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.m_cause, c.cause);
        }
        EXPECT_EQ(Bytes(read), before);
    }
}

TEST_F(ZOKParameterFileTest, RecordWithoutScansIsNotWritten)
{
    CZOKParameters parameters;
    std::vector<BYTE> bytes = Bytes(parameters);
    bytes[6] = 0;
    parameters.SetData(bytes.data(), bytes.size());
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    EXPECT_THROW(WriteZOKParameterFile(file, parameters), CFileException);
    file.Close();
    EXPECT_TRUE(ReadBytes().empty());
}

TEST_F(ZOKParameterFileTest, WriteErrorReachesTheCaller)
{
    WriteBytes({});
    CZOKParameters parameters;
    CFile file(path.c_str(), CFile::modeRead);
    EXPECT_THROW(WriteZOKParameterFile(file, parameters), CFileException);
    EXPECT_EQ(parameters.GetScans(), 2);
}

} // namespace
