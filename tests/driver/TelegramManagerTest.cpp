#include "driver/internal/TelegramManager.h"

#include "driver/internal/DriverLastError.h"
#include "driver/internal/TelegramCrc.h"
#include "HexBytes.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace {

using ByteVector = std::vector<BYTE>;

// One read of the port: the bytes it returns and how long it took.
struct ScriptedRead {
    ByteVector bytes;
    DWORD elapsedMs = 10;
};

// A port that records what is written and answers reads from a script. Each write
// starts the script of its reply and drops what was left of the previous one, as the
// real port purges before it writes.
class ScriptedPort : public ComPort {
public:
    explicit ScriptedPort(DWORD& clock) : m_clock(clock) {}

    std::deque<std::deque<ScriptedRead>> replies; // one per write
    std::deque<ScriptedRead> pending;             // what the line delivers now
    std::vector<ByteVector> writes;
    std::vector<DWORD> readSizes;
    std::vector<DWORD> readWaits;
    int clears = 0;
    bool reportTooMany = false;
    // Reads that asked for more bytes than the line still had to deliver: such a read
    // only ends when the read interval passes after the last byte.
    int overAsked = 0;

    std::size_t PendingByteCount() const
    {
        std::size_t total = 0;
        for (const ScriptedRead& read : pending)
            total += read.bytes.size();
        return total;
    }

    BOOL SendTelegram(const BYTE* frame, DWORD length) override
    {
        writes.emplace_back(frame, frame + length);
        pending.clear();
        if (!replies.empty()) {
            pending = replies.front();
            replies.pop_front();
        }
        return TRUE;
    }

    // Bytes that take longer than the read may wait stay on their way for the next read.
    BOOL ReceiveWithin(BYTE* buffer, DWORD count, DWORD* read, DWORD waitMs) override
    {
        readSizes.push_back(count);
        readWaits.push_back(waitMs);
        if (!pending.empty() && count > PendingByteCount())
            ++overAsked;
        if (pending.empty() || pending.front().elapsedMs > waitMs) {
            m_clock += waitMs;
            if (!pending.empty())
                pending.front().elapsedMs -= waitMs;
            *read = 0;
            return TRUE;
        }
        ScriptedRead next = pending.front();
        pending.pop_front();
        m_clock += next.elapsedMs;
        const DWORD taken = std::min<DWORD>(count, DWORD(next.bytes.size()));
        std::copy_n(next.bytes.begin(), taken, buffer);
        if (taken < next.bytes.size()) // the rest stays for the next read
            pending.push_front({ByteVector(next.bytes.begin() + taken, next.bytes.end()), 0});
        *read = reportTooMany ? count + 1 : taken;
        return TRUE;
    }

    BOOL ClearComPortBuffer() override
    {
        ++clears;
        return TRUE;
    }

private:
    DWORD& m_clock;
};

const ByteVector kConnectionTest = HexBytes("02 00 01 00 10 34 12");
const ByteVector kAnswer91 = HexBytes("02 80 02 00 91 00 69 30");

ByteVector Frame(BYTE address, BYTE command, const ByteVector& dataAndStatus)
{
    const WORD length = WORD(dataAndStatus.size() + 1);
    ByteVector frame = {kSTX, address, LOBYTE(length), HIBYTE(length), command};
    frame.insert(frame.end(), dataAndStatus.begin(), dataAndStatus.end());
    const WORD crc = ComputeTelegramCrc(frame);
    frame.push_back(LOBYTE(crc));
    frame.push_back(HIBYTE(crc));
    return frame;
}

