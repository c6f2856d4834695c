#pragma once

#include <QString>
#include <QStringList>

// The ZIP writer: FileName is the archive path, Files the files to put in it; Add()
// writes a standard archive holding each file under its own name, without folders.
// The archive appears whole or not at all: it is written beside the target and
// renamed into place only when complete. Errors throw with an Italian text.
class TZip
{
public:
    QString FileName;
    QStringList Files;

    void Add();

    // Reading back, for checks: the entry names in archive order, and the bytes
    // of one entry. Errors throw with an Italian text.
    static QStringList Entries(const QString &archive);
    static QByteArray Read(const QString &archive, const QString &entry);
};
