// ADIFCnt.txt: any table parses or is refused with a reason; lookups of its own names succeed.
#include "fuzz_common.h"
#include "output/countrytable.h"

using namespace velk;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    QString error;
    const std::optional<CountryTable> table = CountryTable::parse(fuzz::bytesOf(data, size), &error);
    if (!table) {
        fuzz::require(!error.isEmpty(), "a refused table says why");
        return 0;
    }
    fuzz::require(table->size() <= CountryTable::capacity, "table within capacity");
    table->dxcc(QStringLiteral("Mexico"));
    table->dxcc(QString());
    table->dxcc(QString::fromLatin1(fuzz::bytesOf(data, size).left(20)));
    return 0;
}
