// The Super Check Partial database and call-history readers: the files Debian's hamradio-files
// ships, the format's rules, and hostile files.
#include "log/callhistory.h"
#include "log/partialmatcher.h"
#include "log/scpfile.h"

#include "common/qtprinters.h"

#include <QBuffer>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

using namespace velk;

namespace {

const QString debianFolder = QStringLiteral("/usr/share/hamradio-files/");

// A file of any size made up on the fly, line after line, so no test holds 100 MB.
class GeneratedFile : public QIODevice
{
public:
    GeneratedFile(qint64 size, std::function<QByteArray(qint64 line)> lineAt)
        : m_size(size), m_lineAt(std::move(lineAt))
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    bool atEnd() const override { return m_given >= m_size; }
    qint64 given() const { return m_given; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        qint64 written = 0;
        while (written < maxSize && m_given < m_size) {
            if (m_pending.isEmpty()) {
                m_pending = m_lineAt(m_line++);
            }
            const qint64 take =
                std::min({maxSize - written, static_cast<qint64>(m_pending.size()), m_size - m_given});
            std::memcpy(data + written, m_pending.constData(), static_cast<size_t>(take));
            m_pending.remove(0, take);
            written += take;
            m_given += take;
        }
        return written;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    qint64 m_size;
    std::function<QByteArray(qint64)> m_lineAt;
    QByteArray m_pending;
    qint64 m_line = 0;
    qint64 m_given = 0;
};

ScpRead scpOf(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readScp(buffer, QStringLiteral("test.scp"));
}

CallHistoryRead historyOf(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readCallHistory(buffer, QStringLiteral("history.txt"));
}

QStringList callsOf(const ScpRead& read)
{
    QStringList calls;
    for (std::uint32_t id = 0; read.calls && id < read.calls->size(); ++id) {
        const std::string_view call = read.calls->call(id);
        calls << QString::fromLatin1(call.data(), static_cast<qsizetype>(call.size()));
    }
    return calls;
}

} // namespace

TEST(ScpFile, ReadsDebiansMasterScp)
{
    const QString path = debianFolder + QStringLiteral("MASTER.SCP");
    if (!QFileInfo::exists(path)) {
        GTEST_SKIP() << "hamradio-files is not installed (scripts/ensure-deps.sh installs it)";
    }
    const ScpRead read = readScpFile(path);
    ASSERT_TRUE(read.calls);
    // Release 2023.05.02: 85,460 lines, 4 of them comments, no repeated call.
    EXPECT_EQ(read.report, QStringLiteral("MASTER.SCP: 85456 calls"));
    EXPECT_LT(read.calls->memoryBytes(), 20u * 1024 * 1024);
    PartialMatcher matcher;
    matcher.setDatabase(read.calls);
    const MatchList list = matcher.match(u"K1A", u"20", 12);
    ASSERT_EQ(list.calls.size(), 12u);
    EXPECT_EQ(list.calls.front().call, QStringLiteral("K1AA"));
    // A call and the same call signing from abroad.
    const MatchList slashed = matcher.match(u"dl2jrm", u"20");
    QStringList calls;
    for (const CallMatch& match : slashed.calls) {
        calls << match.call;
    }
    EXPECT_EQ(calls, (QStringList{QStringLiteral("DL2JRM"), QStringLiteral("4L/DL2JRM"),
                                  QStringLiteral("HB0/DL2JRM"), QStringLiteral("Z38/DL2JRM")}));
}

TEST(ScpFile, FormatRulesAndHostileLines)
{
    const struct
    {
        const char* name;
        QByteArray bytes;
        QStringList calls;
        const char* report;
    } cases[] = {
        {"comments, blank lines, CR LF, case",
         "# Release x\r\n\r\n  k1abc \r\nW1AW\r\n#N0CALL\r\nve3/k1abc",
         {"K1ABC", "W1AW", "VE3/K1ABC"},
         "test.scp: 3 calls"},
        {"byte-order mark", "\xEF\xBB\xBFK1ABC\nW1AW\n", {"K1ABC", "W1AW"}, "test.scp: 2 calls"},
        {"duplicates kept once", "K1ABC\nk1abc\nK1ABC\n", {"K1ABC"}, "test.scp: 1 calls (2 duplicate calls)"},
        {"lines that are not calls",
         "K1ABC\nK1 ABC\nK1-ABC\nK\xC4"
         "1A\nK1ABCDEFGHIJKLMNOP\nW1AW\n",
         {"K1ABC", "W1AW"},
         "test.scp: 2 calls (4 lines not a call skipped)"},
        {"a line of 1 MB",
         "K1ABC\n" + QByteArray(1024 * 1024, 'A') + "\nW1AW\n",
         {"K1ABC", "W1AW"},
         "test.scp: 2 calls (1 overlong lines skipped)"},
        {"binary",
         QByteArray("K1ABC\n\0\x01\x02\nW1AW\n", 15),
         {},
         "test.scp is not a text file; no calls read"},
        {"empty", "", {}, "test.scp holds no calls"},
        {"only junk", "--\n--\n", {}, "test.scp holds no calls (2 lines not a call skipped)"},
    };
    for (const auto& c : cases) {
        const ScpRead read = scpOf(c.bytes);
        EXPECT_EQ(callsOf(read), c.calls) << c.name;
        EXPECT_EQ(read.report, QString::fromLatin1(c.report)) << c.name;
        EXPECT_EQ(read.calls == nullptr, c.calls.isEmpty()) << c.name;
    }
}

TEST(ScpFile, HugeFilesStopAtTheBounds)
{
    // 100 MB of distinct calls: the index stops at its call bound, early in the file.
    GeneratedFile calls(100LL * 1024 * 1024,
                        [](qint64 line) { return QByteArray("K") + QByteArray::number(line) + "Z\n"; });
    const ScpRead full = readScp(calls, QStringLiteral("big.scp"));
    ASSERT_TRUE(full.calls);
    EXPECT_EQ(full.calls->size(), static_cast<std::size_t>(scpLimits::maxCalls));
    EXPECT_EQ(full.report,
              QStringLiteral("big.scp: %1 calls (stopped at %1 calls)").arg(scpLimits::maxCalls));
    EXPECT_LT(full.calls->memoryBytes(), 24u * 1024 * 1024);
    EXPECT_LT(calls.given(), 8LL * 1024 * 1024);

    // 100 MB without a call: the reading stops at the byte bound, line by line.
    GeneratedFile junk(100LL * 1024 * 1024, [](qint64) { return QByteArray(200, '-') + '\n'; });
    const ScpRead none = readScp(junk, QStringLiteral("junk.scp"));
    EXPECT_FALSE(none.calls);
    EXPECT_TRUE(none.report.startsWith(QLatin1String("junk.scp holds no calls (")));
    EXPECT_TRUE(none.report.endsWith(QLatin1String("read stopped after 32 MB)")))
        << none.report.toStdString();
    EXPECT_LE(junk.given(), scpLimits::maxBytes);
}

TEST(ScpFile, MissingFileOrFolderIsOneLine)
{
    EXPECT_EQ(readScpFile(QStringLiteral("/nonexistent/MASTER.SCP")).report,
              QStringLiteral("cannot read /nonexistent/MASTER.SCP: no such file"));
    EXPECT_EQ(readScpFile(QStringLiteral("/tmp")).report,
              QStringLiteral("cannot read /tmp: a folder, not a file"));
}

TEST(CallHistory, ReadsDebiansExampleFile)
{
    const QString path = debianFolder + QStringLiteral("WAG_call_history.txt");
    if (!QFileInfo::exists(path)) {
        GTEST_SKIP() << "hamradio-files is not installed (scripts/ensure-deps.sh installs it)";
    }
    // Calls and German DOKs without an order line: the calls are read, nothing to pre-fill.
    const CallHistoryRead read = readCallHistoryFile(path);
    ASSERT_TRUE(read.history);
    EXPECT_EQ(read.report,
              QStringLiteral(
                  "WAG_call_history.txt: 4066 stations (no !!Order!! line, first column read as the call)"));
    EXPECT_EQ(read.history->find(u"dk9tn"), (HistoryEntry{}));
    EXPECT_FALSE(read.history->find(u"K1ABC"));
}

TEST(CallHistory, ColumnsFromTheOrderLine)
{
    const CallHistoryRead read =
        historyOf("# made by hand\r\n"
                  "!!Order!!,Call,Exch1,Name,Loc1,State,UserText\r\n"
                  "K1ABC,599,Bob,ma,CT,whatever\r\n"
                  "w1aw,,hal,,CT\r\n"             // Loc1 empty: nothing from State, Loc1 is the column
                  "XE1XX,,Juan,Mexico,,\r\n"      // country names keep their case
                  "K1ABC,,Robert,MA\r\n"          // the later line of a call wins
                  "N2XY\r\n"                      // short lines: the missing columns are empty
                  ",,NOCALL,NY\r\n"               // no call: skipped
                  "!!ORDER!!,Name,State,Call\r\n" // a new order line rules the lines after it
                  "Ann,\"ON\",VE3ABC\r\n"
                  "J\xC3\xBCrgen,,DL1ABC\r\n"                    // UTF-8, inside Latin-1
                  "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD,,UA3ABC\r\n" // Cyrillic: the name is left out
                  "\"Pat, Jr\",NH,K1XYZ\r\n");                   // a comma inside quotes is still a separator
    ASSERT_TRUE(read.history);
    const CallHistory& history = *read.history;
    EXPECT_EQ(history.find(u"k1abc"), (HistoryEntry{QStringLiteral("ROBERT"), QStringLiteral("MA")}));
    EXPECT_EQ(history.find(u"W1AW"), (HistoryEntry{QStringLiteral("HAL"), QString()}));
    EXPECT_EQ(history.find(u"XE1XX"), (HistoryEntry{QStringLiteral("JUAN"), QStringLiteral("Mexico")}));
    EXPECT_EQ(history.find(u"N2XY"), (HistoryEntry{}));
    EXPECT_EQ(history.find(u"VE3ABC"), (HistoryEntry{QStringLiteral("ANN"), QStringLiteral("ON")}));
    EXPECT_EQ(history.find(u"DL1ABC"), (HistoryEntry{QStringLiteral("JÜRGEN"), QString()}));
    EXPECT_EQ(history.find(u"UA3ABC"), (HistoryEntry{}));
    EXPECT_FALSE(history.find(u"K1XYZ"));
    EXPECT_EQ(history.size(), 7);
    EXPECT_EQ(read.report,
              QStringLiteral("history.txt: 7 stations (2 lines without a call skipped, "
                             "1 values outside Latin-1 left out, 1 repeated calls, the last line kept)"));
}

TEST(CallHistory, HostileFiles)
{
    // An order line without Call: its lines cannot be used, those under a good one can.
    CallHistoryRead read = historyOf("!!Order!!,Name,Loc1\nBob,MA\n!!Order!!,Call,Name\nK1ABC,Bob\n");
    ASSERT_TRUE(read.history);
    EXPECT_EQ(read.history->size(), 1);
    EXPECT_EQ(read.report, QStringLiteral("history.txt: 1 stations (an !!Order!! line without a Call column, "
                                          "its lines skipped)"));
    read = historyOf("!!Order!!,Name,Loc1\nBob,MA\n");
    EXPECT_FALSE(read.history);
    EXPECT_TRUE(read.report.startsWith(QLatin1String("history.txt holds no stations")))
        << read.report.toStdString();

    // Values longer than the boxes take are cut; a 1 MB line is skipped whole.
    read = historyOf("!!Order!!,Call,Name,Loc1\nK1ABC," + QByteArray(40, 'N') + "," + QByteArray(40, 'L') +
                     "\nW1AW," + QByteArray(1024 * 1024, 'x') + "\n");
    ASSERT_TRUE(read.history);
    EXPECT_EQ(read.history->find(u"K1ABC"),
              (HistoryEntry{QString(20, QLatin1Char('N')), QString(32, QLatin1Char('L'))}));
    EXPECT_FALSE(read.history->find(u"W1AW"));
    EXPECT_TRUE(read.report.contains(QLatin1String("1 overlong lines skipped")));

    read = historyOf(QByteArray("!!Order!!,Call\n\0\0\0K1ABC\n", 24));
    EXPECT_FALSE(read.history);
    EXPECT_EQ(read.report, QStringLiteral("history.txt is not a text file; no stations read"));

    GeneratedFile big(100LL * 1024 * 1024, [](qint64 line) {
        return line == 0 ? QByteArray("!!Order!!,Call,Name\n") : "W" + QByteArray::number(line) + "X,BOB\n";
    });
    read = readCallHistory(big, QStringLiteral("big.txt"));
    ASSERT_TRUE(read.history);
    EXPECT_EQ(read.history->size(), historyLimits::maxStations);
    EXPECT_TRUE(
        read.report.endsWith(QStringLiteral("(stopped at %1 stations)").arg(historyLimits::maxStations)))
        << read.report.toStdString();
    EXPECT_LT(read.history->memoryBytes(), 16u * 1024 * 1024);
}
