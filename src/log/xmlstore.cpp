#include "log/xmlstore.h"

#include "common/wholefile.h"

#include <QDir>
#include <QFile>

namespace velk {

namespace {

constexpr QLatin1String lineEnd("\r\n");

// Each element lives on one line; a line break inside a value would split it.
QString oneLine(QString value)
{
    value.remove(QLatin1Char('\r'));
    value.remove(QLatin1Char('\n'));
    return value;
}

qsizetype endOfLine(const QString& text, qsizetype from)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\r') || text.at(i) == QLatin1Char('\n')) {
            return i;
        }
    }
    return text.size();
}

} // namespace

void XmlStore::open(const QString& path)
{
    m_path = path;
    m_text = declaration();
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly)) {
        return;
    }
    const QString content = QString::fromLatin1(file.readAll());
    if (content.isEmpty()) {
        return;
    }
    m_text = content;
    // The file ends with the line end save() adds; a file without one is kept whole.
    if (m_text.endsWith(lineEnd)) {
        m_text.chop(lineEnd.size());
    }
}

WriteResult XmlStore::setValue(const QString& key, const QString& value, bool writeNow)
{
    const QString name = oneLine(key.toUpper());
    const QString clean = oneLine(value);
    const QString openTag = QLatin1Char('<') + name + QLatin1Char('>');
    const QString closeTag = QStringLiteral("</") + name + QLatin1Char('>');

    const qsizetype at = m_text.indexOf(openTag, 0, Qt::CaseInsensitive);
    if (at >= 0) {
        const qsizetype start = at + openTag.size();
        const qsizetype lineStop = endOfLine(m_text, start);
        const qsizetype close = m_text.indexOf(closeTag, start, Qt::CaseInsensitive);
        if (close >= 0 && close <= lineStop) {
            m_text.replace(start, close - start, clean);
        } else {
            // A damaged element without its closing tag: rebuild the rest of its line.
            m_text.replace(start, lineStop - start, clean + closeTag);
        }
    } else {
        m_text += lineEnd + openTag + clean + closeTag;
    }

    if (writeNow) {
        return save(m_path);
    }
    return {true, {}};
}

WriteResult XmlStore::save(const QString& path) const
{
    const auto failure = [&path](const QString& cause) {
        return WriteResult{false,
                           QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), cause)};
    };
    if (path.isEmpty()) {
        return failure(QStringLiteral("no file name"));
    }
    const QByteArray bytes = (m_text + lineEnd).toLatin1();
    if (const auto cause = replaceFileContents(path, bytes)) {
        return failure(*cause);
    }
    return {true, {}};
}

} // namespace velk
