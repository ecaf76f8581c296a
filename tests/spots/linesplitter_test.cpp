#include "spots/linesplitter.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

struct SplitCase
{
    const char* name;
    std::vector<QByteArray> pieces;
    QStringList lines;
    QString pending;
};

TEST(LineSplitter, SplitsPiecesIntoLines)
{
    const std::vector<SplitCase> cases = {
        {"LF", {"one\ntwo\n"}, {"one", "two"}, ""},
        {"CR LF", {"one\r\ntwo\r\n"}, {"one", "two"}, ""},
        {"CR alone", {"cmd:\rDX de\r"}, {"cmd:", "DX de"}, ""},
        {"CR LF split over two pieces", {"one\r", "\ntwo\r\n"}, {"one", "two"}, ""},
        {"line split over pieces", {"DX de W3L", "PL:  14025.0", "\r\n"}, {"DX de W3LPL:  14025.0"}, ""},
        {"blank lines kept", {"\n\r\n"}, {"", ""}, ""},
        {"LF CR makes two ends", {"a\n\rb\n"}, {"a", "", "b"}, ""},
        {"prompt stays pending", {"Welcome\r\nlogin: "}, {"Welcome"}, "login: "},
        {"bell, NUL and controls dropped",
         {QByteArray("DX\a de\0 K1\x1b\x7f\x11", 14), "\n"},
         {"DX de K1"},
         ""},
        {"tab becomes a space", {"a\tb\n"}, {"a b"}, ""},
        {"Latin-1 kept", {"Gr\xfc\xdf\n"}, {QString::fromLatin1("Gr\xfc\xdf")}, ""},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        LineSplitter splitter;
        QStringList lines;
        for (const QByteArray& piece : c.pieces) {
            lines += splitter.feed(piece);
        }
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(splitter.takePending(), c.pending);
        EXPECT_FALSE(splitter.hasPending());
        EXPECT_EQ(splitter.cutLines(), 0);
    }
}

// Queued bytes split a few at a time come out as the same lines as fed whole, and dropping the
// oldest queued lines resumes at the right line end, also where CR LF straddles two pieces.
TEST(LineSplitter, QueuedBytesSplitInSlicesAndDropOldestWhole)
{
    const std::vector<SplitCase> cases = {
        {"CR LF over pieces", {"one\r", "\ntwo\r\nthree\r", "\nfour\r\n"}, {"three", "four"}, ""},
        {"CR alone", {"one\rtwo\rthree\rfour\r"}, {"three", "four"}, ""},
        {"mixed ends", {"one\ntwo\r\n\rthree\nfour\n"}, {"three", "four"}, ""},
        {"partial line first", {"on", "e\ntwo\nthree\nfour\nlog"}, {"three", "four"}, "log"},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        LineSplitter whole;
        QStringList all;
        for (const QByteArray& piece : c.pieces) {
            all += whole.feed(piece);
        }
        LineSplitter sliced;
        for (const QByteArray& piece : c.pieces) {
            sliced.enqueue(piece);
        }
        EXPECT_EQ(sliced.queuedLines(), all.size());
        QStringList lines;
        while (sliced.queuedBytes() > 0) {
            lines += sliced.take(3);
        }
        EXPECT_EQ(lines, all);
        EXPECT_EQ(sliced.queuedLines(), 0);

        LineSplitter dropping;
        for (const QByteArray& piece : c.pieces) {
            dropping.enqueue(piece);
        }
        const qsizetype keep = c.lines.size();
        EXPECT_EQ(dropping.dropQueuedLines(dropping.queuedLines() - keep), all.size() - keep);
        EXPECT_EQ(dropping.queuedLines(), keep);
        EXPECT_EQ(dropping.take(1 << 20), c.lines);
        EXPECT_EQ(dropping.takePending(), c.pending);
        EXPECT_EQ(dropping.feed("next\n"), QStringList{"next"});
    }
}

TEST(LineSplitter, OverlongLinesAreCutAndCounted)
{
    LineSplitter splitter(8);
    const QStringList lines = splitter.feed("0123456789abcdef\nnext\n");
    EXPECT_EQ(lines, (QStringList{"01234567", "next"}));
    EXPECT_EQ(splitter.cutLines(), 1);
    // A flood without line ends never grows the buffer past the limit.
    for (int i = 0; i < 1000; ++i) {
        splitter.feed(QByteArray(100, 'x'));
    }
    EXPECT_LE(splitter.takePending().size(), 8);
    EXPECT_EQ(splitter.cutLines(), 2);
}

TEST(LineSplitter, TakingThePromptForgetsIt)
{
    LineSplitter splitter;
    splitter.feed("login: ");
    EXPECT_EQ(splitter.takePending(), QStringLiteral("login: "));
    EXPECT_EQ(splitter.feed("K1ABC\n"), QStringList{"K1ABC"});
}

} // namespace
} // namespace velk
