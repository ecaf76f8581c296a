#include "common/contactrecord.h"

#include "common/qtprinters.h"

#include <gtest/gtest.h>

using namespace velk;

namespace {
const QStringList nineFields{"VE3ABC", "JOHN", "ON", "2026/01/10", "18:04:31", "20", "NA", "PAT", "14.025"};
}

TEST(ContactRecord, FromFieldsInLogOrder)
{
    const ContactRecord r = ContactRecord::fromFields(nineFields);
    EXPECT_EQ(r.call, "VE3ABC");
    EXPECT_EQ(r.name, "JOHN");
    EXPECT_EQ(r.location, "ON");
    EXPECT_EQ(r.date, "2026/01/10");
    EXPECT_EQ(r.time, "18:04:31");
    EXPECT_EQ(r.band, "20");
    EXPECT_EQ(r.continent, "NA");
    EXPECT_EQ(r.sentName, "PAT");
    EXPECT_EQ(r.frequency, "14.025");
}

TEST(ContactRecord, FieldsRoundTrip)
{
    const ContactRecord r = ContactRecord::fromFields(nineFields);
    EXPECT_EQ(r.fields(), nineFields);
    EXPECT_EQ(r.fields().size(), ContactRecord::fieldCount);
    EXPECT_EQ(ContactRecord::fromFields(r.fields()), r);
}

TEST(ContactRecord, MissingFieldsAreEmpty)
{
    const ContactRecord r = ContactRecord::fromFields({"K1ABC", "BOB", "CT"});
    EXPECT_EQ(r.call, "K1ABC");
    EXPECT_EQ(r.location, "CT");
    EXPECT_TRUE(r.date.isEmpty());
    EXPECT_TRUE(r.frequency.isEmpty());
    EXPECT_EQ(ContactRecord::fromFields({}), ContactRecord{});
}

TEST(ContactRecord, ExtraFieldsAreIgnored)
{
    QStringList eleven = nineFields;
    eleven << "extra"
           << "more";
    EXPECT_EQ(ContactRecord::fromFields(eleven), ContactRecord::fromFields(nineFields));
}
