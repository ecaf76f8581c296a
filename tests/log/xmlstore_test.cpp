#include "log/xmlstore.h"
#include "support/files.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velk;

using velk::testing::readAll;

namespace {

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class XmlStoreTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("SharedUserPreferences.xml")); }
};

constexpr char existing[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                            "<OWN_CALL>N0CALL</OWN_CALL>\r\n"
                            "<OWN_GRID>FN31</OWN_GRID>\r\n";

} // namespace

TEST_F(XmlStoreTest, NewStoreStartsWithTheDeclaration)
{
    XmlStore store;
    store.open(path());
    EXPECT_EQ(store.text(), XmlStore::declaration());
    ASSERT_TRUE(store.setValue(QStringLiteral("own_call"), QStringLiteral("N0CALL"), true).ok);
    EXPECT_EQ(readAll(path()), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                                          "<OWN_CALL>N0CALL</OWN_CALL>\r\n"));
}

TEST_F(XmlStoreTest, ReplacesOnlyTheValueOfAnExistingKey)
{
    writeAll(path(), existing);
    XmlStore store;
    store.open(path());
    EXPECT_EQ(store.text().toLatin1(), QByteArray(existing).chopped(2));

    ASSERT_TRUE(store.setValue(QStringLiteral("own_call"), QStringLiteral("K1ABC"), true).ok);
    EXPECT_EQ(readAll(path()), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                                          "<OWN_CALL>K1ABC</OWN_CALL>\r\n"
                                          "<OWN_GRID>FN31</OWN_GRID>\r\n"));
}

TEST_F(XmlStoreTest, AppendsANewKeyAtTheEnd)
{
    writeAll(path(), existing);
    XmlStore store;
    store.open(path());
    ASSERT_TRUE(store.setValue(QStringLiteral("NEW_KEY"), QStringLiteral("x"), true).ok);
    EXPECT_EQ(readAll(path()), QByteArray(existing) + "<NEW_KEY>x</NEW_KEY>\r\n");
}

TEST_F(XmlStoreTest, FindsTagsWhateverTheirCase)
{
    writeAll(path(), "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<own_call>N0CALL</own_call>\r\n");
    XmlStore store;
    store.open(path());
    ASSERT_TRUE(store.setValue(QStringLiteral("Own_Call"), QStringLiteral("K1ABC"), true).ok);
    EXPECT_EQ(readAll(path()), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                                          "<own_call>K1ABC</own_call>\r\n"));
}

TEST_F(XmlStoreTest, WithoutWriteNowNothingIsSaved)
{
    XmlStore store;
    store.open(path());
    ASSERT_TRUE(store.setValue(QStringLiteral("OWN_CALL"), QStringLiteral("N0CALL"), false).ok);
    EXPECT_FALSE(QFile::exists(path()));
    ASSERT_TRUE(store.save(path()).ok);
    EXPECT_TRUE(QFile::exists(path()));
}

TEST_F(XmlStoreTest, KeepsAFileWithoutFinalLineEndWhole)
{
    writeAll(path(), "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<OWN_GRID>FN31</OWN_GRID>");
    XmlStore store;
    store.open(path());
    ASSERT_TRUE(store.setValue(QStringLiteral("OWN_CALL"), QStringLiteral("N0CALL"), true).ok);
    EXPECT_EQ(readAll(path()), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                                          "<OWN_GRID>FN31</OWN_GRID>\r\n"
                                          "<OWN_CALL>N0CALL</OWN_CALL>\r\n"));
}

TEST_F(XmlStoreTest, RepairsAnElementWithoutClosingTag)
{
    writeAll(path(), "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                     "<OWN_CALL>N0CA\r\n"
                     "<OWN_GRID>FN31</OWN_GRID>\r\n"
                     "<X>1</X>\r\n");
    XmlStore store;
    store.open(path());
    ASSERT_TRUE(store.setValue(QStringLiteral("OWN_CALL"), QStringLiteral("K1ABC"), true).ok);
    EXPECT_EQ(readAll(path()), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                                          "<OWN_CALL>K1ABC</OWN_CALL>\r\n"
                                          "<OWN_GRID>FN31</OWN_GRID>\r\n"
                                          "<X>1</X>\r\n"));
}

TEST_F(XmlStoreTest, LineBreaksInAValueAreDropped)
{
    XmlStore store;
    store.open(path());
    ASSERT_TRUE(store.setValue(QStringLiteral("NAME"), QStringLiteral("PAT\r\n<X>"), true).ok);
    EXPECT_EQ(readAll(path()), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                                          "<NAME>PAT<X></NAME>\r\n"));
}

TEST_F(XmlStoreTest, SaveFailureIsReported)
{
    XmlStore store;
    store.open(dir.filePath(QStringLiteral("nowhere/SharedUserPreferences.xml")));
    const WriteResult result = store.setValue(QStringLiteral("OWN_CALL"), QStringLiteral("N0CALL"), true);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QStringLiteral("SharedUserPreferences.xml")));
    EXPECT_TRUE(store.text().contains(QStringLiteral("<OWN_CALL>N0CALL</OWN_CALL>")));
}
