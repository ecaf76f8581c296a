#include "form1_fixture.h"

namespace velk::testing {

TEST_F(Form1Test, TypedContactIsAppendedToTheLogFile)
{
    start();
    enterContact(QStringLiteral("k1xyz"), QStringLiteral("pat"), QStringLiteral("CT"));
    EXPECT_EQ(
        readFile(session.folders.logFile()),
        QByteArray("\"K1XYZ\",\"PAT\",\"CT\",\"2026/01/10\",\"18:04:31\",\"20\",\"NA\",\"LEE\",\"\"\r\n"));
    EXPECT_EQ(session.log.count(), 1);
    EXPECT_TRUE(box("txtCall")->text().isEmpty());
    EXPECT_TRUE(box("txtCall")->hasFocus());
}

} // namespace velk::testing
