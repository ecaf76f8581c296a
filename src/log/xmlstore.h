#pragma once
// XmlStore: SharedUserPreferences.xml, the station facts the maker's other programs read.
// One <KEY>value</KEY> element per line, no root element, Latin-1, CR LF; atomic rewrites.
#include "log/contactlog.h"

#include <QString>

namespace velk {

class XmlStore
{
public:
    static QString declaration() { return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>"); }

    // Remembers the path and reads the file (without its last CR LF), or starts a new store.
    void open(const QString& path);
    // Replaces the value between <KEY> and </KEY>, or appends a new element line. Key upper-cased.
    // With writeNow the store is saved to the remembered path.
    WriteResult setValue(const QString& key, const QString& value, bool writeNow);
    WriteResult save(const QString& path) const;

    const QString& text() const { return m_text; }
    const QString& path() const { return m_path; }

private:
    QString m_text = declaration();
    QString m_path;
};

} // namespace velk
