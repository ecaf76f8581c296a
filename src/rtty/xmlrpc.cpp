#include "rtty/xmlrpc.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace velk {

QByteArray encodeXmlRpcCall(const QString& method, const QVariantList& params)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("methodCall"));
    xml.writeTextElement(QStringLiteral("methodName"), method);
    xml.writeStartElement(QStringLiteral("params"));
    for (const QVariant& param : params) {
        xml.writeStartElement(QStringLiteral("param"));
        xml.writeStartElement(QStringLiteral("value"));
        if (param.typeId() == QMetaType::Int) {
            xml.writeTextElement(QStringLiteral("i4"), QString::number(param.toInt()));
        } else {
            xml.writeTextElement(QStringLiteral("string"), param.toString());
        }
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

namespace {

// Reads the <value> the reader stands on: the text of its type element, or its own text.
QString readValue(QXmlStreamReader& xml)
{
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
            if (text.size() < maxXmlRpcValueLength) {
                text += xml.text().left(maxXmlRpcValueLength - text.size());
            }
            break;
        default:
            break;
        }
    }
    return text;
}

} // namespace

std::optional<XmlRpcReply> decodeXmlRpcReply(const QByteArray& bytes)
{
    QXmlStreamReader xml(bytes);
    bool inResponse = false;
    bool inFault = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const auto name = xml.name();
        if (name == QLatin1String("methodResponse")) {
            inResponse = true;
        } else if (name == QLatin1String("fault") && inResponse) {
            inFault = true;
        } else if (name == QLatin1String("value") && inResponse) {
            if (inFault) {
                return XmlRpcReply{true, QString()};
            }
            const QString value = readValue(xml);
            if (xml.hasError()) {
                return std::nullopt;
            }
            return XmlRpcReply{false, value};
        }
    }
    // A reply with no value (a method that returns nothing) is still a reply.
    if (inResponse && !xml.hasError()) {
        return XmlRpcReply{inFault, QString()};
    }
    return std::nullopt;
}

} // namespace velk