ByteVector Join(ByteVector first, const ByteVector& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

std::string TextOfId(UINT id)
{
    SetLastErrorText(id);
    std::string text = PeekLastErrorText();
    char discard[DRIVER_LAST_ERROR_SIZE];
    CopyAndClearLastErrorText(discard, sizeof discard);
    return text;
}

class TelegramManagerTest : public ::testing::Test {
protected:
    TelegramManagerTest()
    {
        auto owned = std::make_unique<ScriptedPort>(m_clock);
        port = owned.get();
        manager = std::make_unique<TelegramManager>(std::move(owned));
        // Small legal time-outs: ACK within 200 ms, the whole answer within 300 ms.
        PortSettings settings;
        settings.readTimeout = 0;
        settings.stxTimeout = 300;
        settings.ackResponseTimeout = 200;
        settings.repeatCounter = 2;
        manager->SetSettings(settings);
        manager->SetTickSource([this] { return m_clock; });
        m_receiveFailedText = TextOfId(IDS_DRV_RECEIVE_FAILED);
        for (std::size_t i = 0; i < kAnswerRecordSize; ++i)
            answer.SetByte(i, 0xEE);
    }

    void Reply(std::deque<ScriptedRead> reads) { port->replies.push_back(std::move(reads)); }
    BOOL Exchange() { return manager->ExchangeTelegram(request.Bytes(), answer.Bytes()); }
    std::string LastError() const { return PeekLastErrorText(); }
    bool Failed522() const { return LastError() == m_receiveFailedText; }

    DWORD m_clock = 1000;
    ScriptedPort* port = nullptr;
    std::unique_ptr<TelegramManager> manager;
    SensorRequest request{kFamilyZOK, 0x10};
    SensorAnswer answer;
    std::string m_receiveFailedText;
};

TEST_F(TelegramManagerTest, AckSplitAcrossReads)
{
    Reply({{{kACK}}, {kAnswer91}});
    ASSERT_EQ(Exchange(), TRUE);
    EXPECT_EQ(port->writes, std::vector<ByteVector>{kConnectionTest});
    EXPECT_EQ(answer.Marker(), kAnswerMarker);
    EXPECT_EQ(answer.Command(), 0x91);
    EXPECT_EQ(answer.Status(), 0x00);
    EXPECT_EQ(port->overAsked, 0);
    EXPECT_EQ(LastError(), "");
}

TEST_F(TelegramManagerTest, NoiseStrayAckAndInnerNakAreSkipped)
{
    // Noise, an ACK followed by noise, a NAK inside the read, then ACK and the answer;
    // the answer's first bytes arrive in the ACK read and are used first.
    Reply({{Join(HexBytes("55 06 41 15 06"), kAnswer91)}});
    ASSERT_EQ(Exchange(), TRUE);
    EXPECT_EQ(port->writes.size(), 1u);
    EXPECT_EQ(answer.Command(), 0x91);
    EXPECT_EQ(port->overAsked, 0);
}

TEST_F(TelegramManagerTest, AckFollowedByAckThenStx)
{
    Reply({{Join(HexBytes("06 06"), kAnswer91)}});
    EXPECT_EQ(Exchange(), TRUE);
}

TEST_F(TelegramManagerTest, NakAsLastByteFailsTheAttemptSilently)
{
    Reply({{HexBytes("06 41 15")}});
    Reply({{Join({kACK}, kAnswer91)}});
    ASSERT_EQ(Exchange(), TRUE);
    EXPECT_EQ(port->writes, (std::vector<ByteVector>{kConnectionTest, kConnectionTest}));
    EXPECT_EQ(LastError(), "");

    Reply({{{kNAK}}});
    Reply({{{kNAK}}});
    answer.SetWord(AnswerOffset::Marker, 0);
    EXPECT_EQ(Exchange(), FALSE);
    EXPECT_EQ(port->writes.size(), 4u);
    EXPECT_EQ(answer.Marker(), 0);
    EXPECT_EQ(LastError(), "");
}

TEST_F(TelegramManagerTest, BadChecksumThenASecondCompleteWrite)
{
    ByteVector bad = kAnswer91;
    bad.back() ^= 0x01;
    Reply({{Join({kACK}, bad)}});
    Reply({{Join({kACK}, kAnswer91)}});
    ASSERT_EQ(Exchange(), TRUE);
    EXPECT_EQ(port->writes, (std::vector<ByteVector>{kConnectionTest, kConnectionTest}));
    EXPECT_EQ(LastError(), "");
}

TEST_F(TelegramManagerTest, OverlongLengthFieldFailsTheAttempt)
{
    Reply({{Join({kACK}, HexBytes("02 80 07 03 91"))}}); // L = 775 would overrun the buffer
    Reply({{Join({kACK}, kAnswer91)}});
    ASSERT_EQ(Exchange(), TRUE);
    EXPECT_EQ(port->writes.size(), 2u);
}

TEST_F(TelegramManagerTest, SilenceFailsWith522)
{
    EXPECT_EQ(Exchange(), FALSE);
    EXPECT_EQ(port->writes.size(), 2u);
    EXPECT_TRUE(Failed522());
    EXPECT_EQ(answer.Byte(0), 0xEE);
}

TEST_F(TelegramManagerTest, ReadReportingMoreThanAskedFailsWith522)
{
    port->reportTooMany = true;
    Reply({{Join({kACK}, kAnswer91)}});
    EXPECT_EQ(Exchange(), FALSE);
    EXPECT_TRUE(Failed522());
}

TEST_F(TelegramManagerTest, AckDeadlineEndsEndlessNoise)
{
    // The tick count may wrap during the wait.
    for (DWORD start : {DWORD(1000), DWORD(0xFFFFFF80)}) {
        m_clock = start;
        port->readSizes.clear();
        port->writes.clear();
        for (int attempt = 0; attempt < 2; ++attempt)
            Reply(std::deque<ScriptedRead>(20, ScriptedRead{{0x00}, 50}));
        EXPECT_EQ(Exchange(), FALSE);
        // 50, 100, 150 and 200 ms are within the deadline, 250 ms is past it.
        EXPECT_EQ(port->readSizes.size(), 10u) << start;
        EXPECT_EQ(port->writes.size(), 2u);
        EXPECT_TRUE(Failed522());
    }
}

TEST_F(TelegramManagerTest, PendingAckIsJudgedByTheWholeDeadline)
{
    // The ACK ends a read; the STX that completes it comes after the ACK deadline.
    Reply({{{0x00, kACK}, 150}, {kAnswer91, 100}});
    ASSERT_EQ(Exchange(), TRUE);
    EXPECT_EQ(port->writes.size(), 1u);
    ASSERT_GE(port->readWaits.size(), 2u);
    EXPECT_EQ(port->readWaits[0], 200u) << "the ACK deadline";
    EXPECT_EQ(port->readWaits[1], 150u) << "what is left of the whole deadline";
}

TEST_F(TelegramManagerTest, ReadsWaitOnlyForTheTimeLeftBeforeTheDeadline)
{
    // ACK and STX at once, then one byte of a long frame every 60 ms, as a trickling
    // peer sends them: the answer phase fails at its deadline, not after a long read.
    std::deque<ScriptedRead> trickle = {{{kACK, kSTX, 0x80, 0xBC, 0x02}, 0}};
    for (int i = 0; i < 200; ++i)
        trickle.push_back({{0x30}, 60});
    Reply(trickle);
    Reply(trickle);
    const DWORD start = m_clock;
    EXPECT_EQ(Exchange(), FALSE);
    EXPECT_TRUE(Failed522());
    EXPECT_EQ(port->writes.size(), 2u);
    EXPECT_LE(m_clock - start, 2u * 300u) << "each attempt ends at its whole deadline";
    for (std::size_t i = 1; i < port->readWaits.size(); ++i)
        EXPECT_LE(port->readWaits[i], 300u);
}

TEST_F(TelegramManagerTest, ReadsNeverAskBeyondTheFramesLastByte)
{
    // Every reply ends with the answer frame's last byte: a read that asks for more can
    // only end by waiting out the read interval.
    ByteVector beams = {0x69, 0x01};
    beams.resize(2 + 2 * 361, 0x31);
    beams.push_back(0x00); // status
    const ByteVector scan = Frame(0x80, 0xB0, beams);
    const auto chunks = [](const ByteVector& bytes, std::size_t size) {
        std::deque<ScriptedRead> reads;
        for (std::size_t i = 0; i < bytes.size(); i += size)
            reads.push_back({ByteVector(bytes.begin() + std::ptrdiff_t(i),
                                        bytes.begin() + std::ptrdiff_t(std::min(bytes.size(), i + size))),
                             1});
        return reads;
    };
    const std::deque<ScriptedRead> replies[] = {
        {{Join({kACK}, kAnswer91)}},
        {{{kACK}}, {kAnswer91}},
        {{Join(HexBytes("55 06 41 15 06"), kAnswer91)}},
        {{Join({kACK}, scan)}},
        chunks(Join({kACK}, scan), 3),
        chunks(Join({kACK}, scan), 64),
    };
    for (const std::deque<ScriptedRead>& reads : replies) {
        port->overAsked = 0;
        Reply(reads);
        EXPECT_EQ(Exchange(), TRUE);
        EXPECT_EQ(port->overAsked, 0) << "reply of " << reads.size() << " reads";
    }
    port->overAsked = 0;
    port->pending = chunks(scan, 7);
    EXPECT_EQ(manager->ExchangeTelegram(answer.Bytes()), TRUE);
    EXPECT_EQ(answer.Command(), 0xB0);
    EXPECT_EQ(port->overAsked, 0) << "receive-only";
}

TEST_F(TelegramManagerTest, WholeDeadlineEndsASlowAnswer)
{
    std::deque<ScriptedRead> slow = {{{kACK, kSTX}, 10}};
    for (std::size_t i = 1; i < kAnswer91.size(); ++i)
        slow.push_back({{kAnswer91[i]}, 100});
    Reply(slow);
    Reply(slow);
    EXPECT_EQ(Exchange(), FALSE);
    EXPECT_TRUE(Failed522());
    EXPECT_EQ(port->writes.size(), 2u);

    // The same bytes with shorter gaps arrive in time.
    char discard[DRIVER_LAST_ERROR_SIZE];
    CopyAndClearLastErrorText(discard, sizeof discard);
    for (ScriptedRead& read : slow)
        read.elapsedMs = 40;
    Reply(slow);
    EXPECT_EQ(Exchange(), TRUE);
}

TEST_F(TelegramManagerTest, RefusedRequestSendsNothing)
{
    SensorRequest polygon(kFamilyZOK, 0x40);
    polygon.SetByte(19, 2);
    polygon.SetWord(26, 400);
    EXPECT_EQ(manager->ExchangeTelegram(polygon.Bytes(), answer.Bytes()), FALSE);
    SensorRequest wrongMarker(kFamilyZOK, 0x10);
    wrongMarker.SetWord(RequestOffset::Marker, kAnswerMarker);
    EXPECT_EQ(manager->ExchangeTelegram(wrongMarker.Bytes(), answer.Bytes()), FALSE);
    EXPECT_TRUE(port->writes.empty());
}

TEST_F(TelegramManagerTest, AnswerOfTheOtherFamilyFails)
{
    request = SensorRequest(kFamilyKVR, 0x10);
    Reply({{Join({kACK}, kAnswer91)}}); // status without bit 3
    EXPECT_EQ(Exchange(), FALSE);
    EXPECT_NE(answer.Marker(), kAnswerMarker);
}

TEST_F(TelegramManagerTest, ReceiveOnlyWithNothingArrivingStillSucceeds)
{
    const SensorAnswer before = answer;
    EXPECT_EQ(manager->ExchangeTelegram(nullptr, answer.data()), TRUE);
    EXPECT_EQ(answer.Marker(), kAnswerMarker);
    SensorAnswer rest = answer;
    rest.SetWord(AnswerOffset::Marker, before.Word(AnswerOffset::Marker));
    EXPECT_EQ(rest, before);
    EXPECT_EQ(port->clears, 1);
    EXPECT_TRUE(port->writes.empty());
    // Each of the two passes gives up after a quiet ACKResponseTimeout.
    EXPECT_EQ(port->readWaits, (std::vector<DWORD>{200, 200}));
}

TEST_F(TelegramManagerTest, ReceiveOnlyUnpacksByTheStatusFamily)
{
    // A frame from a host (address bit 7 clear) is not an answer; the next pass takes
    // the device's frame, read 10 bytes at a time.
    const ByteVector fromHost = Frame(0x00, 0xA0, {0x05, 0x08});
    const ByteVector fromDevice = Frame(0x80, 0xB0, {0x03, 0x02, 0x00, 0x11, 0x22, 0x33, 0x44, 0x08});
    port->pending = {{fromHost}, {fromDevice}};
    ASSERT_EQ(manager->ExchangeTelegram(answer.Bytes()), TRUE);
    EXPECT_EQ(answer.Marker(), kAnswerMarker);
    EXPECT_EQ(answer.Command(), 0xB0);
    EXPECT_EQ(answer.Byte(9), 0x03); // KVR layout: the sensor number comes first
    EXPECT_EQ(answer.Word(10), 2);
    EXPECT_EQ(answer.Word(12), 0x2211);
}

TEST_F(TelegramManagerTest, ReceiveOnlyPassEndsAtItsLimitWhileBytesKeepComing)
{
    // Bytes that never form a frame, one every 50 ms, far beyond the 300 ms limit of a
    // pass: each pass ends at its limit, and the poll still succeeds unchanged.
    for (int i = 0; i < 100; ++i)
        port->pending.push_back({{0x55}, 50});
    const SensorAnswer before = answer;
    const DWORD start = m_clock;
    EXPECT_EQ(manager->ExchangeTelegram(answer.Bytes()), TRUE);
    EXPECT_LE(m_clock - start, 2u * 300u);
    EXPECT_TRUE(Failed522());
    SensorAnswer rest = answer;
    rest.SetWord(AnswerOffset::Marker, before.Word(AnswerOffset::Marker));
    EXPECT_EQ(rest, before);

    // A frame whose bytes come with gaps below ACKResponseTimeout, within the limit.
    port->pending.clear();
    for (BYTE b : Frame(0x80, 0xA0, {0x07, 0x00}))
        port->pending.push_back({{b}, 30});
    ASSERT_EQ(manager->ExchangeTelegram(answer.Bytes()), TRUE);
    EXPECT_EQ(answer.Byte(9), 0x07);
}

TEST_F(TelegramManagerTest, RefusedAnswerFailsTheExchangeWithAReason)
{
    // A scan answer that counts three beams and carries one.
    Reply({{Join({kACK}, Frame(0x80, 0xB0, {0x03, 0x00, 0x11, 0x22, 0x00}))}});
    EXPECT_EQ(Exchange(), FALSE);
    EXPECT_EQ(port->writes.size(), 1u) << "the frame arrived whole: no repeat";
    EXPECT_NE(answer.Marker(), kAnswerMarker);
    const std::string reason = LastError();
    EXPECT_EQ(reason, TextOfId(IDS_DRV_ANSWER_UNUSABLE));

    // Receive-only still succeeds, but leaves nothing of the refused frame behind.
    const SensorAnswer before = answer;
    port->pending = {{Frame(0x80, 0xB0, {0x03, 0x00, 0x11, 0x22, 0x00})}};
    EXPECT_EQ(manager->ExchangeTelegram(answer.Bytes()), TRUE);
    SensorAnswer rest = answer;
    rest.SetWord(AnswerOffset::Marker, before.Word(AnswerOffset::Marker));
    EXPECT_EQ(rest, before);
}

TEST_F(TelegramManagerTest, DownloadTakesAnyValidFrameButNotALeftover)
{
    const ByteVector download = Frame(0x00, 0x0C, {0x00, 0x01, 0x02});
    Reply({{Join(kAnswer91, kAnswer91)}}); // a duplicated answer
    EXPECT_EQ(manager->SendTelegram(download.data(), DWORD(download.size())), TRUE);
    EXPECT_EQ(port->writes, std::vector<ByteVector>{download});
    // The duplicate must not count as the answer to the next telegram.
    EXPECT_EQ(manager->SendTelegram(download.data(), DWORD(download.size())), FALSE);
    EXPECT_TRUE(Failed522());
}

} // namespace
