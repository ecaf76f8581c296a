// SharedUserPreferences.xml: any file opens, takes new values and saves; a value set is found
// between its tags afterwards.
#include "fuzz_common.h"
#include "log/xmlstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace velk;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("SharedUserPreferences.xml"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    XmlStore store;
    store.open(path);
    const QByteArray bytes = fuzz::bytesOf(data, size);
    QString key = QString::fromLatin1(bytes.left(8));
    key.remove(QLatin1Char('<')).remove(QLatin1Char('>')).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    for (const QString& name : {QStringLiteral("CALL"), QStringLiteral("state"), key}) {
        if (name.isEmpty()) {
            continue;
        }
        const QString value = QStringLiteral("V") + QString::number(name.size());
        store.setValue(name, value, false);
        const QString element = QLatin1Char('<') + name.toUpper() + QLatin1Char('>') + value +
                                QStringLiteral("</") + name.toUpper() + QLatin1Char('>');
        fuzz::require(store.text().contains(element, Qt::CaseInsensitive), "a value set is in the store");
    }
    fuzz::require(store.save(path).ok, "the store saves");
    XmlStore reopened;
    reopened.open(path);
    fuzz::require(reopened.text() == QString::fromLatin1(store.text().toLatin1()),
                  "a saved store reopens the same");
    return 0;
}
