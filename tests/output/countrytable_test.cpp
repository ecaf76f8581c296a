#include "common/qtprinters.h"
#include "common/quotedlist.h"
#include "output/countrytable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velk {
namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The data folder of the source tree, where the shipped tables live.
QString shippedData(const QString& name)
{
    return QStringLiteral(VELK_SOURCE_DIR "/data/") + name;
}

TEST(RecordCountry, TwoLetterLocationsAreStatesOrProvinces)
{
    auto of = [](const char* call, const char* location) {
        return countryOfRecord(ContactRecord{QString::fromLatin1(call), QString(),
                                             QString::fromLatin1(location), QString(), QString(), QString(),
                                             QString(), QString(), QString()});
    };
    EXPECT_EQ(of("W1AW", "CT").country, QStringLiteral("USA"));
    EXPECT_EQ(of("W1AW", "CT").state, QStringLiteral("CT"));
    EXPECT_EQ(of("AA1A", "NY").country, QStringLiteral("USA"));
    EXPECT_EQ(of("n0call", "MN").country, QStringLiteral("USA"));
    EXPECT_EQ(of("KH6XX", "HI").country, QStringLiteral("Hawaii"));
    EXPECT_EQ(of("KL7AA", "AK").country, QStringLiteral("Alaska"));
    EXPECT_EQ(of("VE3ABC", "ON").country, QStringLiteral("Canada"));
    EXPECT_TRUE(of("VE3ABC", "ON").state.isEmpty());
    EXPECT_EQ(of("XE1ABC", "Mexico").country, QStringLiteral("Mexico"));
    EXPECT_TRUE(of("XE1ABC", "Mexico").state.isEmpty());
    EXPECT_TRUE(of("W1AW", "C").country.isEmpty());
    EXPECT_TRUE(of("W1AW", "").country.isEmpty());
}

TEST(CountryTableFile, SkipsUnreadableLinesAndEnforcesItsCapacity)
{
    QString error;
    const auto table =
        CountryTable::parse("\"USA\",291\r\n\"Broken,7\r\n\"NoNumber\",x\r\n\r\n\"Canada\",1\r\n", &error);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->size(), 2);
    EXPECT_EQ(table->dxcc(QStringLiteral("canada")), 1);
    EXPECT_EQ(table->dxcc(QStringLiteral("NoNumber")), 0);
    EXPECT_EQ(table->dxcc(QString()), 0);

    QByteArray full;
    for (int i = 0; i < CountryTable::capacity; ++i) {
        full += "\"Country " + QByteArray::number(i) + "\"," + QByteArray::number(i + 1) + "\r\n";
    }
    EXPECT_TRUE(CountryTable::parse(full).has_value());
    EXPECT_FALSE(CountryTable::parse(full + "\"One Too Many\",1001\r\n", &error).has_value());
    EXPECT_TRUE(error.contains(QLatin1String("1000")));
}

TEST(CountryTableFile, FirstExistingFolderWins)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Folders folders;
    folders.shared = dir.filePath(QStringLiteral("shared"));
    folders.data = dir.filePath(QStringLiteral("data"));
    folders.working = dir.filePath(QStringLiteral("work"));
    for (const QString& folder : {folders.shared, folders.data, folders.working}) {
        QDir().mkpath(folder);
    }
    const QStringList candidates = countryTableCandidates(folders);
    ASSERT_EQ(candidates.size(), 3);
    EXPECT_EQ(candidates.at(0), folders.shared + QStringLiteral("/ADIFCnt.txt"));

    QString error;
    EXPECT_FALSE(CountryTable::load(candidates, &error).has_value());
    EXPECT_FALSE(error.isEmpty());

    writeFile(folders.working + QStringLiteral("/ADIFCnt.txt"), "\"USA\",3\r\n");
    EXPECT_EQ(CountryTable::load(candidates)->dxcc(QStringLiteral("USA")), 3);
    writeFile(folders.data + QStringLiteral("/ADIFCnt.txt"), "\"USA\",2\r\n");
    EXPECT_EQ(CountryTable::load(candidates)->dxcc(QStringLiteral("USA")), 2);
    writeFile(folders.shared + QStringLiteral("/ADIFCnt.txt"), "\"USA\",1\r\n");
    EXPECT_EQ(CountryTable::load(candidates)->dxcc(QStringLiteral("USA")), 1);
}

TEST(ShippedCountryTable, EveryPrefixTableCountryHasItsEntityNumber)
{
    QString error;
    const auto table = CountryTable::load({shippedData(QStringLiteral("ADIFCnt.txt"))}, &error);
    ASSERT_TRUE(table.has_value()) << error.toStdString();
    EXPECT_EQ(table->dxcc(QStringLiteral("USA")), 291);
    EXPECT_EQ(table->dxcc(QStringLiteral("Canada")), 1);
    EXPECT_EQ(table->dxcc(QStringLiteral("Alaska")), 6);
    EXPECT_EQ(table->dxcc(QStringLiteral("Hawaii")), 110);
    EXPECT_EQ(table->dxcc(QStringLiteral("Mexico")), 50);
    EXPECT_EQ(table->dxcc(QStringLiteral("Puerto Rico")), 202);

    QFile prefixes(shippedData(QStringLiteral("arrlpre2.txt")));
    ASSERT_TRUE(prefixes.open(QIODevice::ReadOnly));
    QuotedListReader reader(prefixes.readAll());
    QSet<QString> countries;
    while (!reader.atEnd()) {
        const auto values = reader.nextLine();
        ASSERT_TRUE(values && values->size() >= 2);
        countries.insert(values->at(1));
    }
    ASSERT_GT(countries.size(), 100);
    for (const QString& country : countries) {
        EXPECT_GT(table->dxcc(country), 0) << country.toStdString();
    }
}

} // namespace
} // namespace velk
