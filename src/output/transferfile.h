#pragma once
// LogExp.txt, the transfer file for the Tobrel logging program's import. Pure text building;
// the caller writes the bytes.
#include "common/contactrecord.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace velk {

struct TransferOptions
{
    QString mode; // as the operator typed it; written upper-cased
    QString power;
};

// Sixteen comma-separated fields a contact, texts quoted, CR LF line ends, Latin-1.
QByteArray writeTransferFile(const std::vector<ContactRecord>& records, const TransferOptions& options);

} // namespace velk
